#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace vc::test {

// A small installation in a temporary folder: parent with パスデータ.txt, the
// program folder 単語 with softname.txt and the scrambled table, and the data
// folder with 共通データ.txt and the course folder. Tests change the parts they
// need before start-up reads them.
struct SchoolFixture {
    SchoolFixture();
    QTemporaryDir root;
    QString parent;         // ends with "/"
    QString programFolder;  // parent + "単語/"
    QString dataFolder;     // parent + "data/"
    QString courseFolder;   // dataFolder + "単語/"
    QString soundFolder;    // dataFolder + "音フォルダ/"

    void writePathFile(const QStringList& lines);
    void writeCommon(const QStringList& lines);
    void writeSoftName(const QString& name);
    void writeFormat(int groupByThree, const QStringList& suffixes = {"1", "2", "3"});
    // rows: "unit,prompt,answer" plain lines, packed with the program's scrambling.
    void writeCourse(const QStringList& rows);
    // Heading line, then one line of 12 values per level.
    void writeStandards(const QStringList& levelLines);
    // Records of 8 values: number,birth year,0,0,"name",status,"",""
    void writeRoster(const QStringList& records);
    // "新音ファイル.txt", one value a line.
    void writeSoundSetup(const QStringList& values);
    void writeDefaults(); // everything above with a two-unit course and six levels of standards
};

} // namespace vc::test
