#include "roster.h"

#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/clock.h"
#include "startup/appstate.h"

#include <cmath>

namespace vc {

namespace {

constexpr int kValuesPerRecord = 8;

class RecordReader {
public:
    RecordReader(FieldListReader& in, int record) : in_(in), record_(record), line_(in.line()) {}

    FieldValue value(const QString& what)
    {
        ++taken_;
        if (in_.atEnd())
            fail(QStringLiteral("値が %1 つそろっていません（%2 つ目の%3がありません）。")
                     .arg(kValuesPerRecord)
                     .arg(taken_)
                     .arg(what));
        return in_.next();
    }

    qint16 number(const QString& what)
    {
        const FieldValue v = value(what);
        double d = 0;
        if (v.kind == FieldValue::Kind::Hash || !parseNumber(v.text, &d) || !std::isfinite(d))
            fail(QStringLiteral("%1「%2」は数値ではありません。").arg(what, v.text));
        const double n = std::nearbyint(d);
        if (n < -32768 || n > 32767)
            fail(QStringLiteral("%1 %2 が範囲外です（-32768～32767）。").arg(what).arg(v.text));
        return static_cast<qint16>(n);
    }

    [[noreturn]] void fail(const QString& problem) const
    {
        throw DataError(fileMessage(in_.path(), QStringLiteral("の %1 件目の記録（%2 行目）: %3").arg(record_).arg(line_).arg(problem)));
    }

    int line() const { return line_; }

private:
    FieldListReader& in_;
    int record_;
    int line_;
    int taken_ = 0;
};

} // namespace

QString rosterPath(const DataPaths& paths)
{
    return paths.DataFolder + QStringLiteral("新名簿.txt");
}

std::vector<RosterRecord> readRoster(const QString& path)
{
    FieldListReader in = FieldListReader::fromFile(path);
    std::vector<RosterRecord> records;
    int k = 0;
    while (!in.atEnd()) {
        RecordReader r(in, ++k);
        RosterRecord rec;
        rec.line = r.line();
        rec.StudentNumber = r.number(QStringLiteral("生徒番号"));
        if (rec.StudentNumber < 0 || rec.StudentNumber > kMaxStudent)
            r.fail(QStringLiteral("生徒番号 %1 が 0～%2 の範囲外です。").arg(rec.StudentNumber).arg(kMaxStudent));
        rec.BirthYear = r.number(QStringLiteral("生まれ年"));
        r.number(QStringLiteral("3 つ目の数値"));
        r.number(QStringLiteral("4 つ目の数値"));
        rec.name = nameField(r.value(QStringLiteral("名前")).text);
        rec.StudentStatus = r.number(QStringLiteral("在籍区分"));
        r.value(QStringLiteral("7 つ目の値"));
        r.value(QStringLiteral("8 つ目の値"));
        records.push_back(rec);
    }
    return records;
}

QString nameField(const QString& name)
{
    return name.left(kRosterNameWidth).leftJustified(kRosterNameWidth, u' ');
}

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

int schoolYearOf(const QDate& today, int schoolYearStartMonth)
{
    return today.month() < schoolYearStartMonth ? today.year() - 1 : today.year();
}

int gradeNumber(int schoolYear, int birthYear)
{
    return schoolYear - birthYear - 6;
}

QString shortClassLabel(int grade)
{
    if (grade < -2)
        return QStringLiteral("幼-");
    if (grade <= 0)
        return QStringLiteral("幼") + QString::number(grade + 3);
    if (grade <= 6)
        return QStringLiteral("小") + QString::number(grade);
    if (grade <= 9)
        return QStringLiteral("中") + QString::number(grade - 6);
    if (grade <= 12)
        return QStringLiteral("高") + QString::number(grade - 9);
    return QStringLiteral("大+");
}

QString storedClassLabel(int grade)
{
    static const QString digits = QStringLiteral("０１２３４５６７８９");
    if (grade == 0)
        return QStringLiteral("幼３");
    if (grade >= 1 && grade <= 6)
        return QStringLiteral("小") + digits.at(grade);
    if (grade >= 7 && grade <= 9)
        return QStringLiteral("中") + digits.at(grade - 6);
    if (grade == 10)
        return QStringLiteral("高１");
    return QString();
}

int gradeValue(int grade)
{
    if (grade >= 1 && grade <= 6)
        return grade;
    if (grade <= 9)
        return grade - 6;
    return grade - 9;
}

const QStringList& gradeFilters()
{
    static const QStringList filters = {
        QStringLiteral("全学年"), QStringLiteral("中学生全体"), QStringLiteral("小学生全体"),
        QStringLiteral("中３"),   QStringLiteral("中２"),       QStringLiteral("中１"),
        QStringLiteral("小６"),   QStringLiteral("小５"),       QStringLiteral("小４"),
        QStringLiteral("小３"),   QStringLiteral("小２"),       QStringLiteral("小１"),
    };
    return filters;
}

bool passesGradeFilter(const QString& filter, int grade)
{
    if (filter == QStringLiteral("全学年"))
        return true;
    if (filter == QStringLiteral("小学生全体"))
        return grade >= 1 && grade <= 6;
    if (filter == QStringLiteral("中学生全体"))
        return grade >= 7 && grade <= 9;
    for (int g = 1; g <= 9; ++g)
        if (filter == storedClassLabel(g))
            return grade == g;
    return false;
}

namespace {

QDate today(const AppState& state)
{
    return state.services.clock ? state.services.clock->today() : QDate::currentDate();
}

// Name, birth year and, where the grade has one, the stored class label.
void storeStudent(Roster& roster, const RosterRecord& rec, int grade)
{
    const size_t n = static_cast<size_t>(rec.StudentNumber);
    roster.StudentNames[n] = trimSpaces(rec.name);
    roster.StudentBirthYears[n] = rec.BirthYear;
    const QString stored = storedClassLabel(grade);
    if (!stored.isEmpty())
        roster.StudentClasses[n] = stored;
}

} // namespace

std::vector<ListedStudent> nameSelectionPass(AppState& state)
{
    const int year = schoolYearOf(today(state), state.settings.SchoolYearStartMonth);
    const QString path = rosterPath(state.paths);
    const std::vector<RosterRecord> records = readRoster(path);

    int listed = 0;
    for (const RosterRecord& rec : records)
        if (rec.StudentStatus == 0 || (rec.StudentStatus == 2 && state.settings.ShowStatus2Students == 1))
            ++listed;
    if (listed > kMaxStudent)
        throw DataError(fileMessage(path, QStringLiteral("に在籍中の生徒が %1 人あり、上限の %2 人を超えています。").arg(listed).arg(kMaxStudent)));

    Roster& roster = state.roster;
    roster.SchoolYear = year;
    std::vector<ListedStudent> students;
    students.reserve(static_cast<size_t>(listed));
    int n = 0;
    for (const RosterRecord& rec : records) {
        qint16 status = rec.StudentStatus;
        if (status == 2 && state.settings.ShowStatus2Students == 1)
            status = 0;
        const int grade = gradeNumber(year, rec.BirthYear);
        storeStudent(roster, rec, grade);
        if (status != 0)
            continue;
        ++n;
        roster.ListedNumbers[static_cast<size_t>(n)] = rec.StudentNumber;
        students.push_back({rec.StudentNumber, trimSpaces(rec.name), rec.BirthYear, shortClassLabel(grade), gradeValue(grade)});
    }
    roster.ListedCount = n;
    return students;
}

void readRosterForResults(AppState& state, QStringList& list)
{
    const int year = schoolYearOf(today(state), state.settings.SchoolYearStartMonth);
    const std::vector<RosterRecord> records = readRoster(rosterPath(state.paths));
    list.clear();
    Roster& roster = state.roster;
    for (const RosterRecord& rec : records) {
        storeStudent(roster, rec, gradeNumber(year, rec.BirthYear));
        if (rec.StudentStatus != 0)
            continue;
        const size_t n = static_cast<size_t>(rec.StudentNumber);
        list.append(roster.StudentClasses[n] + QStringLiteral(" /  ") + roster.StudentNames[n] + u'/' + QString::number(rec.StudentNumber));
    }
}

} // namespace vc
