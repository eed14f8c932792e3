#pragma once
#include "records/standards.h"

#include <QList>
#include <QString>
#include <array>
#include <vector>

namespace vc {

// The standards editor's grid without a window: row 0 holds the headings and
// column 0 the level numbers, neither ever edited; row k (k >= 1) is level k
// with the twelve values of line k of "タイム回数データ.txt" as read. The
// screen shows it and forwards its keys here.
inline constexpr int kGridColumns = 13;

class StandardsGrid {
public:
    using Row = std::array<QString, kGridColumns>;
    enum class Key { Escape, Enter, Up, Down, Left, Right, ShiftDown };

    StandardsGrid();

    // Rebuilds the grid from the file. Throws DataError naming the file (a
    // missing or malformed file); the grid then holds the heading row alone.
    // Marks are dropped, gridChanged is kept.
    void load(const QString& path);

    int rowCount() const { return static_cast<int>(cells_.size()); }
    // The number of the last level row: the lines read minus one.
    int lastLevelRow() const { return lastLevelRow_; }
    // Without a level row there is nothing to edit.
    bool editable() const { return rowCount() > 1; }
    const QString& cell(int row, int column) const { return cells_[static_cast<size_t>(row)][static_cast<size_t>(column)]; }
    // Whether a typed change painted the cell yellow.
    bool marked(int row, int column) const { return marks_[static_cast<size_t>(row)][static_cast<size_t>(column)]; }
    bool gridChanged() const { return gridChanged_; }

    int currentRow() const { return row_; }
    int currentColumn() const { return column_; }
    int selectionLastRow() const { return selectionLast_; }
    const QString& currentText() const { return cell(row_, column_); }
    // Makes a level cell current (a click, or the start); the selection
    // collapses to it. Returns false, changing nothing, for headings and cells
    // outside the grid.
    bool setCurrent(int row, int column);

    // A key-down in the edit box holding `editText`. Returns true when the
    // current cell moved.
    bool keyDown(Key key, const QString& editText);
    // The edit box's text changed: a real change paints the cell and sets gridChanged.
    void storeEditBox(const QString& text);

    // Level rows 1..lastLevelRow, columns 1..12, as saveStandards takes them.
    QList<StandardsLine> levelRows() const;
    // Writes the file, then reloads `table` from it. Values the program could
    // not read back at its next start are refused with DataError naming the
    // file, line and column before anything is written. Clears gridChanged.
    void save(const QString& path, StandardsTable& table);

    // The help text of a column (1..12), lines separated by CR LF.
    static QString helpText(int column);
    static const Row& headings();

private:
    std::vector<Row> cells_;
    std::vector<std::array<bool, kGridColumns>> marks_;
    int lastLevelRow_ = 0;
    int row_ = 0;
    int column_ = 0;
    int selectionLast_ = 0;
    bool gridChanged_ = false;
};

} // namespace vc
