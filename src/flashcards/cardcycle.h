#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace vc {

class CourseTable;
class Timer;
class TimerFactory;
class Voice;
class VoiceFactory;

// The course's words by card number: card i is row i of the course table.
struct WordCard {
    QString unit;
    QString japanese;
    QString english;
};

struct WordList {
    std::vector<WordCard> cards;  // index 0 is never used
    int count() const { return static_cast<int>(cards.size()) - 1; }
    const WordCard& card(int number) const;
};

// Cards 1..rows of the table, each cell with its blanks at both ends removed.
WordList wordListFromTable(const CourseTable& table);
// The unit list: a label is listed whenever it differs from the card before.
QStringList unitRows(const WordList& words);
// A word row: the unit label right-aligned in 3 (its last 3 characters), the
// English word, 22 blanks, the card number right-aligned in 3.
QString wordRowText(const WordCard& card, int number);
// The deck entry of a word row: its last 3 characters.
QString deckEntryOfRow(const QString& row);
int cardNumberOfEntry(const QString& entry);  // 0 when it is no card number

// Longest interval a card timer is given: a long word at the slowest speed
// would otherwise wait minutes or overflow the timer.
inline constexpr int kMaxCardInterval = 65535;
// Whole milliseconds, capped to what a card timer is given.
int cardInterval(double ms);

// The four speed presets: per-character factor C, step factor S, voice rate R.
struct SpeedPreset {
    double C;
    double S;
    int rate;
};
const std::array<SpeedPreset, 4>& speedPresets();
inline constexpr int kFastestSpeed = 3;

// What the flash-card screen shows; the screen draws it after every change.
struct FlashScreen {
    QString Label1;              // first face
    QString Label2;              // second face
    QString Label3 = QStringLiteral("---");  // current card number
    QString Label5;              // deck range "first～last"
    bool Command6Visible = false;  // "スタート"
    bool Command5Visible = false;  // "番号変更"
    bool Command5Enabled = true;
    bool Command7Visible = false;  // "この語句覚えた"
    bool Command7Enabled = true;
    bool Label8Visible = false;    // "覚えたら押しなさい。"
    bool Picture7Visible = true;   // selection panel (List2 shows when it is hidden)
    bool Command10Visible = true;  // "印刷へ"
    bool Label6Visible = true;
    bool Label4Visible = true;
};

// The flash-card cycle: the word list and its selection, the deck, the three
// card timers, the mode and speed, and the voice. Every handler runs on the
// user-interface thread; speech only queues on the voice.
class CardCycle {
public:
    // Creates the voice (when `voices` is given) and the timers, and applies
    // the opening values: mode 2, C = 1, S = 0.8, voice rate −4 until the word
    // list is loaded, which sets it to 0.
    CardCycle(VoiceFactory* voices, TimerFactory& timers);
    ~CardCycle();  // releases the voice
    CardCycle(const CardCycle&) = delete;
    CardCycle& operator=(const CardCycle&) = delete;

    const FlashScreen& screen() const { return screen_; }
    // Called after every change the timers make, so the screen can redraw.
    void setChanged(std::function<void()> f) { changed_ = std::move(f); }
    // Called when "この語句覚えた" should take the keyboard focus.
    void setFocusRequest(std::function<void()> f) { focus_ = std::move(f); }

    // Loading the word list at open: all words listed, none selected, empty deck.
    void loadWordList(const WordList& words);
    // List4_Click: word rows for the selected unit rows (indices into unitRows),
    // all selected, deck rebuilt once. `words` is the table read again.
    void chooseUnits(const WordList& words, const std::vector<int>& selectedUnitRows);
    // List1_Click: the selection of word rows by index.
    void chooseWords(const std::vector<int>& selectedRows);

    const WordList& words() const { return words_; }
    const QStringList& unitList() const { return units_; }                 // List4
    const std::vector<int>& selectedUnits() const { return selectedUnits_; }
    const QStringList& wordRows() const { return rows_; }                  // List1
    const std::vector<int>& wordRowCards() const { return rowCards_; }     // card number of each row
    const std::vector<bool>& wordSelection() const { return selected_; }
    const QStringList& deck() const { return deck_; }                      // List2
    // The cards of the deck in deck order.
    std::vector<WordCard> deckCards() const;

    int position() const { return position_; }
    int cardsShown() const { return cardsShown_; }  // cards shown since the screen opened
    QString current() const { return current_; }
    int mode() const { return mode_; }
    int speedChoice() const { return speedChoice_; }  // the option shown as chosen
    double C() const { return C_; }
    double S() const { return S_; }
    bool running() const { return !screen_.Picture7Visible; }

    void Option1_Click(int mode);   // 1..3
    void Option2_Click(int index);  // 0..3
    void Command6_Click();          // "スタート"
    void Command7_Click();          // "この語句覚えた"
    void Command5_Click();          // "番号変更"
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    Timer& timer1() { return *timer1_; }
    Timer& timer2() { return *timer2_; }
    Timer& timer3() { return *timer3_; }
    Voice* voice() const { return voice_.get(); }

private:
    void applyTimerIntervals();  // Command4
    void showNextCard();         // Command2
    void rebuildDeck();
    void speak(const QString& text);
    void focusCommand7();
    void notify();
    const WordCard& currentCard() const;

    std::unique_ptr<Voice> voice_;
    std::unique_ptr<Timer> timer1_, timer2_, timer3_;
    std::function<void()> changed_;
    std::function<void()> focus_;
    FlashScreen screen_;
    WordList words_;
    QStringList units_;
    std::vector<int> selectedUnits_;
    QStringList rows_;
    std::vector<int> rowCards_;
    std::vector<bool> selected_;
    QStringList deck_;
    int position_ = 0;
    int cardsShown_ = 0;
    QString current_;
    int mode_ = 2;
    int speedChoice_ = 2;
    double C_ = 1;
    double S_ = 0.8;
};

} // namespace vc
