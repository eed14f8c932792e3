// Starts the program on an installed demo school (scripts/layout-demo) made a
// one-level-a-unit course, gives a student some past answers, opens the flash
// cards through "練習" on the level screen and saves pictures of the card
// screen in each mode, the print panel with its preview, the history panel,
// and a word sheet with its question sheet as a PDF in the output folder.
// Usage: flash-screenshots <folder> <program folder>
#include "app/navigator.h"
#include "app/program.h"
#include "flashcards/frmfrush.h"
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/textfile.h"
#include "printing/printjob.h"
#include "records/logs.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

namespace {

void save(QWidget& screen, const QString& path)
{
    QCoreApplication::processEvents();
    const bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::printf("usage: flash-screenshots <folder> <program folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    vc::SystemClock clock;
    vc::SystemRandom random;
    vc::RecordingMessages messages;
    vc::RecordingLauncher launcher;
    vc::FakeInstanceGuard instance;
    vc::ScriptedSoundPlayer sound;
    vc::RecordingVoiceFactory voices;
    vc::SystemPrintService printing(&clock, vc::SystemPrintService::Target::PdfOnly, folder);
    vc::AppState state;
    vc::AppNavigator navigator(state, [](int) {});
    state.services = {.clock = &clock, .random = &random, .messages = &messages, .launcher = &launcher, .instance = &instance,
                      .navigator = &navigator, .sound = &sound, .voices = &voices, .printing = &printing};
    vc::startProgram(state, navigator, QString::fromLocal8Bit(argv[2]));
    if (!QTest::qWaitFor([&] { return qobject_cast<vc::namesel*>(navigator.current()) != nullptr; }, 5000)) {
        std::printf("the name selection did not open\n");
        return 1;
    }
    auto* names = qobject_cast<vc::namesel*>(navigator.current());
    names->List1->setCurrentRow(3);
    names->Command14_Click();
    auto* levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return 1;
    // Past answers of the student, as the drill logs them.
    const QString course = state.paths.CourseFolder;
    const int student = state.CurrentStudentNumber;
    QFile::remove(vc::answerLogPath(course, student));
    struct Answer { const char* level; const char* prompt; const char* expected; const char* result; };
    const Answer answers[] = {
        {"pUnit1", "りんご", "apple", "○"},  {"pUnit1", "本", "book", "bok"},      {"pUnit1", "ねこ", "cat", "○"},
        {"pUnit1", "学校", "school", "scool"}, {"pUnit1", "先生", "teacher", "○"}, {"pUnit1", "友だち", "friend", "freind"},
        {"pUnit2", "走る", "run", "○"},       {"pUnit2", "泳ぐ", "swim", "swimm"},  {"pUnit1", "家族", "family", "○"},
        {"pUnit1", "朝", "morning", "moning"}, {"pUnit2", "勉強する", "study", "○"},
    };
    for (const Answer& a : answers)
        vc::appendAnswerLog(course, student, clock, QString::fromUtf8(a.level), QString::fromUtf8(a.prompt),
                            QString::fromUtf8(a.expected), QString::fromUtf8(a.result));

    levels->findChild<QPushButton*>(QStringLiteral("Command29"))->click();
    auto* cards = qobject_cast<vc::FrmFrush*>(navigator.current());
    if (!cards) {
        std::printf("the flash cards did not open\n");
        return 1;
    }
    if (!QTest::qWaitForWindowExposed(cards))
        std::printf("window not exposed\n");
    save(*cards, folder + QStringLiteral("/flash-open.png"));
    cards->List4->item(0)->setSelected(true);
    save(*cards, folder + QStringLiteral("/flash-selected.png"));

    struct Mode { int mode; const char* file; };
    for (const Mode& m : {Mode{2, "flash-mode2.png"}, Mode{1, "flash-mode1.png"}, Mode{3, "flash-mode3.png"}}) {
        cards->Option1[static_cast<size_t>(m.mode)]->click();
        cards->Command6->click();
        if (!QTest::qWaitFor([&] { return !cards->Label1->text().isEmpty() && !cards->Label2->text().isEmpty(); }, 10000))
            std::printf("mode %d: the faces did not fill\n", m.mode);
        save(*cards, folder + u'/' + QString::fromLatin1(m.file));
        cards->Command5->click();
    }
    cards->Option2[3]->click();
    cards->Option1[2]->click();
    cards->Command6->click();
    if (!QTest::qWaitFor([&] { return !cards->Label2->text().isEmpty(); }, 10000))
        std::printf("fastest: the faces did not fill\n");
    save(*cards, folder + QStringLiteral("/flash-fastest.png"));
    cards->Command5->click();

    cards->Command10->click();
    cards->Text4->setText(QStringLiteral("中1 単語テスト"));
    cards->Command18->click();
    save(*cards, folder + QStringLiteral("/flash-print.png"));
    cards->preview().save(folder + QStringLiteral("/flash-preview.png"));
    cards->Command13->click();
    cards->Command14->click();

    cards->Command16->click();
    save(*cards, folder + QStringLiteral("/flash-history.png"));
    cards->Check2->click();
    save(*cards, folder + QStringLiteral("/flash-history-all.png"));
    for (const auto& m : messages.shown)
        std::printf("message: %s\n", qPrintable(m.text));
    return 0;
}
