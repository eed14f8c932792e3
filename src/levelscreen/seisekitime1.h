#pragma once
#include "levelscreen/ban.h"
#include "levelscreen/ranking.h"
#include "levelscreen/runlists.h"
#include "levelscreen/views.h"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTextBrowser;

namespace vc {

struct AppState;
class ReportPanel;

// The controls of one level's column. Each keeps its name with the level
// number as objectName: "Command4_3" is the start button of level 3.
struct LevelColumn {
    QFrame* frame = nullptr;
    QLabel* Label1 = nullptr;   // level number
    QLabel* Label3 = nullptr;   // level name; a click starts the level
    QLabel* Label2 = nullptr;   // today's marks
    QLabel* Label19 = nullptr;  // marks of the judgement period
    QLabel* Label7 = nullptr;   // standards line
    QLabel* Label8 = nullptr;   // period line
    QLabel* Label14 = nullptr;  // today line
    QLabel* Label15 = nullptr;  // totals line
    QLabel* Label9 = nullptr;   // list headings
    QLabel* Label10 = nullptr;
    QListWidget* List5 = nullptr;  // ranking or run list
    QPushButton* Command4 = nullptr;  // start button
    QLineEdit* Text1 = nullptr;       // the "やりすぎ禁止" cover over the start button
};

// The level screen: one column per level with the student's figures and a
// ranking of the school, the start buttons, and the results views.
class seisekitime1 : public QWidget {
    Q_OBJECT
public:
    explicit seisekitime1(AppState& state, QWidget* parent = nullptr);

    // Builds the columns and fills the selectors, then shows the screen.
    void Form_Load();
    // Refreshes everything from a new statistics pass; run each time the
    // screen is shown, after Form_Load.
    void Form_Activate();

    // 1 while the screen accepts keys, 0 while it refreshes or starts a run.
    int busyFlag() const { return busy_; }
    const ViewSettings& viewSettings() const { return settings_; }
    int firstVisibleLevel() const { return firstVisible_; }

    // Columns 1..N (entry 0 unused).
    std::vector<LevelColumn> columns;

    QLabel* Label11 = nullptr;  // course title
    QLabel* Label12 = nullptr;  // class and name
    QLabel* Label17 = nullptr;  // minutes since login
    QLabel* Label18 = nullptr;  // today's runs over all levels
    QLabel* Label5 = nullptr;   // headline of the views
    QPushButton* Command1 = nullptr;   // "戻る(0)"
    QPushButton* Command33 = nullptr;  // "一覧"
    QPushButton* Command8 = nullptr;   // "データ処理", teachers only
    QWidget* Picture6 = nullptr;       // practice panel
    QPushButton* Command29 = nullptr;  // "練習"
    QScrollBar* HScroll1 = nullptr;
    std::array<QRadioButton*, 3> Option2{};  // view kind, 0..2
    QWidget* Picture1 = nullptr;             // the order group
    std::array<QRadioButton*, 4> Option1{};  // order, 1..3 (entry 0 unused)
    QComboBox* Combo1 = nullptr;  // grade filter
    QComboBox* Combo2 = nullptr;  // period
    QPushButton* Command17 = nullptr;  // "グラフ"
    QWidget* Picture11 = nullptr;      // report panel
    QListWidget* List2 = nullptr;      // report: students
    QListWidget* List3 = nullptr;      // report: levels
    std::array<QPushButton*, 2> Command24{};  // "表示", "印刷"
    QPushButton* Command18 = nullptr;         // hides the report panel
    QTextBrowser* WebBrowser2 = nullptr;
    QWidget* Picture7 = nullptr;              // teacher panel
    std::array<QPushButton*, 2> Command10{};  // "データ変更", "合格タイムデータ変更"
    QPushButton* Command12 = nullptr;         // hides the teacher panel
    QWidget* Picture4 = nullptr;              // overview panel
    QListWidget* List6 = nullptr;
    QPushButton* Command32 = nullptr;  // "詳細へ戻る"
    QWidget* Picture2 = nullptr;       // wait cover
    QProgressBar* ProgressBar1 = nullptr;

    void Command4_Click(int level);
    void Label3_Click(int level);
    void Command1_Click();
    void Command8_Click();
    void Command10_Click(int index);
    void Command12_Click();
    void Command29_Click();
    void Command33_Click();
    void Command31_Click();
    void Command32_Click();
    void List6_DblClick(int row);
    void HScroll1_Change();
    void Option2_Click(int index);
    void Option1_Click(int index);
    void Combo1_Click();
    void Combo2_Click();
    void Command17_Click();
    void Command18_Click();
    // The best-result ranking of every level.
    void Command6_Click();
    // The ranking list of one level in the current view.
    void Command3_Click(int level);
    // The run lists: today's runs, the runs of the period, the student's own runs.
    void Command5_Click();
    void Command7_Click();
    void Command16_Click();
    // The keys "1"–"9", "a"–"d" and "0"; true when the key was taken.
    bool Form_KeyPress(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildTopBar();
    void buildViewsPanel();
    void buildPanels();
    void buildColumn(int level);
    void layOutColumn(int level, bool topPartOnly, double heightTwips);
    void placeColumns();
    // A column's list is filled when the column is in view: at once, or when
    // scrolling brings it there. With many levels most columns are out of
    // sight, and their rankings would cost most of the screen's time.
    bool isColumnInView(int level) const;
    void fillWhenSeen(int level, std::function<void()> fill);
    void fillColumnsInView();
    // The ranking list of the level in the current view, now.
    void fillRankingColumn(int level, RankingOrder order);
    void fillMarksAndPeriodLine(int level);
    void showWaitCover();
    void hideWaitCover();
    void hideAllLists();
    void resetHeadings();
    void clearListSelections();
    void runBanEvaluation();
    void fillPointsRankings(PointsOrder order);
    void showRunList(RunList list);
    void afterViewChange(double practiceHeightTwips);
    void startLevel(int level);
    bool mayStart(int level) const;
    void notReadyYet(const QString& title);
    bool isPractice(int level) const;
    int levelCount() const;
    // Stops the screen after a file could not be read.
    void failWith(const QString& message);

    AppState& state_;
    int busy_ = 0;
    bool ending_ = false;
    int firstVisible_ = 1;
    int columnWidth_ = 0;
    ViewSettings settings_;
    StartButtons buttons_;
    std::vector<RankingEntry> rankingRoster_;
    std::vector<std::function<void()>> pendingFills_;  // per level, for columns out of view
    ReportPanel* report_ = nullptr;
    QWidget* mainPanel_ = nullptr;
    QWidget* columnsArea_ = nullptr;
};

} // namespace vc
