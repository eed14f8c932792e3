// The results administration's domain: list lines, the roster pass, checked
// changes and deletions, the CSV export, and the start-up that finishes a
// deletion a crash interrupted.
#include "admin/resultsadmin.h"
#include "common/school.h"
#include "common/testutil.h"
#include "platform/clock.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "startup/startup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gmock/gmock.h>

namespace vc {
namespace {

ResultRecord run(QDate date, QTime time, qint16 student, qint16 level, qint32 seconds, const QString& code = QStringLiteral("12345"))
{
    ResultRecord r;
    r.runDate = dayNumber(date);
    r.runTime = dayFraction(time);
    r.studentNumber = student;
    r.level = level;
    r.seconds = seconds;
    EXPECT_TRUE(schoolCodeField(code, &r.schoolCode));
    return r;
}

QByteArray encodeAll(const std::vector<ResultRecord>& records)
{
    QByteArray bytes;
    for (const ResultRecord& r : records)
        bytes += encodeResultRecord(r);
    return bytes;
}

class ResultsAdminTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::writeCp932(rosterPath(), {QStringLiteral("12,2011,0,0,\"山田 太郎\",0,\"\",\"\""),
                                        QStringLiteral("3,2017,0,0,\"佐藤\",1,\"\",\"\""),
                                        QStringLiteral("40,2006,0,0,\"長谷川 まなみ\",2,\"\",\"\"")});
        adminRosterPass(rosterPath(), 2024, roster);
    }
    QString rosterPath() const { return dir.path() + QStringLiteral("/新名簿.txt"); }
    QString results() const { return dir.path() + QStringLiteral("/成績累積データ.dat"); }
    QTemporaryDir dir;
    AdminRoster roster;
    const AdminSchool school{QStringLiteral("12345"), QStringLiteral("北校")};
};

TEST_F(ResultsAdminTest, RosterPassTakesEveryLineWithItsClass)
{
    EXPECT_EQ(roster.choices, (QStringList{QStringLiteral("12 /  山田 太郎"), QStringLiteral("3 /  佐藤"),
                                           QStringLiteral("40 /  長谷川 まなみ")}));
    EXPECT_EQ(roster.classLabel(12), QStringLiteral("中１"));
    EXPECT_EQ(roster.classLabel(3), QStringLiteral("小１"));
    EXPECT_EQ(roster.classLabel(40), QString());  // 高３ has no stored form
    EXPECT_EQ(roster.statuses[40], 2);
}

TEST_F(ResultsAdminTest, ListLinesHaveTheirFixedLayout)
{
    const struct {
        qint64 number;
        int width;
        ResultRecord record;
        const char16_t* line;
    } cases[] = {
        {12, 4, run({2024, 5, 10}, {9, 5, 3}, 12, 7, 85), u"  12 2024/05/10　  9:05:03ﾚﾍﾞﾙ7　   85秒 　  12 山田 太郎　 中１++北校"},
        {3, 4, run({2023, 12, 1}, {16, 40, 0}, 3, 12, 99999, QStringLiteral("ABCDE")),
         u"   3 2023/12/01　 16:40:00ﾚﾍﾞﾙ12　99999秒 　   3 佐藤　　　　 小１++他塾"},
        // A student the roster does not know, and a record number past 9999.
        {10000, 5, run({2024, 1, 2}, {0, 0, 1}, 77, 1, 5), u"10000 2024/01/02　  0:00:01ﾚﾍﾞﾙ1　    5秒 　  77 　　　　　 ++北校"},
        {7, 6, run({2024, 1, 2}, {0, 0, 1}, 40, 100, 120), u"     7 2024/01/02　  0:00:01ﾚﾍﾞﾙ100　  120秒 　  40 長谷川 まな ++北校"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(adminListLine(c.number, c.width, c.record, roster, school), QString::fromUtf16(c.line));
    // A school without a code matches no record: every line is another school's.
    EXPECT_TRUE(adminListLine(1, 4, run({2024, 1, 2}, {0, 0, 1}, 12, 1, 5, {}), roster, {QString(), QStringLiteral("北校")})
                    .endsWith(QStringLiteral("++他塾")));
    EXPECT_EQ(recordNumberWidth(9999), 4);
    EXPECT_EQ(recordNumberWidth(10000), 5);
    EXPECT_EQ(recordNumberWidth(1234567), 7);
    // A broken date does not stop the list.
    ResultRecord broken = run({2024, 1, 2}, {0, 0, 1}, 12, 1, 5);
    broken.runDate = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THAT(adminListLine(1, 4, broken, roster, school).toStdString(), ::testing::HasSubstr("----/--/--"));
}

TEST_F(ResultsAdminTest, LevelZeroIsNotListedButKeepsItsNumberAndTextOrderIsRecordOrder)
{
    std::vector<ResultRecord> records;
    for (int k = 1; k <= 10001; ++k)
        records.push_back(run({2024, 5, 10}, {10, 0, 0}, 12, static_cast<qint16>(k == 2 ? 0 : 1 + k % 9), k));
    test::writeBytes(results(), encodeAll(records));
    const std::vector<AdminRow> rows = buildAdminRows(results(), roster, school);
    ASSERT_EQ(rows.size(), 10000u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[1].number, 3);
    EXPECT_EQ(rows.back().number, 10001);
    EXPECT_TRUE(rows[0].line.startsWith(QStringLiteral("    1 ")));
    EXPECT_TRUE(rows.back().line.startsWith(QStringLiteral("10001 ")));
    QStringList lines;
    for (const AdminRow& row : rows)
        lines.append(row.line);
    QStringList sorted = lines;
    sorted.sort();
    EXPECT_EQ(sorted, lines);
}

TEST_F(ResultsAdminTest, SavingAnotherStudentChangesOnlyStudentAndSeconds)
{
    const std::vector<ResultRecord> records = {run({2024, 5, 9}, {9, 0, 0}, 12, 2, 50), run({2024, 5, 10}, {9, 30, 15}, 12, 3, 61),
                                               run({2024, 5, 10}, {11, 0, 0}, 3, 4, 70)};
    QByteArray before = encodeAll(records);
    before[kResultRecordSize + 40] = 'Z';  // a reserved byte, kept as it is
    test::writeBytes(results(), before);
    const std::vector<AdminRow> rows = buildAdminRows(results(), roster, school);
    ASSERT_EQ(saveAdminRow(results(), rows[1], 40, 58), RewriteOutcome::Done);
    const QByteArray after = test::readBytes(results());
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const qsizetype inRecord = i - kResultRecordSize;
        if (inRecord >= 16 && inRecord < 18)
            continue;  // student number
        if (inRecord >= 20 && inRecord < 24)
            continue;  // seconds
        EXPECT_EQ(after[i], before[i]) << "byte " << i;
    }
    const ResultRecord changed = decodeResultRecord(after.constData() + kResultRecordSize);
    EXPECT_EQ(changed.studentNumber, 40);
    EXPECT_EQ(changed.seconds, 58);
}

TEST_F(ResultsAdminTest, EditorTextsAndChoices)
{
    test::writeBytes(results(), encodeAll({run({2024, 5, 10}, {9, 30, 15}, 12, 3, 61)}));
    const AdminRow row = buildAdminRows(results(), roster, school).at(0);
    const AdminEditorTexts t = adminEditorTexts(row, roster);
    EXPECT_EQ(t.number, QStringLiteral("1"));
    EXPECT_EQ(t.level, QStringLiteral("3ﾚﾍﾞﾙ"));
    EXPECT_EQ(t.date, QStringLiteral("2024/05/10"));
    EXPECT_EQ(t.classLabel, QStringLiteral("中１"));
    EXPECT_EQ(t.seconds, QStringLiteral("61"));
    EXPECT_EQ(t.student, QStringLiteral("12 /  山田 太郎"));

    EXPECT_EQ(studentOfChoice(QStringLiteral("3 /  佐藤")), std::optional<qint16>(3));
    EXPECT_EQ(studentOfChoice(QStringLiteral(" 40/x")), std::optional<qint16>(40));
    EXPECT_EQ(classOfChoice(QStringLiteral("3 /  佐藤"), roster), QStringLiteral("小１"));
    for (const char* bad : {"", "abc /  x", "0 /  x", "5001 / x", "-3 / x"})
        EXPECT_FALSE(studentOfChoice(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(secondsOfText(QStringLiteral(" 58 ")), std::optional<qint32>(58));
    EXPECT_EQ(secondsOfText(QStringLiteral("99999")), std::optional<qint32>(99999));
    for (const char* bad : {"", "1.5", "-1", "100000", "12秒"})
        EXPECT_FALSE(secondsOfText(QString::fromUtf8(bad))) << bad;
}

// The list was built; then another computer deleted record 1. Record 3 is
// now the run listed as 4: neither saving nor deleting the listed 3 may
// touch it.
TEST_F(ResultsAdminTest, AStaleListChangesNothing)
{
    std::vector<ResultRecord> records;
    for (int k = 1; k <= 5; ++k)
        records.push_back(run({2024, 5, 10}, {9, 0, k}, k == 1 ? 900 : 12, 2, 30 + k));
    test::writeBytes(results(), encodeAll(records));
    const std::vector<AdminRow> rows = buildAdminRows(results(), roster, school);
    QProcess other;
    other.start(QStringLiteral(VC_REWRITE_CHILD), {QStringLiteral("delete"), dir.path() + u'/', QStringLiteral("900"),
                                                   QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0")});
    ASSERT_TRUE(other.waitForFinished(30000));
    ASSERT_EQ(other.exitCode(), 0);
    const QByteArray now = test::readBytes(results());
    ASSERT_EQ(now.size(), 4 * kResultRecordSize);

    EXPECT_FALSE(rowStillListed(results(), rows[2]));
    EXPECT_EQ(saveAdminRow(results(), rows[2], 3, 10), RewriteOutcome::Stale);
    EXPECT_EQ(deleteAdminRow(results(), rows[2]), RewriteOutcome::Stale);
    EXPECT_EQ(deleteAdminRow(results(), rows[4]), RewriteOutcome::Stale);  // beyond the end now
    EXPECT_EQ(test::readBytes(results()), now);
    // Rebuilt, the list addresses the same run again.
    const std::vector<AdminRow> fresh = buildAdminRows(results(), roster, school);
    EXPECT_EQ(fresh[1].bytes, rows[2].bytes);
    EXPECT_EQ(deleteAdminRow(results(), fresh[1]), RewriteOutcome::Done);
}

TEST_F(ResultsAdminTest, RowAfterDeletion)
{
    EXPECT_EQ(rowAfterDeletion(3, 4), 2);  // the run that followed moved into the row
    EXPECT_EQ(rowAfterDeletion(5, 4), 3);  // the last line went: the new last line
    EXPECT_EQ(rowAfterDeletion(1, 0), -1);
}

TEST_F(ResultsAdminTest, CsvIsUtf8WithAByteOrderMark)
{
    test::writeBytes(results(), encodeAll({run({2024, 5, 10}, {9, 5, 3}, 12, 2, 61), run({2024, 5, 11}, {14, 0, 0}, 12, 1, 99999, {})}));
    // The roster format cannot hold a double quote inside a name; one with a comma it can.
    test::writeCp932(rosterPath(), {QStringLiteral("12,2011,0,0,\"山田,太郎\",0,\"\",\"\"")});
    adminRosterPass(rosterPath(), 2024, roster);
    const std::vector<AdminRow> rows = buildAdminRows(results(), roster, school);
    std::array<QString, 101> levelNames{};
    levelNames[1] = QStringLiteral("pUnit1_1");
    levelNames[2] = QStringLiteral("pUnit1_2");
    QTemporaryDir out;
    const QString folder = out.path() + QStringLiteral("/Documents/Vocarimo");
    const QString path = writeAdminCsv(folder, rows, roster, school, levelNames, QDateTime({2024, 5, 12}, {8, 9, 10}));
    EXPECT_EQ(path, folder + QStringLiteral("/成績データ_20240512_080910.csv"));
    const QByteArray bytes = test::readBytes(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)),
              QStringLiteral("番号,日付,時刻,レベル,レベル名,秒,生徒番号,名前,学年,塾\r\n"
                             "1,2024/05/10,9:05:03,2,pUnit1_2,61,12,\"山田,太郎\",中１,北校\r\n"
                             "2,2024/05/11,14:00:00,1,pUnit1_1,99999,12,\"山田,太郎\",中１,他塾\r\n"));
}

TEST_F(ResultsAdminTest, CsvKeepsTextsFromRunningAsFormulasButNotNumbers)
{
    // Names as a roster can hold them (no double quote inside), a level name
    // from the course and a school from the settings that look like formulas;
    // a run with a negative level and time, which stay numbers.
    test::writeCp932(rosterPath(), {QStringLiteral("12,2011,0,0,\"=HYPERLINK(A1&B1,点数)\",0,\"\",\"\""),
                                    QStringLiteral("13,2011,0,0,\"@SUM(A1:A9)\",0,\"\",\"\""),
                                    QStringLiteral("14,2011,0,0,\"+81 90 1234\",0,\"\",\"\""),
                                    QStringLiteral("15,2011,0,0,\"-山田\",0,\"\",\"\""),
                                    QStringLiteral("16,2011,0,0,\"山田-太郎\",0,\"\",\"\"")});
    adminRosterPass(rosterPath(), 2024, roster);
    test::writeBytes(results(), encodeAll({run({2024, 5, 10}, {9, 0, 0}, 12, 1, 61), run({2024, 5, 10}, {9, 0, 1}, 13, 1, 62),
                                           run({2024, 5, 10}, {9, 0, 2}, 14, 1, 63), run({2024, 5, 10}, {9, 0, 3}, 15, 1, 64),
                                           run({2024, 5, 10}, {9, 0, 4}, 16, -3, -5)}));
    const std::vector<AdminRow> rows = buildAdminRows(results(), roster, school);
    ASSERT_EQ(rows.size(), 5u);
    std::array<QString, 101> levelNames{};
    levelNames[1] = QStringLiteral("=1+1");
    const AdminSchool formulaSchool{QStringLiteral("12345"), QStringLiteral("-北校")};
    const QStringList lines = QString::fromUtf8(adminCsv(rows, roster, formulaSchool, levelNames).mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[1], QStringLiteral("1,2024/05/10,9:00:00,1,\"'=1+1\",61,12,\"'=HYPERLINK(A1&B1,点数)\",中１,\"'-北校\""));
    EXPECT_EQ(lines[2], QStringLiteral("2,2024/05/10,9:00:01,1,\"'=1+1\",62,13,\"'@SUM(A1:A9)\",中１,\"'-北校\""));
    EXPECT_EQ(lines[3], QStringLiteral("3,2024/05/10,9:00:02,1,\"'=1+1\",63,14,\"'+81 90 1234\",中１,\"'-北校\""));
    EXPECT_EQ(lines[4], QStringLiteral("4,2024/05/10,9:00:03,1,\"'=1+1\",64,15,\"'-山田\",中１,\"'-北校\""));
    EXPECT_EQ(lines[5], QStringLiteral("5,2024/05/10,9:00:04,-3,,-5,16,山田-太郎,中１,\"'-北校\""));
    EXPECT_EQ(lines[6], QString());
}

TEST(ResultsAdminStartUp, StartUpFinishesADeletionACrashInterrupted)
{
    test::SchoolFixture school;
    school.writeDefaults();
    const QString path = resultsFilePath(school.courseFolder);
    std::vector<ResultRecord> records;
    for (int k = 1; k <= 6; ++k)
        records.push_back(run({2024, 5, 10}, {9, 0, k}, k == 2 ? 900 : 1, 1, k));
    const QByteArray before = encodeAll(records);
    test::writeBytes(path, before);
    QProcess deleter;
    deleter.start(QStringLiteral(VC_REWRITE_CHILD),
                  {QStringLiteral("delete"), school.courseFolder, QStringLiteral("900"), QStringLiteral("1"),
                   QString::number(static_cast<int>(RewriteStep::RecordsPartlyWritten)), QStringLiteral("0")});
    ASSERT_TRUE(deleter.waitForFinished(30000));
    ASSERT_EQ(deleter.exitStatus(), QProcess::CrashExit);
    ASSERT_NE(test::readBytes(path), before.left(kResultRecordSize) + before.mid(2 * kResultRecordSize));

    FakeClock clock;
    AppState state;
    state.services.clock = &clock;
    resolveDataAndSettings(state, school.programFolder);
    EXPECT_EQ(test::readBytes(path), before.left(kResultRecordSize) + before.mid(2 * kResultRecordSize));
    EXPECT_FALSE(QFile::exists(rewriteJournalPath(path)));
}

} // namespace
} // namespace vc
