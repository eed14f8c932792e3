// Shows the level screen and the end-of-drill screen on a small school and
// saves pictures of them: the points view, the time view, and the end of a
// run with a new record. Given an installed program folder as well (the demo
// layout of scripts/layout-demo), also starts the program on it in-process,
// logs in the first student, drills level 1 and saves both screens there.
// Usage: level-screenshots <folder> [<program folder>]
#include "levelscreen/scoredschool.h"

#include "app/navigator.h"
#include "app/program.h"
#include "drill/mainfrm.h"
#include "levelscreen/seisekitime1.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "records/frmsyuuryou.h"
#include "students/namesel.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

void save(QWidget& screen, const QString& path)
{
    QCoreApplication::processEvents();
    const bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
}

// The real start-up on an installed school, then the loop by hand.
void demoRun(const QString& programFolder, const QString& folder)
{
    vc::SystemClock clock;
    vc::SystemRandom random;
    vc::RecordingMessages messages;
    vc::RecordingLauncher launcher;
    vc::FakeInstanceGuard instance;
    vc::ScriptedSoundPlayer sound;
    vc::RecordingVoiceFactory voices;
    vc::AppState state;
    vc::AppNavigator navigator(state, [](int) {});
    state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance, .navigator = &navigator, .sound = &sound, .voices = &voices};
    vc::startProgram(state, navigator, programFolder);
    if (!QTest::qWaitFor([&] { return qobject_cast<vc::namesel*>(navigator.current()) != nullptr; }, 5000)) {
        std::printf("the name selection did not open\n");
        return;
    }
    auto* names = qobject_cast<vc::namesel*>(navigator.current());
    names->List1->setCurrentRow(1);
    names->Command14_Click();
    auto* levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return;
    if (!QTest::qWaitForWindowExposed(levels))
        std::printf("window not exposed\n");
    save(*levels, folder + QStringLiteral("/demo-levelscreen.png"));
    levels->Form_KeyPress(QStringLiteral("1"));
    auto* drill = qobject_cast<vc::MainFrm*>(navigator.current());
    if (!drill)
        return;
    auto* answer = drill->findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* choices = drill->findChild<QListWidget*>(QStringLiteral("List1"));
    auto* confirm = drill->findChild<QPushButton*>(QStringLiteral("Command3"));
    for (int k = 0; k < 200 && qobject_cast<vc::MainFrm*>(navigator.current()) == drill; ++k) {
        const QString word = drill->drillRun().session().currentAnswer;
        if (choices->isVisible()) {
            const QList<QListWidgetItem*> found = choices->findItems(word, Qt::MatchExactly);
            if (!found.isEmpty())
                choices->setCurrentItem(found.first());
            confirm->click();
        }
        QTest::qWait(300);
        answer->setText(word);
        QTest::keyClick(answer, Qt::Key_Return);
    }
    if (!QTest::qWaitFor([&] { return qobject_cast<vc::FrmSyuuryou*>(navigator.current()) != nullptr; }, 5000))
        return;
    QTest::qWait(700);
    save(*navigator.current(), folder + QStringLiteral("/demo-endofdrill.png"));
    delete navigator.current();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");

    vc::test::ScoredSchool school;
    vc::AppState& s = *school.state;
    vc::ScriptedSoundPlayer sound;
    s.services.sound = &sound;
    s.SeasonBackColor = 0xFFE0C0;  // May
    s.PracticePanelFlag = 1;
    s.course.GroupByThree = 1;
    s.CurrentStudentClass = QStringLiteral("中１");
    s.LoginTime = 10 * 3600 - 14 * 60;
    QStringList names;
    for (int unit = 1; unit <= 3; ++unit)
        for (int k = 1; k <= 3; ++k)
            names << QStringLiteral("pUnit%1_%2").arg(unit).arg(k);
    school.setLevels(9, names);
    school.standards(2).pointMultiplier = 1.5f;

    const char16_t* students[] = {u"青木 翔太", u"石井 美咲", u"上田 大輝", u"江口 さくら", u"大野 健",
                                  u"加藤 結衣", u"木村 蓮",   u"佐藤 陽菜", u"鈴木 湊",   u"高橋 葵"};
    const int births[] = {2011, 2011, 2012, 2012, 2010, 2013, 2014, 2011, 2016, 2009};
    for (int k = 0; k < 10; ++k)
        school.addStudent(static_cast<qint16>(k + 1), QString::fromUtf16(students[k]), births[k]);
    school.logIn(4, QStringLiteral("江口 さくら"));
    for (int k = 1; k <= 10; ++k) {
        for (int level = 1; level <= 4; ++level)
            school.addRuns(static_cast<qint16>(k), static_cast<qint16>(level), 12 + 5 * ((k + level) % 7), (k + level) % 4,
                           k % 3);
    }
    school.addRuns(4, 1, 14, 3);
    school.addRuns(4, 2, 13, 5);  // level 2 over-practised today
    school.addRuns(4, 3, 26, 2);

    vc::seisekitime1 levels(s);
    levels.Form_Load();
    if (!QTest::qWaitForWindowExposed(&levels))
        std::printf("window not exposed\n");
    levels.Form_Activate();
    save(levels, folder + QStringLiteral("/levelscreen-points.png"));
    levels.findChild<QRadioButton*>(QStringLiteral("Option2_0"))->click();
    save(levels, folder + QStringLiteral("/levelscreen-time.png"));
    levels.hide();

    s.CurrentLevel = 3;
    s.run.resultSeconds = 24;
    s.runFlags = {true, false, false};
    school.addRuns(4, 3, 24, 1);
    vc::FrmSyuuryou end(s);
    end.Form_Load();
    if (!QTest::qWaitForWindowExposed(&end))
        std::printf("window not exposed\n");
    end.Form_Activate();
    QTest::qWait(700);
    save(end, folder + QStringLiteral("/endofdrill.png"));
    end.hide();

    if (argc > 2)
        demoRun(QString::fromLocal8Bit(argv[2]), folder);
    return 0;
}
