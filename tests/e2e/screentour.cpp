// Walks through the program on an installed school as a student does and
// saves pictures of the whole display at each screen: the name selection,
// the level screen, a message box over it, the drill, the end of the drill,
// the flash cards and the teacher's two screens. Run it under a window manager at the display sizes to check (see
// scripts/screenshots); it uses the program's own screen scale.
// Usage: screen-tour <folder for the pictures> <program folder>
#include "app/navigator.h"
#include "app/program.h"
#include "drill/mainfrm.h"
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/qtmessages.h"
#include "platform/qtscreenscale.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "records/frmsyuuryou.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

QString folder;

// The whole display, window manager and all.
void shoot(const QString& name)
{
    // Whole windows, freshly painted: a grab must not catch one half drawn.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->repaint();
    QTest::qWait(800);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    const bool ok = screen && screen->grabWindow(0).save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    std::fflush(stdout);
}

// Where the window and every visible top-level widget lie, for the record.
void describe(const char* what)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    std::printf("%s: available %dx%d+%d+%d scale %s\n", what, available.width(), available.height(), available.x(),
                available.y(), qgetenv("QT_SCALE_FACTOR").constData());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        const QRect g = w->frameGeometry();
        // A full-screen window takes the whole display, task bar included.
        const QRect area = w->isFullScreen() && screen ? screen->geometry() : available;
        std::printf("  %s %dx%d+%d+%d%s%s\n", qPrintable(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()),
                    g.width(), g.height(), g.x(), g.y(), w->isFullScreen() ? " full screen" : "",
                    area.contains(g) ? "" : "  (not wholly inside)");
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <picture folder> <program folder>\n", argv[0]);
        return 2;
    }
    vc::applyScreenScale(argc, argv);
    QApplication app(argc, argv);
    folder = QString::fromLocal8Bit(argv[1]);
    const QString programFolder = QString::fromLocal8Bit(argv[2]);

    vc::SystemClock clock;
    vc::SystemRandom random;
    vc::QtMessageService messages;
    vc::RecordingLauncher launcher;
    vc::FakeInstanceGuard instance;
    vc::ScriptedSoundPlayer sound;
    vc::RecordingVoiceFactory voices;
    vc::AppState state;
    vc::AppNavigator navigator(state, [](int) {});
    state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher,
                      .instance = &instance, .navigator = &navigator, .sound = &sound, .voices = &voices};
    // Every message box the visit meets is photographed over its window, then answered.
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const QString name = QStringLiteral("3-message-%1").arg(++boxes);
        describe(qPrintable(name));
        shoot(name);
        box->accept();
    });
    closer.start(1000);
    vc::startProgram(state, navigator, programFolder);
    if (!QTest::qWaitFor([&] { return qobject_cast<vc::namesel*>(navigator.current()) != nullptr; }, 10000)) {
        std::printf("the name selection did not open\n");
        return 1;
    }
    auto* names = qobject_cast<vc::namesel*>(navigator.current());
    if (!QTest::qWaitForWindowExposed(names))
        std::printf("name selection not exposed\n");
    describe("name selection");
    shoot(QStringLiteral("1-namesel"));

    names->List1->setCurrentRow(1);
    names->Command14_Click();
    auto* levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return 1;
    if (!QTest::qWaitForWindowExposed(levels))
        std::printf("level screen not exposed\n");
    describe("level screen");
    shoot(QStringLiteral("2-levelscreen"));

    // A message box over the level screen.
    messages.show(QStringLiteral("本当に消去しますか"), QStringLiteral("注意"), vc::MessageService::Buttons::OkCancel,
                  vc::MessageService::Icon::Warning);

    levels->Form_KeyPress(QStringLiteral("1"));
    auto* drill = qobject_cast<vc::MainFrm*>(navigator.current());
    if (!drill)
        return 1;
    if (!QTest::qWaitForWindowExposed(drill))
        std::printf("drill not exposed\n");
    describe("drill");
    shoot(QStringLiteral("4-drill"));
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
        QTest::qWait(200);
        answer->setText(word);
        QTest::keyClick(answer, Qt::Key_Return);
    }
    if (!QTest::qWaitFor([&] { return qobject_cast<vc::FrmSyuuryou*>(navigator.current()) != nullptr; }, 10000))
        return 1;
    QTest::qWait(900);
    describe("end of drill");
    shoot(QStringLiteral("5-endofdrill"));

    // The screens off the level screen: flash cards, and the teacher's two.
    navigator.openFlashCards();
    if (!QTest::qWaitForWindowExposed(navigator.current()))
        std::printf("screen not exposed\n");
    describe("flash cards");
    shoot(QStringLiteral("6-flashcards"));
    navigator.openResultsAdmin();
    if (!QTest::qWaitForWindowExposed(navigator.current()))
        std::printf("screen not exposed\n");
    describe("results administration");
    shoot(QStringLiteral("7-results"));
    navigator.openStandardsEditor();
    if (!QTest::qWaitForWindowExposed(navigator.current()))
        std::printf("screen not exposed\n");
    describe("standards editor");
    shoot(QStringLiteral("8-standards"));
    return 0;
}
