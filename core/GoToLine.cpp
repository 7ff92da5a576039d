#include "GoToLine.h"

#include "IntegerText.h"

namespace GoToLine {

std::optional<qint32> LineNumber(QStringView lineBoxText)
{
    const std::optional<qint32> value = ToInt32(lineBoxText);
    if (value && *value > 0)
        return value;
    return std::nullopt;
}

namespace {

bool IsBlankOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

} // namespace

QString CleanSegmentType(QStringView typeBoxText)
{
    qsizetype begin = 0;
    qsizetype end = typeBoxText.size();
    while (begin < end && IsBlankOrControl(typeBoxText[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(typeBoxText[end - 1]))
        --end;
    QString type = typeBoxText.sliced(begin, end - begin).toString();
    for (QChar &c : type) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return type;
}

} // namespace GoToLine
