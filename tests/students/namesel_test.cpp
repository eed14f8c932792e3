#include "studentstest.h"

#include "drill/soundcues.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sharecheck.h"
#include "platform/sound.h"
#include "platform/textcodec.h"
#include "startup/navigator.h"
#include "students/namesel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace vc;
using vc::test::rosterLine;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override { ++nameSelections; }
    void openLevelScreen() override { ++levelScreens; }
    void quitProgram(int status) override { quitStatus = status; }
    int nameSelections = 0;
    int levelScreens = 0;
    int quitStatus = -1;
};

// On 10 May 2024 at 10:00:00.6 with the school year starting in April.
class Namesel : public test::RosterTest {
protected:
    void SetUp() override
    {
        test::RosterTest::SetUp();
        clock.set(QDate(2024, 5, 10), QTime(10, 0, 0, 600));
        state->paths.ProgramFolder = state->paths.DataFolder + u"単語/"_qs;
        state->paths.CourseFolder = state->paths.DataFolder + u"単語/"_qs;
        state->paths.SoundFolder = state->paths.DataFolder + u"音フォルダ/"_qs;
        state->course.SoftwareName = u"中1英単語"_qs;
        state->course.LevelCount = 3;
        state->services.random = &random;
        state->services.messages = &messages;
        state->services.launcher = &launcher;
        state->services.instance = &instance;
        state->services.navigator = &navigator;
        state->services.sound = &sound;
        state->soundCues.categories[kWrongAnswerCue].soundNames[1] = u"ブー"_qs;
        state->soundCues.categories[kWrongAnswerCue].count = u"1"_qs;
        writeRoster({
            rosterLine(21, 2016, u"伊藤"_qs),
            rosterLine(12, 2011, u"佐藤"_qs),
            rosterLine(30, 2016, u"阿部"_qs),
            rosterLine(4, 2018, u"小さい子"_qs),
            rosterLine(40, 2012, u"休み"_qs, 1),
        });
    }

    std::unique_ptr<namesel> load()
    {
        auto screen = std::make_unique<namesel>(*state);
        loaded = screen->Form_Load();
        return screen;
    }

    static QStringList rows(QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    // The List1 row of a student, found through List3.
    static int rowOf(namesel& s, int number)
    {
        for (int i = 0; i < s.List3->count(); ++i)
            if (s.List3->item(i)->text().endsWith(u'*' + QString::number(number)))
                return i + 1;
        return -1;
    }

    static void clickRow(namesel& s, int row, bool twice = false)
    {
        QListWidgetItem* item = s.List1->item(row);
        ASSERT_NE(item, nullptr);
        const QPoint at = s.List1->visualItemRect(item).center();
        // A double click starts as a click, as with a real mouse.
        QTest::mouseClick(s.List1->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(s.List1->viewport(), Qt::LeftButton, {}, at);
    }

    static void chooseFilter(namesel& s, const QString& filter)
    {
        const int index = s.Combo1->findText(filter);
        ASSERT_GE(index, 0);
        s.Combo1->setCurrentIndex(index);
        emit s.Combo1->activated(index);
    }

    ScriptedRandom random;
    RecordingMessages messages;
    RecordingLauncher launcher;
    FakeInstanceGuard instance;
    RecordingNavigator navigator;
    ScriptedSoundPlayer sound;
    bool loaded = false;
};

TEST_F(Namesel, LoadShowsPointsForAllGradesOrderedByBirthYearThenName)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(s->Label4->text(), u"中1英単語"_qs);
    EXPECT_TRUE(s->Option1[1]->isChecked());
    EXPECT_EQ(s->displayMode(), DisplayMode::PointsTodayAndSoFar);
    EXPECT_EQ(s->Combo1->count(), 12);
    EXPECT_EQ(s->Combo1->currentText(), u"全学年"_qs);
    EXPECT_EQ(state->SelectedGradeFilter, u"全学年"_qs);
    EXPECT_EQ(s->Label1->text(), u"あなたの名前を選んでネ"_qs);
    EXPECT_FALSE(s->Picture5->isVisible());
    EXPECT_EQ(s->List1->currentRow(), 0);
    EXPECT_EQ(random.seeds, std::vector<quint32>{36000});

    // Oldest first; the two born in 2016 by name (伊, U+4F0A, before 阿, U+963F).
    const QStringList list = rows(s->List1);
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list[0], u"－－－－－－"_qs);
    EXPECT_EQ(list[1], u"中1 佐藤　　　　  　/       "_qs);
    EXPECT_EQ(list[2], u"小2 伊藤　　　　  　/       "_qs);
    EXPECT_EQ(list[3], u"小2 阿部　　　　  　/       "_qs);
    EXPECT_EQ(list[4], u"幼3 小さい子　　  　/       "_qs);
    EXPECT_EQ(s->List3->count(), 4);
    EXPECT_EQ(s->List3->item(0)->text(), list[1] + u"*12"_qs);
}

TEST_F(Namesel, FilterAndDisplayModes)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    chooseFilter(*s, u"小学生全体"_qs);
    EXPECT_EQ(state->SelectedGradeFilter, u"小学生全体"_qs);
    EXPECT_EQ(rowOf(*s, 12), -1);  // junior high
    EXPECT_EQ(rowOf(*s, 4), -1);   // preschool
    EXPECT_EQ(s->List1->count(), 3);
    chooseFilter(*s, u"中１"_qs);
    EXPECT_EQ(rows(s->List1), (QStringList{u"－－－－－－"_qs, u"中1 佐藤　　　　  　/       "_qs}));
    chooseFilter(*s, u"全学年"_qs);

    struct Case { int option; QString abe; QString preschool; };
    const Case cases[] = {
        {0, u"小2 阿部　　　　     /     　"_qs, u"幼3 小さい子　　　　     /     　"_qs},
        {1, u"小2 阿部　　　　  　/       "_qs, u"幼3 小さい子　　  　/       "_qs},
        {2, u"小2 阿部　　　　  　/     "_qs, u"幼3 小さい子　　　　  　/     "_qs},
        {3, u"小2 阿部　　　　       /     　"_qs, u"幼3 小さい子　　　　       /     　"_qs},
    };
    for (const Case& c : cases) {
        QRadioButton* option = s->findChild<QRadioButton*>(u"Option1_%1"_qs.arg(c.option));
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->property("index").toInt(), c.option);
        QTest::mouseClick(option, Qt::LeftButton);
        EXPECT_EQ(int(s->displayMode()), c.option);
        EXPECT_EQ(s->List1->item(rowOf(*s, 30))->text(), c.abe) << c.option;
        EXPECT_EQ(s->List1->item(rowOf(*s, 4))->text(), c.preschool) << c.option;
    }
}

TEST_F(Namesel, ChoosingAndConfirmingAName)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    const int row = rowOf(*s, 30);
    clickRow(*s, row);
    EXPECT_EQ(s->Label1->text(), u"小2 阿部　　　　"_qs);
    EXPECT_EQ(s->Label2->text(), u"30"_qs);
    clickRow(*s, 0);
    EXPECT_EQ(s->Label1->text(), u"あなたの名前を選んでネ"_qs);
    clickRow(*s, row);

    QTest::mouseClick(s->Command14, Qt::LeftButton);
    EXPECT_EQ(navigator.levelScreens, 1);
    EXPECT_EQ(state->CurrentStudentNumber, 30);
    EXPECT_EQ(state->CurrentStudentName, u"阿部"_qs);
    EXPECT_EQ(state->CurrentStudentClass, u"小２"_qs);
    EXPECT_EQ(state->LoginTime, 36001);
    EXPECT_EQ(state->FirstVisitFlag, 1);
    EXPECT_EQ(state->PracticePanelFlag, 1);  // startCourse ran
    EXPECT_TRUE(s->Command14->isHidden());
    EXPECT_TRUE(sound.played.empty());

    // Once confirmed, "1" does nothing more.
    QTest::keyClick(s->List1, Qt::Key_1);
    EXPECT_EQ(navigator.levelScreens, 1);
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(Namesel, AnUnsafeShareWarnsTheTeacherWithoutStoppingTheStudents)
{
    const std::vector<MountEntry> mounts =
        parseMountInfo("45 28 0:50 / /mnt/juku rw,relatime - cifs //server/juku rw,vers=3.1.1,nobrl\n");
    ASSERT_EQ(mounts.size(), 1u);
    const ShareSafety unsafe = judgeMount(mounts[0]);
    ASSERT_FALSE(unsafe.safe);

    for (const bool safe : {true, false}) {
        SCOPED_TRACE(safe ? "safe" : "unsafe");
        state->shareSafety = safe ? ShareSafety{} : unsafe;
        navigator.levelScreens = 0;
        auto s = load();
        ASSERT_TRUE(loaded);
        QLabel* warning = s->findChild<QLabel*>(u"ShareWarning"_qs);
        ASSERT_NE(warning, nullptr);
        EXPECT_TRUE(messages.shown.empty());  // a banner, never a message box
        if (safe) {
            EXPECT_FALSE(warning->isVisible());
        } else {
            EXPECT_TRUE(warning->isVisible());
            EXPECT_EQ(warning->text(), u"【先生へ】"_qs + unsafe.reason);
            EXPECT_TRUE(warning->text().contains(u"nobrl"_qs));
            // On the panel, clear of the list and the confirm button.
            const QRect at = warning->geometry();
            EXPECT_TRUE(s->Picture12->rect().contains(at));
            EXPECT_FALSE(at.intersects(s->List1->geometry()));
            EXPECT_FALSE(at.intersects(QRect(s->Command14->mapTo(s->Picture12, QPoint(0, 0)), s->Command14->size())));
            // Tall enough for every wrapped line.
            EXPECT_GE(warning->height(), warning->heightForWidth(warning->width()));
        }
        // The students go on as before.
        clickRow(*s, rowOf(*s, 30));
        QTest::mouseClick(s->Command14, Qt::LeftButton);
        EXPECT_EQ(navigator.levelScreens, 1);
    }
}

// A scratch copy of the results file that was set aside (not ours, or not
// fitting the file) is named to the teacher at every start until removed.
TEST_F(Namesel, ASetAsideScratchCopyIsNamedToTheTeacher)
{
    state->setAsideResultsCopies = {state->paths.CourseFolder + u"成績累積データtemp-退避-20261211-101010.dat"_qs};
    auto s = load();
    ASSERT_TRUE(loaded);
    QLabel* warning = s->findChild<QLabel*>(u"ShareWarning"_qs);
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().startsWith(u"【先生へ】"_qs));
    EXPECT_TRUE(warning->text().contains(u"成績累積データtemp-退避-20261211-101010.dat"_qs));
    EXPECT_TRUE(warning->text().contains(u"別名で残しました"_qs));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Namesel, ConfirmingWithoutANamePlaysTheWrongAnswerCue)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    QTest::mouseClick(s->Command14, Qt::LeftButton);
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0], state->paths.SoundFolder + u"ブー.wav"_qs);
    EXPECT_EQ(navigator.levelScreens, 0);
    EXPECT_EQ(state->FirstVisitFlag, 1);
    EXPECT_TRUE(s->Command14->isVisible());

    // Double-clicking the first row only shows the prompt and the cue.
    clickRow(*s, 0, true);
    EXPECT_EQ(s->Label1->text(), u"あなたの名前を選んでネ"_qs);
    EXPECT_EQ(sound.played.size(), 2u);
    EXPECT_EQ(navigator.levelScreens, 0);
}

TEST_F(Namesel, DoubleClickConfirmsWithTheFirstFigure)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    clickRow(*s, rowOf(*s, 12), true);
    EXPECT_EQ(navigator.levelScreens, 1);
    EXPECT_EQ(state->CurrentStudentNumber, 12);
    EXPECT_EQ(s->Label1->text(), u"中1 佐藤　　　　  　"_qs);
}

TEST_F(Namesel, KeysOfTheListAndTheWindow)
{
    struct Case { Qt::Key key; bool confirms; };
    const Case cases[] = {{Qt::Key_Space, true}, {Qt::Key_Return, true}, {Qt::Key_Enter, true}, {Qt::Key_1, true}, {Qt::Key_A, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.key));
        navigator.levelScreens = 0;
        auto s = load();
        ASSERT_TRUE(loaded);
        clickRow(*s, rowOf(*s, 21));
        QTest::keyClick(s->List1, c.key);
        EXPECT_EQ(navigator.levelScreens, c.confirms ? 1 : 0);
        if (c.confirms) {
            EXPECT_EQ(state->CurrentStudentNumber, 21);
        }
    }
    auto s = load();
    QTest::keyClick(s->Combo1, Qt::Key_0);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].arguments, QStringList{u"001"_qs});
    EXPECT_EQ(navigator.quitStatus, 0);
}

TEST_F(Namesel, AMalformedRosterStopsWithAMessage)
{
    writeRoster({rosterLine(1, 2016, u"山田"_qs), u"2,2016,0,0,\"佐藤\""_qs});
    auto s = load();
    EXPECT_FALSE(loaded);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(u"新名簿.txt"_qs));
    EXPECT_TRUE(messages.shown[0].text.contains(u"2 件目"_qs));
    EXPECT_EQ(navigator.quitStatus, 1);
}

TEST_F(Namesel, ASecondInstanceIsRefused)
{
    instance.another = true;
    auto s = load();
    EXPECT_FALSE(loaded);
    EXPECT_EQ(navigator.quitStatus, 2);
    EXPECT_FALSE(s->isVisible());
}

TEST_F(Namesel, NoticePageInShiftJisWithALateDeclaration)
{
    // The declaration comes after the first kilobyte, where a plain HTML view no longer looks.
    const QString html = u"<html><head><!-- "_qs + QString(1200, u'x') +
                         u" --><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\"></head>"
                         u"<body><p>今日のお知らせ：～ 単語テスト ①</p></body></html>"_qs;
    test::writeBytes(state->paths.CourseFolder + u"PageName.htm"_qs, *Cp932::encode(html));
    auto s = load();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(s->WebBrowser2->toPlainText().contains(u"今日のお知らせ：～ 単語テスト ①"_qs)) << s->WebBrowser2->toPlainText().toStdString();
}

TEST_F(Namesel, VersionDialogFromTheTitleThenActiveAgain)
{
    auto s = load();
    ASSERT_TRUE(loaded);
    QTest::mouseClick(s->findChild<QRadioButton*>(u"Option1_3"_qs), Qt::LeftButton);
    chooseFilter(*s, u"中１"_qs);
    QString caption;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->objectName() == u"frmver"_qs) {
            caption = dialog->windowTitle();
            dialog->close();
            closer.stop();
        }
    });
    closer.start();
    QTest::mouseClick(s->Label4, Qt::LeftButton);
    EXPECT_EQ(caption, u"ﾊﾞｰｼﾞｮﾝ情報"_qs);
    // Becoming active again starts the screen's choices afresh, list and box alike.
    EXPECT_EQ(s->displayMode(), DisplayMode::PointsTodayAndSoFar);
    EXPECT_EQ(s->Combo1->currentText(), u"全学年"_qs);
    EXPECT_EQ(s->List1->count(), 5);
}

} // namespace
