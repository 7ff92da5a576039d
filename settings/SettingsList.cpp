#include "SettingsList.h"

#include "Exception.h"
#include "FileNames.h"
#include "IntegerText.h"
#include "NameValueLines.h"
#include "ReplaceFile.h"

#include <QFile>
#include <QFileInfo>

QString TSettingsList::Value(QStringView name) const
{
    return NameValueLines::Value(lines_, name);
}

std::optional<qint32> TSettingsList::IntegerValue(QStringView name) const
{
    return ToInt32(Value(name));
}

bool TSettingsList::ReadInteger(QStringView name, qint32 &target) const
{
    const std::optional<qint32> value = IntegerValue(name);
    if (value)
        target = *value;
    return value.has_value();
}

void TSettingsList::SetValue(const QString &name, const QString &value)
{
    const qsizetype index = IndexOf(name);
    if (value.isEmpty()) {
        if (index >= 0)
            lines_.removeAt(index);
    } else if (index >= 0) {
        lines_[index] = name + u'=' + value;
    } else {
        lines_.append(name + u'=' + value);
    }
}

bool TSettingsList::LoadFromFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));

    // The file is written without a byte-order mark; one added by an editor is not part of the
    // first name.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Byte for byte: a path in another encoding than UTF-8 comes back as it was written.
    lines_ = NameValueLines::Split(FileNames::Decode(bytes));
    return true;
}

void TSettingsList::SaveToFile(const QString &path) const
{
    QString text;
    for (const QString &line : lines_)
        text += line + QLatin1String("\r\n");
    if (const std::optional<QString> reason = ReplaceFile(path, FileNames::Encode(text)))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, *reason));
}

qsizetype TSettingsList::IndexOf(QStringView name) const
{
    return NameValueLines::IndexOf(lines_, name);
}
