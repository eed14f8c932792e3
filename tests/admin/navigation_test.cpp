// The teacher panel of the level screen opens both teacher screens through
// the program's navigator, and each leads back to the level screen.
#include "admin/frmdata.h"
#include "app/navigator.h"
#include "levelscreen/scoredschool.h"
#include "levelscreen/seisekitime1.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "records/frmtimedata.h"

#include <QListWidget>
#include <QTableWidget>

using namespace vc;

TEST(TeacherScreens, OpenFromTheTeacherPanelAndLeadBack)
{
    test::ScoredSchool school;
    AppState& s = *school.state;
    RecordingMessages messages;
    ScriptedSoundPlayer sound;
    AppNavigator navigator(s, [](int) {});
    s.services.messages = &messages;
    s.services.sound = &sound;
    s.services.navigator = &navigator;
    school.setLevels(3);
    school.addStudent(100, QStringLiteral("先生"), 1980);
    school.logIn(100, QStringLiteral("先生"));
    school.addRuns(100, 2, 33);
    test::writeCp932(s.paths.DataFolder + QStringLiteral("新名簿.txt"), {QStringLiteral("100,1980,0,0,\"先生\",0,\"\",\"\"")});
    test::writeCp932(standardsFilePath(s.paths.CourseFolder),
                     {QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,"),
                      QStringLiteral("30,45,20,2,1,5,,7,1,,,"), QStringLiteral("30,45,20,2,1,5,,7,1,,,"),
                      QStringLiteral("30,45,20,2,1,5,,7,1,,,")});

    navigator.openLevelScreen();
    auto* levels = qobject_cast<seisekitime1*>(navigator.current());
    ASSERT_NE(levels, nullptr);
    levels->Command8_Click();
    levels->Command10_Click(0);
    auto* data = qobject_cast<FrmData*>(navigator.current());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->List1->count(), 1);
    data->Command4_Click();
    levels = qobject_cast<seisekitime1*>(navigator.current());
    ASSERT_NE(levels, nullptr);

    levels->Command8_Click();
    levels->Command10_Click(1);
    auto* editor = qobject_cast<FrmTimeData*>(navigator.current());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->MSFlexGrid1->rowCount(), 3);
    editor->Command4_Click();
    EXPECT_NE(qobject_cast<seisekitime1*>(navigator.current()), nullptr);
    EXPECT_TRUE(messages.shown.empty());
    delete navigator.current();
}
