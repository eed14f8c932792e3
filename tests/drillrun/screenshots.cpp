// Shows the drill screen on the test course and saves pictures of it:
// a question being answered, a wrong answer with the correct word, the
// choice step. Usage: drill-screenshots <folder>
#include "drillrun/drillfixture.h"

#include "drill/mainfrm.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

namespace {

void save(QWidget& screen, const QString& path)
{
    QCoreApplication::processEvents();
    const bool ok = screen.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
}

std::unique_ptr<vc::MainFrm> openDrill(vc::AppState& state, int level)
{
    state.CurrentLevel = static_cast<qint16>(level);
    auto frm = std::make_unique<vc::MainFrm>(state);
    frm->Form_Load();
    frm->showMaximized();
    if (!QTest::qWaitForWindowExposed(frm.get()))
        std::printf("window not exposed\n");
    frm->Form_Activate();
    return frm;
}

void tick(vc::test::DrillSchool& school, vc::MainFrm& frm, int seconds)
{
    school.clock.advanceMs(seconds * 1000);
    frm.drillRun().sTimer1_Timer();
    frm.render();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();

    vc::test::DrillSchool school;
    vc::AppState& state = *school.state;
    state.CurrentStudentName = QStringLiteral("山田　花子");

    {
        auto frm = openDrill(state, vc::test::kFive);
        tick(school, *frm, 23);
        auto* text1 = frm->findChild<QLineEdit*>(QStringLiteral("Text1"));
        const QString answer = frm->drillRun().session().currentAnswer;
        QTest::keyClicks(text1, answer.left(2));
        save(*frm, folder + QStringLiteral("/drill_question.png"));

        QTest::keyClicks(text1, QStringLiteral("x"));
        QTest::keyClick(text1, Qt::Key_Return);
        tick(school, *frm, 2);
        save(*frm, folder + QStringLiteral("/drill_wrong.png"));

        // The same question after two wrong answers: first letter and voice hint.
        frm->drillRun().Commandkakunin_Click();
        frm->render();
        while (frm->drillRun().session().currentAnswer != answer) {
            QTest::keyClicks(text1, frm->drillRun().session().currentAnswer);
            QTest::keyClick(text1, Qt::Key_Return);
        }
        QTest::keyClicks(text1, QStringLiteral("x"));
        QTest::keyClick(text1, Qt::Key_Return);
        frm->drillRun().Commandkakunin_Click();
        frm->render();
        while (frm->drillRun().session().currentAnswer != answer) {
            QTest::keyClicks(text1, frm->drillRun().session().currentAnswer);
            QTest::keyClick(text1, Qt::Key_Return);
        }
        tick(school, *frm, 5);
        save(*frm, folder + QStringLiteral("/drill_hint.png"));
        frm->hide();
    }
    {
        state.course.ChoiceListFlag = 1;
        auto frm = openDrill(state, vc::test::kTwenty);
        tick(school, *frm, 41);
        frm->drillRun().List1_Click(2);
        frm->render();
        save(*frm, folder + QStringLiteral("/drill_choice.png"));
        frm->hide();
    }
    return 0;
}
