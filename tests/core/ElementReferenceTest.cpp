#include "ElementReference.h"

#include "X12Builder.h"

#include <gtest/gtest.h>

namespace {

QByteArray Separators256()
{
    // Separators at 10 and at 256, just past the examined first 256 bytes.
    QByteArray line(300, 'A');
    line[10] = '*';
    line[256] = '*';
    return line;
}

TEST(ElementReferenceTest, KeysOfPositions)
{
    const QByteArray isa = X12Builder::Isa().left(105);
    const QByteArray ref = "REF" + QByteArray(100, '*') + "X";
    const struct
    {
        QByteArray line;
        qsizetype column;
        char separator;
        const char *key;
    } cases[] = {
        { "ST*850*0001", 0, '*', "ST00" },
        { "ST*850*0001", 2, '*', "ST00" }, // directly before the first separator
        { "ST*850*0001", 3, '*', "ST01" }, // directly after it
        { "ST*850*0001", 11, '*', "ST02" }, // end of the line
        { "ST|850|0001", 4, '|', "ST01" },
        { "ST|850*0001", 8, '|', "ST01" }, // only the file's separator counts
        { isa, 0, '*', "ISA00" },
        { isa, 104, '*', "ISA16" }, // after the separator before the component separator
        { "SV1*HC:A*25", 7, '*', "SV101" }, // the component separator is not counted
        { "", 0, '*', "00" }, // the empty line after the last segment
        { "NOSEPARATORS", 5, '*', "NOSEPARATORS00" },
        { ref, 103, '*', "REF100" },
        { QByteArray(70, 'L') + "*1", 71, '*',
            "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL01" },
        { Separators256(), 256, '*', "AAAAAAAAAA01" },
        { Separators256(), 257, '*', "AAAAAAAAAA02" }, // beyond 256 the count goes on
        { Separators256(), 300, '*', "AAAAAAAAAA02" },
    };
    for (const auto &c : cases) {
        const ElementReference reference(c.line, c.column, c.separator);
        EXPECT_EQ(reference.Key(), QLatin1String(c.key))
            << c.line.left(20).constData() << " at " << c.column;
    }
}

TEST(ElementReferenceTest, PiecesAndPositionText)
{
    const ElementReference n102("N1*PR*ACME", 6, '*');
    EXPECT_EQ(n102.SegmentId(), QLatin1String("N1"));
    EXPECT_EQ(n102.ElementCount(), 2);
    EXPECT_EQ(n102.ElementNumberText(), QLatin1String("02"));
    EXPECT_EQ(n102.PositionText(LineNumber(11)), QLatin1String("Line: 12 Col: 7 N102"));

    const ElementReference isa(X12Builder::Isa().left(105), 0, '*');
    EXPECT_EQ(isa.PositionText(LineNumber(0)), QLatin1String("Line: 1 Col: 1 ISA00"));

    const ElementReference empty("", 0, '*');
    EXPECT_EQ(empty.SegmentId(), QString());
    EXPECT_EQ(empty.PositionText(LineNumber(41)), QLatin1String("Line: 42 Col: 1 00"));
}

TEST(ElementReferenceTest, IdIsReadAsLatin1)
{
    const ElementReference reference("\xC9T*1", 3, '*');
    EXPECT_EQ(reference.Key(), QStringLiteral("\u00C9T01"));
}

} // namespace
