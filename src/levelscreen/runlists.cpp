#include "levelscreen/runlists.h"

#include "levelscreen/ranking.h"
#include "platform/clock.h"
#include "records/resultrecord.h"
#include "records/resultsfile.h"
#include "records/standards.h"
#include "startup/appstate.h"
#include "students/roster.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace vc {
namespace {

QString twoDigits(int n) { return QString::number(n).rightJustified(2, u'0'); }

// The last `width` characters of blanks and `text`: right-aligned, cut on the left.
void appendRightAligned(QString& line, const QString& text, qsizetype width)
{
    if (text.size() >= width) {
        line += QStringView(text).right(width);
        return;
    }
    line += QString(width - text.size(), u' ');
    line += text;
}

// How many records a progress report covers: the bar is for the eye, and a
// report per record would cost more than the scan itself.
constexpr qint64 kProgressStep = 500;

// Day texts of a scan, made once per day: a list holds a few hundred days at most.
class DayTexts {
public:
    explicit DayTexts(QString (*format)(double)) : format_(format) {}
    const QString& of(double runDate)
    {
        const qint64 day = static_cast<qint64>(std::floor(runDate));
        auto found = texts_.find(day);
        if (found == texts_.end())
            found = texts_.emplace(day, format_(runDate)).first;
        return found->second;
    }

private:
    QString (*format_)(double);
    std::unordered_map<qint64, QString> texts_;
};

// Grade marks and name texts of the students a scan meets, built once each.
class StudentTexts {
public:
    StudentTexts(const Roster& roster, qint16 current, const QString& gradeFilter)
        : roster_(roster), current_(current), filter_(gradeFilter), slots_(static_cast<size_t>(kMaxStudent) + 1)
    {
    }
    struct Texts {
        bool built = false;
        bool passes = false;
        QString mark;
        QString name;
    };
    const Texts& of(qint16 number)
    {
        if (number < 0 || number > kMaxStudent) {
            // No roster entry: no name, and the grade of a student without a birth year.
            outside_ = build(number, QString(), 0);
            return outside_;
        }
        Texts& t = slots_[static_cast<size_t>(number)];
        if (!t.built) {
            // Student 0 is nobody's number: its slot holds no name either.
            const size_t n = static_cast<size_t>(number);
            t = build(number, number == 0 ? QString() : roster_.StudentNames[n], number == 0 ? 0 : roster_.StudentBirthYears[n]);
        }
        return t;
    }

private:
    Texts build(qint16 number, const QString& name, int birthYear) const
    {
        const int grade = gradeNumber(roster_.SchoolYear, birthYear);
        Texts t;
        t.built = true;
        t.passes = passesGradeFilter(filter_, grade);
        t.mark = number == current_ && number != 0 ? kOwnMark : gradeMark(grade);
        t.name = runNameText(name);
        return t;
    }

    const Roster& roster_;
    qint16 current_;
    QString filter_;
    std::vector<Texts> slots_;
    Texts outside_;
};

} // namespace

QString runListHeadline(RunList list)
{
    switch (list) {
    case RunList::Today: return QStringLiteral("本日の成績");
    case RunList::Period: return QString();
    case RunList::Personal: return QStringLiteral("個人別ﾀｲﾑ");
    }
    return {};
}

int periodDays(int period, const QDate& today)
{
    // Days since Monday plus one: 1 on a Monday, 7 on a Sunday.
    const int weekSoFar = today.dayOfWeek();
    switch (period) {
    case 1: return weekSoFar;
    case 2: return weekSoFar + 7;
    case 3: return 30;
    case 4: return 365;
    default: return 3650;
    }
}

QString runTimeText(qint32 seconds)
{
    QString text;
    appendRightAligned(text, QString::number(seconds) + u'秒', 5);
    return text;
}

int listPoints(qint32 targetTime, qint32 seconds)
{
    if (seconds >= kTimeOutFloor)
        return 0;
    if (targetTime > 0 && seconds <= targetTime) {
        const double d = QString::number(seconds).left(3).toInt();
        const double share = (targetTime - d) / targetTime;
        return static_cast<int>(std::floor(share * share * share * 50 + 5));
    }
    if (seconds < 2 * qint64(targetTime))
        return 4;
    if (seconds < 10 * qint64(targetTime))
        return 1;
    return 0;
}

QString runNameText(const QString& name) { return (trimSpaces(name) + QStringLiteral("　　　　")).left(5); }

QString hourMinuteText(double runTime)
{
    const QTime t = timeFromDayFraction(runTime);
    return twoDigits(t.hour()) + u':' + twoDigits(t.minute());
}

QString monthDayText(double runDate) { return fullDateText(runDate).right(5); }

QString fullDateText(double runDate)
{
    const QDate d = dateFromDayNumber(runDate);
    return QString::number(d.year()).rightJustified(4, u'0') + u'/' + twoDigits(d.month()) + u'/' + twoDigits(d.day());
}

QString clockTimeText(double runTime)
{
    const QTime t = timeFromDayFraction(runTime);
    return QString::number(t.hour()) + u':' + twoDigits(t.minute()) + u':' + twoDigits(t.second());
}

namespace {

// Lines are built in one buffer: the period list makes up to 20000 of them.
void appendTail(QString& line, const QString& mark, const QString& name)
{
    line += mark;
    line += name;
    line += mark;
}

QString todayLineWith(const RunLineInput& run, const QString& mark, const QString& name, const QString& timeOfDay)
{
    QString line;
    line.reserve(32);
    if (run.seconds >= kTimeOutLineFloor) {
        line += kTimeOutLead;
        line += timeOfDay;
        appendTail(line, mark, name);
        return line;
    }
    line += runTimeText(run.seconds);
    line += u' ';
    line += timeOfDay;
    appendTail(line, mark, name);
    line += QString::number(listPoints(run.targetTime, run.seconds));
    return line;
}

QString periodLineWith(const RunLineInput& run, const QString& mark, const QString& name, ViewKind viewKind, const QString& monthDay)
{
    QString line;
    line.reserve(32);
    if (run.seconds >= kTimeOutLineFloor) {
        line += kTimeOutLead;
        line += monthDay;
        appendTail(line, mark, name);
        return line;
    }
    const int points = listPoints(run.targetTime, run.seconds);
    if (viewKind == ViewKind::Points) {
        appendRightAligned(line, QString::number(points), 5);
        line += u' ';
        line += monthDay;
        appendTail(line, mark, name);
        line += QString::number(run.seconds);
        line += u'秒';
        return line;
    }
    appendRightAligned(line, QString::number(run.seconds) + u'秒', 5);
    line += u' ';
    line += monthDay;
    appendTail(line, mark, name);
    line += QString::number(points);
    return line;
}

QString personalLineWith(const RunLineInput& run, const QString& date)
{
    QString line = date + u' ';
    if (run.seconds >= kTimeOutLineFloor) {
        // Two blanks before the time, then at most ten characters: not padded further.
        line += (QStringLiteral("  ") + clockTimeText(run.runTime)).right(10);
        return line;
    }
    line += clockTimeText(run.runTime);
    line += runTimeText(run.seconds);
    return line;
}

} // namespace

QString todayLine(const RunLineInput& run) { return todayLineWith(run, run.gradeMark, run.nameText, hourMinuteText(run.runTime)); }
QString periodLine(const RunLineInput& run, ViewKind viewKind)
{
    return periodLineWith(run, run.gradeMark, run.nameText, viewKind, monthDayText(run.runDate));
}
QString personalLine(const RunLineInput& run) { return personalLineWith(run, fullDateText(run.runDate)); }

std::vector<QStringList> scanRunLists(const QString& path, const RunListContext& context, const RunListRequest& request,
                                      const ScanProgress& progress)
{
    const int levels = std::clamp(context.levelCount, 0, kMaxLevel);
    std::vector<QStringList> lines(static_cast<size_t>(levels) + 1);
    if (!context.roster || !context.standards)
        return lines;

    ResultsFile file(path);
    // Counters are 64-bit: a results file may hold any number of records.
    const qint64 n = file.recordCount();
    if (progress.range)
        progress.range(static_cast<qint64>(1.1 * static_cast<double>(n + 1)));
    const qint64 tail = request.list == RunList::Today ? kTodayTail : kPeriodTail;
    const qint64 first = n > tail ? n - tail + 1 : 1;

    const double today = dayNumber(context.today);
    const int days = request.list == RunList::Personal ? kPersonalPeriodDays : periodDays(request.period, context.today);
    const double since = today - days;
    const ViewKind viewKind = request.viewKind == ViewKind::Points ? ViewKind::Points : ViewKind::Time;

    StudentTexts students(*context.roster, context.currentStudent, request.gradeFilter);
    // The personal list stays empty while the grade selector excludes the student.
    const bool ownGradePasses = students.of(context.currentStudent).passes;
    DayTexts monthDays(&monthDayText);
    DayTexts dates(&fullDateText);

    // A window of records at a time keeps memory flat on any file size.
    constexpr qint64 kWindow = 4096;
    qint64 record = first - 1;
    for (qint64 from = first; from <= n; from += kWindow) {
        const QByteArray bytes = file.readBytes(from, std::min(kWindow, n - from + 1));
        if (bytes.isEmpty())
            break;
        for (qsizetype at = 0; at < bytes.size(); at += kResultRecordSize) {
            ++record;
            if (progress.value && record % kProgressStep == 0)
                progress.value(record);
            const ResultRecord r = decodeResultRecord(bytes.constData() + at);
            if (r.level < 1 || r.level > levels)
                continue;
            RunLineInput run;
            run.runDate = r.runDate;
            run.runTime = r.runTime;
            run.seconds = r.seconds;
            QStringList& column = lines[static_cast<size_t>(r.level)];
            switch (request.list) {
            case RunList::Today: {
                if (std::floor(r.runDate) != today)
                    continue;
                const auto& s = students.of(r.studentNumber);
                if (!s.passes)
                    continue;
                run.targetTime = context.standards->level(r.level)->targetTime;
                column.append(todayLineWith(run, s.mark, s.name, hourMinuteText(r.runTime)));
                break;
            }
            case RunList::Period: {
                if (!(r.runDate > since))
                    continue;
                const auto& s = students.of(r.studentNumber);
                if (!s.passes)
                    continue;
                run.targetTime = context.standards->level(r.level)->targetTime;
                column.append(periodLineWith(run, s.mark, s.name, viewKind, monthDays.of(r.runDate)));
                break;
            }
            case RunList::Personal:
                if (!(r.runDate > since) || r.studentNumber != context.currentStudent || !ownGradePasses)
                    continue;
                column.append(personalLineWith(run, dates.of(r.runDate)));
                break;
            }
        }
    }
    if (progress.value)
        progress.value(record);
    return lines;
}

std::vector<QStringList> runListLines(const AppState& state, const RunListRequest& request, const ScanProgress& progress)
{
    RunListContext context;
    context.roster = &state.roster;
    context.standards = &state.standards;
    context.currentStudent = state.CurrentStudentNumber;
    context.levelCount = state.course.LevelCount;
    context.today = state.services.clock ? state.services.clock->today() : QDate::currentDate();
    return scanRunLists(resultsFilePath(state.paths.CourseFolder), context, request, progress);
}

} // namespace vc
