#include "SettingsList.h"

#include "Exception.h"
#include "IntegerText.h"
#include "ReplaceFile.h"

#include <QFile>
#include <QFileInfo>

QString TSettingsList::Value(QStringView name) const
{
    const qsizetype index = IndexOf(name);
    if (index < 0)
        return QString();
    const QString &line = lines_[index];
    return line.mid(line.indexOf(u'=') + 1);
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
    lines_ = SplitLines(QString::fromUtf8(bytes));
    return true;
}

void TSettingsList::SaveToFile(const QString &path) const
{
    QString text;
    for (const QString &line : lines_)
        text += line + QLatin1String("\r\n");
    if (const std::optional<QString> reason = ReplaceFile(path, text.toUtf8()))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, *reason));
}

QStringList TSettingsList::SplitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}

qsizetype TSettingsList::IndexOf(QStringView name) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const qsizetype equals = lines_[i].indexOf(u'=');
        if (equals >= 0
            && QStringView(lines_[i]).first(equals).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
