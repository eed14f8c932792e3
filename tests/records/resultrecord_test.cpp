#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace vc {
namespace {

// Student 12, level 7, 85 seconds on 2024-04-01 at 10:00:00, school "12345",
// laid out by hand from the record table.
const char* const kFixture =
    "00 00 00 00 E0 28 E6 40"  // runDate 45383.0
    "AB AA AA AA AA AA DA 3F"  // runTime 10/24
    "0C 00"                    // studentNumber 12
    "07 00"                    // level 7
    "55 00 00 00"              // seconds 85
    "31 32 33 34 35"           // schoolCode "12345"
    "20 20 20 20 20"           // reserved: blanks
    "30 20 20 20 20"           // reserved: "0" and blanks
    "41 7A 30 39 61";          // reserved: the run's tag, "Az09a" here

TEST(ResultRecord, NewRecordMatchesHandMadeBytes)
{
    FakeClock clock(QDate(2024, 4, 1), QTime(10, 0, 0));
    // 'A', 'z', '0', '9', 'a' of the 62 letters and digits.
    ScriptedRandom tags{{0.0, 51.5 / 62, 52.5 / 62, 61.5 / 62, 26.5 / 62}};
    ResultDestination destination{QStringLiteral("/x/"), QStringLiteral("12345"), 12};
    destination.tagSource = &tags;
    const ResultRecord record = makeResultRecord(destination, 7, 85, clock);
    const QByteArray bytes = encodeResultRecord(record);
    ASSERT_EQ(bytes.size(), kResultRecordSize);
    EXPECT_EQ(test::hex(bytes), test::hex(test::fromHex(kFixture)));

    // Without a source of its own, every new record draws a tag of letters
    // and digits, and no two alike in practice.
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::array<char, 5> tag = newRecordTag();
        EXPECT_TRUE(std::all_of(tag.begin(), tag.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }));
        seen.insert(std::string(tag.data(), tag.size()));
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(ResultRecord, DecodesEveryByteBack)
{
    QByteArray bytes = test::fromHex(kFixture);
    bytes[43] = 'Z';  // a foreign writer's leftover stays as it was
    bytes[16] = '\xFE';
    bytes[17] = '\xFF';  // student -2
    const ResultRecord r = decodeResultRecord(bytes.constData());
    EXPECT_EQ(r.runDate, 45383.0);
    EXPECT_EQ(r.runTime, 10.0 / 24.0);
    EXPECT_EQ(r.studentNumber, -2);
    EXPECT_EQ(r.level, 7);
    EXPECT_EQ(r.seconds, 85);
    EXPECT_EQ(schoolCodeText(r.schoolCode), QStringLiteral("12345"));
    EXPECT_EQ(encodeResultRecord(r), bytes);
}

TEST(ResultRecord, SchoolCodeIsCutToFiveBytesOnCharacterBoundaries)
{
    struct Case {
        QString code;
        const char* field;
    };
    const Case cases[] = {
        {QString(), "20 20 20 20 20"},
        {QStringLiteral("12"), "31 32 20 20 20"},
        {QStringLiteral("1234567"), "31 32 33 34 35"},
        {QStringLiteral("ＡＢＣ"), "82 60 82 61 20"},   // the third would not fit whole
        {QStringLiteral("1ＡＢ"), "31 82 60 82 61"},
        {QStringLiteral("ｽﾀｰﾄ北"), "BD C0 B0 C4 20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        std::array<char, 5> field{};
        ASSERT_TRUE(schoolCodeField(c.code, &field));
        EXPECT_EQ(test::hex(QByteArray(field.data(), 5)), test::hex(test::fromHex(c.field)));
    }
    std::array<char, 5> field{};
    EXPECT_FALSE(schoolCodeField(QStringLiteral("😀"), &field));
}

} // namespace
} // namespace vc
