#include "records/standardseditor.h"

#include "platform/errors.h"
#include "platform/textfile.h"

#include <QTemporaryDir>

namespace vc {

StandardsGrid::StandardsGrid()
{
    cells_.push_back(headings());
    marks_.push_back({});
}

const StandardsGrid::Row& StandardsGrid::headings()
{
    static const Row row = {QStringLiteral("レベル"), QStringLiteral("目標Time"), QStringLiteral("最低Time"),
                            QStringLiteral("ｸﾘｱﾎﾟｲﾝﾄ"), QStringLiteral("ｸﾘｱ回数"), QStringLiteral("ﾎﾟｲﾝﾄ倍率"),
                            QStringLiteral("禁回"), QStringLiteral("禁点"), QStringLiteral("判期間"),
                            QStringLiteral("禁期間"), QString(), QString(), QString()};
    return row;
}

QString StandardsGrid::helpText(int column)
{
    // The explanation lines keep their leading blanks, as the teachers know them.
    static const QString texts[] = {
        QString(),
        QStringLiteral("合格基準タイム\r\n　大部分の人ががんばったら出せそうなタイムにしてください"),
        QStringLiteral("合格最低ラインタイム\r\n  合格基準タイムの２～５割増しにしてください この５倍が時間切れになります"),
        QStringLiteral("クリアポイント\r\n　　 次のレベルへ進むことができるようになるためのポイント"),
        QStringLiteral("クリア回数\r\n　　 次のレベルへ進むことができるようになるための回数"),
        QStringLiteral("ポイント倍率\r\n  ポイントを何倍にして加算するか\r\n  むずかしいレベルや生徒のいやがるレベルは高くしてください"),
        QStringLiteral("やりすぎ禁止回数\r\n  何回やったらやりすぎ禁止にするか\r\n  "),
        QStringLiteral("やりすぎ禁止ポイント\r\n  何ポイントとったらやりすぎ禁止にするか\r\n "),
        QStringLiteral("合格判定をする日数\r\n　何日前からのポイントを有効にするか"),
        QStringLiteral("やりすぎ判定をする日数\r\n　何日前からのポイントを有効にするか"),
    };
    return column >= 1 && column <= 9 ? texts[column] : QString();
}

void StandardsGrid::load(const QString& path)
{
    cells_.assign(1, headings());
    marks_.assign(1, {});
    lastLevelRow_ = 0;
    row_ = column_ = selectionLast_ = 0;
    const QList<StandardsLine> lines = readStandardsLines(path);
    // Line 0 is the heading line: its values are read past.
    for (qsizetype k = 1; k < lines.size(); ++k) {
        Row row;
        row[0] = QString::number(k);
        for (int c = 0; c < kStandardsColumns; ++c)
            row[static_cast<size_t>(c + 1)] = lines[k][static_cast<size_t>(c)];
        cells_.push_back(row);
        marks_.push_back({});
    }
    lastLevelRow_ = std::max<int>(0, static_cast<int>(lines.size()) - 1);
}

bool StandardsGrid::setCurrent(int row, int column)
{
    if (row < 1 || row >= rowCount() || column < 1 || column >= kGridColumns)
        return false;
    row_ = row;
    column_ = column;
    selectionLast_ = row;
    return true;
}

bool StandardsGrid::keyDown(Key key, const QString& editText)
{
    if (!editable() || row_ < 1)
        return false;
    switch (key) {
    case Key::Escape:
    case Key::Enter:
        return false;
    case Key::Up:
        return row_ > 1 && setCurrent(row_ - 1, column_);
    case Key::Down:
        return row_ < rowCount() - 1 && setCurrent(row_ + 1, column_);
    case Key::Left:
        return column_ > 1 && setCurrent(row_, column_ - 1);
    case Key::Right:
        return column_ < kGridColumns - 1 && setCurrent(row_, column_ + 1);
    case Key::ShiftDown:
        if (selectionLast_ < rowCount() - 1) {
            ++selectionLast_;
            for (int r = row_; r <= selectionLast_; ++r) {
                QString& cell = cells_[static_cast<size_t>(r)][static_cast<size_t>(column_)];
                // Copies are not painted, but they are unsaved changes all the
                // same: leaving without saving must still ask.
                if (cell != editText)
                    gridChanged_ = true;
                cell = editText;
            }
        }
        return false;
    }
    return false;
}

void StandardsGrid::storeEditBox(const QString& text)
{
    if (!editable() || row_ < 1)
        return;
    QString& cell = cells_[static_cast<size_t>(row_)][static_cast<size_t>(column_)];
    if (text != cell) {
        marks_[static_cast<size_t>(row_)][static_cast<size_t>(column_)] = true;
        gridChanged_ = true;
    }
    cell = text;
}

QList<StandardsLine> StandardsGrid::levelRows() const
{
    QList<StandardsLine> rows;
    for (int r = 1; r <= lastLevelRow_ && r < rowCount(); ++r) {
        StandardsLine line;
        for (int c = 0; c < kStandardsColumns; ++c)
            line[static_cast<size_t>(c)] = cells_[static_cast<size_t>(r)][static_cast<size_t>(c + 1)];
        rows.append(line);
    }
    return rows;
}

void StandardsGrid::save(const QString& path, StandardsTable& table)
{
    const QList<StandardsLine> rows = levelRows();
    // A value that is no number where the program needs one would stop every
    // computer of the school at its next start: the file is written and read
    // back in a scratch folder first, and refused with the reader's message.
    QTemporaryDir scratch;
    if (scratch.isValid()) {
        const QString trial = scratch.path() + u'/' + fileNameOf(path);
        try {
            saveStandards(trial, rows);
            StandardsTable check = table;
            loadStandards(trial, check);
        } catch (const DataError& e) {
            QString message = e.message();
            message.replace(trial, path);
            throw DataError(message);
        }
    }
    saveStandards(path, rows);
    gridChanged_ = false;
    loadStandards(path, table);
}

} // namespace vc
