// Fuzzes file-name masks against a full wildcard comparison written apart from the program's:
// every match is one of the full comparison's (the single resume point may miss matches, never
// invent them), and without "*" the two agree exactly. Also the any-name masks, and agreement
// between the single mask and the mask list.

#include "FileMask.h"

#include "FuzzInput.h"

#include <QLocale>
#include <QString>

#include <vector>

namespace {

// Full wildcard comparison by dynamic programming.
bool GlobMatch(const QString &name, const QString &mask)
{
    std::vector<char> row(size_t(name.size() + 1), 0), next(row.size());
    row[0] = 1;
    for (qsizetype p = 0; p < mask.size(); ++p) {
        std::fill(next.begin(), next.end(), 0);
        for (qsizetype s = 0; s <= name.size(); ++s) {
            if (!row[size_t(s)])
                continue;
            if (mask[p] == u'*') {
                for (qsizetype t = s; t <= name.size(); ++t)
                    next[size_t(t)] = 1;
            } else if (s < name.size() && (mask[p] == u'?' || mask[p] == name[s])) {
                next[size_t(s + 1)] = 1;
            }
        }
        row.swap(next);
    }
    return row[size_t(name.size())];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = input.indexOf(u'\n');
    const QString name = cut < 0 ? input : input.left(cut);
    const QString mask = cut < 0 ? QString() : input.mid(cut + 1);

    for (const char *any : { "", "*", "*.*" })
        FuzzInput::Check(FileMask::MaskMatches(name, QLatin1String(any)));

    const bool matches = FileMask::MaskMatches(name, mask);
    FuzzInput::Check(FileMaskList({ mask }).Matches(name) == matches);

    if (mask.isEmpty() || mask == QLatin1String("*") || mask == QLatin1String("*.*"))
        return 0;
    const QLocale locale = QLocale::system();
    QString comparedName = name.contains(u'.') ? name : name + u'.';
    comparedName = locale.toUpper(comparedName);
    const QString comparedMask = locale.toUpper(mask);
    const bool full = GlobMatch(comparedName, comparedMask);
    if (matches)
        FuzzInput::Check(full);
    if (!comparedMask.contains(u'*'))
        FuzzInput::Check(matches == full);
    // A name holding a dot and no wildcard characters matches itself.
    if (name.contains(u'.') && !name.contains(u'*') && !name.contains(u'?'))
        FuzzInput::Check(FileMask::MaskMatches(name, name));
    return 0;
}
