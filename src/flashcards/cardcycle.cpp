#include "flashcards/cardcycle.h"

#include "coursetable/coursetable.h"
#include "platform/speech.h"
#include "platform/timer.h"

#include <algorithm>
#include <cmath>

namespace vc {

const WordCard& WordList::card(int number) const
{
    static const WordCard none;
    return number >= 1 && number < static_cast<int>(cards.size()) ? cards[static_cast<size_t>(number)] : none;
}

WordList wordListFromTable(const CourseTable& table)
{
    WordList words;
    const int rows = std::clamp(table.rowCount(), 0, CourseTable::kMaxRows);
    words.cards.resize(static_cast<size_t>(rows) + 1);
    for (int i = 1; i <= rows; ++i)
        words.cards[static_cast<size_t>(i)] = {table.cell(i, 1).trimmed(), table.cell(i, 2).trimmed(), table.cell(i, 3).trimmed()};
    return words;
}

QStringList unitRows(const WordList& words)
{
    QStringList units;
    for (int i = 1; i <= words.count(); ++i)
        if (i == 1 || words.card(i).unit != words.card(i - 1).unit)
            units.append(words.card(i).unit);
    return units;
}

namespace {

QString rightAligned3(const QString& text)
{
    const QString padded = QStringLiteral("   ") + text;
    return padded.right(3);
}

} // namespace

QString wordRowText(const WordCard& card, int number)
{
    return rightAligned3(card.unit) + card.english + QString(22, u' ') + rightAligned3(QString::number(number));
}

QString deckEntryOfRow(const QString& row) { return row.right(3); }

int cardNumberOfEntry(const QString& entry)
{
    bool ok = false;
    const int n = entry.trimmed().toInt(&ok);
    return ok ? n : 0;
}

int cardInterval(double ms)
{
    if (!(ms > 0))
        return 0;
    return static_cast<int>(std::min<double>(std::lround(ms), kMaxCardInterval));
}

const std::array<SpeedPreset, 4>& speedPresets()
{
    static const std::array<SpeedPreset, 4> presets{{{5, 0.9, -6}, {3, 0.8, -4}, {1.5, 0.4, 0}, {0.8, 0.2, 4}}};
    return presets;
}

CardCycle::CardCycle(VoiceFactory* voices, TimerFactory& timers)
{
    timer1_ = timers.create([this] { Timer1_Timer(); });
    timer2_ = timers.create([this] { Timer2_Timer(); });
    timer3_ = timers.create([this] { Timer3_Timer(); });
    if (voices)
        voice_ = voices->createVoice();
    // The opening values: "速い" is shown chosen, but these stay in force
    // until a speed is clicked.
    mode_ = 2;
    S_ = 1;
    C_ = 1;
    S_ = 0.8;
    if (voice_)
        voice_->setRate(-4);
    applyTimerIntervals();
}

CardCycle::~CardCycle()
{
    timer1_->stop();
    timer2_->stop();
    timer3_->stop();
    voice_.reset();
}

void CardCycle::notify()
{
    if (changed_)
        changed_();
}

void CardCycle::speak(const QString& text)
{
    if (voice_)
        voice_->speak(text);
}

void CardCycle::focusCommand7()
{
    if (screen_.Command7Visible && focus_)
        focus_();
}

void CardCycle::loadWordList(const WordList& words)
{
    words_ = words;
    units_ = unitRows(words_);
    selectedUnits_.clear();
    rows_.clear();
    rowCards_.clear();
    for (int i = 1; i <= words_.count(); ++i) {
        rows_.append(wordRowText(words_.card(i), i));
        rowCards_.push_back(i);
    }
    selected_.assign(rows_.size(), false);
    deck_.clear();
    if (voice_) {
        voice_->setRate(0);
        voice_->waitUntilDone();
    }
}

void CardCycle::chooseUnits(const WordList& words, const std::vector<int>& selectedUnitRows)
{
    words_ = words;
    selectedUnits_ = selectedUnitRows;
    QStringList chosen;
    for (int row : selectedUnitRows)
        if (row >= 0 && row < units_.size())
            chosen.append(units_.at(row));
    rows_.clear();
    rowCards_.clear();
    for (int i = 1; i <= words_.count(); ++i) {
        if (chosen.contains(words_.card(i).unit)) {
            rows_.append(wordRowText(words_.card(i), i));
            rowCards_.push_back(i);
        }
    }
    selected_.assign(rows_.size(), true);
    // Selecting every row answers only the last selection: one rebuild. With
    // no unit chosen the deck empties too, rather than keep words no longer listed.
    rebuildDeck();
}

void CardCycle::chooseWords(const std::vector<int>& selectedRows)
{
    selected_.assign(rows_.size(), false);
    for (int row : selectedRows)
        if (row >= 0 && row < static_cast<int>(selected_.size()))
            selected_[static_cast<size_t>(row)] = true;
    rebuildDeck();
}

void CardCycle::rebuildDeck()
{
    screen_.Command6Visible = true;
    deck_.clear();
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (selected_[static_cast<size_t>(i)])
            deck_.append(deckEntryOfRow(rows_.at(i)));
    screen_.Label5 = (deck_.isEmpty() ? QString() : deck_.first()) + u'～' + (deck_.isEmpty() ? QString() : deck_.last());
}

std::vector<WordCard> CardCycle::deckCards() const
{
    std::vector<WordCard> cards;
    cards.reserve(static_cast<size_t>(deck_.size()));
    for (const QString& entry : deck_)
        cards.push_back(words_.card(cardNumberOfEntry(entry)));
    return cards;
}

const WordCard& CardCycle::currentCard() const { return words_.card(cardNumberOfEntry(current_)); }

void CardCycle::applyTimerIntervals()
{
    switch (mode_) {
    case 1:
        timer2_->setInterval(cardInterval(100 * S_));
        timer3_->setInterval(cardInterval(1000 * S_));
        timer1_->setInterval(cardInterval(1500 * S_));
        break;
    case 2:
        timer2_->setInterval(cardInterval(1500 * S_));
        timer3_->setInterval(cardInterval(500 * S_));
        timer1_->setInterval(cardInterval(1500 * S_));
        break;
    default:
        // Mode 3 has no second step. A second step already counting down
        // (the mode changed in the middle of a card) still ends its card.
        timer2_->setInterval(cardInterval(3000 * S_));
        timer1_->setInterval(cardInterval(1500 * S_));
        break;
    }
}

void CardCycle::Option1_Click(int mode)
{
    if (mode < 1 || mode > 3)
        return;
    mode_ = mode;
    applyTimerIntervals();
    notify();
}

void CardCycle::Option2_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    screen_.Command7Visible = true;
    screen_.Label8Visible = true;
    const SpeedPreset& p = speedPresets()[static_cast<size_t>(index)];
    C_ = p.C;
    S_ = p.S;
    if (voice_)
        voice_->setRate(p.rate);
    speedChoice_ = index;
    if (index == kFastestSpeed) {
        screen_.Command7Visible = false;
        screen_.Label8Visible = false;
    }
    applyTimerIntervals();
    notify();
}

void CardCycle::Command6_Click()
{
    if (deck_.isEmpty())
        return;
    if (speedChoice_ != kFastestSpeed) {
        screen_.Command7Visible = true;
        screen_.Label8Visible = true;
    }
    screen_.Command6Visible = false;
    screen_.Picture7Visible = false;
    screen_.Command10Visible = false;
    screen_.Label6Visible = false;
    screen_.Label4Visible = false;
    screen_.Command5Visible = true;
    showNextCard();
}

void CardCycle::showNextCard()
{
    screen_.Label1.clear();
    screen_.Label2.clear();
    if (deck_.isEmpty()) {
        notify();
        return;
    }
    ++position_;
    // A deck made smaller meanwhile starts again at its first card too.
    if (position_ > deck_.size() || position_ < 1)
        position_ = 1;
    current_ = deck_.at(position_ - 1);
    ++cardsShown_;
    screen_.Label3 = current_;
    const WordCard& card = currentCard();
    switch (mode_) {
    case 1:
        screen_.Label1 = card.english;
        break;
    case 2:
        screen_.Label1 = card.japanese;
        timer2_->setInterval(cardInterval(C_ * 100 * card.english.size()));
        break;
    default:
        speak(card.english);
        timer2_->setInterval(cardInterval(C_ * 100 * card.english.size()));
        break;
    }
    timer2_->start();
    screen_.Command5Enabled = true;
    screen_.Command7Enabled = true;
    notify();
    focusCommand7();
}

void CardCycle::Timer2_Timer()
{
    timer2_->stop();
    const WordCard& card = currentCard();
    switch (mode_) {
    case 1:
        speak(card.english);
        timer3_->setInterval(cardInterval(C_ * 100 * card.english.size()));
        timer3_->start();
        break;
    case 2:
        screen_.Label2 = card.english;
        timer3_->start();
        break;
    default:
        screen_.Label1 = card.english;
        screen_.Label2 = card.japanese;
        timer1_->start();
        break;
    }
    notify();
}

void CardCycle::Timer3_Timer()
{
    timer3_->stop();
    const WordCard& card = currentCard();
    if (mode_ == 1) {
        screen_.Label2 = card.japanese;
        timer1_->setInterval(cardInterval(C_ * 100 * card.japanese.size()));
    } else if (mode_ == 2) {
        speak(card.english);
        timer1_->setInterval(cardInterval(card.english.size() > 5 ? C_ * 100 * card.english.size() : C_ * 500));
    }
    notify();
    focusCommand7();
    timer1_->start();
}

void CardCycle::Timer1_Timer()
{
    timer1_->stop();
    showNextCard();
}

void CardCycle::Command7_Click()
{
    const QStringList walk = deck_;
    for (const QString& entry : walk) {
        if (entry == current_) {
            deck_.removeOne(entry);
            position_ = std::max(0, position_ - 1);
        }
    }
    if (deck_.isEmpty()) {
        Command5_Click();
        return;
    }
    notify();
}

void CardCycle::Command5_Click()
{
    screen_.Command7Visible = false;
    screen_.Label8Visible = false;
    timer1_->stop();
    timer2_->stop();
    timer3_->stop();
    screen_.Command5Visible = false;
    screen_.Picture7Visible = true;
    screen_.Command10Visible = true;
    screen_.Label6Visible = true;
    screen_.Command6Visible = true;
    rebuildDeck();
    notify();
}

} // namespace vc
