#include "ElementDictionary.h"
#include "NameValueLines.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// The shipped dictionary: plain Name=Value lines keyed by element references, a component of a
// composite as CLM05-1.
TEST(ElementsIniTest, EveryLineNamesOneElementReference)
{
    QFile file(QStringLiteral(BRIMLET_ELEMENTS_INI));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << BRIMLET_ELEMENTS_INI;
    const QStringList lines = NameValueLines::Split(ElementDictionary::DecodeText(file.readAll()));
    ASSERT_FALSE(lines.isEmpty());

    const QRegularExpression form(
        QStringLiteral("^([A-Z][A-Z0-9]{1,2})([0-9]{2,})(-[0-9]+)?=(\\S(.*\\S)?)$"));
    QSet<QString> keys;
    QSet<QString> segments;
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = form.match(line);
        ASSERT_TRUE(match.hasMatch())
            << "not Name=Value with a trimmed value: " << qPrintable(line);
        const QString key = line.left(line.indexOf(u'='));
        EXPECT_FALSE(keys.contains(key.toUpper())) << "repeated: " << qPrintable(key);
        keys.insert(key.toUpper());
        segments.insert(match.captured(1));
    }
    for (const char *envelope : { "ISA", "GS", "ST", "SE", "GE", "IEA" })
        EXPECT_TRUE(segments.contains(QLatin1String(envelope))) << envelope;
    for (int n = 0; n <= 16; ++n)
        EXPECT_TRUE(keys.contains(QStringLiteral("ISA%1").arg(n, 2, 10, QLatin1Char('0')))) << n;
    // Every segment has its 00 line naming the segment itself.
    for (const QString &segment : segments)
        EXPECT_TRUE(keys.contains(segment + QLatin1String("00"))) << qPrintable(segment);

    ElementDictionary dictionary;
    ASSERT_TRUE(dictionary.LoadFromFile(QStringLiteral(BRIMLET_ELEMENTS_INI)));
    EXPECT_EQ(dictionary.Lookup(u"ISA00"), QLatin1String("Interchange Control Header"));
    EXPECT_EQ(dictionary.Lookup(u"ST00"), QLatin1String("Transaction Set Header"));
    EXPECT_EQ(dictionary.Lookup(u"n104"), QLatin1String("Identification Code"));
}

} // namespace
