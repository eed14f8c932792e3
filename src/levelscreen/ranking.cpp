#include "levelscreen/ranking.h"

#include "platform/listorder.h"
#include "startup/appstate.h"
#include "students/roster.h"

#include <algorithm>

namespace vc {
namespace {

void sortRange(std::vector<SortItem>& items, std::vector<SortItem>& aside, size_t first, size_t last)
{
    if (first >= last)
        return;
    const size_t middle = (first + last) / 2;
    sortRange(items, aside, first, middle);
    sortRange(items, aside, middle + 1, last);
    aside.assign(items.begin() + static_cast<std::ptrdiff_t>(first), items.begin() + static_cast<std::ptrdiff_t>(middle) + 1);
    size_t left = 0;
    size_t right = middle + 1;
    size_t out = first;
    while (left < aside.size() && right <= last) {
        if (aside[left].key < items[right].key)
            items[out++] = aside[left++];
        else
            items[out++] = items[right++];
    }
    while (left < aside.size())
        items[out++] = aside[left++];
}

QString rightPart(const QString& text, qsizetype n) { return text.right(n); }

QString trimTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

qint64 primaryPoints(const RankingEntry& e, RankingOrder order)
{
    return order == RankingOrder::TodayPoints ? e.todayPoints : e.totalPoints;
}

qint64 sortKey(const RankingEntry& e, RankingOrder order)
{
    switch (order) {
    case RankingOrder::BestTime:
        return e.bestTime;
    case RankingOrder::TotalPoints:
        return 1000000 - qint64(e.totalPoints) * 1000 - e.todayPoints;
    case RankingOrder::TodayPoints:
        return 1000000 - qint64(e.todayPoints) * 1000 - e.totalPoints;
    }
    return 0;
}

QString timeLine(const RankingEntry& e, int rank)
{
    const QString name = rankingNameText(e.name);
    const QString own = e.own ? kOwnMark : QStringLiteral("　");
    if (e.bestTime == kTimeOutFloor)
        return rankText(rank) + e.gradeMark + name + QStringLiteral("*失敗*") + u' ' + own;
    if (e.bestTime == kNoTime)
        return QStringLiteral("--") + e.gradeMark + name + QStringLiteral("------") + u' ' + own;
    return rankText(rank) + e.gradeMark + name + rightPart(QStringLiteral("    ") + QString::number(e.bestTime), 6) + u' ' + own;
}

QString pointsLine(const RankingEntry& e, int rank)
{
    return rankText(rank) + e.gradeMark + rankingNameText(e.name) + rightPart(QStringLiteral("    ") + QString::number(e.todayPoints), 3)
        + u'/' + rightPart(QStringLiteral("    ") + QString::number(e.totalPoints), 5);
}

} // namespace

void mergeSortKeys(std::vector<SortItem>& items)
{
    if (items.size() < 2)
        return;
    std::vector<SortItem> aside;
    aside.reserve(items.size() / 2 + 1);
    sortRange(items, aside, 0, items.size() - 1);
}

std::vector<RankedLine> rankLevel(const std::vector<RankingEntry>& entries, RankingOrder order)
{
    std::vector<SortItem> table;
    table.reserve(entries.size());
    for (size_t k = 0; k < entries.size(); ++k)
        table.push_back({sortKey(entries[k], order), static_cast<int>(k)});
    mergeSortKeys(table);
    mergeSortKeys(table);

    std::vector<RankedLine> lines;
    lines.reserve(entries.size());
    int rank = 0;
    qint64 previousKey = 0;
    qint64 previousPrimary = 0;
    for (size_t k = 0; k < table.size(); ++k) {
        const RankingEntry& e = entries[static_cast<size_t>(table[k].payload)];
        const int position = static_cast<int>(k) + 1;
        // Every entry takes part in the ranking, so students hidden by the
        // filter still count.
        if (order == RankingOrder::BestTime) {
            if (table[k].key != previousKey)
                rank = position;
            previousKey = table[k].key;
        } else {
            const qint64 primary = primaryPoints(e, order);
            if (position == 1 || primary != previousPrimary)
                rank = position;
            previousPrimary = primary;
        }
        if (!e.listed)
            continue;
        if (order == RankingOrder::TodayPoints && e.todayPoints == 0)
            continue;
        const bool hasResult = order != RankingOrder::BestTime || e.bestTime != kNoTime;
        lines.push_back({e.number, rank, order == RankingOrder::BestTime ? timeLine(e, rank) : pointsLine(e, rank), hasResult});
    }
    return lines;
}

QStringList listOrderedLines(const std::vector<RankedLine>& lines)
{
    QStringList texts;
    QStringList withoutResult;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const RankedLine& l : lines)
        (l.hasResult ? texts : withoutResult).append(l.text);
    sortListTexts(texts);
    sortListTexts(withoutResult);
    texts.append(withoutResult);
    return texts;
}

int rowAboveOwnLine(const QStringList& lines)
{
    for (qsizetype j = 0; j < lines.size(); ++j)
        if (lines[j].contains(kOwnMark))
            return static_cast<int>(j) - 1;
    return -1;
}

QString rankText(int rank) { return rightPart((rank >= 0 ? QStringLiteral(" ") : QString()) + QString::number(rank), 2); }

QString gradeMark(int gradeNumber)
{
    static const char16_t marks[] = u"①②③④⑤⑥ⅠⅡⅢ";
    if (gradeNumber >= 1 && gradeNumber <= 9)
        return QString(QChar(marks[gradeNumber - 1]));
    return QStringLiteral("　");
}

QString rankingNameText(const QString& name) { return (trimTrailingBlanks(name) + QString(6, u'　')).left(5); }

std::vector<RankingEntry> rankingRoster(const AppState& state, const QString& gradeFilter)
{
    const Roster& roster = state.roster;
    std::vector<RankingEntry> entries;
    const int count = std::clamp(roster.ListedCount, 0, kMaxStudent);
    entries.reserve(static_cast<size_t>(count));
    for (int k = 1; k <= count; ++k) {
        const qint16 number = roster.ListedNumbers[static_cast<size_t>(k)];
        if (number < 0 || number > kMaxStudent)
            continue;
        const size_t n = static_cast<size_t>(number);
        const int grade = gradeNumber(roster.SchoolYear, roster.StudentBirthYears[n]);
        RankingEntry e;
        e.number = number;
        e.name = roster.StudentNames[n];
        e.own = number == state.CurrentStudentNumber;
        e.gradeMark = e.own ? kOwnMark : gradeMark(grade);
        e.listed = passesGradeFilter(gradeFilter, grade);
        entries.push_back(std::move(e));
    }
    return entries;
}

void fillRankingFigures(const AppState& state, int level, std::vector<RankingEntry>& entries)
{
    for (RankingEntry& e : entries) {
        const LevelFigures& f = state.statistics.at(level, e.number);
        e.bestTime = state.loadedResults.bestTime(level, e.number);
        e.totalPoints = f.totalPoints;
        e.todayPoints = f.todayPoints;
    }
}

} // namespace vc
