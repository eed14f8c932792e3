#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

// The course's question items: text cells by row 0–1000 and column 0–100.
// Column 1 is the unit name, 2 the Japanese prompt, 3 the English answer.
// A read writes rows 1..rowCount only; cells it does not reach keep what an
// earlier read left there.
class CourseTable {
public:
    static constexpr int kMaxRows = 1000;
    static constexpr int kMaxColumns = 100;

    CourseTable() : cells_((kMaxRows + 1) * (kMaxColumns + 1)) {}
    const QString& cell(int row, int column) const { return cells_[index(row, column)]; }
    void setCell(int row, int column, const QString& text) { cells_[index(row, column)] = text; }
    int rowCount() const { return rowCount_; }
    void setRowCount(int rows) { rowCount_ = rows; }

private:
    static size_t index(int row, int column);
    std::vector<QString> cells_;
    int rowCount_ = 0;
};

// The end marker after a line's last field: "／ｅｎｄ／".
extern const QString kEndMarker;

// The two built-in position tables: 198 two-digit groups each; groups 1..99
// give the 99 position pairs that scramble a line.
struct PositionPair { int a; int b; };
const std::vector<PositionPair>& positionPairs(); // index 0 = group 1
int largestPosition();

// The file actually read for a caller's path: the text before the first "." of
// the file name, followed by "vv.ccc" ("…/E0002.csv" → "…/E0002vv.ccc").
QString scrambledFileName(const QString& path);

// Reads the scrambled table file for `path` into `table`. On any data error
// (missing file, bad encoding, more than 1000 lines, a line too short, no end
// marker, more than 100 fields) throws DataError and leaves `table` untouched.
void readScrambledTable(const QString& path, CourseTable& table);

// The two directions of the line scrambling, exposed for the pack tool.
// unscrambleLine fails (returns false) when the line is shorter than a position in use.
bool unscrambleLine(QString& line);
void scrambleLine(QString& line);
// Splits an unscrambled line's text before the end marker; nullopt-equivalent:
// returns false when there is no end marker.
bool fieldsOfLine(const QString& unscrambled, QStringList* fields);

} // namespace vc
