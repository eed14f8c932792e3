// vocarimo-results, the IT person's tool for a course's results file: what
// it reports, the copies and repairs it makes, and that bad input changes
// nothing.
#include "common/testutil.h"
#include "records/resultsfile.h"
#include "records/resultsrewrite.h"
#include "records/resultstool.h"
#include "recordstest.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <gmock/gmock.h>
#include <map>

namespace vc {
namespace {

using test::CourseFolderTest;
using ::testing::HasSubstr;

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class ResultsToolTest : public CourseFolderTest {
protected:
    QString path() const { return resultsFilePath(folder()); }
    QByteArray seed(int count)
    {
        std::vector<ResultRecord> records;
        for (int i = 0; i < count; ++i)
            records.push_back(test::makeRun(45383 + i, static_cast<qint16>(10 + i % 3), 1 + i % 5, 30 + i));
        const QByteArray bytes = test::encodeAll(records);
        test::writeBytes(path(), bytes);
        return bytes;
    }
    ToolRun tool(const QStringList& args, const QByteArray& input = {}) const
    {
        QProcess p;
        p.start(QStringLiteral(VC_RESULTS_TOOL), args);
        EXPECT_TRUE(p.waitForStarted(10000));
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    // Every file below the folder with its bytes: what "changes nothing" compares.
    std::map<QString, QByteArray> snapshot() const
    {
        std::map<QString, QByteArray> files;
        QDirIterator it(folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = it.next();
            files[name] = test::readBytes(name);
        }
        return files;
    }
};

TEST_F(ResultsToolTest, CheckTellsWhatIsWrongAndIsZeroOnlyForASoundFile)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int exitCode;
        const char* says;
    };
    const std::vector<Case> cases{
        {"no file yet", [] {}, 0, "まだありません"},
        {"sound", [&] { seed(5); }, 0, "記録 5 件"},
        {"torn tail", [&] { test::writeBytes(path(), seed(5) + QByteArray(20, 'x')); }, 1, "書きかけの記録（20 バイト）"},
        {"outside the tables",
         [&] { test::writeBytes(path(), seed(3) + encodeResultRecord(test::makeRun(45383, 7000, 1, 5))); }, 1, "4 件目"},
        {"interrupted rewrite",
         [&] {
             seed(3);
             test::writeBytes(rewriteWorkPath(rewriteJournalPath(path())), "half");
         },
         1, "途中で止まった"},
        {"set-aside copy",
         [&] {
             seed(3);
             test::writeBytes(folder() + QStringLiteral("成績累積データtemp-退避-20261211-090000.dat"), "old");
         },
         1, "成績累積データtemp-退避-20261211-090000.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        c.arrange();
        const auto before = snapshot();
        const ToolRun run = tool({QStringLiteral("check"), folder()});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out.toStdString();
        EXPECT_THAT(run.out.toStdString(), HasSubstr(c.says));
        EXPECT_EQ(snapshot(), before);  // a check changes nothing
    }
}

TEST_F(ResultsToolTest, BadInputGetsAMessageAndChangesNothing)
{
    seed(4);
    test::writeBytes(file(QStringLiteral("copy.dat")), "already here");
    const auto before = snapshot();
    const std::vector<std::pair<QStringList, const char*>> cases{
        {{}, "使い方"},
        {{QStringLiteral("mend"), folder()}, "使い方"},
        {{QStringLiteral("check")}, "使い方"},
        {{QStringLiteral("check"), folder() + QStringLiteral("nowhere")}, "がありません"},
        {{QStringLiteral("check"), path()}, "がありません"},  // a file, not a folder
        {{QStringLiteral("backup"), folder()}, "使い方"},
        {{QStringLiteral("backup"), folder(), file(QStringLiteral("copy.dat"))}, "もうあります"},
        {{QStringLiteral("export"), QStringLiteral("--yes"), folder()}, "使い方"},
        {{QStringLiteral("repair"), folder() + QStringLiteral("nowhere")}, "がありません"},
    };
    for (const auto& [args, says] : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const ToolRun run = tool(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.err.toStdString(), HasSubstr(says));
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(ResultsToolTest, BackupIsAWholeCopyAndExportHasEveryFieldAsText)
{
    QByteArray bytes = seed(3);
    ResultRecord formula = test::makeRun(45390, 12, 100, 99999);
    std::copy_n("=1+2 ", 5, formula.schoolCode.begin());
    bytes += encodeResultRecord(formula);
    test::writeBytes(path(), bytes);

    const QString copy = file(QStringLiteral("backup.dat"));
    const ToolRun backup = tool({QStringLiteral("backup"), folder(), copy});
    EXPECT_EQ(backup.exitCode, 0);
    EXPECT_THAT(backup.out.toStdString(), HasSubstr("4 件"));
    EXPECT_EQ(test::readBytes(copy), bytes);

    QProcess p;
    p.start(QStringLiteral(VC_RESULTS_TOOL), {QStringLiteral("export"), folder()});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray csv = p.readAllStandardOutput();
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("記録番号,日付,時刻,日付の値,時刻の値,生徒番号,レベル,秒,学校コード,予備1,予備2,予備3"));
    EXPECT_EQ(lines[1], QStringLiteral("1,2024/04/01,12:00:00,45383,0.5,10,1,30,     ,     ,0    ,     "));
    // A school code a spreadsheet would run as a formula stays text.
    EXPECT_EQ(lines[4], QStringLiteral("4,2024/04/08,12:00:00,45390,0.5,12,100,99999,\"'=1+2 \",     ,0    ,     "));
}

TEST_F(ResultsToolTest, RepairFinishesAnInterruptedDeletionAndCutsATornTailOnlyWhenTold)
{
    const QByteArray before = seed(5);
    // A deletion of record 2 stopped after half its records moved up.
    RewriteOptions options;
    options.afterStep = [](RewriteStep s) {
        if (s == RewriteStep::RecordsPartlyWritten)
            throw std::runtime_error("stop");
    };
    EXPECT_THROW(deleteResultRecord(path(), 2, before.mid(kResultRecordSize, kResultRecordSize), options), std::runtime_error);
    test::writeBytes(path(), test::readBytes(path()) + QByteArray(7, 'x'));
    const auto interrupted = snapshot();

    const ToolRun declined = tool({QStringLiteral("repair"), folder()}, "n\n");
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_THAT(declined.out.toStdString(), HasSubstr("何も変えませんでした"));
    EXPECT_EQ(snapshot(), interrupted);

    const ToolRun repaired = tool({QStringLiteral("repair"), QStringLiteral("--yes"), folder()});
    EXPECT_EQ(repaired.exitCode, 0) << repaired.out.toStdString();
    EXPECT_THAT(repaired.out.toStdString(), HasSubstr("仕上げました"));
    const QByteArray deleted = before.left(kResultRecordSize) + before.mid(2 * kResultRecordSize);
    EXPECT_EQ(test::readBytes(path()), deleted);  // the deletion drops the torn tail too
    EXPECT_TRUE(checkResults(path()).sound());

    test::writeBytes(path(), deleted + QByteArray(7, 'x'));
    const ToolRun cut = tool({QStringLiteral("repair"), QStringLiteral("--yes"), folder()});
    EXPECT_EQ(cut.exitCode, 0);
    EXPECT_THAT(cut.out.toStdString(), HasSubstr("7 バイト"));
    EXPECT_EQ(test::readBytes(path()), deleted);
}

} // namespace
} // namespace vc
