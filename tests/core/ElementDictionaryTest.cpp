#include "ElementDictionary.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(ElementDictionaryTest, LookupTakesTheFirstLineWhoseNameIsTheKey)
{
    const ElementDictionary dictionary(QStringList {
        QStringLiteral("no equals sign"),
        QStringLiteral("st01=Transaction Set Identifier Code"),
        QStringLiteral("ST01=Second entry"),
        QStringLiteral("ST02 =Spaced name"),
        QStringLiteral("N101="),
        QStringLiteral("N102= Name, spaces kept "),
        QStringLiteral("REF01=Qualifier=with an equals sign"),
        QStringLiteral("=No name"),
    });
    const struct
    {
        const char *key;
        const char *value;
    } cases[] = {
        { "ST01", "Transaction Set Identifier Code" }, // case ignored, first line wins
        { "st01", "Transaction Set Identifier Code" },
        { "ST02", "" }, // a space before "=" is part of the name
        { "ST02 ", "Spaced name" },
        { "N101", "" },
        { "N102", " Name, spaces kept " },
        { "REF01", "Qualifier=with an equals sign" },
        { "REF", "" },
        { "00", "" },
        { "", "No name" },
        { "no equals sign", "" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(dictionary.Lookup(QString::fromLatin1(c.key)), QLatin1String(c.value)) << c.key;
    EXPECT_EQ(ElementDictionary().Lookup(u"ISA00"), QString());
}

TEST(ElementDictionaryTest, LoadsUtf8OrLatin1Files)
{
    QTemporaryDir dir;
    const QString latin1 = dir.filePath(QStringLiteral("latin1.ini"));
    const QString utf8 = dir.filePath(QStringLiteral("utf8.ini"));
    WriteBytes(latin1, "N101=Entit\xE9\r\nN102=Name\r\n");
    WriteBytes(utf8, "\xEF\xBB\xBFN101=Entit\xC3\xA9\nN102=Name");
    for (const QString &path : { latin1, utf8 }) {
        ElementDictionary dictionary;
        ASSERT_TRUE(dictionary.LoadFromFile(path));
        EXPECT_EQ(dictionary.Lookup(u"N101"), QStringLiteral("Entit\u00E9")) << qPrintable(path);
        EXPECT_EQ(dictionary.Lookup(u"N102"), QStringLiteral("Name"));
    }

    ElementDictionary kept(QStringList { QStringLiteral("ISA00=Header") });
    EXPECT_FALSE(kept.LoadFromFile(dir.filePath(QStringLiteral("missing.ini"))));
    EXPECT_EQ(kept.Lookup(u"ISA00"), QLatin1String("Header"));
}

} // namespace
