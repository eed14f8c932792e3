#include "studentstest.h"

#include "platform/errors.h"
#include "students/roster.h"

#include <set>

using namespace vc;
using vc::test::rosterLine;

namespace {

TEST(SchoolYear, TurnsInTheStartMonth)
{
    struct Case { QDate today; int startMonth; int year; };
    const Case cases[] = {
        {QDate(2024, 3, 15), 4, 2023},
        {QDate(2024, 4, 1), 4, 2024},
        {QDate(2024, 12, 31), 4, 2024},
        {QDate(2024, 1, 1), 1, 2024},
        {QDate(2024, 8, 31), 9, 2023},
    };
    for (const Case& c : cases)
        EXPECT_EQ(schoolYearOf(c.today, c.startMonth), c.year) << c.today.toString(Qt::ISODate).toStdString();
    // The example of a first grader who moves up on 1 April.
    EXPECT_EQ(gradeNumber(schoolYearOf(QDate(2024, 3, 15), 4), 2016), 1);
    EXPECT_EQ(gradeNumber(schoolYearOf(QDate(2024, 4, 1), 4), 2016), 2);
}

TEST(ClassLabel, BothFormsAndTheGradeValue)
{
    struct Case { int grade; const char16_t* shortForm; const char16_t* stored; int value; };
    const Case cases[] = {
        {-5, u"幼-", u"", -11}, {-3, u"幼-", u"", -9}, {-2, u"幼1", u"", -8}, {-1, u"幼2", u"", -7},
        {0, u"幼3", u"幼３", -6}, {1, u"小1", u"小１", 1}, {4, u"小4", u"小４", 4}, {6, u"小6", u"小６", 6},
        {7, u"中1", u"中１", 1}, {8, u"中2", u"中２", 2}, {9, u"中3", u"中３", 3}, {10, u"高1", u"高１", 1},
        {11, u"高2", u"", 2}, {12, u"高3", u"", 3}, {13, u"大+", u"", 4}, {20, u"大+", u"", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grade);
        EXPECT_EQ(shortClassLabel(c.grade), QString::fromUtf16(c.shortForm));
        EXPECT_EQ(storedClassLabel(c.grade), QString::fromUtf16(c.stored));
        EXPECT_EQ(gradeValue(c.grade), c.value);
    }
}

TEST(GradeFilter, OfferedInOrderAndPassingTheirGrades)
{
    const QStringList expected = {u"全学年"_qs, u"中学生全体"_qs, u"小学生全体"_qs, u"中３"_qs, u"中２"_qs, u"中１"_qs,
                                  u"小６"_qs,   u"小５"_qs,     u"小４"_qs,     u"小３"_qs, u"小２"_qs, u"小１"_qs};
    EXPECT_EQ(gradeFilters(), expected);

    struct Case { QString filter; std::set<int> passes; bool everyone = false; };
    const Case cases[] = {
        {u"全学年"_qs, {}, true},
        {u"小学生全体"_qs, {1, 2, 3, 4, 5, 6}},
        {u"中学生全体"_qs, {7, 8, 9}},
        {u"小１"_qs, {1}}, {u"小３"_qs, {3}}, {u"小６"_qs, {6}},
        {u"中１"_qs, {7}}, {u"中２"_qs, {8}}, {u"中３"_qs, {9}},
        // Texts that are no filter pass nobody, half-width digits included.
        {u"高１"_qs, {}}, {u"小1"_qs, {}}, {QString(), {}}, {u"全学年 "_qs, {}},
    };
    for (const Case& c : cases)
        for (int grade = -4; grade <= 14; ++grade)
            EXPECT_EQ(passesGradeFilter(c.filter, grade), c.everyone || c.passes.count(grade) == 1)
                << c.filter.toStdString() << " grade " << grade;
}

TEST(NameField, CutOrPaddedToTwentyCharacters)
{
    EXPECT_EQ(nameField(u"山田"_qs), u"山田"_qs + QString(18, u' '));
    const QString long25 = u"あいうえおかきくけこさしすせそたちつてとなにぬねの"_qs;
    EXPECT_EQ(nameField(long25), long25.left(20));
    EXPECT_EQ(trimSpaces(u"  山田　 "_qs), u"山田　"_qs);
}

using Roster = test::RosterTest;

TEST_F(Roster, ReadsEightValuesPerRecordWhateverTheLineLayout)
{
    writeRoster({rosterLine(12, 2016, u"山田"_qs), u"7,2011,1,2,佐藤 花子,2,\"x\""_qs, u"\"y\""_qs});
    const auto records = readRoster(state->paths.DataFolder + u"新名簿.txt"_qs);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].StudentNumber, 12);
    EXPECT_EQ(records[0].BirthYear, 2016);
    EXPECT_EQ(records[0].name, nameField(u"山田"_qs));
    EXPECT_EQ(records[1].StudentNumber, 7);
    EXPECT_EQ(records[1].name, nameField(u"佐藤 花子"_qs));
    EXPECT_EQ(records[1].StudentStatus, 2);
    EXPECT_EQ(records[1].line, 2);
}

TEST_F(Roster, MalformedRecordsNameTheFileAndTheRecord)
{
    struct Case { QStringList lines; const char16_t* mentions; };
    const Case cases[] = {
        {{rosterLine(1, 2016, u"山田"_qs), u"2,2016,0,0,\"佐藤\",0,\"\""_qs}, u"2 件目"},
        {{rosterLine(1, 2016, u"山田"_qs), u"2,abc,0,0,\"佐藤\",0,\"\",\"\""_qs}, u"「abc」は数値ではありません"},
        {{u"5001,2016,0,0,\"山田\",0,\"\",\"\""_qs}, u"5001"},
        {{u"-1,2016,0,0,\"山田\",0,\"\",\"\""_qs}, u"1 件目"},
        {{u"3,2016,0,0,\"山田\",70000,\"\",\"\""_qs}, u"範囲外"},
        {{u"3,#2016-01-01#,0,0,\"山田\",0,\"\",\"\""_qs}, u"数値ではありません"},
    };
    for (const Case& c : cases) {
        writeRoster(c.lines);
        try {
            readRoster(state->paths.DataFolder + u"新名簿.txt"_qs);
            ADD_FAILURE() << "no error for " << c.lines.join(u'|').toStdString();
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(u"新名簿.txt"_qs)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf16(c.mentions))) << e.message().toStdString();
        }
    }
}

TEST_F(Roster, MissingFileIsAnError)
{
    EXPECT_THROW(nameSelectionPass(*state), DataError);
}

TEST_F(Roster, NameSelectionPassListsActiveStudentsInFileOrder)
{
    state->roster.StudentClasses[30] = u"前の値"_qs;
    writeRoster({
        rosterLine(20, 2016, u"山田"_qs),
        rosterLine(21, 2016, u"休み"_qs, 1),
        rosterLine(22, 2011, u"体験"_qs, 2),
        rosterLine(30, 2007, u"高校生"_qs),
        rosterLine(5, 2018, u"あいうえおかきくけこさしすせそたちつてとなにぬねの"_qs),
    });
    for (int show : {0, 1}) {
        SCOPED_TRACE(show);
        state->settings.ShowStatus2Students = show;
        const auto listed = nameSelectionPass(*state);
        std::vector<int> numbers;
        for (const auto& s : listed)
            numbers.push_back(s.number);
        const std::vector<int> expected = show ? std::vector<int>{20, 22, 30, 5} : std::vector<int>{20, 30, 5};
        EXPECT_EQ(numbers, expected);
        ASSERT_EQ(state->roster.ListedCount, int(expected.size()));
        for (size_t k = 0; k < expected.size(); ++k)
            EXPECT_EQ(state->roster.ListedNumbers[k + 1], expected[k]);
    }
    EXPECT_EQ(state->roster.SchoolYear, 2024);
    const auto listed = nameSelectionPass(*state);
    EXPECT_EQ(listed[0].classLabel, u"小2"_qs);
    EXPECT_EQ(listed[0].gradeValue, 2);
    EXPECT_EQ(listed[1].classLabel, u"中1"_qs);
    EXPECT_EQ(listed[1].gradeValue, 1);
    EXPECT_EQ(listed[2].classLabel, u"高2"_qs);
    EXPECT_EQ(listed[3].classLabel, u"幼3"_qs);
    EXPECT_EQ(listed[3].gradeValue, -6);
    EXPECT_EQ(listed[3].name, u"あいうえおかきくけこさしすせそたちつてとなにぬねの"_qs.left(20));
    EXPECT_EQ(listed[3].name.size(), 20);
    // Every record refreshes the tables, listed or not; grade 11 has no stored label.
    EXPECT_EQ(state->roster.StudentNames[21], u"休み"_qs);
    EXPECT_EQ(state->roster.StudentClasses[21], u"小２"_qs);
    EXPECT_EQ(state->roster.StudentClasses[22], u"中１"_qs);
    EXPECT_EQ(state->roster.StudentClasses[30], u"前の値"_qs);
    EXPECT_EQ(state->roster.StudentBirthYears[30], 2007);
}

TEST_F(Roster, ABadRosterLeavesTheRosterValuesAlone)
{
    writeRoster({rosterLine(20, 2016, u"山田"_qs)});
    nameSelectionPass(*state);
    writeRoster({rosterLine(20, 2010, u"別人"_qs), u"21,2016,0"_qs});
    EXPECT_THROW(nameSelectionPass(*state), DataError);
    EXPECT_EQ(state->roster.StudentNames[20], u"山田"_qs);
    EXPECT_EQ(state->roster.ListedCount, 1);
}

TEST_F(Roster, ResultsPassListsStatusZeroOnly)
{
    state->settings.ShowStatus2Students = 1;
    writeRoster({
        rosterLine(12, 2017, u"  山田  "_qs),
        rosterLine(13, 2011, u"体験"_qs, 2),
        rosterLine(14, 2007, u"高校生"_qs),
    });
    state->roster.StudentClasses[14] = u"高２"_qs;
    QStringList list{u"古い行"_qs};
    readRosterForResults(*state, list);
    EXPECT_EQ(list, (QStringList{u"小１ /  山田/12"_qs, u"高２ /  高校生/14"_qs}));
    EXPECT_EQ(state->roster.StudentNames[12], u"山田"_qs);
    EXPECT_EQ(state->roster.StudentNames[13], u"体験"_qs);
    EXPECT_EQ(state->roster.StudentClasses[13], u"中１"_qs);
}

} // namespace
