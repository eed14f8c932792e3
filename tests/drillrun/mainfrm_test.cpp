// The drill screen offscreen: answers typed into Text1 by key events and
// built with mouse clicks, checked in the files they leave behind.
#include "drillfixture.h"

#include "drill/mainfrm.h"
#include "platform/textcodec.h"
#include "records/resultrecord.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QtEndian>
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>

#include "common/tickingclock.h"

namespace vc {
namespace {

using test::TickingClock;

QByteArray littleEndianDouble(double value)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

class DrillScreenTest : public ::testing::Test {
protected:
    void open(int level)
    {
        school.state->services.clock = &clock;
        school.state->CurrentLevel = static_cast<qint16>(level);
        frm = std::make_unique<MainFrm>(*school.state);
        frm->Form_Load();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        frm->activateWindow();
        frm->Form_Activate();
        text1 = frm->findChild<QLineEdit*>(QStringLiteral("Text1"));
        ASSERT_NE(text1, nullptr);
    }
    template <typename T>
    T* child(const char* name) const
    {
        T* w = frm->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    test::DrillSchool school;
    TickingClock clock{QDate(2024, 4, 1), QTime(10, 0, 0)};
    std::unique_ptr<MainFrm> frm;
    QLineEdit* text1 = nullptr;
};

TEST_F(DrillScreenTest, TypedAnswersEndInTheAnswerLogAndTheResultsFile)
{
    open(test::kSolo);
    EXPECT_EQ(child<QLabel>("qLabel1")->text(), QStringLiteral("りんご"));
    EXPECT_TRUE(child<QWidget>("Picture2")->isVisible());

    QGuiApplication::clipboard()->setText(QStringLiteral("apple"));
    QTest::keyClicks(text1, QStringLiteral("ap+le"));  // "+" is a hint key, never typed
    EXPECT_EQ(text1->text(), QStringLiteral("aple"));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());  // nothing to paste

    clock.advanceMs(2000);
    QTest::keyClick(text1, Qt::Key_Return);
    auto* seitou = child<QLabel>("seitouLabel");
    auto* next = child<QPushButton>("Commandkakunin");
    EXPECT_TRUE(seitou->isVisible());
    EXPECT_EQ(seitou->text(), QStringLiteral("apple"));
    EXPECT_TRUE(next->isVisible());
    EXPECT_TRUE(child<QPushButton>("Command2")->isVisible());
    EXPECT_TRUE(child<QLabel>("Label1")->isVisible());
    EXPECT_TRUE(text1->isReadOnly());
    EXPECT_EQ(child<QLabel>("Label6")->text(),
              QStringLiteral("残念！！\r\nこの問題はあと2回連続正解でクリアとなります。\r\nがんばれ!!"));

    EXPECT_EQ(QApplication::focusWidget(), next);
    QTest::keyClick(next, Qt::Key_Return);  // Enter on the focused "次へ"
    EXPECT_FALSE(next->isVisible());
    EXPECT_FALSE(seitou->isVisible());
    EXPECT_FALSE(text1->isReadOnly());
    EXPECT_TRUE(text1->text().isEmpty());
    EXPECT_EQ(child<QLabel>("qLabel2")->text(), QStringLiteral("2"));

    clock.advanceMs(3000);
    QTest::keyClicks(text1, QStringLiteral("apple"));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(child<QLabel>("qLabel2")->text(), QStringLiteral("1"));
    EXPECT_TRUE(text1->text().isEmpty());

    // The run clock's own tick shows the time.
    clock.advanceMs(2000);
    QTest::qWait(1200);
    EXPECT_EQ(child<QLabel>("sLabel10")->text(), QStringLiteral("7"));

    QTest::keyClicks(text1, QStringLiteral("apple "));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(school.navigator.endScreens, 1);
    EXPECT_FALSE(frm->isVisible());

    const QString expectedLog = QStringLiteral(
        "#2024-04-01#,#10:00:02#,\"p単独\",\"りんご\",\"apple\",\"aple\"\r\n"
        "#2024-04-01#,#10:00:05#,\"p単独\",\"りんご\",\"apple\",\"○\"\r\n"
        "#2024-04-01#,#10:00:07#,\"p単独\",\"りんご\",\"apple\",\"○\"\r\n");
    const QByteArray log = test::readBytes(answerLogPath(school.school.courseFolder, 12));
    EXPECT_EQ(test::hex(log), test::hex(*Cp932::encode(expectedLog)));
    EXPECT_TRUE(log.contains(test::fromHex("22 81 9B 22 0D 0A")));  // "○" CR LF

    QByteArray expectedRecord = littleEndianDouble(dayNumber(QDate(2024, 4, 1)));
    expectedRecord += littleEndianDouble(36007.0 / 86400.0);
    expectedRecord += test::fromHex("0C 00 01 00 07 00 00 00");  // student 12, level 1, 7 seconds
    expectedRecord += QByteArray("12345") + QByteArray("     ") + QByteArray("0    ");
    const QByteArray results = test::readBytes(resultsFilePath(school.school.courseFolder));
    ASSERT_EQ(results.size(), kResultRecordSize);
    EXPECT_EQ(test::hex(results.left(39)), test::hex(expectedRecord));
    // The last field is the run's random tag of letters and digits.
    for (char c : results.mid(39))
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
}

TEST_F(DrillScreenTest, ChoiceListAndLetterTilesWorkByMouse)
{
    school.state->course.ChoiceListFlag = 1;
    open(test::kPair);
    auto* list = child<QListWidget>("List1");
    auto* picture5 = child<QWidget>("Picture5");
    EXPECT_TRUE(picture5->isVisible());
    EXPECT_FALSE(text1->isEnabled());
    ASSERT_EQ(list->count(), 2);

    const QString answer = frm->drillRun().session().currentAnswer;
    const QList<QListWidgetItem*> items = list->findItems(answer, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
    EXPECT_EQ(child<QLabel>("Label13")->text(), answer);
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_FALSE(picture5->isVisible());
    EXPECT_TRUE(text1->isEnabled());

    for (const QChar c : answer) {
        QLabel* tile = nullptr;
        for (int i = 0; i < kTileCount && !tile; ++i) {
            auto* t = frm->findChild<QLabel*>(QStringLiteral("Label7_%1").arg(i));
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->property("index").toInt(), i);
            if (t->text() == QString(c))
                tile = t;
        }
        ASSERT_NE(tile, nullptr) << QString(c).toStdString();
        QTest::mouseClick(tile, Qt::LeftButton);
    }
    EXPECT_EQ(text1->text(), answer);
    QTest::mouseClick(child<QLabel>("Label9"), Qt::LeftButton);  // "BS"
    EXPECT_EQ(text1->text(), answer.chopped(1));
    QTest::keyClicks(text1, answer.right(1));
    QTest::mouseClick(child<QLabel>("Label8"), Qt::LeftButton);  // "判定"

    const QStringList log = school.answerLog();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral(",\"") + answer + QStringLiteral("\",\"○\"")));
    // The other question is next, again with its choice list.
    EXPECT_NE(frm->drillRun().session().currentAnswer, answer);
    EXPECT_TRUE(picture5->isVisible());
}

// The keys stay with the question: Tab never reaches "ギブアップ", so Enter
// still submits the answer, and the choice list picks nothing on its own.
TEST_F(DrillScreenTest, KeysStayWithTheQuestion)
{
    open(test::kSolo);
    text1->setFocus();
    QTest::keyClick(text1, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), text1);
    QTest::keyClicks(text1, QStringLiteral("apple"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(school.navigator.levelScreens, 0);
    ASSERT_EQ(school.answerLog().size(), 1);
    EXPECT_TRUE(school.answerLog()[0].endsWith(QStringLiteral("\"○\"")));
    EXPECT_TRUE(school.messages.shown.empty());  // no give-up was asked for
}

TEST_F(DrillScreenTest, ChoiceListPicksOnlyWhatTheStudentPicks)
{
    school.state->course.ChoiceListFlag = 1;
    open(test::kPair);
    auto* list = child<QListWidget>("List1");
    list->clearFocus();
    list->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(child<QLabel>("Label13")->text().isEmpty());
    // The arrow keys do pick, as clicks do.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_FALSE(child<QLabel>("Label13")->text().isEmpty());
    EXPECT_EQ(child<QLabel>("Label13")->text(), list->currentItem()->text());
}

TEST_F(DrillScreenTest, GiveUpButtonLeavesForTheLevelScreen)
{
    open(test::kPair);
    auto* giveUp = child<QPushButton>("Command1");
    EXPECT_EQ(giveUp->text(), QStringLiteral("ギブアップ（後5回）"));
    QTest::mouseClick(giveUp, Qt::LeftButton);
    EXPECT_EQ(school.navigator.levelScreens, 1);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_TRUE(school.results().empty());
    ASSERT_EQ(school.messages.shown.size(), 1u);
    EXPECT_EQ(school.messages.shown[0].text, QStringLiteral("ギブアップできるのはあと4回です"));
}

} // namespace
} // namespace vc
