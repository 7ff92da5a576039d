#include "NameValueLines.h"

namespace NameValueLines {

qsizetype IndexOf(const QStringList &lines, QStringView name)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals >= 0
            && QStringView(lines[i]).first(equals).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Value(const QStringList &lines, QStringView name)
{
    const qsizetype index = IndexOf(lines, name);
    if (index < 0)
        return QString();
    const QString &line = lines[index];
    return line.mid(line.indexOf(u'=') + 1);
}

QStringList Split(QStringView text)
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

} // namespace NameValueLines
