#include "FileMask.h"

namespace {

bool MatchesAnyName(const QString &mask)
{
    return mask.isEmpty() || mask == QLatin1String("*") || mask == QLatin1String("*.*");
}

QString ComparedName(const QString &name, const QLocale &locale)
{
    return locale.toUpper(name.contains(u'.') ? name : name + u'.');
}

// Left to right with a single resume point: after a mismatch the mask restarts just after its
// last "*" and the name just after the literal last found in seek mode.
bool WildcardMatch(QStringView name, QStringView mask)
{
    qsizetype p = 0;
    qsizetype s = 0;
    qsizetype rp = 0;
    qsizetype rs = 0;
    bool starMet = false;
    bool seek = false;
    for (;;) {
        const bool maskEnd = p == mask.size();
        const bool nameEnd = s == name.size();
        if (!seek) {
            if (maskEnd) {
                if (nameEnd)
                    return true;
                if (!starMet)
                    return false;
                s = rs;
                p = rp;
                seek = true;
            } else if (mask[p] == u'*') {
                rp = ++p;
                starMet = true;
                seek = true;
            } else if (nameEnd) {
                return false;
            } else if (mask[p] == u'?' || mask[p] == name[s]) {
                ++s;
                ++p;
            } else if (!starMet) {
                return false;
            } else {
                s = rs;
                p = rp;
                seek = true;
            }
        } else {
            if (maskEnd)
                return true;
            if (mask[p] == u'*') {
                rp = ++p;
            } else if (mask[p] == u'?') {
                if (nameEnd)
                    return false;
                ++s;
                ++p;
            } else {
                while (s < name.size() && name[s] != mask[p])
                    ++s;
                if (s == name.size())
                    return false;
                rs = ++s;
                ++p;
                seek = false;
            }
        }
    }
}

} // namespace

namespace FileMask {

bool MaskMatches(const QString &name, const QString &mask)
{
    if (MatchesAnyName(mask))
        return true;
    const QLocale locale = QLocale::system();
    return WildcardMatch(ComparedName(name, locale), locale.toUpper(mask));
}

QStringList SplitMasks(QStringView maskPart)
{
    QStringList masks;
    qsizetype start = 0;
    for (qsizetype i = 0; i < maskPart.size(); ++i) {
        if (maskPart[i] == u';') {
            masks.append(maskPart.sliced(start, i - start).toString());
            start = i + 1;
        }
    }
    if (start < maskPart.size())
        masks.append(maskPart.sliced(start).toString());
    return masks;
}

} // namespace FileMask

FileMaskList::FileMaskList(const QStringList &masks)
    : locale_(QLocale::system())
{
    for (const QString &mask : masks) {
        if (MatchesAnyName(mask))
            matchesAll_ = true;
        else
            upperMasks_.append(locale_.toUpper(mask));
    }
}

bool FileMaskList::Matches(const QString &name) const
{
    if (matchesAll_)
        return true;
    if (upperMasks_.isEmpty())
        return false;
    const QString compared = ComparedName(name, locale_);
    for (const QString &mask : upperMasks_) {
        if (WildcardMatch(compared, mask))
            return true;
    }
    return false;
}
