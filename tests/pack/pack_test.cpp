#include "pack.h"
#include "common/testutil.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;

namespace {
struct PackRun { int code; QString out; QString err; };
PackRun runPack(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(VC_PACK_EXE), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(PackTool, PackingAndUnpackingGiveBackTheInput)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("words.csv"));
    const QString output = dir.filePath(QStringLiteral("E0002vv.ccc"));
    const QString plain = QStringLiteral("Lesson1,りんご,apple\nLesson1,～から来る,come from\nUnit ｽﾀｰﾄ,①番目,first\n");
    test::writeBytes(input, "\xEF\xBB\xBF" + plain.toUtf8());
    PackRun r = runPack({input, output});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = runPack({QStringLiteral("--unpack"), output});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, plain);

    // The same words in Shift-JIS give the same table, byte for byte.
    const QString sjis = dir.filePath(QStringLiteral("words-sjis.csv"));
    test::writeCp932(sjis, plain.trimmed().split(u'\n'));
    const QString output2 = dir.filePath(QStringLiteral("second.ccc"));
    ASSERT_EQ(runPack({QStringLiteral("--encoding"), QStringLiteral("cp932"), sjis, output2}).code, 0);
    EXPECT_EQ(test::readBytes(output2), test::readBytes(output));
}

TEST(PackTool, QuotedFieldsAndBlankLines)
{
    const auto rows = pack::parseCsv(QStringLiteral("\"Lesson 1\" , \" be \"\"good\"\" \",good\n\n  \nA,,b"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (QStringList{"Lesson 1", " be \"good\" ", "good"}));
    EXPECT_EQ(rows[1], (QStringList{"A", "", "b"}));
}

TEST(PackTool, RefusesWhatTheTableCannotHold)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.ccc"));
    QString thousandOne;
    for (int i = 0; i < 1001; ++i)
        thousandOne += QStringLiteral("U,p%1,w\n").arg(i);
    QStringList wide(101, QStringLiteral("x"));
    const struct { QByteArray input; QStringList extra; const char16_t* expect; } cases[] = {
        {thousandOne.toUtf8(), {}, u"1000 行まで"},
        {wide.join(u',').toUtf8(), {}, u"100 個まで"},
        {QStringLiteral("U,\"a, b\",c").toUtf8(), {}, u"コンマ"},
        {QStringLiteral("U,\"open,c").toUtf8(), {}, u"閉じていません"},
        {QStringLiteral("U,한국,korea").toUtf8(), {}, u"Shift-JIS で書けません"},
        {QByteArray("U,\xff\xfe,bad"), {}, u"UTF-8 ではありません"},
        {QByteArray("U,\x82\xa0,bad"), {QStringLiteral("--encoding"), QStringLiteral("cp932")}, u""},
    };
    for (const auto& c : cases) {
        const QString in = dir.filePath(QStringLiteral("in.csv"));
        test::writeBytes(in, c.input);
        QFile::remove(out);
        const PackRun r = runPack(c.extra + QStringList{in, out});
        if (QString::fromUtf16(c.expect).isEmpty()) {
            EXPECT_EQ(r.code, 0) << r.err.toStdString(); // valid Shift-JIS "あ"
            continue;
        }
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.expect))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_EQ(runPack({}).code, 2);
}
