#pragma once
#include "flashcards/cardcycle.h"
#include "flashcards/wordsheet.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace vc {

struct AppState;
class DrawingSurface;
class Random;
class SystemRandom;
class TimerFactory;

// The flash-card screen: the student picks units and words and runs through
// them as spoken cards; the print panel prints them as fold-over word sheets
// and the history panel lists the student's past answers for the units.
class FrmFrush : public QWidget {
    Q_OBJECT
public:
    // `timers` drives the card timers; the real user-interface timers when null.
    explicit FrmFrush(AppState& state, TimerFactory* timers = nullptr, QWidget* parent = nullptr);
    ~FrmFrush() override;

    // Opening: panels placed, heading read, voice created, word list loaded.
    void Form_Load();

    // Main panel and the card controls.
    QWidget* Picture3 = nullptr;
    QFrame* Picture7 = nullptr;     // selection panel
    QListWidget* List4 = nullptr;   // units
    QListWidget* List1 = nullptr;   // word rows
    QListWidget* List2 = nullptr;   // the deck, in the selection panel's place
    QFrame* Picture1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};  // 1..3
    QFrame* Picture2 = nullptr;
    std::array<QRadioButton*, 4> Option2{};  // 0..3
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* Command6 = nullptr;   // "スタート"
    QPushButton* Command7 = nullptr;   // "この語句覚えた"
    QPushButton* Command5 = nullptr;   // "番号変更"
    QPushButton* Command3 = nullptr;   // "練習終わり"
    QPushButton* Command10 = nullptr;  // "印刷へ"
    QPushButton* Command16 = nullptr;  // "今までのデータ"

    // Print panel.
    QFrame* Picture4 = nullptr;
    QLineEdit* Text4 = nullptr;        // heading
    QPushButton* Command18 = nullptr;  // "記録"
    QLineEdit* Text2 = nullptr;        // copies
    QCheckBox* Check1 = nullptr;       // "並べ替え"
    QLineEdit* Text3 = nullptr;        // fold adjustment
    std::array<QPushButton*, 2> Command8{};  // 1: "全部同じ"
    QPushButton* Command11 = nullptr;  // "全部ばらばら"
    QPushButton* Command13 = nullptr;  // "問題用紙も印刷"
    QPushButton* Command14 = nullptr;  // "印刷から戻る"
    QLabel* Picture5 = nullptr;        // the preview picture

    // History panel.
    QFrame* Picture6 = nullptr;
    QLabel* Label10 = nullptr;
    QCheckBox* Check2 = nullptr;       // "間違いのみ"
    QPushButton* Command17 = nullptr;  // "戻る"
    QListWidget* List3 = nullptr;

    void List4_Click();
    void List1_Click();
    void Option1_Click(int mode);
    void Option2_Click(int index);
    void Command6_Click();
    void Command7_Click();
    void Command5_Click();
    void Command3_Click();
    void Command10_Click();
    void Command14_Click();
    void Command18_Click();
    void Check1_Click();
    void Command8_Click(int index);  // 0 preview, 1 "全部同じ"
    void Command11_Click();
    void Command13_Click();
    void Text3_Change();
    void Command16_Click();
    void Command17_Click();
    void Check2_Click();

    CardCycle* cycle() const { return cycle_.get(); }
    const SheetArrays& sheet() const { return sheet_; }
    const QString& heading() const { return heading_; }
    // The preview picture as last drawn.
    const QImage& preview() const { return previewImage_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildSelection();
    void buildCards();
    void buildPrintPanel();
    void buildHistoryPanel();
    // Draws the screen as the cycle has it.
    void refresh();
    WordList readWords();
    SheetOptions sheetOptions() const;
    Random& random();
    void print(const QString& what, const std::function<void(DrawingSurface&)>& draw);
    void fillHistory();  // Command15
    void showError(const QString& message);

    AppState& state_;
    std::unique_ptr<TimerFactory> ownTimers_;
    TimerFactory* timers_;
    std::unique_ptr<SystemRandom> ownRandom_;
    std::unique_ptr<CardCycle> cycle_;
    QString heading_ = kDefaultHeading;
    SheetArrays sheet_;
    QImage previewImage_;
    QScrollArea* previewScroll_ = nullptr;
    QStringList shownDeck_;
    bool printOpen_ = false;
    bool historyOpen_ = false;
};

} // namespace vc
