#include "CodeDictionary.h"

#include "TestEnvironment.h"
#include "TextPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

TEST(CodeDictionaryTest, SectionsGiveTheMeaningsOfTheirElementsCodes)
{
    CodeDictionary codes;
    codes.Load(u"; the parties\r\n"
               "[N101, NM101]\r\n"
               "  ST = Ship To  \r\n"
               "BT=Bill To\r\n"
               "\r\n"
               "# a component of a composite\n"
               "[clm05-1]\n"
               "11=Office\n"
               "[REF01]\n"
               "EJ=Patient account=number\n"
               "\n",
        QStringLiteral("Codes.ini"));
    EXPECT_TRUE(codes.Problems().isEmpty());
    const struct
    {
        const char *reference;
        const char *code;
        const char *meaning;
    } cases[] = {
        { "N101", "ST", "Ship To" },
        { "NM101", "BT", "Bill To" }, // one section, several elements
        { "n101", "ST", "Ship To" }, // references ignore case
        { "N101", "st", "" }, // codes do not
        { "N101", " ST ", "Ship To" },
        { "N101", "SF", "" },
        { "N102", "ST", "" },
        { "CLM05-1", "11", "Office" },
        { "CLM05", "11", "" },
        { "REF01", "EJ", "Patient account=number" }, // the first "=" splits
        { "ST01", "", "" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(codes.Meaning(QString::fromLatin1(c.reference), QString::fromLatin1(c.code)),
            QLatin1String(c.meaning))
            << c.reference << " " << c.code;
}

TEST(CodeDictionaryTest, MalformedLinesAreReportedWithTheirNumbersAndIgnored)
{
    CodeDictionary codes;
    codes.Load(u"ST=Before any section\n" // 1
               "[N101]\n" // 2
               "ST=Ship To\n" // 3
               "just words\n" // 4
               "=Nothing before it\n" // 5
               "ST=Given again\r\n" // 6
               "BT=Bill To\r\n" // 7
               "[N1 01]\r" // 8
               "SF=Under a refused header\r" // 9
               "[DTP01\n" // 10
               "[DTP01, 472]\n" // 11
               "[DTP01]\n" // 12
               "472=Service\n", // 13
        QStringLiteral("/home/user/.config/BrimletCodes.ini"));

    QStringList messages;
    for (const CodeDictionary::Problem &problem : codes.Problems())
        messages.append(problem.Message());
    const QString file = QStringLiteral("/home/user/.config/BrimletCodes.ini, line ");
    EXPECT_EQ(messages,
        QStringList({
            file + "1: a code before any [SECTION] header",
            file + "4: neither a [SECTION] header nor a CODE=Meaning line",
            file + "5: no code before \"=\"",
            file + "6: ST is given again in [N101]; line 3 stands",
            file + "8: \"N1 01\" is not an element reference such as N101 or CLM05-1",
            file + "10: a section header must end with \"]\"",
            file + "11: \"472\" is not an element reference such as N101 or CLM05-1",
        }));
    // Everything else was read.
    EXPECT_EQ(codes.Meaning(u"N101", u"ST"), QLatin1String("Ship To"));
    EXPECT_EQ(codes.Meaning(u"N101", u"BT"), QLatin1String("Bill To"));
    EXPECT_EQ(codes.Meaning(u"N101", u"SF"), QString());
    EXPECT_EQ(codes.Meaning(u"DTP01", u"472"), QLatin1String("Service"));
}

TEST(CodeDictionaryTest, TheUsersCopyOverridesTheShippedEntries)
{
    QTemporaryDir program;
    QTemporaryDir settings;
    WriteBytes(program.filePath(QLatin1String(CodeDictionary::ShippedFileName)),
        "[N101]\nST=Ship To\nBT=Bill To\nRI=Remit To\n[HL03]\n23=Dependent\n");
    WriteBytes(settings.filePath(QLatin1String(CodeDictionary::UserFileName)),
        "\xEF\xBB\xBF[n101]\nST=Deliver here\nRI=\nZZ=Ours\n[HL03]\n23=Dependent (\xC3\xA9)\n");

    CodeDictionary codes;
    codes.LoadShippedAndUser(program.path(), settings.path());
    EXPECT_TRUE(codes.Problems().isEmpty());
    EXPECT_EQ(codes.Meaning(u"N101", u"ST"), QLatin1String("Deliver here"));
    EXPECT_EQ(codes.Meaning(u"N101", u"BT"), QLatin1String("Bill To")) << "not overridden";
    EXPECT_EQ(codes.Meaning(u"N101", u"RI"), QString()) << "an empty meaning hides the code's";
    EXPECT_EQ(codes.Meaning(u"N101", u"ZZ"), QLatin1String("Ours")) << "added";
    EXPECT_EQ(codes.Meaning(u"HL03", u"23"), QString::fromUtf8("Dependent (\xC3\xA9)"));
}

TEST(CodeDictionaryTest, AMissingFileIsNoProblemAnUnreadableOneIs)
{
    QTemporaryDir folder;
    CodeDictionary codes;
    codes.LoadShippedAndUser(folder.filePath(QStringLiteral("none")), folder.path());
    EXPECT_TRUE(codes.Problems().isEmpty());

    // A folder where the file should be cannot be read.
    const QString path = folder.filePath(QLatin1String(CodeDictionary::UserFileName));
    ASSERT_TRUE(QDir().mkdir(path));
    codes.LoadFile(path);
    ASSERT_EQ(codes.Problems().size(), 1);
    EXPECT_EQ(codes.Problems()[0].Line, 0);
    EXPECT_TRUE(codes.Problems()[0].Message().startsWith(path + QLatin1String(": cannot be read")))
        << qPrintable(codes.Problems()[0].Message());
}

// The shipped code lists: every line reads, and the codes users meet most are there.
TEST(CodeDictionaryTest, TheShippedFileReadsWithoutProblems)
{
    CodeDictionary codes;
    codes.LoadFile(QStringLiteral(BRIMLET_CODES_INI));
    for (const CodeDictionary::Problem &problem : codes.Problems())
        ADD_FAILURE() << qPrintable(problem.Message());
    const struct
    {
        const char *reference;
        const char *code;
    } known[] = {
        { "ISA01", "00" },
        { "ISA03", "00" },
        { "ISA05", "ZZ" },
        { "ISA07", "01" },
        { "ISA14", "0" },
        { "ISA15", "P" },
        { "GS01", "PO" },
        { "N101", "ST" },
        { "NM101", "IL" },
        { "REF01", "EJ" },
        { "DTM01", "011" },
        { "DTP01", "472" },
        { "NM108", "XX" },
        { "N103", "92" },
        { "HL03", "23" },
        { "PER03", "TE" },
        { "AK501", "A" },
        { "IK501", "R" },
        { "AK901", "P" },
        { "IK304", "8" },
        { "IK403", "7" },
        { "TA104", "R" },
        { "TA105", "001" },
        { "CLM05-1", "11" },
        { "CAS01", "CO" },
    };
    for (const auto &entry : known)
        EXPECT_FALSE(
            codes.Meaning(QString::fromLatin1(entry.reference), QString::fromLatin1(entry.code))
                .isEmpty())
            << entry.reference << " " << entry.code;
    EXPECT_EQ(codes.Meaning(u"N101", u"ST"), QLatin1String("Ship to"));
}

} // namespace
