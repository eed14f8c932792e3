#include "levelscreen/report.h"

#include "levelscreen/runlists.h"
#include "platform/clock.h"
#include "printing/surface.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "startup/appstate.h"
#include "students/roster.h"

#include <algorithm>
#include <cmath>

namespace vc {
namespace {

QString rightOf(const QString& pad, const QString& text, qsizetype n) { return (pad + text).right(n); }
const QString kSixBlanks = QStringLiteral("      ");

bool readsAsNumber(const QString& text, double* value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && value)
        *value = v;
    return ok;
}

// A rank text without its blanks, in the rank format: a number as a whole
// number (0 as nothing), anything else ("---") as it is.
QString rankFigure(const QString& rankText)
{
    const QString bare = QString(rankText).remove(u' ');
    double v = 0;
    return readsAsNumber(bare, &v) ? reportNumber(v) : bare;
}

QString timeText(qint32 seconds) { return QString::number(seconds) + u'秒'; }

} // namespace

QString reportRankText(int rank) { return rightOf(QStringLiteral("   "), QString::number(rank), 3); }

ReportRanks reportRanks(const std::vector<RankingEntry>& entries, qint16 student, RankingOrder pointsOrder)
{
    ReportRanks ranks;
    for (const RankedLine& line : rankLevel(entries, RankingOrder::BestTime)) {
        if (line.student == student) {
            // A student without a result has no rank: the line begins with dashes.
            ranks.timeRankText = line.text.startsWith(QStringLiteral("--")) ? QStringLiteral("---") : reportRankText(line.rank);
            break;
        }
    }
    bool found = false;
    for (const RankedLine& line : rankLevel(entries, pointsOrder)) {
        double points = 0;
        if (readsAsNumber(line.text.right(5), &points) && points > 0) {
            ++ranks.schoolPointsCount;
            ranks.schoolPointsSum += static_cast<qint64>(points);
        }
        if (!found && line.student == student) {
            found = true;
            ranks.pointsRankText = reportRankText(line.rank);
            ranks.ownPoints = static_cast<qint64>(points);
        }
    }
    return ranks;
}

ReportLevelRuns reportLevelRuns(const std::vector<ResultRecord>& records, const ReportScope& scope)
{
    ReportLevelRuns runs;
    const double since = scope.today - scope.periodDays;
    auto inScope = [&](const ResultRecord& r) { return r.runDate > since && r.level <= scope.levelCount; };

    // First pass: the student's runs under the limit. Both passes cover the
    // same records, so the run index of the graph never passes the count.
    for (const ResultRecord& r : records) {
        if (!inScope(r) || r.level != scope.level || r.studentNumber != scope.student || r.seconds >= kReportTimeLimit)
            continue;
        ++runs.count;
        runs.timeSum += r.seconds;
        runs.longest = std::max(runs.longest, r.seconds);
    }

    // Second pass: the school's figures and the runs to plot.
    int index = 0;
    const bool plot = scope.gradePasses && runs.count != 0;
    for (const ResultRecord& r : records) {
        if (!inScope(r))
            continue;
        runs.newestDate = r.runDate;
        if (r.level != scope.level)
            continue;
        if (r.seconds < kReportTimeLimit) {
            ++runs.schoolCount;
            runs.schoolTimeSum += r.seconds;
        }
        runs.schoolBest = std::min(runs.schoolBest, r.seconds);
        if (r.studentNumber != scope.student)
            continue;
        if (r.seconds < kReportTimeLimit)
            ++index;
        if (plot)
            runs.plotted.push_back({index, r.seconds, r.runDate});
    }
    return runs;
}

int reportTimeScale(qint32 longest) { return std::min(1000, 10 * (longest / 10 + 1)); }

QString reportNumber(double value)
{
    const double rounded = std::round(value);
    return rounded == 0 ? QString() : QString::number(static_cast<qint64>(rounded));
}

std::vector<QString> reportFigureLines(const ReportLevelRuns& runs, const ReportRanks& ranks, const QString& lastBestTimeText)
{
    std::vector<QString> lines;
    lines.push_back(QStringLiteral("回数　　　　　　　") + rightOf(kSixBlanks, reportNumber(runs.count), 3) + u'回');
    lines.push_back(QStringLiteral("タイム  　　 　    本人 / 塾全体"));
    lines.push_back(QStringLiteral("　　順位　　　　") + rightOf(QStringLiteral("     "), rankFigure(ranks.timeRankText), 5) + u'位');
    lines.push_back(QStringLiteral("　　最高　　　　") + rightOf(kSixBlanks, lastBestTimeText, 6) + QStringLiteral(" /")
                    + rightOf(kSixBlanks, reportNumber(runs.schoolBest), 5) + u'秒');
    if (runs.count != 0) {
        // The student's average is cut to whole seconds, the school's rounded.
        const QString own = reportNumber(static_cast<double>(runs.timeSum / runs.count));
        const QString school = runs.schoolCount != 0 ? reportNumber(static_cast<double>(runs.schoolTimeSum) / runs.schoolCount) : QString();
        lines.push_back(QStringLiteral("　　平均　　　　") + rightOf(kSixBlanks, own, 5) + u'秒' + QStringLiteral(" /")
                        + rightOf(kSixBlanks, school, 5) + u'秒');
    } else {
        lines.push_back(QString());
    }
    lines.push_back(QStringLiteral("ポイント  　　　"));
    lines.push_back(QStringLiteral("　　順位　　　　") + rightOf(kSixBlanks, rankFigure(ranks.pointsRankText), 5) + u'位');
    lines.push_back(QStringLiteral("　　獲得ポイント") + rightOf(kSixBlanks, reportNumber(static_cast<double>(ranks.ownPoints)), 5) + u'点');
    if (ranks.schoolPointsCount != 0)
        lines.push_back(QStringLiteral("　　　　　　　　　　　　/")
                        + rightOf(kSixBlanks, reportNumber(static_cast<double>(ranks.schoolPointsSum) / ranks.schoolPointsCount), 5) + u'点');
    else
        lines.push_back(QString());
    lines.push_back(QStringLiteral("　　　　　　　　　　　　 (塾平均)"));
    return lines;
}

namespace {

struct BestPoint {
    double px = 0, py = 0;
    qint32 seconds = 0;
    double runDate = 0;
};

void printAt(DrawingSurface& surface, double x, double y, const QString& text)
{
    surface.setCurrentPosition(x, y);
    surface.printText(text);
}

class ReportDrawer {
public:
    ReportDrawer(const AppState& state, const ReportRequest& request, const std::vector<ResultRecord>& records, DrawingSurface& surface)
        : state_(state), request_(request), surface_(surface), W_(surface.innerWidth()), H_(surface.innerHeight()), w_(W_ / 2), h_(H_ / 3),
          base_(request.baseFontSize), records_(records)
    {
    }

    void draw()
    {
        if (request_.toPaper) {
            surface_.setLineWidth(30);
            surface_.setPaperSize(kPaperA4);
            surface_.setOrientation(kOrientationPortrait);
            surface_.setFontSize(6);
            surface_.setFontName(request_.fontName);
        } else {
            surface_.setFontName(request_.fontName);
            surface_.setLineWidth(5);
            surface_.setFontSize(base_);
            surface_.clear();
        }
        roster_ = rankingRoster(state_, request_.gradeFilter);
        const int n = std::clamp<int>(state_.course.LevelCount, 0, kMaxLevel);
        const Roster& r = state_.roster;
        const bool studentSlot = request_.student >= 1 && request_.student <= kMaxStudent;
        const size_t s = studentSlot ? static_cast<size_t>(request_.student) : 0;
        name_ = studentSlot ? trimSpaces(r.StudentNames[s]) : QString();
        gradePasses_ = passesGradeFilter(request_.gradeFilter, gradeNumber(r.SchoolYear, studentSlot ? r.StudentBirthYears[s] : 0));
        today_ = dayNumber(state_.services.clock ? state_.services.clock->today() : QDate::currentDate());

        double y = 0.05 * H_ - 0.3 * H_;
        for (int level : request_.levels) {
            if (level < 1 || level > n)
                continue;
            y += 0.3 * H_;
            if (y > 0.9 * H_) {
                if (request_.toPaper)
                    surface_.newPage();
                else
                    surface_.clear();
                y = 0.05 * H_;
            }
            fillRankingFigures(state_, level, roster_);
            drawBlock(level, y, reportRanks(roster_, request_.student, request_.pointsOrder));
        }
    }

private:
    void drawBlock(int level, double y, const ReportRanks& ranks)
    {
        DrawingSurface& d = surface_;
        const double w = w_, h = h_;
        if (y < 0.08 * H_) {
            d.setFontSize(3 * base_);
            printAt(d, 0.01 * w, 0.02 * h, name_);
        }
        const int previousWidth = d.lineWidth();
        d.setLineWidth(2);
        d.drawLine(0, y, W_, y);
        d.drawLine(0, y + 0.09 * h, W_, y + 0.09 * h);
        d.setLineWidth(previousWidth);

        d.setFontSize((request_.toPaper ? 3 : 2) * base_);
        printAt(d, 0.7 * w, y + 0.01 * h, state_.LevelNames[static_cast<size_t>(level)] + u' ' + state_.course.SoftwareName);
        d.setFontSize(base_);

        const ReportScope scope{request_.student, level, std::clamp<int>(state_.course.LevelCount, 0, kMaxLevel), today_,
                                request_.periodDays, gradePasses_};
        const ReportLevelRuns runs = reportLevelRuns(records_, scope);
        const int scale = reportTimeScale(runs.longest);

        d.drawLine(0.2 * w, y + 0.8 * h, 0.9 * w, y + 0.8 * h);
        d.drawLine(0.2 * w, y + 0.8 * h, 0.2 * w, y + 0.1 * h);

        std::vector<BestPoint> bests;
        double lastBestPy = -99999;
        double lastPx = 0;
        for (const PlottedRun& run : runs.plotted) {
            const double px = w * (0.7 * run.index / runs.count + 0.2);
            const double py = h * (0.8 - 0.7 * run.seconds / scale);
            lastPx = px;
            if (py > lastBestPy) {
                lastBestPy = py;
                bests.push_back({px, py, run.seconds, run.runDate});
                d.drawPoint(px, y + py, kRed);
            } else {
                d.drawPoint(px, y + py, kBlue);
            }
        }

        d.setFontSize(1.5 * base_);
        const double step = (request_.toPaper ? 0.06 : 0.08) * h;
        const std::vector<QString> figures = reportFigureLines(runs, ranks, bests.empty() ? QString() : timeText(bests.back().seconds));
        double lineY = y + 0.05 * h;
        for (size_t i = 0; i < figures.size(); ++i) {
            // Each line one step below the one before; the school-average note
            // only half a step, yet never into the line above (paper's step is
            // less than two lines).
            lineY += i + 1 == figures.size() ? std::max(step / 2, d.textHeight(figures[i])) : step;
            if (!figures[i].isEmpty())
                printAt(d, 1.05 * w, lineY, figures[i]);
        }
        d.setFontSize(base_);

        if (bests.empty())
            return;
        printAt(d, lastPx - 0.025 * w, y + 0.815 * h, fullDateText(runs.newestDate));
        d.setLineWidth(3);
        for (size_t i = 1; i < bests.size(); ++i)
            d.drawLine(bests[i - 1].px, y + bests[i - 1].py, bests[i].px, y + bests[i].py);
        printAt(d, 0.12 * w, y + 0.79 * h, QStringLiteral("0秒"));
        printAt(d, 0.12 * w, y + 0.1 * h, QString::number(scale) + u'秒');

        auto dateOf = [&](size_t i) {
            const QString full = fullDateText(bests[i].runDate);
            if (i == 0 || full.left(5) != fullDateText(bests[i - 1].runDate).left(5))
                return full;
            return full.right(5);
        };
        const BestPoint& first = bests.front();
        printAt(d, 0.12 * w, y + first.py - 0.01 * h, timeText(first.seconds));
        printAt(d, first.px - 0.025 * w, y + 0.815 * h, dateOf(0));
        const size_t count = bests.size();
        if (count > 5) {
            for (size_t i = 3; i + 2 <= count; i += 3) {
                const BestPoint& b = bests[i - 1];
                printAt(d, 0.12 * w, y + b.py + 0.01 * h, timeText(b.seconds));
                printAt(d, b.px - 0.025 * w, y + b.py + 0.03 * h, dateOf(i - 1));
            }
        }
        const BestPoint& last = bests.back();
        printAt(d, last.px - 0.025 * w, y + last.py + 0.04 * h, timeText(last.seconds));
        printAt(d, last.px - 0.025 * w, y + last.py + 0.07 * h, dateOf(count - 1));
    }

    const AppState& state_;
    const ReportRequest& request_;
    DrawingSurface& surface_;
    const double W_, H_, w_, h_;
    const double base_;
    const std::vector<ResultRecord>& records_;
    std::vector<RankingEntry> roster_;
    QString name_;
    bool gradePasses_ = true;
    double today_ = 0;
};

} // namespace

ReportData readReportData(const AppState& state)
{
    return {openResultsFile(state.paths.CourseFolder).readAll()};
}

void drawReport(const AppState& state, const ReportRequest& request, const ReportData& data, DrawingSurface& surface)
{
    ReportDrawer(state, request, data.records, surface).draw();
}

void drawReport(const AppState& state, const ReportRequest& request, DrawingSurface& surface)
{
    const ReportData data = readReportData(state);
    drawReport(state, request, data, surface);
}

} // namespace vc
