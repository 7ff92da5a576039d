#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

// File-name masks such as "*.X12": "*" for any run of characters, "?" for one character,
// matched ignoring letter case.
namespace FileMask {

// Whether name matches mask. An empty mask, "*" and "*.*" match every name; a name without a
// "." is compared as if it ended with one, so "*." matches the names without a dot. The
// comparison resumes from the last "*" only, not with full backtracking: "*?B.X" does not
// match "ABB.X".
bool MaskMatches(const QString &name, const QString &mask);

// The masks of a file spec, split at ";": each ";" ends one mask (possibly empty), and the
// text after the last one is a mask only when it is not empty. Masks are not trimmed.
QStringList SplitMasks(QStringView maskPart);

} // namespace FileMask

// A file spec's masks, upper-cased once, tested against many names.
class FileMaskList
{
public:
    explicit FileMaskList(const QStringList &masks);

    // Whether name matches at least one of the masks; no masks match nothing.
    bool Matches(const QString &name) const;

private:
    QLocale locale_;
    bool matchesAll_ = false;
    QStringList upperMasks_;
};
