#include "namelist.h"

#include "platform/listorder.h"
#include "records/statistics.h"
#include "startup/appstate.h"

#include <algorithm>
#include <cmath>

namespace vc {

namespace {

const QChar kIdeographicSpace(0x3000);

QString rightAligned(qint64 n, int width)
{
    return QString::number(n).rightJustified(width, u' ');
}

} // namespace

QString runsTodayText(qint64 runs)
{
    if (runs == 0)
        return QStringLiteral("     ");
    return rightAligned(runs, 3).right(3) + QStringLiteral("回");
}

QString pointsTodayText(qint64 points)
{
    if (points == 0)
        return QStringLiteral("  　");
    return rightAligned(points, 4);
}

QString runsSoFarText(qint64 runs)
{
    if (runs == 0)
        return QStringLiteral("     　");
    return rightAligned(runs, 5) + QStringLiteral("回");
}

QString pointsSoFarText(qint64 points)
{
    if (points == 0)
        return QStringLiteral("       ");
    return rightAligned(points, 7);
}

QString nameListLine(const ListedStudent& student, DisplayMode mode, const NameListFigures& f)
{
    const QString head = student.classLabel + u' ' + trimSpaces(student.name);
    const int width = student.gradeValue <= 0 && mode != DisplayMode::PointsTodayAndSoFar ? 11 : 9;
    const qsizetype pad = std::max<qsizetype>(0, width - head.size());
    QString first, second;
    switch (mode) {
    case DisplayMode::RunsTodayAndSoFar:
        first = runsTodayText(f.todayRuns);
        second = runsSoFarText(f.validRuns);
        break;
    case DisplayMode::PointsTodayAndSoFar:
        first = pointsTodayText(f.todayPoints);
        second = pointsSoFarText(f.totalPoints);
        break;
    case DisplayMode::Today:
        first = pointsTodayText(f.todayPoints);
        second = runsTodayText(f.todayRuns);
        break;
    case DisplayMode::SoFar:
        first = pointsSoFarText(f.totalPoints);
        second = runsSoFarText(f.validRuns);
        break;
    }
    return head + QString(pad, kIdeographicSpace) + first + u'/' + second;
}

QString sortKeyLine(const ListedStudent& student, const QString& line)
{
    // Four digits keep the text order the order of the years.
    const QString year = student.birthYear >= 0 ? QString::number(student.birthYear).rightJustified(4, u'0')
                                                : QString::number(student.birthYear);
    return year + line + u'*' + QString::number(student.number);
}

NameList composeNameList(const std::vector<ListedStudent>& students, const std::vector<NameListFigures>& figures,
                         DisplayMode mode, const QString& filter, int schoolYear)
{
    struct Row {
        QString key;
        QString line;
        const ListedStudent* student;
    };
    std::vector<Row> rows;
    rows.reserve(students.size());
    const NameListFigures none;
    for (const ListedStudent& s : students) {
        const size_t n = static_cast<size_t>(s.number);
        const QString line = nameListLine(s, mode, n < figures.size() ? figures[n] : none);
        rows.push_back({sortKeyLine(s, line), line, &s});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return listOrderLess(a.key, b.key); });

    NameList list;
    list.List1.append(kNameListFirstRow);
    for (const Row& r : rows) {
        list.List2.append(r.key);
        if (!passesGradeFilter(filter, gradeNumber(schoolYear, r.student->birthYear)))
            continue;
        list.List1.append(r.line);
        list.List3.append(r.line + u'*' + QString::number(r.student->number));
    }
    return list;
}

std::vector<NameListFigures> nameListFigures(AppState& state)
{
    std::vector<NameListFigures> figures(kMaxStudent + 1);
    if (!state.services.clock)
        return figures;
    computeStatistics(state.paths.CourseFolder, state.standards, *state.services.clock, state.loadedResults,
                      state.statistics);
    for (int level = 1; level <= kMaxLevel; ++level) {
        for (int student = 1; student <= kMaxStudent; ++student) {
            const LevelFigures& l = state.statistics.at(level, student);
            NameListFigures& f = figures[static_cast<size_t>(student)];
            f.todayRuns += std::llround(l.todayRuns);
            f.todayPoints += l.todayPoints;
            f.validRuns += l.validRuns;
            f.totalPoints += l.totalPoints;
        }
    }
    return figures;
}

NameList buildNameList(AppState& state, DisplayMode mode, const QString& filter)
{
    const std::vector<NameListFigures> figures = nameListFigures(state);
    const std::vector<ListedStudent> students = nameSelectionPass(state);
    return composeNameList(students, figures, mode, filter, state.roster.SchoolYear);
}

} // namespace vc
