// Starts the program in-process on an installed demo school (the layout of
// scripts/layout-demo), with some runs stored first, logs in the teacher and
// saves pictures of the results administration screen (list, then editor)
// and the standards editor (start, then after typing and moving down). Says
// whether the grid's edit box lies exactly over its cell.
// Usage: admin-screenshots <folder> <program folder>
#include "admin/frmdata.h"
#include "app/navigator.h"
#include "app/program.h"
#include "levelscreen/seisekitime1.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "records/frmtimedata.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "students/namesel.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

namespace {

void save(QWidget& screen, const QString& path)
{
    QCoreApplication::processEvents();
    const bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
}

// Runs of the demo's students over the last weeks, as the drill stores them.
void storeRuns(const QString& courseFolder)
{
    vc::FakeClock clock(QDate::currentDate().addDays(-20), QTime(15, 0, 0));
    for (int day = 0; day < 20; ++day) {
        for (int k = 0; k < 30; ++k) {
            const qint16 student = static_cast<qint16>(1 + (day * 7 + k) % 11);
            const qint16 level = static_cast<qint16>(1 + (k * 5 + day) % 6);
            const qint32 seconds = k % 17 == 0 ? vc::kNoTime : 25 + (student * 13 + k * 7 + day * 3) % 90;
            vc::appendResultRecord({courseFolder, QStringLiteral("10001"), student}, level, seconds, clock);
            clock.advanceMs(97 * 1000);
        }
        clock.set(clock.today().addDays(1), QTime(15, 0, 0));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::printf("usage: admin-screenshots <folder> <program folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString programFolder = QString::fromLocal8Bit(argv[2]);
    const QString courseFolder = QFileInfo(programFolder + QStringLiteral("/../data/単語/")).absoluteFilePath();
    if (vc::openResultsFile(courseFolder).recordCount() == 0)
        storeRuns(courseFolder);

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
        return 1;
    }
    auto* names = qobject_cast<vc::namesel*>(navigator.current());
    const QList<QListWidgetItem*> teacher = names->List1->findItems(QStringLiteral("先生"), Qt::MatchContains);
    if (teacher.isEmpty())
        return 1;
    names->List1->setCurrentItem(teacher.first());
    names->Command14_Click();
    auto* levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return 1;
    levels->Command8_Click();
    levels->Command10_Click(0);
    auto* data = qobject_cast<vc::FrmData*>(navigator.current());
    if (!data || !QTest::qWaitForWindowExposed(data))
        return 1;
    save(*data, folder + QStringLiteral("/frmdata-list.png"));
    const int row = data->List1->count() - 5;
    data->List1->setCurrentRow(row);
    data->List1_DblClick(row);
    save(*data, folder + QStringLiteral("/frmdata-editor.png"));
    data->Command4_Click();

    levels = qobject_cast<vc::seisekitime1*>(navigator.current());
    if (!levels)
        return 1;
    levels->Command8_Click();
    levels->Command10_Click(1);
    auto* editor = qobject_cast<vc::FrmTimeData*>(navigator.current());
    if (!editor || !QTest::qWaitForWindowExposed(editor))
        return 1;
    editor->activateWindow();
    QTest::qWait(200);
    save(*editor, folder + QStringLiteral("/frmtimedata-start.png"));
    QTest::keyClick(editor->Gridinputtext, Qt::Key_Right);
    QTest::keyClick(editor->Gridinputtext, Qt::Key_Space);
    QTest::keyClicks(editor->Gridinputtext, "70");
    QTest::keyClick(editor->Gridinputtext, Qt::Key_Down);
    QTest::keyClick(editor->Gridinputtext, Qt::Key_Down);
    save(*editor, folder + QStringLiteral("/frmtimedata-edited.png"));

    const vc::StandardsGrid& grid = editor->grid();
    const QRect cell = editor->MSFlexGrid1->visualItemRect(editor->MSFlexGrid1->item(grid.currentRow() - 1, grid.currentColumn()));
    const QRect box(editor->Gridinputtext->mapToGlobal(QPoint(0, 0)), editor->Gridinputtext->size());
    const QRect onScreen(editor->MSFlexGrid1->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    std::printf("edit box %s its cell (box %d,%d %dx%d, cell %d,%d %dx%d)\n", box == onScreen ? "lies exactly over" : "is NOT over",
                box.x(), box.y(), box.width(), box.height(), onScreen.x(), onScreen.y(), onScreen.width(), onScreen.height());
    for (const auto& m : messages.shown)
        std::printf("message: %s\n", qPrintable(m.text));
    delete navigator.current();
    return box == onScreen ? 0 : 1;
}
