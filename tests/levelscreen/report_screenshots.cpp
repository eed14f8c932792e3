// Starts the program on an installed demo school (scripts/layout-demo), adds
// a month and a half of runs to its results file, logs in a student and
// saves pictures of the three run lists and the report panel; the report of
// the student is also printed to a PDF in the output folder.
// Usage: report-screenshots <folder> <program folder>
#include "app/navigator.h"
#include "app/program.h"
#include "platform/clock.h"
#include "startup/appstate.h"
#include "levelscreen/reportpanel.h"
#include "levelscreen/seisekitime1.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "printing/printjob.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "students/namesel.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <random>

namespace {

void save(QWidget& screen, const QString& path)
{
    QCoreApplication::processEvents();
    const bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
}

// Runs of every demo student on levels 1–6 over the last 45 days, getting
// faster with practice; a few time-outs among them.
void addRuns(const QString& courseFolder, const vc::Clock& clock)
{
    std::mt19937 engine(7);
    const double today = vc::dayNumber(clock.today());
    QByteArray bytes;
    for (int day = 45; day >= 0; --day) {
        for (int student = 1; student <= 10; ++student) {
            if (engine() % 3 == 0 && day != 0)
                continue;
            for (int level = 1; level <= 6; ++level) {
                if (engine() % 2 == 0)
                    continue;
                vc::ResultRecord r;
                r.runDate = today - day;
                r.runTime = (9 * 3600 + static_cast<int>(engine() % 36000)) / 86400.0;
                r.studentNumber = static_cast<qint16>(student);
                r.level = static_cast<qint16>(level);
                const int base = 40 + 8 * level + 3 * student;
                r.seconds = engine() % 40 == 0 ? 99999 : static_cast<qint32>(base - (45 - day) / 2 + static_cast<int>(engine() % 15));
                bytes += vc::encodeResultRecord(r);
            }
        }
    }
    QFile f(vc::resultsFilePath(courseFolder));
    if (f.open(QIODevice::Append))
        f.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::printf("usage: report-screenshots <folder> <program folder>\n");
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
    addRuns(state.paths.CourseFolder, clock);
    auto* names = qobject_cast<vc::namesel*>(navigator.current());
    names->List1->setCurrentRow(3);
    names->Command14_Click();
    auto* levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return 1;
    if (!QTest::qWaitForWindowExposed(levels))
        std::printf("window not exposed\n");
    auto radio = [&](const char* name) { return levels->findChild<QRadioButton*>(QString::fromLatin1(name)); };

    radio("Option2_0")->click();
    radio("Option1_2")->click();
    save(*levels, folder + QStringLiteral("/runlist-today.png"));
    radio("Option1_3")->click();
    auto* period = levels->findChild<QComboBox*>(QStringLiteral("Combo2"));
    period->setCurrentIndex(1);
    levels->Combo2_Click();
    save(*levels, folder + QStringLiteral("/runlist-period-time.png"));
    radio("Option2_1")->click();
    radio("Option1_3")->click();
    save(*levels, folder + QStringLiteral("/runlist-period-points.png"));
    radio("Option2_2")->click();
    save(*levels, folder + QStringLiteral("/runlist-personal.png"));

    levels->findChild<QPushButton*>(QStringLiteral("Command17"))->click();
    save(*levels, folder + QStringLiteral("/report-panel.png"));
    auto* panel = levels->findChild<vc::ReportPanel*>(QStringLiteral("Picture11"));
    panel->picture().save(folder + QStringLiteral("/report-picture.png"));
    levels->findChild<QPushButton*>(QStringLiteral("Command25"))->click();
    auto* students = levels->findChild<QListWidget*>(QStringLiteral("List2"));
    if (students->count() > 3)
        students->item(3)->setSelected(true);
    levels->findChild<QListWidget*>(QStringLiteral("List3"))->item(3)->setSelected(true);
    levels->findChild<QPushButton*>(QStringLiteral("Command24_0"))->click();
    save(*levels, folder + QStringLiteral("/report-panel-other.png"));

    students->clearSelection();
    panel->reportStudent = state.CurrentStudentNumber;
    panel->Command21_Click(1);
    for (const auto& m : messages.shown)
        std::printf("message: %s\n", qPrintable(m.text));
    return 0;
}
