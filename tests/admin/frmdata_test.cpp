// The results administration screen offscreen: the list, the editor, saving,
// deleting with the question and the reselection, a stale list, CSV and back.
#include "admin/frmdata.h"
#include "levelscreen/scoredschool.h"
#include "platform/messages.h"
#include "records/resultsrewrite.h"
#include "startup/navigator.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gmock/gmock.h>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override {}
    void openLevelScreen() override { ++levelScreens; }
    void quitProgram(int) override {}
    int levelScreens = 0;
};

void doubleClick(QListWidget* list, int row)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

class FrmDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppState& s = *school.state;
        s.services.messages = &messages;
        s.services.navigator = &navigator;
        s.settings.SchoolCode = QStringLiteral("12345");
        s.settings.SchoolName = QStringLiteral("北校");
        test::writeCp932(s.paths.DataFolder + QStringLiteral("新名簿.txt"),
                         {QStringLiteral("1,2011,0,0,\"山田 太郎\",0,\"\",\"\""), QStringLiteral("2,2017,0,0,\"佐藤 花子\",1,\"\",\"\""),
                          QStringLiteral("3,2012,0,0,\"鈴木\",0,\"\",\"\"")});
        // Five runs, seconds 11..15; the second of level 0.
        for (int k = 1; k <= 5; ++k)
            school.addRuns(static_cast<qint16>(1 + k % 2), static_cast<qint16>(k == 2 ? 0 : k), 10 + k);
    }
    void open()
    {
        screen = std::make_unique<FrmData>(*school.state);
        screen->setExportFolder(school.dir.path() + QStringLiteral("/Documents/Vocarimo"));
        screen->Form_Load();
    }
    QByteArray file() const { return test::readBytes(resultsFilePath(school.state->paths.CourseFolder)); }
    std::vector<qint32> secondsInFile() const
    {
        std::vector<qint32> out;
        const QByteArray bytes = file();
        for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize)
            out.push_back(decodeResultRecord(bytes.constData() + at).seconds);
        return out;
    }

    test::ScoredSchool school;
    RecordingMessages messages;
    RecordingNavigator navigator;
    std::unique_ptr<FrmData> screen;
};

TEST_F(FrmDataTest, ListsEveryRunButLevelZeroAndOpensTheEditor)
{
    open();
    EXPECT_EQ(screen->Label5->text(), QStringLiteral("ダブルクリックすると変更、消去できます"));
    ASSERT_EQ(screen->List1->count(), 4);
    EXPECT_EQ(screen->List1->item(0)->text(), QStringLiteral("   1 2024/05/10　  9:36:00ﾚﾍﾞﾙ1　   11秒 　   2 佐藤 花子　 小１++他塾"));
    EXPECT_TRUE(screen->List1->item(1)->text().startsWith(QStringLiteral("   3 ")));
    EXPECT_EQ(screen->Combo1->count(), 3);  // every roster line, whatever its status
    EXPECT_EQ(screen->Combo1->itemText(1), QStringLiteral("2 /  佐藤 花子"));
    EXPECT_FALSE(screen->Picture3->isVisible());
    EXPECT_FALSE(screen->Command2->isEnabled());
    EXPECT_FALSE(screen->Command3->isEnabled());

    doubleClick(screen->List1, 1);
    EXPECT_TRUE(screen->Picture3->isVisible());
    EXPECT_EQ(screen->Label1->text(), QStringLiteral("3"));
    EXPECT_EQ(screen->Label2_1->text(), QStringLiteral("3ﾚﾍﾞﾙ"));
    EXPECT_EQ(screen->Label2_2->text(), QStringLiteral("2024/05/10"));
    EXPECT_EQ(screen->Label2_4->text(), QStringLiteral("小１"));
    EXPECT_EQ(screen->Text1_1->text(), QStringLiteral("13"));
    EXPECT_EQ(screen->Combo1->currentText(), QStringLiteral("2 /  佐藤 花子"));
    EXPECT_TRUE(screen->Command2->isEnabled());
    EXPECT_TRUE(screen->Command3->isEnabled());

    screen->Combo1->setCurrentIndex(0);
    screen->Combo1_Click();
    EXPECT_EQ(screen->Label2_4->text(), QStringLiteral("中１"));
    screen->VScroll1->setValue(42);
    EXPECT_EQ(screen->Text1_1->text(), QStringLiteral("42"));

    QTest::mouseClick(screen->List1->viewport(), Qt::LeftButton, {}, screen->List1->visualItemRect(screen->List1->item(0)).center());
    EXPECT_FALSE(screen->Picture3->isVisible());
}

TEST_F(FrmDataTest, SavingChangesStudentAndSecondsAndKeepsTheRow)
{
    open();
    const QByteArray before = file();
    doubleClick(screen->List1, 2);  // record 4
    screen->Combo1->setCurrentIndex(2);
    screen->Text1_1->setText(QStringLiteral("9"));
    screen->Command2->click();
    EXPECT_TRUE(messages.shown.empty());
    const QByteArray after = file();
    const ResultRecord r = decodeResultRecord(after.constData() + 3 * kResultRecordSize);
    EXPECT_EQ(r.studentNumber, 3);
    EXPECT_EQ(r.seconds, 9);
    QByteArray expected = before;
    expected.replace(3 * kResultRecordSize, kResultRecordSize, encodeResultRecord(r));
    EXPECT_EQ(after, expected);
    EXPECT_EQ(screen->List1->currentRow(), 2);
    EXPECT_THAT(screen->List1->item(2)->text().toStdString(), ::testing::HasSubstr("    9秒 　   3 鈴木"));
    // A second save checks against the run as now stored.
    screen->Text1_1->setText(QStringLiteral("8"));
    screen->Command2->click();
    EXPECT_EQ(secondsInFile(), (std::vector<qint32>{11, 12, 13, 8, 15}));

    // Input that is no time or no student is refused.
    screen->Text1_1->setText(QStringLiteral("abc"));
    screen->Command2->click();
    screen->Text1_1->setText(QStringLiteral("20"));
    screen->Combo1->setEditText(QStringLiteral("誰か"));
    screen->Command2->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(secondsInFile(), (std::vector<qint32>{11, 12, 13, 8, 15}));
}

TEST_F(FrmDataTest, DeletingAsksThenReselects)
{
    open();
    doubleClick(screen->List1, 1);  // record 3 of 5
    messages.answers = {MessageService::Answer::Cancel};
    screen->Command3->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("本当に消去しますか"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("注意"));
    EXPECT_EQ(messages.shown[0].buttons, MessageService::Buttons::OkCancel);
    EXPECT_EQ(secondsInFile().size(), 5u);

    screen->Command3->click();
    EXPECT_EQ(secondsInFile(), (std::vector<qint32>{11, 12, 14, 15}));
    ASSERT_EQ(screen->List1->count(), 3);
    EXPECT_EQ(screen->List1->currentRow(), 1);
    EXPECT_TRUE(screen->List1->item(1)->text().startsWith(QStringLiteral("   3 ")));
    EXPECT_FALSE(screen->Command3->isEnabled());

    // The last line: the new last line is selected.
    doubleClick(screen->List1, 2);
    screen->Command3->click();
    EXPECT_EQ(secondsInFile(), (std::vector<qint32>{11, 12, 14}));
    ASSERT_EQ(screen->List1->count(), 2);
    EXPECT_EQ(screen->List1->currentRow(), 1);
}

TEST_F(FrmDataTest, AStaleListIsRebuiltAndNothingChanges)
{
    open();
    doubleClick(screen->List1, 2);  // record 4, seconds 14
    // Another teacher deletes record 1 meanwhile.
    const QString path = resultsFilePath(school.state->paths.CourseFolder);
    ASSERT_EQ(deleteResultRecord(path, 1, file().left(kResultRecordSize)), RewriteOutcome::Done);
    const QByteArray now = file();

    screen->Text1_1->setText(QStringLiteral("1"));
    screen->Command2->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_THAT(messages.shown[0].text.toStdString(), ::testing::HasSubstr("ほかのコンピューター"));
    EXPECT_EQ(file(), now);
    EXPECT_FALSE(screen->Picture3->isVisible());
    ASSERT_EQ(screen->List1->count(), 3);  // rebuilt
    EXPECT_TRUE(screen->List1->item(2)->text().startsWith(QStringLiteral("   4 ")));

    // Deleting from an editor opened before another deletion is refused too.
    doubleClick(screen->List1, 2);  // now record 4, seconds 15
    ASSERT_EQ(deleteResultRecord(path, 1, file().left(kResultRecordSize)), RewriteOutcome::Done);
    const QByteArray later = file();
    screen->Command3->click();
    ASSERT_EQ(messages.shown.size(), 3u);  // the question, then the refusal
    EXPECT_THAT(messages.shown[2].text.toStdString(), ::testing::HasSubstr("ほかのコンピューター"));
    EXPECT_EQ(file(), later);
}

TEST_F(FrmDataTest, CsvGoesToTheDocumentsFolderAndBack)
{
    open();
    screen->Command5->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString folder = school.dir.path() + QStringLiteral("/Documents/Vocarimo/");
    EXPECT_THAT(messages.shown[0].text.toStdString(), ::testing::HasSubstr(folder.toStdString()));
    const QString path = folder + QStringLiteral("成績データ_20240510_100000.csv");
    const QByteArray bytes = test::readBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes).count(QStringLiteral("\r\n")), 5);  // heading and four runs

    screen->Command4->click();
    EXPECT_EQ(navigator.levelScreens, 1);
}

} // namespace
