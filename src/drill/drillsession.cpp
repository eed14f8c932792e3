#include "drillsession.h"

#include "coursetable/coursetable.h"
#include "platform/listorder.h"
#include "platform/random.h"
#include "startup/appstate.h"
#include "startup/startup.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vc {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\u3000'; }

// Integer part of count × random + 1: a question number 1..count.
int drawNumber(int count, Random& random)
{
    const int n = static_cast<int>(std::floor(count * random.next() + 1));
    return std::clamp(n, 1, std::max(count, 1));
}

} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

InputModes groupedInputModes(int level)
{
    switch (level % 3) {
    case 1:
        return {true, true};
    case 2:
        return {false, true};
    default:
        return {false, false};
    }
}

int DrillSession::countCleared() const
{
    int n = 0;
    for (int i = 1; i <= questionCount; ++i)
        if (isCleared(i))
            ++n;
    return n;
}

QString levelUnitKey(const CourseConfig& course, int level)
{
    const int unit = unitOfLevel(course, level);
    return unit >= 1 && unit < static_cast<int>(course.UnitNames.size()) ? course.UnitNames[static_cast<size_t>(unit)] : QString();
}

void loadLevelQuestions(const CourseTable& table, const CourseConfig& course, int level, DrillSession& session)
{
    const QString key = levelUnitKey(course, level);
    int k = 0;
    for (int row = 1; row <= table.rowCount() && k < kMaxQuestions; ++row) {
        if (table.cell(row, 1) != key)
            continue;
        ++k;
        session.prompts[static_cast<size_t>(k)] = trimBlanks(table.cell(row, 2));
        session.answers[static_cast<size_t>(k)] = trimBlanks(table.cell(row, 3));
    }
    session.questionCount = k;
    session.streak.fill(0);
    session.requiredStreak = 1;
    session.streakFloor = -2;
    session.clearedCount = 0;
    session.currentIndex = 0;
    session.previousIndex = 0;
    session.modes = course.GroupByThree == 1 ? groupedInputModes(level)
                                             : InputModes{course.ChoiceListFlag == 1, course.LetterTilesFlag == 1};
}

int drawQuestion(const DrillSession& session, Random& random)
{
    const bool lastOne = session.questionCount - session.countCleared() == 1;
    for (;;) {
        const int i = drawNumber(session.questionCount, random);
        if (!session.isCleared(i) && (i != session.previousIndex || lastOne))
            return i;
    }
}

std::array<QString, kTileCount> makeTiles(const DrillSession& session, Random& random)
{
    std::array<QString, kTileCount> tiles;
    for (int p = 1; p <= kTileCount; ++p) {
        QString text = session.currentAnswer;
        for (int k = 0; k < 3; ++k)
            text += session.answers[static_cast<size_t>(drawNumber(session.questionCount, random))];
        tiles[static_cast<size_t>(p - 1)] = text.mid(p - 1, 1);
    }
    for (int s = 0; s < kTileSwaps; ++s) {
        const auto a = static_cast<size_t>(std::clamp(static_cast<int>(std::floor(random.next() * kTileCount)), 0, kTileCount - 1));
        const auto b = static_cast<size_t>(std::clamp(static_cast<int>(std::floor(random.next() * kTileCount)), 0, kTileCount - 1));
        std::swap(tiles[a], tiles[b]);
    }
    return tiles;
}

QStringList makeChoices(const DrillSession& session, Random& random)
{
    QStringList choices{session.currentAnswer};
    const int others = session.questionCount >= kMaxOtherChoices + 1 ? kMaxOtherChoices : session.questionCount - 1;
    std::vector<int> taken{session.currentIndex};
    for (int n = 0; n < others; ++n) {
        int i = 0;
        do
            i = drawNumber(session.questionCount, random);
        while (std::find(taken.begin(), taken.end(), i) != taken.end());
        taken.push_back(i);
        choices << session.answers[static_cast<size_t>(i)];
    }
    sortListTexts(choices);
    return choices;
}

QuestionHints hintsFor(int stillNeeded)
{
    return {stillNeeded >= 3, stillNeeded >= 2, stillNeeded >= 3};
}

bool isCorrectAnswer(const QString& typed, const QString& expected)
{
    return trimBlanks(typed) == expected;
}

QString correctFeedback(int stillNeededAfter)
{
    if (stillNeededAfter == 1)
        return QStringLiteral("GOOD!!\r\nこの問題はあと１回でクリア！！\r\nがんばれ!!");
    if (stillNeededAfter > 1)
        return QStringLiteral("GOOD!!\r\nこの問題はあと%1回連続正解でクリアとなります。").arg(stillNeededAfter);
    return QStringLiteral("！！！この問題クリア！！！");
}

QString wrongFeedback(int stillNeeded)
{
    return QStringLiteral("残念！！\r\nこの問題はあと%1回連続正解でクリアとなります。\r\nがんばれ!!").arg(stillNeeded);
}

void lowerStreakAfterWrong(DrillSession& session)
{
    int& s = session.streak[static_cast<size_t>(session.currentIndex)];
    s = std::max(s - 1, session.streakFloor);
}

void punishEnterDuringJudgement(DrillSession& session)
{
    --session.streakFloor;
    --session.streak[static_cast<size_t>(session.currentIndex)];
}

QString giveUpCaption(int giveUpsToday)
{
    return giveUpAllowed(giveUpsToday) ? QStringLiteral("ギブアップ（後%1回）").arg(kGiveUpsPerDay - giveUpsToday)
                                       : QStringLiteral("ギブアップ");
}

bool giveUpAllowed(int giveUpsToday) { return giveUpsToday < kGiveUpsPerDay; }

QString giveUpRefusedMessage(int giveUpsToday)
{
    return QStringLiteral("本日%1回ギブアップしたので、もうギブアップできません").arg(giveUpsToday);
}

QString giveUpGrantedMessage(int giveUpsToday)
{
    return QStringLiteral("ギブアップできるのはあと%1回です").arg(kGiveUpsPerDay - giveUpsToday - 1);
}

QString wrongChoiceMessage() { return QStringLiteral("残念！！10秒追加。ワンモアチャンス"); }

bool isPracticeLevel(const QString& levelName) { return levelName.contains(u'練'); }

QString lockWaitLine(int secondsWaited)
{
    return QStringLiteral("他のコンピューターが成績を書き込み中です。お待ちください（%1秒）").arg(secondsWaited);
}

} // namespace vc
