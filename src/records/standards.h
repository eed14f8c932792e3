#pragma once
#include "records/capacity.h"

#include <QList>
#include <QString>
#include <array>
#include <span>

namespace vc {

// A standards cell that may be empty: the text as the file holds it (for
// display) and its value as a number, an empty cell being 0.
struct OptionalNumber {
    QString text;
    double value = 0;
};

// The standards of one level: one line of "タイム回数データ.txt".
struct StandardsRow {
    qint32 targetTime = 0;
    qint32 minimumTime = 0;
    qint32 clearPoints = 0;
    qint16 clearCount = 0;
    float pointMultiplier = 0;
    OptionalNumber banCount;
    OptionalNumber banPoints;
    OptionalNumber judgePeriod;
    OptionalNumber banPeriod;
    std::array<QString, 3> reserved;  // kept as read, used by no rule
};

// Rows 1..100 are the levels; row 0 takes the file's heading line and is
// never used. Rows the file does not reach keep their earlier contents.
struct StandardsTable {
    std::array<StandardsRow, kLevelRows> rows{};

    // The row of a level 1..100, or nullptr: other levels have no standards.
    const StandardsRow* level(int level) const { return level >= 1 && level < kLevelRows ? &rows[static_cast<size_t>(level)] : nullptr; }
    StandardsRow* level(int level) { return level >= 1 && level < kLevelRows ? &rows[static_cast<size_t>(level)] : nullptr; }
};

// The twelve values of one line of the file, as text.
inline constexpr int kStandardsColumns = 12;
using StandardsLine = std::array<QString, kStandardsColumns>;

QString standardsFilePath(const QString& courseFolder);

// Every line of the file (the heading line first) as its twelve values, read
// free-format (commas, optional quotes, blanks around values dropped). A line
// that does not hold exactly twelve values, or more lines than the table has
// rows, throws DataError naming the file and the line.
QList<StandardsLine> readStandardsLines(const QString& path);

// Reads the file into the table, line k into row k. Level lines must hold
// numbers in columns 1 to 9 (6 to 9 may be empty). On any error the table is
// left as it was.
void loadStandards(const QString& path, StandardsTable& table);

// Replaces the file with the heading line and one line per level row
// (levelRows[0] is level 1), values unquoted and separated by commas, CP932,
// CR LF. A value that the file format cannot hold back unchanged is quoted
// when that is enough, else refused with DataError before the file is touched.
void saveStandards(const QString& path, const QList<StandardsLine>& levelRows);

// The start-up replacement of the two time columns by the course's default
// times: for levels 1..levelCount, targetTime = the default and minimumTime =
// 1.5 times it, rounded to the nearest whole number, halves to even.
void applyDefaultTimes(StandardsTable& table, std::span<const int> defaultTargetTime, int levelCount);

} // namespace vc
