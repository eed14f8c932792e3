#include "coursetable/coursetable.h"
#include "pack.h"
#include "platform/errors.h"
#include "platform/textcodec.h"
#include "common/testutil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;

namespace {

struct TableFile {
    QTemporaryDir dir;
    QString callerPath() const { return dir.path() + QStringLiteral("/E0002.csv"); }
    QString realPath() const { return dir.path() + QStringLiteral("/E0002vv.ccc"); }
    void write(const QStringList& plainRows) const
    {
        test::writeBytes(realPath(), pack::packRows(pack::parseCsv(plainRows.join(u'\n'))));
    }
    // Lines scrambled by hand, for shapes the pack tool refuses to write.
    void writeRaw(const QStringList& unscrambled) const
    {
        QByteArray bytes;
        for (QString line : unscrambled) {
            if (line.size() >= largestPosition())
                scrambleLine(line);
            bytes += Cp932::encode(line).value() + "\r\n";
        }
        test::writeBytes(realPath(), bytes);
    }
};

QString padded(const QString& s) { return s + QString(largestPosition(), u'x'); }

QString errorOf(const TableFile& f, CourseTable& t)
{
    try {
        readScrambledTable(f.callerPath(), t);
    } catch (const DataError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(ScrambledTable, PositionTablesArePairsOfPositions)
{
    ASSERT_EQ(positionPairs().size(), 99u);
    for (const auto& p : positionPairs()) {
        EXPECT_GE(p.a, 1);
        EXPECT_LE(p.a, 99);
        EXPECT_GE(p.b, 1);
        EXPECT_LE(p.b, 99);
    }
    EXPECT_EQ(scrambledFileName(QStringLiteral("/x/単語/E0002.csv")), QStringLiteral("/x/単語/E0002vv.ccc"));
    // Only the file name's dot counts: a dotted folder still finds its table.
    EXPECT_EQ(scrambledFileName(QStringLiteral("/home/t.suzuki/単語/E0002.csv")), QStringLiteral("/home/t.suzuki/単語/E0002vv.ccc"));
}

TEST(ScrambledTable, ReadsCellsByRowAndColumn)
{
    TableFile f;
    f.write({QStringLiteral("単元1,りんご,apple"), QStringLiteral("a,,b"), QStringLiteral("only")});
    // The stored lines do not show the words in plain text.
    const QString stored = *Cp932::decode(test::readBytes(f.realPath()));
    EXPECT_FALSE(stored.contains(QStringLiteral("apple")));

    CourseTable t;
    readScrambledTable(f.callerPath(), t);
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.cell(1, 1), QStringLiteral("単元1"));
    EXPECT_EQ(t.cell(1, 2), QStringLiteral("りんご"));
    EXPECT_EQ(t.cell(1, 3), QStringLiteral("apple"));
    EXPECT_EQ(t.cell(2, 2), QString());
    EXPECT_EQ(t.cell(2, 3), QStringLiteral("b"));
    EXPECT_EQ(t.cell(3, 1), QStringLiteral("only"));
    EXPECT_EQ(t.cell(0, 0), QString());
}

TEST(ScrambledTable, ASecondReadKeepsCellsItDoesNotReach)
{
    TableFile f;
    QStringList twenty, ten;
    for (int i = 1; i <= 20; ++i)
        twenty << QStringLiteral("U,old%1,x%1,extra").arg(i);
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("U,new%1,y%1").arg(i);
    CourseTable t;
    f.write(twenty);
    readScrambledTable(f.callerPath(), t);
    f.write(ten);
    readScrambledTable(f.callerPath(), t);
    EXPECT_EQ(t.rowCount(), 10);
    EXPECT_EQ(t.cell(10, 2), QStringLiteral("new10"));
    EXPECT_EQ(t.cell(10, 4), QStringLiteral("extra")); // column 4 of row 10 is the older file's
    EXPECT_EQ(t.cell(11, 2), QStringLiteral("old11"));
    EXPECT_EQ(t.cell(20, 3), QStringLiteral("x20"));
}

TEST(ScrambledTable, ThousandLinesReadAndOneMoreIsRefused)
{
    TableFile f;
    QStringList rows;
    for (int i = 1; i <= 1000; ++i)
        rows << QStringLiteral("U%1,問%2,word%2").arg(i / 10).arg(i);
    f.write(rows);
    CourseTable t;
    readScrambledTable(f.callerPath(), t);
    EXPECT_EQ(t.rowCount(), 1000);
    EXPECT_EQ(t.cell(1000, 3), QStringLiteral("word1000"));

    QStringList raw;
    for (int i = 1; i <= 1001; ++i)
        raw << padded(QStringLiteral("U,p,w") + kEndMarker);
    f.writeRaw(raw);
    CourseTable u;
    u.setCell(1, 1, QStringLiteral("before"));
    const QString message = errorOf(f, u);
    EXPECT_TRUE(message.contains(QStringLiteral("E0002vv.ccc"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("1001")));
    EXPECT_EQ(u.cell(1, 1), QStringLiteral("before")); // no partial table
    EXPECT_EQ(u.rowCount(), 0);
}

TEST(ScrambledTable, DataErrorsNameTheFileAndTheLine)
{
    const struct { QStringList lines; const char16_t* expect; } cases[] = {
        {{padded(QStringLiteral("U,a,b") + kEndMarker), QStringLiteral("short") + kEndMarker}, u"2 行目が短すぎます"},
        {{padded(QStringLiteral("U,a,b"))}, u"1 行目に終わりの印がありません"},
        {{padded(QString(100, u',') + kEndMarker)}, u"101 個"},
    };
    for (const auto& c : cases) {
        TableFile f;
        f.writeRaw(c.lines);
        CourseTable t;
        const QString message = errorOf(f, t);
        EXPECT_TRUE(message.contains(QString::fromUtf16(c.expect))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("E0002vv.ccc")));
    }
    TableFile missing;
    CourseTable t;
    EXPECT_TRUE(errorOf(missing, t).contains(QStringLiteral("見つかりません")));

    TableFile hundred; // exactly 100 fields still fit
    hundred.writeRaw({padded(QString(99, u',') + kEndMarker)});
    EXPECT_EQ(errorOf(hundred, t), QString());
}
