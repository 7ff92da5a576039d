#include "ElementDictionary.h"

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
    SetLines(SplitLines(DecodeText(bytes)));
    return true;
}

void ElementDictionary::SetLines(const QStringList &lines)
{
    lines_ = lines;
}

QString ElementDictionary::Lookup(QStringView key) const
{
    for (const QString &line : lines_) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && QStringView(line).first(equals).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return {};
}

QString ElementDictionary::DecodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QStringList ElementDictionary::SplitLines(QStringView text)
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
