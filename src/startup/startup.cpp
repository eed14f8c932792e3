#include "startup.h"

#include "navigator.h"
#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "records/resultsrewrite.h"

#include <QDir>

namespace vc {

unsigned seasonBackColor(int month)
{
    if (month <= 2)
        return 0x0080FF;
    if (month <= 5)
        return 0xC0FFC0;
    if (month <= 8)
        return 0xC0C000;
    if (month <= 11)
        return 0x0040C0;
    return 0xC0FFC0; // December shares the spring colour
}

void splitSchoolText(const QString& text, QString* code, QString* name)
{
    const QString head = text.left(5);
    if (leadingNumber(head) != 0) {
        *code = head;
        *name = text.mid(5);
    } else {
        code->clear();
        *name = text;
    }
}

void resolveDataAndSettings(AppState& state, const QString& programFolder)
{
    DataPaths& p = state.paths;
    p.ProgramFolder = programFolder.endsWith(u'/') ? programFolder : programFolder + u'/';

    {
        const QString pathFile = QDir::cleanPath(p.ProgramFolder + QStringLiteral("../パスデータ.txt"));
        auto in = FieldListReader::fromFile(pathFile);
        p.DataFolder = in.nextText();
        in.skip(9);
        if (p.DataFolder.isEmpty())
            in.fail(QStringLiteral("データフォルダの場所が空です。"), 1);
        // Joined to file names without a separator, so one is added when missing.
        if (!p.DataFolder.endsWith(u'/'))
            p.DataFolder += u'/';
    }
    {
        const QString common = p.DataFolder + QStringLiteral("共通データ.txt");
        auto in = FieldListReader::fromFile(common);
        const int monthLine = in.line();
        CommonSettings& s = state.settings;
        s.SchoolYearStartMonth = in.nextInt();
        if (s.SchoolYearStartMonth < 1 || s.SchoolYearStartMonth > 12)
            in.fail(QStringLiteral("学年の始まりの月 %1 は 1～12 ではありません。").arg(s.SchoolYearStartMonth), monthLine);
        const QString schoolText = in.nextText();
        s.ShowStatus2Students = in.nextInt();
        in.nextNumber();
        in.skip(6);
        splitSchoolText(schoolText, &s.SchoolCode, &s.SchoolName);
    }
    QString folder = p.ProgramFolder;
    folder.chop(1);
    p.ProgramFolderName = folder.mid(folder.lastIndexOf(u'/') + 1);
    p.CourseFolder = p.DataFolder + p.ProgramFolderName + u'/';
    p.SoundFolder = p.DataFolder + QStringLiteral("音フォルダ/");

    loadCourseConfiguration(state);
    loadStandardsStep(state);
    loadSoundStep(state);
    recoverResultsFileAtStartUp(resultsFilePath(p.CourseFolder));
    pendingResultsStep(state);
    shareCheckStep(state);
}

int unitOfLevel(const CourseConfig& course, int level)
{
    return course.GroupByThree == 1 ? (level - 1) / 3 + 1 : level;
}

void loadCourseConfiguration(AppState& state)
{
    CourseConfig& c = state.course;
    const DataPaths& p = state.paths;

    c.SoftwareName = QStringLiteral("Vocarimo");
    {
        auto in = FieldListReader::fromFile(p.ProgramFolder + QStringLiteral("softname.txt"));
        c.SoftwareName = in.nextText();
    }
    {
        auto in = FieldListReader::fromFile(p.CourseFolder + QStringLiteral("出題形式.csv"));
        FieldValue middle[7];
        int previousLine = 0;
        for (int line = 0; line < 7; ++line) {
            const FieldValue label = in.next();
            middle[line] = in.next();
            const FieldValue comment = in.next();
            // Each line holds exactly three values; a value short or over shows
            // up as values of one line spread over two.
            if (label.line == previousLine || label.line != middle[line].line || label.line != comment.line)
                in.fail(QStringLiteral("1 行に 3 つの値（見出し,値,説明）が必要です。"), label.line);
            previousLine = label.line;
        }
        auto number = [&](int line) {
            double d = 0;
            if (middle[line].kind == FieldValue::Kind::Hash || !parseNumber(middle[line].text, &d))
                in.fail(QStringLiteral("「%1」は数値ではありません。").arg(middle[line].text), middle[line].line);
            return static_cast<int>(d);
        };
        c.GroupByThree = number(0);
        c.ChoiceListFlag = number(1);
        c.ChoiceLabelFlag = number(2);
        c.LetterTilesFlag = number(3);
        for (int k = 0; k < 3; ++k)
            c.LevelSuffix[static_cast<size_t>(k)] = middle[4 + k].text;
    }

    const QString tablePath = p.ProgramFolder + QStringLiteral("E0002.csv");
    readScrambledTable(tablePath, state.courseTable);

    CourseConfig fresh = c; // units are derived into a copy, kept only when they fit
    fresh.UnitNames.fill(QString());
    fresh.UnitRowCounts.fill(0);
    int k = 0;
    QString current;
    for (int r = 1; r <= state.courseTable.rowCount(); ++r) {
        const QString& unit = state.courseTable.cell(r, 1);
        if (unit != current) {
            ++k;
            if (k > kMaxUnits)
                throw DataError(fileMessage(scrambledFileName(tablePath),
                                            QStringLiteral("の単元が %1 を超えています。").arg(kMaxUnits)));
            current = unit;
            fresh.UnitNames[static_cast<size_t>(k)] = unit;
        }
        ++fresh.UnitRowCounts[static_cast<size_t>(k)];
    }
    fresh.UnitCount = k;
    const int levels = fresh.GroupByThree == 1 ? 3 * k : k;
    if (levels > kMaxLevelCount)
        throw DataError(fileMessage(scrambledFileName(tablePath),
                                    QStringLiteral("のレベル数が %1 になり、上限の %2 を超えています。").arg(levels).arg(kMaxLevelCount)));
    fresh.LevelCount = static_cast<qint16>(levels);
    for (int i = 1; i <= levels; ++i)
        fresh.DefaultTargetTime[static_cast<size_t>(i)] = 5 * fresh.UnitRowCounts[static_cast<size_t>(unitOfLevel(fresh, i))];
    c = fresh;
}

void startCourse(AppState& state)
{
    const CourseConfig& c = state.course;
    state.PracticePanelFlag = 1;
    state.TargetLevel = c.LevelCount;
    static const char16_t* defaults[] = {u"練習", u"範囲1-2", u"範囲2-3", u"範囲3-4", u"範囲4-5",
                                         u"範囲5-6", u"範囲6-7", u"範囲7-1", u"十問テスト"};
    for (int i = 1; i <= 9; ++i) {
        state.LevelNames[static_cast<size_t>(i)] = QString::fromUtf16(defaults[i - 1]);
        state.TimedLevel[static_cast<size_t>(i)] = 1;
    }
    for (int i = 1; i <= c.LevelCount + 1; ++i) {
        const size_t level = static_cast<size_t>(i);
        if (c.GroupByThree == 1) {
            const size_t unit = static_cast<size_t>(unitOfLevel(c, i));
            const int position = i % 3 == 0 ? 3 : i % 3;
            const QString name = unit <= static_cast<size_t>(c.UnitCount) ? c.UnitNames[unit] : QString();
            state.LevelNames[level] = u'p' + name + u'_' + c.LevelSuffix[static_cast<size_t>(position - 1)];
        } else {
            const QString name = i <= c.UnitCount ? c.UnitNames[level] : QString();
            state.LevelNames[level] = u'p' + name;
        }
        state.TimedLevel[level] = 1;
    }
    if (state.services.navigator)
        state.services.navigator->openLevelScreen();
}

QString launcherProgram(const DataPaths& paths)
{
    QString folder = paths.ProgramFolder;
    if (folder.endsWith(u'/'))
        folder.chop(1);
    return QDir::cleanPath(folder + QStringLiteral("/../起動/プログラムメニューc.exe"));
}

void returnToLauncher(AppState& state)
{
    const QString program = launcherProgram(state.paths);
    if (state.services.launcher && state.services.launcher->start(program, {QStringLiteral("001")})) {
        if (state.services.navigator)
            state.services.navigator->quitProgram(0);
        return;
    }
    if (state.services.messages)
        state.services.messages->show(QStringLiteral("プログラムメニューを起動できません。\n%1").arg(program),
                                      QStringLiteral("注意"), MessageService::Buttons::Ok,
                                      MessageService::Icon::Warning);
}

} // namespace vc

namespace vc {

bool refuseSecondInstance(AppState& state)
{
    if (!state.services.instance || !state.services.instance->anotherInstanceRunning())
        return false;
    if (state.services.messages)
        state.services.messages->show(
            QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。同じプログラムを完全に終了させてから実行してください。"),
            QStringLiteral("注意"), MessageService::Buttons::Ok, MessageService::Icon::Critical);
    if (state.services.navigator)
        state.services.navigator->quitProgram(2);
    return true;
}

QString versionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version%1.%2.%3").arg(major).arg(minor).arg(revision);
}

} // namespace vc
