#include "platform/errors.h"
#include "platform/textcodec.h"
#include "platform/textfile.h"
#include "common/testutil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;
using vc::test::fromHex;
using vc::test::hex;

// Bytes as Python 3's cp932 codec writes them.
TEST(Cp932, RoundTripsAgainstReferenceBytes)
{
    const struct { const char16_t* text; const char* bytes; } cases[] = {
        {u"～", "81 60"},
        {u"－", "81 7C"},
        {u"①", "87 40"},
        {u"Ⅰ", "87 54"},
        {u"ｽﾀｰﾄ", "BD C0 B0 C4"},
        {u"ﾚﾍﾞﾙ", "DA CD DE D9"},
        {u"単元1,りんご,apple", "92 50 8C B3 31 2C 82 E8 82 F1 82 B2 2C 61 70 70 6C 65"},
        {u"／ｅｎｄ／", "81 5E 82 85 82 8E 82 84 81 5E"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto encoded = Cp932::encode(text);
        ASSERT_TRUE(encoded) << text.toStdString();
        EXPECT_EQ(hex(*encoded), QString::fromLatin1(c.bytes)) << text.toStdString();
        const auto decoded = Cp932::decode(fromHex(c.bytes));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, text);
    }
}

TEST(Cp932, ReadsBothEncodingsOfTheSameKanji)
{
    // Python writes 髙 as EE E0 (NEC selected), glibc as FB FC (IBM extension); both read back.
    EXPECT_EQ(Cp932::decode(fromHex("EE E0")).value(), QStringLiteral("髙"));
    EXPECT_EQ(Cp932::decode(fromHex("FB FC")).value(), QStringLiteral("髙"));
}

TEST(Cp932, RefusesWhatItCannotRepresent)
{
    QString bad;
    EXPECT_FALSE(Cp932::encode(QStringLiteral("abc😀d"), &bad));
    EXPECT_EQ(bad, QStringLiteral("😀"));
    EXPECT_FALSE(Cp932::encode(QStringLiteral("한국"), &bad));
    EXPECT_EQ(bad, QStringLiteral("한"));

    qsizetype at = -1;
    EXPECT_FALSE(Cp932::decode(fromHex("41 42 81"), &at)); // truncated double-byte character
    EXPECT_EQ(at, 2);
    EXPECT_FALSE(Cp932::decode(fromHex("41 A0 42"), &at)); // 0xA0 is no character
}

TEST(TextFile, WritesCrLfAndReadsBothLineEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("結果12.csv"));
    writeTextLines(path, {QStringLiteral("一行目"), QStringLiteral("two")});
    EXPECT_EQ(hex(test::readBytes(path)), QStringLiteral("88 EA 8D 73 96 DA 0D 0A 74 77 6F 0D 0A"));
    appendTextLine(path, QStringLiteral("ｽﾀｰﾄ"));
    EXPECT_EQ(readTextLines(path), (QStringList{QStringLiteral("一行目"), QStringLiteral("two"), QStringLiteral("ｽﾀｰﾄ")}));

    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\nc")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
}

TEST(TextFile, FailuresNameTheFileAndLeaveItUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("共通データ.txt"));
    try {
        readTextFile(path);
        FAIL() << "missing file read";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("共通データ.txt")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("見つかりません")));
    }
    test::writeBytes(path, fromHex("41 81"));
    EXPECT_THROW(readTextFile(path), DataError);

    writeTextLines(path, {QStringLiteral("元のまま")});
    const QByteArray before = test::readBytes(path);
    EXPECT_THROW(writeTextLines(path, {QStringLiteral("😀")}), DataError);
    EXPECT_THROW(appendTextLine(path, QStringLiteral("😀")), DataError);
    EXPECT_EQ(test::readBytes(path), before);
}
