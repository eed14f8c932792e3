#include "coursetable.h"

#include "platform/errors.h"
#include "platform/textfile.h"

#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

namespace vc {
namespace {

// Fixed data of the program and of every course file written for it.
const char kPositionTable1[] =
    "701403107517108009068774979820351242978565484064363535576386698623346185084409193416413179583923969992916001450118460395071406843734791463713976715051118366561049138377711090230540271892595802102981046679588691250029848938632798470250365170413803449469372112206206130581968150490945637665364839423209962414146940809751093557038949725173977154908809611973663890121579182335925672590801023791656355";
const char kPositionTable2[] =
    "804486243160010987582217655607124757450691033367403554349116547405361771385674408542912860236725092070031926463899114143239447354255341993953902619022792893818554433302243856553331591522962764997977968314733247813046978707887345163041927955976894309682727693293386210676773973983253531833154311645573195747967742342395159820785443694243628642447456277392240615720941873903597466905483732618204576";

static_assert(sizeof(kPositionTable1) == 397 && sizeof(kPositionTable2) == 397);

int group(const char* table, int i)
{
    return (table[2 * i] - '0') * 10 + (table[2 * i + 1] - '0');
}

} // namespace

const QString kEndMarker = QStringLiteral("／ｅｎｄ／");

size_t CourseTable::index(int row, int column)
{
    if (row < 0 || row > kMaxRows || column < 0 || column > kMaxColumns)
        throw std::out_of_range("course table cell outside 0..1000 x 0..100");
    return static_cast<size_t>(row) * (kMaxColumns + 1) + static_cast<size_t>(column);
}

const std::vector<PositionPair>& positionPairs()
{
    static const std::vector<PositionPair> pairs = [] {
        std::vector<PositionPair> p;
        for (int i = 1; i <= 99; ++i)
            p.push_back({group(kPositionTable1, i), group(kPositionTable2, i)});
        return p;
    }();
    return pairs;
}

int largestPosition()
{
    static const int largest = [] {
        int m = 0;
        for (const auto& p : positionPairs())
            m = std::max({m, p.a, p.b});
        return m;
    }();
    return largest;
}

QString scrambledFileName(const QString& path)
{
    // Only the file name's own dot counts, so a program folder such as
    // /home/t.suzuki/単語 still finds its table.
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.indexOf(u'.');
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString folder = path.left(path.size() - name.size());
    return folder + stem + QStringLiteral("vv.ccc");
}

bool unscrambleLine(QString& line)
{
    if (line.size() < largestPosition())
        return false;
    const auto& pairs = positionPairs();
    for (int i = 98; i >= 0; --i)
        std::swap(line[pairs[i].a - 1], line[pairs[i].b - 1]);
    return true;
}

void scrambleLine(QString& line)
{
    const auto& pairs = positionPairs();
    for (int i = 0; i < 99; ++i)
        std::swap(line[pairs[i].a - 1], line[pairs[i].b - 1]);
}

bool fieldsOfLine(const QString& unscrambled, QStringList* fields)
{
    const qsizetype end = unscrambled.indexOf(kEndMarker);
    if (end < 0)
        return false;
    *fields = unscrambled.left(end).split(u',');
    return true;
}

void readScrambledTable(const QString& path, CourseTable& table)
{
    const QString file = scrambledFileName(path);
    const QStringList lines = readTextLines(file);
    if (lines.size() > CourseTable::kMaxRows)
        throw DataError(fileMessage(file, QStringLiteral("の行数が %1 行あり、上限の %2 行を超えています。")
                                              .arg(lines.size()).arg(CourseTable::kMaxRows)));
    // Everything is checked before the table is touched: no partial table is used.
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(lines.size()));
    for (qsizetype r = 0; r < lines.size(); ++r) {
        QString s = lines[r];
        if (!unscrambleLine(s))
            throw DataError(fileMessage(file, QStringLiteral("の %1 行目が短すぎます（%2 文字、%3 文字以上必要）。")
                                                  .arg(r + 1).arg(lines[r].size()).arg(largestPosition())));
        QStringList fields;
        if (!fieldsOfLine(s, &fields))
            throw DataError(fileMessage(file, QStringLiteral("の %1 行目に終わりの印がありません。").arg(r + 1)));
        if (fields.size() > CourseTable::kMaxColumns)
            throw DataError(fileMessage(file, QStringLiteral("の %1 行目の項目が %2 個あり、上限の %3 個を超えています。")
                                                  .arg(r + 1).arg(fields.size()).arg(CourseTable::kMaxColumns)));
        rows.push_back(std::move(fields));
    }
    for (size_t r = 0; r < rows.size(); ++r)
        for (qsizetype k = 0; k < rows[r].size(); ++k)
            table.setCell(static_cast<int>(r) + 1, static_cast<int>(k) + 1, rows[r][k]);
    table.setRowCount(static_cast<int>(rows.size()));
}

} // namespace vc
