#include "ElementDictionary.h"

#include "NameValueLines.h"

#include <QFile>
#include <QStringDecoder>

bool ElementDictionary::LoadFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    SetLines(NameValueLines::Split(DecodeText(bytes)));
    return true;
}

void ElementDictionary::SetLines(const QStringList &lines)
{
    lines_ = lines;
}

QString ElementDictionary::Lookup(QStringView key) const
{
    return NameValueLines::Value(lines_, key);
}

QString ElementDictionary::DecodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}
