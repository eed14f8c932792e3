#include "common/testutil.h"
#include "platform/errors.h"
#include "platform/textcodec.h"
#include "records/standards.h"
#include "recordstest.h"

#include <gmock/gmock.h>

namespace vc {
namespace {

using test::CourseFolderTest;
using ::testing::HasSubstr;

const QString kHeading = QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,");

class StandardsTest : public CourseFolderTest {
protected:
    QString path() const { return standardsFilePath(folder()); }
};

TEST_F(StandardsTest, LoadsEachLineIntoItsLevelRowAndLeavesLaterRowsAlone)
{
    test::writeCp932(path(), {kHeading,
                              QStringLiteral("30,45,100,5,1.5,3,,7,\"14\",メモ,,x"),
                              QStringLiteral(" 12.5 , 13.5 ,,,0.7,0,40,,0,,,")});
    StandardsTable table;
    table.rows[3].targetTime = 77;
    table.rows[3].banCount = {QStringLiteral("9"), 9};

    loadStandards(path(), table);

    const StandardsRow& one = table.rows[1];
    EXPECT_EQ(one.targetTime, 30);
    EXPECT_EQ(one.minimumTime, 45);
    EXPECT_EQ(one.clearPoints, 100);
    EXPECT_EQ(one.clearCount, 5);
    EXPECT_FLOAT_EQ(one.pointMultiplier, 1.5f);
    EXPECT_EQ(one.banCount.value, 3);
    EXPECT_EQ(one.banPoints.text, QString());
    EXPECT_EQ(one.banPoints.value, 0);
    EXPECT_EQ(one.judgePeriod.value, 7);
    EXPECT_EQ(one.banPeriod.text, QStringLiteral("14"));
    EXPECT_EQ(one.banPeriod.value, 14);
    EXPECT_EQ(one.reserved[0], QStringLiteral("メモ"));
    EXPECT_EQ(one.reserved[2], QStringLiteral("x"));

    // Blanks dropped, whole-number columns round halves to even, empty reads as 0.
    const StandardsRow& two = table.rows[2];
    EXPECT_EQ(two.targetTime, 12);
    EXPECT_EQ(two.minimumTime, 14);
    EXPECT_EQ(two.clearPoints, 0);
    EXPECT_EQ(two.clearCount, 0);
    EXPECT_FLOAT_EQ(two.pointMultiplier, 0.7f);
    EXPECT_EQ(two.banPoints.value, 40);
    EXPECT_EQ(two.judgePeriod.text, QString());

    EXPECT_EQ(table.rows[3].targetTime, 77);
    EXPECT_EQ(table.rows[3].banCount.value, 9);
    EXPECT_EQ(table.rows[0].targetTime, 0);  // the heading line is no level
    EXPECT_EQ(table.level(0), nullptr);
    EXPECT_EQ(table.level(101), nullptr);
    EXPECT_EQ(table.level(1), &table.rows[1]);
}

TEST_F(StandardsTest, HeadingOnlyFileKeepsEveryRow)
{
    test::writeCp932(path(), {kHeading});
    StandardsTable table;
    table.rows[1].targetTime = 30;
    table.rows[100].clearCount = 9999;
    loadStandards(path(), table);
    EXPECT_EQ(table.rows[1].targetTime, 30);
    EXPECT_EQ(table.rows[100].clearCount, 9999);
}

TEST_F(StandardsTest, LastLineMayEndInEmptyValuesWithoutLineEnd)
{
    test::writeBytes(path(), *Cp932::encode(kHeading + QStringLiteral("\r\n40,60,10,2,1,,,,,,,")));
    StandardsTable table;
    loadStandards(path(), table);
    EXPECT_EQ(table.rows[1].targetTime, 40);
    EXPECT_EQ(readStandardsLines(path()).size(), 2);
}

TEST_F(StandardsTest, MalformedFilesNameTheFileAndLineAndChangeNothing)
{
    const QString good = QStringLiteral("30,45,100,5,1,,,7,7,,,");
    QStringList tooMany{kHeading};
    for (int i = 0; i < 101; ++i)
        tooMany.append(good);
    struct Case {
        const char* name;
        QStringList lines;
        QString where;  // part of the message
    };
    const Case cases[] = {
        {"short line shifts nothing", {kHeading, QStringLiteral("30,45,100,5,1,,,7,7,,"), good}, QStringLiteral("の 2 行目")},
        {"long line", {kHeading, good, good + u','}, QStringLiteral("の 3 行目")},
        {"text in a number column", {kHeading, QStringLiteral("30,45,abc,5,1,,,7,7,,,")}, QStringLiteral("の 2 行目")},
        {"text in a period column", {kHeading, QStringLiteral("30,45,100,5,1,,,一週間,7,,,")}, QStringLiteral("の 2 行目")},
        {"clear count beyond 16 bits", {kHeading, QStringLiteral("30,45,100,40000,1,,,7,7,,,")}, QStringLiteral("の 2 行目")},
        {"unclosed quote", {kHeading, QStringLiteral("30,\"45,100,5,1,,,7,7,,,")}, QStringLiteral("の 2 行目")},
        {"more levels than the table", tooMany, QStringLiteral("の 102 行目")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeCp932(path(), c.lines);
        StandardsTable table;
        table.rows[1].targetTime = 99;
        try {
            loadStandards(path(), table);
            ADD_FAILURE() << "no error";
        } catch (const DataError& e) {
            EXPECT_THAT(e.message().toStdString(), HasSubstr("タイム回数データ.txt"));
            EXPECT_THAT(e.message().toStdString(), HasSubstr(c.where.toStdString()));
        }
        EXPECT_EQ(table.rows[1].targetTime, 99);
    }
}

TEST_F(StandardsTest, MissingFileIsReportedByName)
{
    StandardsTable table;
    try {
        loadStandards(path(), table);
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr("タイム回数データ.txt"));
    }
}

TEST_F(StandardsTest, SaveWritesHeadingAndUnquotedValuesInCp932WithCrLf)
{
    saveStandards(path(), {StandardsLine{"30", "45", "100", "5", "1.5", "", "", "7", "7", "", "", ""},
                           StandardsLine{"ｽﾀｰﾄ", "", "", "", "", "", "", "", "", "", "", "9"}});
    const QByteArray expected = test::fromHex(
        // 目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,
        "96 DA 95 57 54 69 6D 65 2C 8D C5 92 E1 54 69 6D 65 2C B8 D8 B1 CE DF B2 DD C4 2C B8 D8 B1 89 F1 90 94 2C"
        "CE DF B2 DD C4 94 7B 97 A6 2C 8B D6 89 F1 2C 8B D6 93 5F 2C 94 BB 8A FA 8A D4 2C 8B D6 8A FA 8A D4"
        "2C 2C 2C 0D 0A"
        // 30,45,100,5,1.5,,,7,7,,,
        "33 30 2C 34 35 2C 31 30 30 2C 35 2C 31 2E 35 2C 2C 2C 37 2C 37 2C 2C 2C 0D 0A"
        // ｽﾀｰﾄ,,,,,,,,,,,9
        "BD C0 B0 C4 2C 2C 2C 2C 2C 2C 2C 2C 2C 2C 2C 39 0D 0A");
    EXPECT_EQ(test::hex(test::readBytes(path())), test::hex(expected));
}

TEST_F(StandardsTest, SavedCellsReadBackAsTyped)
{
    const StandardsLine awkward{"30", "a,b", "#1", "x\"y", "1", "", "", "7", "7", "メモ 1", "", ""};
    saveStandards(path(), {awkward});
    const QList<StandardsLine> lines = readStandardsLines(path());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], awkward);
    EXPECT_EQ(lines[0][8], QStringLiteral("禁期間"));
}

TEST_F(StandardsTest, CellsTheFormatCannotHoldLeaveTheFileAsItWas)
{
    test::writeCp932(path(), {kHeading});
    const QByteArray before = test::readBytes(path());
    for (const char* bad : {"\"a,b\"", "a\nb"}) {
        SCOPED_TRACE(bad);
        StandardsLine line{};
        line[3] = QString::fromUtf8(bad);
        EXPECT_THROW(saveStandards(path(), {line}), DataError);
        EXPECT_EQ(test::readBytes(path()), before);
    }
}

TEST(DefaultTimes, ReplaceBothTimeColumnsUpToTheLevelCount)
{
    StandardsTable table;
    for (StandardsRow& row : table.rows) {
        row.targetTime = 500;
        row.minimumTime = 600;
        row.clearPoints = 7;
    }
    std::array<int, kLevelRows> defaults{};
    // target → minimum: 1.5 times, halves to the even neighbour.
    const std::pair<int, int> cases[] = {{25, 38}, {15, 22}, {10, 15}, {1, 2}, {3, 4}, {0, 0}};
    for (size_t i = 0; i < std::size(cases); ++i)
        defaults[i + 1] = cases[i].first;
    defaults[7] = 40;

    applyDefaultTimes(table, defaults, 6);

    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        EXPECT_EQ(table.rows[i + 1].targetTime, cases[i].first);
        EXPECT_EQ(table.rows[i + 1].minimumTime, cases[i].second);
        EXPECT_EQ(table.rows[i + 1].clearPoints, 7);
    }
    EXPECT_EQ(table.rows[7].targetTime, 500);  // beyond the course's levels
    EXPECT_EQ(table.rows[7].minimumTime, 600);
    EXPECT_EQ(table.rows[0].targetTime, 500);

    table.rows[3].targetTime = 123;
    applyDefaultTimes(table, std::span<const int>(defaults.data(), 3), 99);  // a short list stops at its end
    EXPECT_EQ(table.rows[2].targetTime, 15);
    EXPECT_EQ(table.rows[3].targetTime, 123);
}

} // namespace
} // namespace vc
