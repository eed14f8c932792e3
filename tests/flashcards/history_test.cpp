#include "flashcards/history.h"

#include "common/testutil.h"
#include "platform/clock.h"
#include "records/logs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;

namespace {

struct History : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    FakeClock clock;
    QString path = answerLogPath(folder, 12);

    void answer(const QString& level, const QString& prompt, const QString& expected, const QString& result)
    {
        appendAnswerLog(folder, 12, clock, level, prompt, expected, result);
    }
};

TEST(HistoryRow, ColumnsLineUpWithThePromptAtCharacter70)
{
    const QString right = historyRow(QStringLiteral("p12"), QStringLiteral("りんご"), QStringLiteral("apple"), QStringLiteral("○"));
    EXPECT_EQ(right, QStringLiteral(" p12　apple") + QString(25, u' ') + QStringLiteral("  ○") + QString(31, u' ') + QStringLiteral("りんご"));
    const QString wrong = historyRow(QStringLiteral("pUnit1"), QStringLiteral("本"), QStringLiteral("book"), QStringLiteral("bok"));
    EXPECT_EQ(wrong, QStringLiteral("nit1　book") + QString(26, u' ') + QStringLiteral("  ×bok") + QString(27, u' ') + QStringLiteral(" 本"));
    EXPECT_EQ(right.indexOf(QStringLiteral("りんご")), 69);
    EXPECT_EQ(wrong.indexOf(QStringLiteral("本")), 69);
    // Answers longer than the column are cut to it.
    const QString cut = historyRow(QStringLiteral("p1"), QStringLiteral("長"), QString(40, u'e'), QString(40, u't'));
    EXPECT_EQ(cut.indexOf(QStringLiteral("長")), 69);
    EXPECT_EQ(historyCaption(12), QStringLiteral("今までのあなたの結果(全データは　結果12.csv　に保存されています)"));
}

TEST_F(History, OnlyTheChosenUnitsLevelNamesAndWrongAnswersWhenAsked)
{
    answer(QStringLiteral("p12"), QStringLiteral("りんご"), QStringLiteral("apple"), QStringLiteral("○"));
    answer(QStringLiteral("p12"), QStringLiteral("本"), QStringLiteral("book"), QStringLiteral("bok"));
    answer(QStringLiteral("p3"), QStringLiteral("ねこ"), QStringLiteral("cat"), QStringLiteral("kat"));
    answer(QStringLiteral("p12_1"), QStringLiteral("犬"), QStringLiteral("dog"), QStringLiteral("dg"));  // three levels a unit
    answer(QStringLiteral("12"), QStringLiteral("水"), QStringLiteral("water"), QStringLiteral("wata"));
    answer(QStringLiteral("p12"), QStringLiteral("朝"), QStringLiteral("morning, \"early\""), QStringLiteral("mornin"));

    struct Case { QStringList units; bool wrongOnly; std::vector<QString> prompts; };
    const Case cases[] = {
        {{QStringLiteral("12")}, false, {QStringLiteral("りんご"), QStringLiteral("本"), QStringLiteral("朝")}},
        {{QStringLiteral("12")}, true, {QStringLiteral("本"), QStringLiteral("朝")}},
        {{QStringLiteral("3"), QStringLiteral("12")}, true, {QStringLiteral("本"), QStringLiteral("ねこ"), QStringLiteral("朝")}},
        {{QStringLiteral("3")}, false, {QStringLiteral("ねこ")}},
        {{QStringLiteral("1")}, false, {}},
        {{}, false, {}},
    };
    for (const Case& c : cases) {
        const HistoryRows h = readHistory(path, c.units, c.wrongOnly);
        EXPECT_TRUE(h.error.isEmpty()) << h.error.toStdString();
        std::vector<QString> prompts;
        for (const QString& row : h.rows)
            prompts.push_back(row.mid(69));
        EXPECT_EQ(prompts, c.prompts) << c.units.join(u',').toStdString() << " " << c.wrongOnly;
    }
}

TEST_F(History, MissingLogIsCreatedEmptyAndABrokenOneNamesItself)
{
    HistoryRows h = readHistory(path, {QStringLiteral("1")}, false);
    EXPECT_TRUE(h.rows.isEmpty());
    EXPECT_TRUE(h.error.isEmpty());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);

    // A last record cut short: the rows before it, and a message naming the file.
    answer(QStringLiteral("p1"), QStringLiteral("本"), QStringLiteral("book"), QStringLiteral("bok"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("#2024-04-01#,#10:00:00#,\"p1\"\r\n");
    f.close();
    h = readHistory(path, {QStringLiteral("1")}, false);
    EXPECT_EQ(h.rows.size(), 1);
    EXPECT_TRUE(h.error.contains(QStringLiteral("結果12.csv"))) << h.error.toStdString();

    // A log that cannot be created: a message, no rows.
    h = readHistory(folder + QStringLiteral("ない/結果1.csv"), {QStringLiteral("1")}, false);
    EXPECT_TRUE(h.rows.isEmpty());
    EXPECT_TRUE(h.error.contains(QStringLiteral("結果1.csv"))) << h.error.toStdString();
}

} // namespace
