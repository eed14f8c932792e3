// The flash-card screen offscreen on a small school: the card cycle on fake
// timers with the recording voice, the print panel writing PDFs, the history.
#include "flashcards/frmfrush.h"

#include "common/school.h"
#include "common/testutil.h"
#include "coursetable/coursetable.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "platform/speech.h"
#include "platform/timer.h"
#include "printing/pdftools.h"
#include "printing/printjob.h"
#include "records/logs.h"
#include "startup/appstate.h"
#include "startup/navigator.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vc;

namespace {

struct RecordingNavigator : Navigator {
    void openNameSelection() override {}
    void openLevelScreen() override { ++levelScreens; }
    void quitProgram(int) override {}
    int levelScreens = 0;
};

class Flash : public ::testing::Test {
protected:
    void SetUp() override
    {
        school.writeDefaults();
        QStringList rows;
        const char* words[][3] = {{"1", "りんご", "apple"}, {"1", "本", "book"}, {"2", "ねこ", "cat"},
                                  {"2", "学校", "school"}, {"1", "先生", "teacher"}};
        for (const auto& w : words)
            rows << QStringLiteral("%1,%2,%3").arg(QString::fromUtf8(w[0]), QString::fromUtf8(w[1]), QString::fromUtf8(w[2]));
        school.writeCourse(rows);
        state.paths.ProgramFolder = school.programFolder;
        state.paths.CourseFolder = school.courseFolder;
        state.CurrentStudentNumber = 12;
        state.services = {.clock = &clock, .random = &random, .messages = &messages, .navigator = &navigator,
                          .voices = &voices, .printing = &printing};
        screen = std::make_unique<FrmFrush>(state, &timers);
        screen->Form_Load();
        screen->show();
    }
    template <class T = QWidget>
    T* child(const QString& name)
    {
        T* w = screen->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void chooseUnit(int row)
    {
        screen->List4->clearSelection();
        screen->List4->item(row)->setSelected(true);
    }
    QString pdfFolder() const { return pdfs.path(); }
    QString onlyPdf()
    {
        const QStringList files = QDir(pdfs.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        return files.isEmpty() ? QString() : pdfs.filePath(files.last());
    }

    test::SchoolFixture school;
    QTemporaryDir pdfs;
    FakeClock clock{QDate(2026, 12, 10), QTime(16, 0)};
    FakeTimers timers{&clock};
    ScriptedRandom random{{0.123, 0.5, 0.9, 0.3, 0.7}};
    RecordingMessages messages;
    RecordingNavigator navigator;
    RecordingVoiceFactory voices;
    SystemPrintService printing{&clock, SystemPrintService::Target::PdfOnly, pdfs.path()};
    AppState state;
    std::unique_ptr<FrmFrush> screen;
};

TEST_F(Flash, OpensWithTheWordListAndTheSelectionShowing)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("音声フラッシュ練習"));
    EXPECT_EQ(screen->List4->count(), 3);  // 1, 2, 1
    EXPECT_EQ(screen->List4->item(2)->text(), QStringLiteral("1"));
    ASSERT_EQ(screen->List1->count(), 5);
    EXPECT_EQ(screen->List1->item(3)->text(), QStringLiteral("  2school") + QString(22, u' ') + QStringLiteral("  4"));
    EXPECT_TRUE(screen->List1->selectedItems().isEmpty());
    EXPECT_TRUE(screen->Option1[2]->isChecked());
    EXPECT_TRUE(screen->Option2[2]->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{screen->Picture7, screen->Label5, screen->Label6, screen->Label4, screen->Command10,
                                                       screen->Command16, screen->Command3})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{screen->Command6, screen->Command5, screen->Command7, screen->Label8, screen->Picture4,
                                                       screen->Picture6, screen->List2})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(screen->Label6->text(), QStringLiteral("p を選択してください。\nword は一部のみ選択しなおすこともできます"));
    EXPECT_EQ(screen->Label8->text(), QStringLiteral("覚えたら押しなさい。"));
    EXPECT_EQ(screen->Label3->text(), QStringLiteral("---"));
    // The heading file made empty, the default heading in the box.
    EXPECT_TRUE(QFile::exists(school.courseFolder + QStringLiteral("見出し.txt")));
    EXPECT_EQ(screen->Text4->text(), QStringLiteral("テスト"));
    EXPECT_EQ(screen->Text2->text(), QStringLiteral("1"));
    EXPECT_EQ(screen->Text3->text(), QStringLiteral("0"));
    EXPECT_FALSE(screen->Check1->isChecked());
    EXPECT_TRUE(screen->Check2->isChecked());
    EXPECT_EQ(timers.untilNext(), -1);
    // The voice made at open: rate −4, then 0 and a wait once the list is loaded.
    ASSERT_GE(voices.calls.size(), 4u);
    EXPECT_EQ(voices.calls[0].kind, RecordingVoiceFactory::Call::Kind::Create);
    EXPECT_EQ(voices.calls[1].rate, -4);
    EXPECT_EQ(voices.calls[2].rate, 0);
    EXPECT_EQ(voices.calls[3].kind, RecordingVoiceFactory::Call::Kind::Wait);
}

TEST_F(Flash, CardsRunOnTheTimersAndTheScreenFollows)
{
    chooseUnit(0);
    EXPECT_EQ(screen->List1->count(), 3);
    EXPECT_EQ(screen->List1->selectedItems().size(), 3);
    EXPECT_EQ(screen->Label5->text(), QStringLiteral("  1～  5"));
    EXPECT_TRUE(screen->Command6->isVisible());
    screen->Command6->click();
    EXPECT_FALSE(screen->Picture7->isVisible());
    EXPECT_TRUE(screen->List2->isVisible());
    EXPECT_EQ(screen->List2->count(), 3);
    EXPECT_TRUE(screen->Command5->isVisible());
    EXPECT_TRUE(screen->Command7->isVisible());
    EXPECT_FALSE(screen->Command10->isVisible());
    EXPECT_EQ(screen->Label1->text(), QStringLiteral("りんご"));
    EXPECT_EQ(screen->Label3->text().trimmed(), QStringLiteral("1"));
    timers.fireNext();
    EXPECT_EQ(screen->Label2->text(), QStringLiteral("apple"));
    timers.fireNext();
    EXPECT_EQ(voices.spoken(1), std::vector<QString>{QStringLiteral("apple")});
    timers.fireNext();
    EXPECT_EQ(screen->Label1->text(), QStringLiteral("本"));
    EXPECT_TRUE(screen->Label2->text().isEmpty());

    // Drop "本": the deck shrinks, the next card is "先生".
    screen->Command7->click();
    EXPECT_EQ(screen->List2->count(), 2);
    timers.advance(10000);
    // The dropped card plays to its end; the timers keep running.
    ASSERT_GE(voices.spoken(1).size(), 3u);
    EXPECT_EQ(voices.spoken(1)[1], QStringLiteral("book"));
    EXPECT_EQ(voices.spoken(1)[2], QStringLiteral("teacher"));

    // The fastest speed hides the drop button; "番号変更" back to the selection.
    screen->Option2[3]->click();
    EXPECT_FALSE(screen->Command7->isVisible());
    screen->Option2[1]->click();
    EXPECT_TRUE(screen->Command7->isVisible());
    screen->Option1[3]->click();
    EXPECT_EQ(screen->cycle()->mode(), 3);
    screen->Command5->click();
    EXPECT_TRUE(screen->Picture7->isVisible());
    EXPECT_FALSE(screen->List2->isVisible());
    EXPECT_EQ(screen->cycle()->deck().size(), 3);  // rebuilt from the selection
    EXPECT_EQ(timers.untilNext(), -1);

    screen->Command3->click();
    EXPECT_EQ(navigator.levelScreens, 1);
    screen->close();
    EXPECT_EQ(voices.calls.back().kind, RecordingVoiceFactory::Call::Kind::Release);
}

TEST_F(Flash, PrintPanelPreviewHeadingAndFold)
{
    chooseUnit(1);
    screen->Command10->click();
    EXPECT_TRUE(screen->Picture4->isVisible());
    EXPECT_FALSE(screen->Command10->isVisible());
    EXPECT_FALSE(screen->Command16->isVisible());
    EXPECT_FALSE(screen->Command11->isVisible());
    const QImage& picture = screen->preview();
    ASSERT_FALSE(picture.isNull());
    int dark = 0;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 100);
    const int number = screen->sheet().number;
    ASSERT_EQ(screen->sheet().cards.size(), 2u);
    EXPECT_EQ(screen->sheet().cards[0].english, QStringLiteral("cat"));

    // Word choice while the panel shows redraws the preview (a new number).
    screen->List1->item(0)->setSelected(false);
    EXPECT_EQ(screen->sheet().cards.size(), 1u);
    EXPECT_NE(screen->sheet().number, number);

    screen->Check1->click();
    EXPECT_TRUE(screen->Command11->isVisible());
    screen->Check1->click();
    EXPECT_FALSE(screen->Command11->isVisible());

    // Editing the heading alone changes nothing; "記録" keeps and stores it.
    screen->Text4->setText(QStringLiteral("期末テスト"));
    EXPECT_EQ(screen->heading(), QStringLiteral("テスト"));
    screen->Command18->click();
    EXPECT_EQ(screen->heading(), QStringLiteral("期末テスト"));
    EXPECT_EQ(readHeading(headingFilePath(school.courseFolder)), QStringLiteral("期末テスト"));

    messages.shown.clear();
    screen->Text3->setText(QStringLiteral("0.2"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("-0.1～0.1の間にしてください"));
    EXPECT_EQ(screen->Text3->text(), QStringLiteral("0.2"));  // kept as entered
    screen->Text3->setText(QStringLiteral("0.05"));
    EXPECT_EQ(messages.shown.size(), 1u);

    screen->Command14->click();
    EXPECT_FALSE(screen->Picture4->isVisible());
    EXPECT_TRUE(screen->Command10->isVisible());
    EXPECT_TRUE(screen->Command16->isVisible());
}

TEST_F(Flash, PreviewOfALongDeckAsksForTheNextPage)
{
    QStringList rows;
    for (int i = 1; i <= 40; ++i)
        rows << QStringLiteral("1,日本語%1,word%1").arg(i);
    school.writeCourse(rows);
    screen = std::make_unique<FrmFrush>(state, &timers);
    screen->Form_Load();
    chooseUnit(0);
    messages.answers = {MessageService::Answer::Cancel};
    screen->Command10_Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("次のページへ"));
    EXPECT_EQ(messages.shown[0].buttons, MessageService::Buttons::OkCancel);
}

TEST_F(Flash, AllTheSameWithTwoCopiesAndQuestionSheetsBecomePdfs)
{
    chooseUnit(0);  // apple, book, teacher
    screen->Command10->click();
    screen->Text2->setText(QStringLiteral("2"));
    messages.shown.clear();
    screen->Command8[1]->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    QString pdf = onlyPdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_TRUE(messages.shown[0].text.contains(QDir::toNativeSeparators(pdf))) << messages.shown[0].text.toStdString();
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    QString text = test::pdfText(pdf);
    for (const char* word : {"テスト", "2026/12/10", "りんご", "先生", "apple", "teacher"})
        EXPECT_TRUE(text.contains(test::nfkc(QString::fromUtf8(word)))) << word << "\n" << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("apple")), 2);
    bool embedded = false;
    for (const QString& row : test::pdfFonts(pdf))
        embedded = embedded || (row.contains(QStringLiteral("CJK")) && row.contains(QStringLiteral(" yes ")));
    EXPECT_TRUE(embedded);

    // "問題用紙も印刷", one copy: the sheet and its question sheet.
    QFile::remove(pdf);
    screen->Text2->setText(QStringLiteral("1"));
    messages.shown.clear();
    screen->Command13->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    pdf = onlyPdf();
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    const QString first = test::pdfText(pdf, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1")});
    const QString second = test::pdfText(pdf, {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2")});
    const QString mark = u'*' + QString::number(screen->sheet().number);
    EXPECT_TRUE(first.contains(mark) && second.contains(mark)) << mark.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("apple")));
    EXPECT_FALSE(second.contains(QStringLiteral("apple")));
    EXPECT_TRUE(second.contains(test::nfkc(QStringLiteral("りんご"))));

    // No number of copies: "全部ばらばら" prints nothing, "全部同じ" corrects it to 1.
    QFile::remove(pdf);
    screen->Text2->setText(QStringLiteral("abc"));
    screen->Check1->click();
    screen->Command11->click();
    EXPECT_TRUE(onlyPdf().isEmpty());
    screen->Command8[1]->click();
    EXPECT_EQ(screen->Text2->text(), QStringLiteral("1"));
    EXPECT_EQ(test::pdfPageCount(onlyPdf()), 1);
}

TEST_F(Flash, HistoryListsTheChosenUnitsAnswers)
{
    const QString log = answerLogPath(school.courseFolder, 12);
    appendAnswerLog(school.courseFolder, 12, clock, QStringLiteral("p1"), QStringLiteral("りんご"), QStringLiteral("apple"), QStringLiteral("○"));
    appendAnswerLog(school.courseFolder, 12, clock, QStringLiteral("p1"), QStringLiteral("本"), QStringLiteral("book"), QStringLiteral("bok"));
    appendAnswerLog(school.courseFolder, 12, clock, QStringLiteral("p2"), QStringLiteral("ねこ"), QStringLiteral("cat"), QStringLiteral("kat"));
    chooseUnit(0);
    screen->Command16->click();
    EXPECT_TRUE(screen->Picture6->isVisible());
    EXPECT_FALSE(screen->Command10->isVisible());
    EXPECT_FALSE(screen->Command16->isVisible());
    EXPECT_EQ(screen->Label10->text(), QStringLiteral("今までのあなたの結果(全データは　結果12.csv　に保存されています)"));
    ASSERT_EQ(screen->List3->count(), 1);  // wrong answers only at first
    EXPECT_TRUE(screen->List3->item(0)->text().endsWith(QStringLiteral("本")));
    screen->Check2->click();
    EXPECT_EQ(screen->List3->count(), 2);
    // The unit choice refills the list while it shows.
    chooseUnit(1);
    ASSERT_EQ(screen->List3->count(), 1);
    EXPECT_TRUE(screen->List3->item(0)->text().endsWith(QStringLiteral("ねこ")));
    screen->Command17->click();
    EXPECT_FALSE(screen->Picture6->isVisible());
    EXPECT_TRUE(screen->Command10->isVisible());
    EXPECT_TRUE(screen->Command16->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Flash, FilesThatCannotBeMadeAreToldAndTheScreenGoesOn)
{
    // A course folder that does not exist: no heading file, no answer log.
    state.paths.CourseFolder = school.courseFolder + QStringLiteral("ない/");
    screen = std::make_unique<FrmFrush>(state, &timers);
    messages.shown.clear();
    screen->Form_Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("見出し.txt"))) << messages.shown[0].text.toStdString();
    EXPECT_EQ(screen->Text4->text(), QStringLiteral("テスト"));
    chooseUnit(0);
    screen->Command16_Click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral("結果12.csv")));
    screen->Command18_Click();
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_TRUE(messages.shown[2].text.contains(QStringLiteral("見出し.txt")));
    EXPECT_EQ(screen->heading(), QStringLiteral("テスト"));
    // The cards still run.
    screen->Command6_Click();
    EXPECT_EQ(screen->Label1->text(), QStringLiteral("りんご"));
}

} // namespace
