#include "SegmentTextMatcher.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

TEST(SegmentTextMatcherTest, FindsTheTextWithinOneSegment)
{
    const struct
    {
        QString text;
        bool matchCase;
        QByteArray segment;
        bool found;
    } cases[] = {
        { "ACME", true, "N1*ST*ACME", true },
        { "acme", true, "N1*ST*ACME", false },
        { "acme", false, "N1*ST*ACME", true },
        { "Isa", false, "isa*00", true },
        { "ISA", false, "IsA*00", true },
        { " ACME", true, "N1*ST*ACME", false }, // spaces are searched as typed
        { " ACME", true, "N1*ST* ACME", true },
        { "ACME~", true, "N1*ST*ACME", false }, // the terminator is never in a segment
        { "", false, "", true },
        { "", true, "N1", true },
        // Only a to z fold: letters beyond ASCII must match in their own case.
        { QStringLiteral("caf\u00e9"), false, "CAF\xE9", true },
        { QStringLiteral("CAF\u00c9"), false, "caf\xE9", false },
        { QStringLiteral("caf\u00e9"), true, "caf\xE9", true },
        { QStringLiteral("caf\u00e9"), true, "CAF\xE9", false },
        { QStringLiteral("[@`{"), false, "[@`{", true }, // the neighbours of A-Z and a-z stay
        { QStringLiteral("{"), false, "[", false },
        { QStringLiteral("\u0100"), false, "\x01\x00", false }, // beyond Latin-1
        { "LONGER THAN THE SEGMENT", false, "LONGER", false },
    };
    for (const auto &c : cases) {
        SegmentTextMatcher matcher(c.text, c.matchCase);
        EXPECT_EQ(matcher.Contains(c.segment), c.found)
            << qPrintable(c.text) << (c.matchCase ? " (case)" : "") << " in "
            << c.segment.constData();
    }
}

// Every byte value, in runs long enough for the eight-bytes-at-a-time fold: only a to z fold.
TEST(SegmentTextMatcherTest, FoldsExactlyTheAsciiLetters)
{
    for (int b = 0; b < 256; ++b) {
        const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        const int other = b ^ 0x20; // the byte that differs from b only where case would
        SegmentTextMatcher matcher(QString(QChar(b)), false);
        EXPECT_TRUE(matcher.Contains(QByteArray(19, char(b)))) << b;
        EXPECT_EQ(matcher.Contains(QByteArray(19, char(other))), letter) << b;
        QByteArray mixed(19, char(other));
        mixed[11] = char(b);
        EXPECT_TRUE(matcher.Contains(mixed)) << b;
    }
}

// The first place found, the search's way into a file, is where a plain search of the
// upper-cased bytes finds it: bytes of few letters, so that texts nearly match often.
TEST(SegmentTextMatcherTest, FindsTheFirstPlaceAsAPlainSearchDoes)
{
    quint32 random = 7;
    const auto next = [&] { return (random = random * 1103515245u + 12345u) >> 16; };
    for (const int length : { 1, 2, 3, 11, 40 }) {
        for (int round = 0; round < 200; ++round) {
            QByteArray needle(length, 'A');
            for (char &c : needle)
                c = "AB"[next() % 2];
            QByteArray haystack(int(next() % 120), 'a');
            for (char &c : haystack)
                c = "aAaAbB"[next() % 6];
            if (round % 3 == 0 && haystack.size() >= length)
                haystack.replace(int(next() % (haystack.size() - length + 1)), length, needle);
            SegmentTextMatcher matcher(QString::fromLatin1(needle), false);
            ASSERT_EQ(matcher.IndexIn(haystack), haystack.toUpper().indexOf(needle))
                << needle.constData() << " in " << haystack.constData();
        }
    }
}

TEST(SegmentTextMatcherTest, ReusesItsBufferFromSegmentToSegment)
{
    SegmentTextMatcher matcher(u"marker", false);
    EXPECT_EQ(matcher.PreparedText(), "MARKER");
    EXPECT_TRUE(matcher.Contains(QByteArray(QByteArray(5000, 'x') + "Marker")));
    EXPECT_FALSE(matcher.Contains("MARK")); // the longer segment's fold is not seen again
    EXPECT_TRUE(matcher.Contains("markeR"));
}

} // namespace
