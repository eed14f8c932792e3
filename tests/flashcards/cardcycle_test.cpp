#include "flashcards/cardcycle.h"

#include "coursetable/coursetable.h"
#include "platform/clock.h"
#include "platform/speech.h"
#include "platform/timer.h"

#include <gtest/gtest.h>

using namespace vc;

namespace {

WordList makeWords(const std::vector<std::array<QString, 3>>& rows)
{
    WordList w;
    w.cards.resize(rows.size() + 1);
    for (size_t i = 0; i < rows.size(); ++i)
        w.cards[i + 1] = {rows[i][0], rows[i][1], rows[i][2]};
    return w;
}

// Ten words of two units; card i has the English "w" + i letters long enough to tell apart.
WordList tenWords()
{
    std::vector<std::array<QString, 3>> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back({i <= 5 ? QStringLiteral("1") : QStringLiteral("2"), QStringLiteral("日本語%1").arg(i), QStringLiteral("word%1").arg(i)});
    return makeWords(rows);
}

struct Cycle : ::testing::Test {
    FakeClock clock;
    FakeTimers timers{&clock};
    RecordingVoiceFactory voices;
    std::unique_ptr<CardCycle> cycle = std::make_unique<CardCycle>(&voices, timers);

    // Loads `words` and selects the word rows of the given card numbers.
    void deckOf(const WordList& words, const std::vector<int>& cards)
    {
        cycle->loadWordList(words);
        std::vector<int> rows;
        for (int c : cards)
            rows.push_back(c - 1);
        cycle->chooseWords(rows);
    }
    // Runs the timers until the next card is shown and returns its number.
    int nextCard()
    {
        const int shown = cycle->cardsShown();
        for (int i = 0; i < 10 && cycle->cardsShown() == shown; ++i)
            timers.fireNext();
        EXPECT_EQ(cycle->cardsShown(), shown + 1);
        return cardNumberOfEntry(cycle->screen().Label3);
    }
    std::vector<QString> spoken() const { return voices.spoken(1); }
};

TEST(WordList, RowsUnitsAndDeckEntries)
{
    CourseTable table;
    table.setRowCount(5);
    const char* units[] = {"1", "1", "2", "2", "1"};
    for (int i = 1; i <= 5; ++i) {
        table.setCell(i, 1, QStringLiteral(" %1 ").arg(QLatin1String(units[i - 1])));
        table.setCell(i, 2, QStringLiteral(" 日本%1 ").arg(i));
        table.setCell(i, 3, QStringLiteral(" eng%1 ").arg(i));
    }
    const WordList words = wordListFromTable(table);
    ASSERT_EQ(words.count(), 5);
    EXPECT_EQ(words.card(3).english, QStringLiteral("eng3"));
    EXPECT_EQ(words.card(3).japanese, QStringLiteral("日本3"));
    // A label that comes back is listed again.
    EXPECT_EQ(unitRows(words), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}));

    struct Case { QString unit; int number; QString row; };
    const Case cases[] = {
        {QStringLiteral("1"), 7, QStringLiteral("  1apple") + QString(22, u' ') + QStringLiteral("  7")},
        {QStringLiteral("Unit12"), 123, QStringLiteral("t12apple") + QString(22, u' ') + QStringLiteral("123")},
        {QString(), 1000, QStringLiteral("   apple") + QString(22, u' ') + QStringLiteral("000")},
    };
    for (const Case& c : cases) {
        const QString row = wordRowText({c.unit, QStringLiteral("りんご"), QStringLiteral("apple")}, c.number);
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(deckEntryOfRow(row), c.row.right(3));
    }
    EXPECT_EQ(cardNumberOfEntry(QStringLiteral(" 42")), 42);
    EXPECT_EQ(cardNumberOfEntry(QStringLiteral("abc")), 0);
}

TEST_F(Cycle, OpeningValuesAndTimerIntervalsPerModeAndSpeed)
{
    // Opening: C = 1, S = 0.8, voice rate −4 until the word list sets 0.
    EXPECT_EQ(cycle->mode(), 2);
    EXPECT_EQ(cycle->speedChoice(), 2);
    EXPECT_DOUBLE_EQ(cycle->C(), 1);
    EXPECT_DOUBLE_EQ(cycle->S(), 0.8);
    EXPECT_EQ(cycle->timer2().interval(), 1200);
    EXPECT_EQ(cycle->timer3().interval(), 400);
    EXPECT_EQ(cycle->timer1().interval(), 1200);
    cycle->loadWordList(tenWords());
    EXPECT_EQ(cycle->voice()->rate(), 0);
    ASSERT_GE(voices.calls.size(), 3u);
    EXPECT_EQ(voices.calls[1].rate, -4);

    struct Case { int mode; int speed; int t2, t3, t1; int rate; };
    const Case cases[] = {
        {1, 0, 90, 900, 1350, -6}, {2, 0, 1350, 450, 1350, -6},
        {3, 1, 2400, 400, 1200, -4},  // mode 3 leaves Timer3 as it was
        {1, 2, 40, 400, 600, 0},  {2, 3, 300, 100, 300, 4}, {3, 3, 600, 100, 300, 4},
    };
    for (const Case& c : cases) {
        cycle->Option2_Click(c.speed);
        cycle->Option1_Click(c.mode);
        EXPECT_EQ(cycle->timer2().interval(), c.t2) << c.mode << "/" << c.speed;
        EXPECT_EQ(cycle->timer3().interval(), c.t3) << c.mode << "/" << c.speed;
        EXPECT_EQ(cycle->timer1().interval(), c.t1) << c.mode << "/" << c.speed;
        EXPECT_EQ(cycle->voice()->rate(), c.rate);
    }
}

TEST_F(Cycle, ADeckOfOneCardRepeatsInEveryMode)
{
    deckOf(tenWords(), {4});
    for (int mode : {1, 2, 3}) {
        cycle->Option1_Click(mode);
        cycle->Command6_Click();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(nextCard(), 4) << mode;
        cycle->Command5_Click();
    }
    EXPECT_FALSE(spoken().empty());
    for (const QString& s : spoken())
        EXPECT_EQ(s, QStringLiteral("word4"));
}

TEST_F(Cycle, EachModeShowsAndSpeaksInItsOrder)
{
    deckOf(tenWords(), {2, 3});
    // Mode 2: Japanese first, English shown after Timer2, spoken after Timer3.
    cycle->Command6_Click();
    EXPECT_EQ(cycle->screen().Label1, QStringLiteral("日本語2"));
    EXPECT_TRUE(cycle->screen().Label2.isEmpty());
    EXPECT_EQ(cycle->timer2().interval(), 500);  // C × 100 × len("word2")
    timers.fireNext();
    EXPECT_EQ(cycle->screen().Label2, QStringLiteral("word2"));
    EXPECT_TRUE(spoken().empty());
    timers.fireNext();
    EXPECT_EQ(spoken(), std::vector<QString>{QStringLiteral("word2")});
    cycle->Command5_Click();

    // Mode 1: English first, spoken after Timer2, Japanese after Timer3.
    cycle->Option1_Click(1);
    cycle->Command6_Click();
    EXPECT_EQ(cycle->screen().Label1, QStringLiteral("word3"));
    timers.fireNext();
    EXPECT_EQ(spoken().back(), QStringLiteral("word3"));
    EXPECT_TRUE(cycle->screen().Label2.isEmpty());
    timers.fireNext();
    EXPECT_EQ(cycle->screen().Label2, QStringLiteral("日本語3"));
    EXPECT_EQ(cycle->timer1().interval(), 400);  // C × 100 × len("日本語3")
    cycle->Command5_Click();

    // Mode 3: spoken with both faces empty, then both faces together.
    cycle->Option1_Click(3);
    const size_t said = spoken().size();
    cycle->Command6_Click();
    EXPECT_EQ(spoken().size(), said + 1);
    EXPECT_TRUE(cycle->screen().Label1.isEmpty() && cycle->screen().Label2.isEmpty());
    timers.fireNext();
    EXPECT_EQ(cycle->screen().Label1, QStringLiteral("word2"));
    EXPECT_EQ(cycle->screen().Label2, QStringLiteral("日本語2"));
    EXPECT_FALSE(cycle->timer3().isActive());
}

TEST_F(Cycle, ModeTwoWaitsAfterSpeakingByWordLength)
{
    const WordList words = makeWords({{QStringLiteral("1"), QStringLiteral("猫"), QStringLiteral("cats")},
                                      {QStringLiteral("1"), QStringLiteral("りんご"), QStringLiteral("apple")},
                                      {QStringLiteral("1"), QStringLiteral("バナナ"), QStringLiteral("banana")},
                                      {QStringLiteral("1"), QStringLiteral("語彙"), QStringLiteral("vocabulary")}});
    deckOf(words, {1, 2, 3, 4});
    cycle->Option2_Click(0);  // C = 5
    cycle->Option1_Click(2);
    cycle->Command6_Click();
    const int expected[] = {5 * 500, 5 * 500, 5 * 100 * 6, 5 * 100 * 10};
    for (int k = 0; k < 4; ++k) {
        timers.fireNext();  // English shown
        timers.fireNext();  // spoken
        EXPECT_TRUE(cycle->timer1().isActive());
        EXPECT_EQ(cycle->timer1().interval(), expected[k]) << k;
        const qint64 before = timers.now();
        timers.fireNext();  // next card
        EXPECT_EQ(timers.now() - before, expected[k]);
    }
}

TEST_F(Cycle, DroppingACardKeepsThePositionAndTheLastReturnsToTheSelection)
{
    deckOf(tenWords(), {3, 7, 9});
    cycle->Command6_Click();
    EXPECT_EQ(cardNumberOfEntry(cycle->current()), 3);
    EXPECT_EQ(nextCard(), 7);
    cycle->Command7_Click();  // "この語句覚えた" on 7
    EXPECT_EQ(cycle->deck(), (QStringList{QStringLiteral("  3"), QStringLiteral("  9")}));
    EXPECT_TRUE(cycle->timer2().isActive() || cycle->timer3().isActive() || cycle->timer1().isActive());
    EXPECT_EQ(nextCard(), 9);
    EXPECT_EQ(nextCard(), 3);
    cycle->Command7_Click();
    EXPECT_EQ(nextCard(), 9);
    EXPECT_EQ(nextCard(), 9);
    // The last card dropped: back to the selection, the deck rebuilt from the rows still selected.
    cycle->Command7_Click();
    EXPECT_TRUE(cycle->screen().Picture7Visible);
    EXPECT_TRUE(cycle->screen().Command6Visible);
    EXPECT_FALSE(cycle->screen().Command5Visible);
    EXPECT_FALSE(cycle->screen().Command7Visible);
    EXPECT_EQ(cycle->deck(), (QStringList{QStringLiteral("  3"), QStringLiteral("  7"), QStringLiteral("  9")}));
    EXPECT_EQ(cycle->screen().Label5, QStringLiteral("  3～  9"));
    EXPECT_EQ(timers.untilNext(), -1);
}

TEST_F(Cycle, ANewStartContinuesFromTheStoredPositionAndWraps)
{
    deckOf(tenWords(), {1, 2, 3, 4, 5});
    cycle->Command6_Click();
    EXPECT_EQ(nextCard(), 2);
    EXPECT_EQ(nextCard(), 3);
    cycle->Command5_Click();  // "番号変更"
    EXPECT_EQ(timers.untilNext(), -1);
    cycle->Command6_Click();
    EXPECT_EQ(cardNumberOfEntry(cycle->current()), 4);
    // A smaller deck than the position: wraps to its first card.
    cycle->Command5_Click();
    cycle->chooseWords({6, 7});
    cycle->Command6_Click();
    EXPECT_EQ(cardNumberOfEntry(cycle->current()), 7);
    EXPECT_EQ(nextCard(), 8);
    EXPECT_EQ(nextCard(), 7);
}

TEST_F(Cycle, StartingNeedsCardsAndShowsTheRunningControls)
{
    cycle->loadWordList(tenWords());
    cycle->Command6_Click();  // empty deck: nothing happens
    EXPECT_TRUE(cycle->screen().Picture7Visible);
    EXPECT_EQ(timers.untilNext(), -1);
    cycle->chooseWords({});
    EXPECT_EQ(cycle->screen().Label5, QStringLiteral("～"));
    cycle->chooseWords({0, 1});
    EXPECT_TRUE(cycle->screen().Command6Visible);
    EXPECT_EQ(cycle->screen().Label5, QStringLiteral("  1～  2"));
    cycle->Command6_Click();
    const FlashScreen& s = cycle->screen();
    EXPECT_FALSE(s.Picture7Visible || s.Command6Visible || s.Command10Visible || s.Label6Visible || s.Label4Visible);
    EXPECT_TRUE(s.Command5Visible && s.Command7Visible && s.Label8Visible);
    EXPECT_EQ(s.Label3, QStringLiteral("  1"));
}

TEST_F(Cycle, FastestHidesTheDropButtonOtherSpeedsShowIt)
{
    deckOf(tenWords(), {1, 2});
    cycle->Option2_Click(3);
    EXPECT_FALSE(cycle->screen().Command7Visible);
    EXPECT_FALSE(cycle->screen().Label8Visible);
    cycle->Command6_Click();
    EXPECT_FALSE(cycle->screen().Command7Visible);  // starting at "最速" keeps it hidden
    for (int speed : {0, 1, 2}) {
        cycle->Option2_Click(speed);
        EXPECT_TRUE(cycle->screen().Command7Visible) << speed;
        EXPECT_TRUE(cycle->screen().Label8Visible) << speed;
        cycle->Option2_Click(3);
        EXPECT_FALSE(cycle->screen().Command7Visible);
    }
}

TEST_F(Cycle, UnitsChooseTheWordRowsAllSelected)
{
    const WordList words = makeWords({{QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("a")},
                                      {QStringLiteral("1"), QStringLiteral("b"), QStringLiteral("b")},
                                      {QStringLiteral("2"), QStringLiteral("c"), QStringLiteral("c")},
                                      {QStringLiteral("2"), QStringLiteral("d"), QStringLiteral("d")},
                                      {QStringLiteral("1"), QStringLiteral("e"), QStringLiteral("e")}});
    cycle->loadWordList(words);
    EXPECT_EQ(cycle->unitList(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1")}));
    EXPECT_EQ(cycle->wordRows().size(), 5);
    EXPECT_TRUE(cycle->deck().isEmpty());
    // Either row "1" chooses every card of the label, wherever it stands.
    cycle->chooseUnits(words, {2});
    EXPECT_EQ(cycle->wordRowCards(), (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(cycle->deck(), (QStringList{QStringLiteral("  1"), QStringLiteral("  2"), QStringLiteral("  5")}));
    cycle->chooseUnits(words, {1});
    EXPECT_EQ(cycle->wordRowCards(), (std::vector<int>{3, 4}));
    EXPECT_EQ(cycle->screen().Label5, QStringLiteral("  3～  4"));
    cycle->chooseUnits(words, {});
    EXPECT_TRUE(cycle->deck().isEmpty());
}

// Sound choices where timing runs out of range or the mode changes mid-card.
TEST_F(Cycle, LongWordsAreCappedAndAMidCardModeChangeKeepsTheCycleGoing)
{
    const QString longWord = QString(200, u'x');
    const WordList words = makeWords({{QStringLiteral("1"), QStringLiteral("長い"), longWord},
                                      {QStringLiteral("1"), QStringLiteral("空"), QString()}});
    deckOf(words, {1, 2});
    cycle->Option2_Click(0);  // 500 ms a letter: 100 s for the long word
    cycle->Command6_Click();
    EXPECT_EQ(cycle->timer2().interval(), kMaxCardInterval);
    EXPECT_EQ(cardInterval(1e12), kMaxCardInterval);
    EXPECT_EQ(cardInterval(-5), 0);
    timers.fireNext();
    timers.fireNext();
    EXPECT_EQ(cycle->timer1().interval(), kMaxCardInterval);
    // A word without English still moves on.
    EXPECT_EQ(nextCard(), 2);
    EXPECT_EQ(nextCard(), 1);

    // Mode 1 waits on its second step; switching to mode 3 there still ends the card.
    cycle->Option2_Click(3);
    cycle->Option1_Click(1);
    EXPECT_EQ(nextCard(), 2);
    timers.fireNext();  // Timer2: spoken, Timer3 counts down
    ASSERT_TRUE(cycle->timer3().isActive());
    cycle->Option1_Click(3);
    EXPECT_EQ(nextCard(), 1);
    EXPECT_EQ(nextCard(), 2);
}

TEST_F(Cycle, ReleasingTheCycleReleasesTheVoice)
{
    deckOf(tenWords(), {1});
    cycle->Option1_Click(3);
    cycle->Command6_Click();
    cycle.reset();
    EXPECT_EQ(voices.calls.front().kind, RecordingVoiceFactory::Call::Kind::Create);
    EXPECT_EQ(voices.calls.back().kind, RecordingVoiceFactory::Call::Kind::Release);
    EXPECT_EQ(timers.untilNext(), -1);
}

} // namespace
