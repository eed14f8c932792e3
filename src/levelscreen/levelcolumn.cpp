#include "levelscreen/levelcolumn.h"

#include "records/endofdrill.h"
#include "records/standards.h"
#include "students/roster.h"

#include <cmath>

namespace vc {

double columnWidthTwips(int levelCount)
{
    return levelCount >= 1 && levelCount < kFewLevels ? kColumnsAreaTwips / levelCount : kScrolledColumnTwips;
}

bool columnsScroll(int levelCount) { return levelCount >= kFewLevels; }

int scrollMaximum(int levelCount) { return columnsScroll(levelCount) ? levelCount - 3 : 0; }

int firstVisibleLevel(int scrollValue, int levelCount) { return scrollValue > levelCount ? 1 : scrollValue; }

QString runMarks(int runs)
{
    if (runs <= 0)
        return {};
    return QString(runs / 10, u'◎') + QString(runs % 10, u'○');
}

int wholeRuns(float runs) { return static_cast<int>(std::nearbyint(runs)); }

unsigned todayMarksColour(float todayRuns) { return todayRuns > 0 ? kTodayMarksColour : kColourGrey; }

unsigned periodMarksColour(qint16 judgeRuns) { return judgeRuns >= 1 ? kPeriodMarksColour : kColourGrey; }

std::optional<unsigned> levelNameColour(const QString& levelName, int groupByThree, int level)
{
    std::optional<unsigned> colour;
    if (levelName.contains(QStringLiteral("平民")))
        colour = 0xC0C0C0;
    if (levelName.contains(QStringLiteral("貴族")))
        colour = 0xFFFFC0;
    if (groupByThree == 1) {
        switch (level % 3) {
        case 1: colour = 0xC0C0C0; break;
        case 2: colour = 0xFFFFC0; break;
        default: colour = 0xFFFF00; break;
        }
    }
    return colour;
}

QString startCaption(int level) { return QStringLiteral("ｽﾀｰﾄ(&%1)").arg(level); }

namespace {

// An optional standards cell as a number; an empty cell shows as nothing.
QString optionalText(const OptionalNumber& n) { return n.text.trimmed().isEmpty() ? QString() : decimalText(n.value); }

} // namespace

QString standardsLine(const StandardsRow& row)
{
    const QString target = QStringLiteral("目標=%1秒").arg(row.targetTime);
    if (row.clearPoints == 9999)
        return target + QStringLiteral(" --------");
    return target + QStringLiteral(" %1回/%2点(×%3)").arg(row.clearCount).arg(row.clearPoints).arg(decimalText(row.pointMultiplier));
}

QString periodLine(const StandardsRow& row, const LevelFigures& figures)
{
    return QStringLiteral("最近%1日=%2回 / %3点").arg(optionalText(row.judgePeriod)).arg(figures.judgeRuns).arg(figures.judgePoints);
}

QString todayLine(const LevelFigures& figures)
{
    if (figures.todayRuns == 0)
        return QStringLiteral("-----");
    return QStringLiteral("%1回/%2点").arg(decimalText(figures.todayRuns)).arg(figures.todayPoints);
}

QString totalsLine(const LevelFigures& figures)
{
    if (figures.validRuns == 0)
        return QStringLiteral("------");
    return QStringLiteral("%1回/%2点").arg(figures.validRuns).arg(figures.totalPoints);
}

QString overviewLine(int level, const QString& levelName, const QString& todayMarks, const QString& periodMarks)
{
    const QString number = (QStringLiteral("    　") + QString::number(level)).right(6);
    const QString name = (levelName + QString(10, u' ')).left(10);
    const QString marks = (todayMarks + QString(20, u'　')).left(20);
    return number + QStringLiteral("  ") + name + QStringLiteral("  ") + marks + u'/' + periodMarks;
}

bool isTeacher(const QString& studentName) { return trimSpaces(studentName) == QStringLiteral("先生"); }

bool showsReportPrint(const QString& studentName) { return studentName.contains(QStringLiteral("先生")); }

QString minutesSinceLoginText(int minutes) { return QStringLiteral("起動後%1分").arg(minutes); }

QString todayTotalText(int total) { return QStringLiteral("本日総回数＝%1回").arg(total); }

qint16 todayTotal(const Statistics& statistics, int student)
{
    float sum = 0;
    for (int level = 1; level < kLevelRows; ++level)
        sum += statistics.at(level, student).todayRuns;
    return static_cast<qint16>(std::nearbyint(sum));
}

int titlePointSize(const QString& softwareName) { return softwareName.size() > 9 ? 20 : 24; }

bool firstVisitHintDue(int firstVisitFlag, int practicePanelFlag, int todayTotal)
{
    return firstVisitFlag == 1 && practicePanelFlag == 1 && todayTotal == 0;
}

} // namespace vc
