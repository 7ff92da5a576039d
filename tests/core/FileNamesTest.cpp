#include "FileNames.h"

#include <gtest/gtest.h>

namespace {

// Every name comes back byte for byte; valid UTF-8 reads as its text, and each byte of an
// invalid sequence shows as one replacement character.
TEST(FileNamesTest, NamesSurviveAsTextWhateverTheirBytes)
{
    const struct
    {
        QByteArray bytes;
        QString shown;
    } cases[] = {
        { "plain.x12", QStringLiteral("plain.x12") },
        { "caf\xC3\xA9.x12", QStringLiteral("caf\u00E9.x12") },
        { "bad\xFF\xFEname.x12", QStringLiteral("bad\uFFFD\uFFFDname.x12") },
        { "latin\xE9.x12", QStringLiteral("latin\uFFFD.x12") }, // a Latin-1 name
        { "over\xC0\xAFlong", QStringLiteral("over\uFFFD\uFFFDlong") },
        { "sur\xED\xA0\x80rogate", QStringLiteral("sur\uFFFD\uFFFD\uFFFDrogate") },
        { "cut\xE2\x82", QStringLiteral("cut\uFFFD\uFFFD") },
        { "emoji\xF0\x9F\x98\x80", QStringLiteral("emoji\U0001F600") },
        { "", QString() },
    };
    for (const auto &c : cases) {
        const QString name = FileNames::Decode(c.bytes);
        EXPECT_EQ(FileNames::Encode(name), c.bytes) << c.bytes.toHex().constData();
        EXPECT_EQ(FileNames::Display(name), c.shown) << c.bytes.toHex().constData();
    }
    EXPECT_EQ(FileNames::Decode("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
}

} // namespace
