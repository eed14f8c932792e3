#pragma once
#include "records/statistics.h"

#include <QString>
#include <optional>

namespace vc {

struct StandardsRow;

// Texts, colours and sizes of the level screen's columns, and the small rules
// around them. Colours are 0xBBGGRR.

inline constexpr unsigned kColourGrey = 0x808080;
inline constexpr unsigned kColourLightGrey = 0xE0E0E0;  // standards and period lines
inline constexpr unsigned kTodayMarksColour = 0x00FF00;
inline constexpr unsigned kPeriodMarksColour = 0xFF0000;

// Column layout in twips.
inline constexpr double kColumnsAreaTwips = 14592;
inline constexpr double kScrolledColumnTwips = 3456;
inline constexpr double kPracticeColumnTwips = 1178;      // a practice level's top part
inline constexpr double kPracticeColumnShortTwips = 908;  // the same after a change of view
inline constexpr int kFewLevels = 5;                      // below this the columns fill the screen

// 14592 / N twips for fewer than five levels, else 3456.
double columnWidthTwips(int levelCount);
// Whether the columns scroll, and the scroll bar's maximum (N − 3).
bool columnsScroll(int levelCount);
int scrollMaximum(int levelCount);
// The first visible level for a scroll bar value: the value, or 1 past N.
int firstVisibleLevel(int scrollValue, int levelCount);

// ⌊n/10⌋ "◎" then (n mod 10) "○": 23 gives "◎◎○○○".
QString runMarks(int runs);
// Today's runs are a single-precision count, made whole before the marks.
int wholeRuns(float runs);

unsigned todayMarksColour(float todayRuns);
unsigned periodMarksColour(qint16 judgeRuns);

// The name's background; later rules win: "平民", "貴族", then the position in
// a group of three. No colour: the control's own.
std::optional<unsigned> levelNameColour(const QString& levelName, int groupByThree, int level);

// "ｽﾀｰﾄ(&7)": the access key is the level number.
QString startCaption(int level);

// "目標=40秒 3回/30点(×1.5)" (figures written by decimalText), or "目標=40秒 --------" for a level whose
// clearPoints is 9999.
QString standardsLine(const StandardsRow& row);
// "最近7日=2回 / 20点".
QString periodLine(const StandardsRow& row, const LevelFigures& figures);
// "2回/20点", or "-----" without a run today.
QString todayLine(const LevelFigures& figures);
// "12回/110点", or "------" without a valid run.
QString totalsLine(const LevelFigures& figures);

// One entry of the overview list: the level number right-aligned in six
// characters, the name in ten, today's marks in twenty, "/", the period marks.
QString overviewLine(int level, const QString& levelName, const QString& todayMarks, const QString& periodMarks);

// A teacher's name is "先生" with blanks around it removed; a name containing
// "先生" anywhere also gets the report's print button.
bool isTeacher(const QString& studentName);
bool showsReportPrint(const QString& studentName);

// "起動後12分", from the whole minutes since the login.
QString minutesSinceLoginText(int minutes);
// "本日総回数＝3回".
QString todayTotalText(int total);
// The student's valid runs today over levels 1..100, as a 16-bit whole number.
qint16 todayTotal(const Statistics& statistics, int student);
// The course title's point size: 20 past nine characters, else 24.
int titlePointSize(const QString& softwareName);

inline const QString kBanCoverText = QStringLiteral("やりすぎ禁止");
inline const QString kFirstVisitHint =
    QStringLiteral("最初に「練習」をクリックして十分練習してから、各レベルに挑戦してください");

// The hint is shown right after a login, with the practice panel on, while
// the student has made no run today.
bool firstVisitHintDue(int firstVisitFlag, int practicePanelFlag, int todayTotal);

} // namespace vc
