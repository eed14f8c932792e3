#include "platform/errors.h"
#include "platform/fieldlist.h"

#include <gtest/gtest.h>

using namespace vc;

namespace {
FieldListReader reader(const char16_t* text)
{
    return FieldListReader(QString::fromUtf16(text), QStringLiteral("テスト.txt"));
}
} // namespace

TEST(FieldListReader, SeparatesByCommasAndLineEnds)
{
    auto in = reader(u"  a b , c\r\n\"D:\\data, 2\\\" ,3\r\n,x,\r\n");
    EXPECT_EQ(in.nextText(), QStringLiteral("a b"));
    EXPECT_EQ(in.nextText(), QStringLiteral("c"));
    EXPECT_EQ(in.nextText(), QStringLiteral("D:\\data, 2\\")); // quoted: comma kept, quotes gone
    EXPECT_EQ(in.nextInt(), 3);
    EXPECT_EQ(in.nextText(), QString()); // empty before the comma
    EXPECT_EQ(in.nextText(), QStringLiteral("x"));
    EXPECT_EQ(in.nextText(), QString()); // a line ending in a comma holds one more, empty value
    EXPECT_TRUE(in.atEnd());
    EXPECT_THROW(in.next(), DataError);

    auto noLineEnd = reader(u"1,,");
    EXPECT_EQ(noLineEnd.nextInt(), 1);
    EXPECT_EQ(noLineEnd.nextText(), QString());
    EXPECT_EQ(noLineEnd.nextText(), QString());
    EXPECT_THROW(noLineEnd.next(), DataError);
}

TEST(FieldListReader, QuotedValuesKeepSpacesAndDropTrailingJunk)
{
    auto in = reader(u"\"  padded  \"xyz,\"\",last");
    EXPECT_EQ(in.nextText(), QStringLiteral("  padded  "));
    EXPECT_EQ(in.nextText(), QString());
    EXPECT_EQ(in.nextText(), QStringLiteral("last"));
    EXPECT_TRUE(in.atEnd());
}

TEST(FieldListReader, DatesTimesAndNumbers)
{
    auto in = reader(u"#2024-03-15#,#09:05:07#,-12, 1.5 ,,\"7\"\r\n");
    EXPECT_EQ(in.nextDate(), QDate(2024, 3, 15));
    EXPECT_EQ(in.nextTime(), QTime(9, 5, 7));
    EXPECT_EQ(in.nextInt(), -12);
    EXPECT_DOUBLE_EQ(in.nextNumber(), 1.5);
    EXPECT_EQ(in.nextInt(), 0); // empty reads as 0
    EXPECT_EQ(in.nextInt(), 7);
    EXPECT_TRUE(in.atEnd());
}

TEST(FieldListReader, BlankLinesAndTrailingBlanksCarryNoValues)
{
    auto in = reader(u"\r\n1\r\n\r\n   \r\n2\r\n\r\n  \r\n\x1A");
    EXPECT_EQ(in.nextInt(), 1);
    EXPECT_EQ(in.nextInt(), 2);
    EXPECT_TRUE(in.atEnd());
}

TEST(FieldListReader, ErrorsNameFileAndLine)
{
    const struct { const char16_t* text; int reads; const char16_t* expect; } cases[] = {
        {u"1,2", 3, u"値が足りません"},
        {u"1\r\nabc", 2, u"2 行目"},
        {u"\"open,2", 1, u"閉じていません"},
        {u"70000", 1, u"範囲外"},
        {u"12x", 1, u"数値ではありません"},
    };
    for (const auto& c : cases) {
        auto in = reader(c.text);
        try {
            for (int i = 0; i < c.reads; ++i)
                in.nextInt16();
            ADD_FAILURE() << "no error for " << QString::fromUtf16(c.text).toStdString();
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("テスト.txt")));
            EXPECT_TRUE(e.message().contains(QString::fromUtf16(c.expect))) << e.message().toStdString();
        }
    }
    auto dates = reader(u"2024-03-15,#2024-13-01#");
    EXPECT_THROW(dates.nextDate(), DataError); // not between # signs
    EXPECT_THROW(dates.nextDate(), DataError); // no such month
}

TEST(FieldListWriter, WritesTheSameFormatBack)
{
    FieldListWriter w;
    w.date(QDate(2024, 3, 5)).time(QTime(7, 8, 9)).text(QStringLiteral("p単元1_1")).text(QStringLiteral("say \"hi\", ok")).number(-3).raw(QString());
    EXPECT_EQ(w.line(), QStringLiteral("#2024-03-05#,#07:08:09#,\"p単元1_1\",\"say ＂hi＂, ok\",-3,"));
    auto in = FieldListReader(w.line(), QStringLiteral("x"));
    EXPECT_EQ(in.nextDate(), QDate(2024, 3, 5));
    EXPECT_EQ(in.nextTime(), QTime(7, 8, 9));
    EXPECT_EQ(in.nextText(), QStringLiteral("p単元1_1"));
    EXPECT_EQ(in.nextText(), QStringLiteral("say ＂hi＂, ok"));
    EXPECT_EQ(in.nextInt(), -3);
    EXPECT_EQ(in.nextText(), QString());
    EXPECT_TRUE(in.atEnd());
}

TEST(LeadingNumber, ParsesAsMuchAsTheTextStartsWith)
{
    const struct { const char16_t* text; double value; } cases[] = {
        {u"12345", 12345}, {u"  12北校", 12}, {u"北校", 0}, {u"00000", 0}, {u"-3.5x", -3.5}, {u"", 0}, {u"1e3", 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf16(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}
