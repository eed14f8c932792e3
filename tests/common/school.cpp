#include "school.h"

#include "pack.h"
#include "testutil.h"

#include <QDir>
#include <gtest/gtest.h>

namespace vc::test {

SchoolFixture::SchoolFixture()
{
    parent = root.path() + QStringLiteral("/");
    programFolder = parent + QStringLiteral("単語/");
    dataFolder = parent + QStringLiteral("data/");
    courseFolder = dataFolder + QStringLiteral("単語/");
    soundFolder = dataFolder + QStringLiteral("音フォルダ/");
    for (const QString& d : {programFolder, courseFolder, soundFolder})
        QDir().mkpath(d);
}

void SchoolFixture::writePathFile(const QStringList& lines) { writeCp932(parent + QStringLiteral("パスデータ.txt"), lines); }
void SchoolFixture::writeCommon(const QStringList& lines) { writeCp932(dataFolder + QStringLiteral("共通データ.txt"), lines); }
void SchoolFixture::writeSoftName(const QString& name) { writeCp932(programFolder + QStringLiteral("softname.txt"), {u'"' + name + u'"'}); }

void SchoolFixture::writeFormat(int groupByThree, const QStringList& suffixes)
{
    writeCp932(courseFolder + QStringLiteral("出題形式.csv"),
               {QStringLiteral("３レベル,%1,1なら3レベル").arg(groupByThree),
                QStringLiteral("選択肢,1,選択肢の既定"),
                QStringLiteral("選択ラベル,1,0で隠す"),
                QStringLiteral("文字パネル,1,文字パネルの既定"),
                QStringLiteral("接尾1,%1,1番目").arg(suffixes.value(0)),
                QStringLiteral("接尾2,%1,2番目").arg(suffixes.value(1)),
                QStringLiteral("接尾3,%1,3番目").arg(suffixes.value(2))});
}

void SchoolFixture::writeCourse(const QStringList& rows)
{
    const QByteArray bytes = pack::packRows(pack::parseCsv(rows.join(u'\n')));
    writeBytes(programFolder + QStringLiteral("E0002vv.ccc"), bytes);
}

void SchoolFixture::writeStandards(const QStringList& levelLines)
{
    writeCp932(courseFolder + QStringLiteral("タイム回数データ.txt"),
               QStringList{QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,")} + levelLines);
}

void SchoolFixture::writeRoster(const QStringList& records)
{
    writeCp932(dataFolder + QStringLiteral("新名簿.txt"), records);
}

void SchoolFixture::writeDefaults()
{
    writePathFile({u'"' + dataFolder + u'"', "0", "0", "0", "0", "0", "0", "0", "0", "0"});
    writeCommon({"4", QStringLiteral("\"12345北校\""), "0", "0", "0", "0", "0", "0", "0", "0"});
    writeSoftName(QStringLiteral("中学英単語"));
    writeFormat(1);
    writeCourse({QStringLiteral("Lesson1,りんご,apple"), QStringLiteral("Lesson1,本,book"),
                 QStringLiteral("Lesson2,ねこ,cat"), QStringLiteral("Lesson2,いぬ,dog"), QStringLiteral("Lesson2,鳥,bird")});
    writeRoster({QStringLiteral("1,2012,0,0,\"山田 太郎\",0,\"\",\"\""),
                 QStringLiteral("2,2013,0,0,\"佐藤 花子\",0,\"\",\"\""),
                 QStringLiteral("100,1980,0,0,\"先生\",0,\"\",\"\"")});
    writeStandards(QStringList(6, QStringLiteral("40,60,30,3,1,5,60,7,1,,,")));
    writeSoundSetup({QStringLiteral("正解音2"), QStringLiteral("ピンポン"), QStringLiteral("*")});
}

void SchoolFixture::writeSoundSetup(const QStringList& values)
{
    writeCp932(soundFolder + QStringLiteral("新音ファイル.txt"), values);
}

} // namespace vc::test
