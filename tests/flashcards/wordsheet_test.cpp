#include "flashcards/wordsheet.h"

#include "common/testutil.h"
#include "platform/random.h"
#include "platform/textfile.h"
#include "printing/recordingsurface.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;
using Kind = RecordingSurface::Kind;

namespace {

std::vector<WordCard> cards(int n)
{
    std::vector<WordCard> deck;
    for (int i = 1; i <= n; ++i)
        deck.push_back({QStringLiteral("1"), QStringLiteral("日本語%1").arg(i), QStringLiteral("english%1").arg(i)});
    return deck;
}

SheetOptions options(bool toPaper = false)
{
    SheetOptions o;
    o.date = QDate(2026, 12, 10);
    o.toPaper = toPaper;
    return o;
}

// The texts printed at x, in order.
std::vector<QString> textsAt(const RecordingSurface& s, double x)
{
    std::vector<QString> t;
    for (const auto& op : s.of(Kind::Text))
        if (std::abs(op.x1 - x) < 0.5)
            t.push_back(op.text);
    return t;
}

// A page only `rows` row pitches high, to see what happens at its end.
class ShortSurface : public RecordingSurface {
public:
    explicit ShortSurface(double height) : height_(height) {}
    double innerHeight() const override { return height_; }

private:
    double height_;
};

TEST(Heading, FileCreatedReadLastValueWinsAndWrittenBack)
{
    QTemporaryDir dir;
    const QString path = headingFilePath(dir.path() + u'/');
    EXPECT_TRUE(path.endsWith(QStringLiteral("/見出し.txt")));
    EXPECT_EQ(readHeading(path), QStringLiteral("テスト"));  // missing: created empty
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(readHeading(path), QStringLiteral("テスト"));

    struct Case { QStringList lines; QString heading; };
    const Case cases[] = {
        {{QStringLiteral("\"\"")}, QStringLiteral("テスト")},
        {{QStringLiteral("\"一学期\",\"二学期\"")}, QStringLiteral("二学期")},
        {{QStringLiteral("\"一学期\""), QStringLiteral("\"英単語 小テスト\"")}, QStringLiteral("英単語 小テスト")},
        {{QStringLiteral("\"一学期\",\"\"")}, QStringLiteral("テスト")},
    };
    for (const Case& c : cases) {
        test::writeCp932(path, c.lines);
        EXPECT_EQ(readHeading(path), c.heading) << c.lines.join(u'|').toStdString();
    }
    writeHeading(path, QStringLiteral("期末 単語テスト"));
    EXPECT_EQ(readTextLines(path), QStringList{QStringLiteral("\"期末 単語テスト\"")});
    EXPECT_TRUE(test::readBytes(path).endsWith("\r\n"));
    EXPECT_EQ(readHeading(path), QStringLiteral("期末 単語テスト"));
}

// Two other computers store their headings over and over while this one reads:
// every read finds one whole heading, never an empty or half-written file.
TEST(Heading, ReplacedWholeWhileOthersWriteAndRead)
{
    QTemporaryDir dir;
    const QString path = headingFilePath(dir.path() + u'/');
    const QString a = QStringLiteral("一学期 単語テスト ") + QString(200, u'あ');
    const QString b = QStringLiteral("second term ") + QString(300, u'b');
    writeHeading(path, a);
    QProcess first, second;
    first.start(QStringLiteral(VC_HEADING_WRITER), {path, a, QStringLiteral("300")});
    second.start(QStringLiteral(VC_HEADING_WRITER), {path, b, QStringLiteral("300")});
    ASSERT_TRUE(first.waitForStarted() && second.waitForStarted());
    int reads = 0, seenB = 0;
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        const QString h = readHeading(path);
        ASSERT_TRUE(h == a || h == b) << h.left(40).toStdString();
        ++reads;
        seenB += h == b ? 1 : 0;
        first.waitForFinished(0);
        second.waitForFinished(0);
    }
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_GT(reads, 10);
    EXPECT_GT(seenB, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("見出し.txt")});  // no scratch files left
}

TEST(WordSheet, OneSheetLaidOut)
{
    RecordingSurface s;
    SheetArrays sheet;
    ScriptedRandom random({0.4567});
    SheetOptions o = options();
    ASSERT_TRUE(drawWordSheet(s, sheet, cards(3), o, random));
    const SheetGeometry g = sheetGeometry(s, 0);
    EXPECT_DOUBLE_EQ(g.r, 520);
    EXPECT_DOUBLE_EQ(g.xJ, 400);
    EXPECT_DOUBLE_EQ(g.F, 0.9 * s.innerWidth() / 2);

    // The preview is cleared first; the heading and the date on both halves.
    EXPECT_EQ(s.operations.front().kind, Kind::Clear);
    EXPECT_EQ(textsAt(s, 400), (std::vector<QString>{QStringLiteral("テスト"), QStringLiteral("2026/12/10"), QStringLiteral("日本語1"),
                                                     QStringLiteral("日本語2"), QStringLiteral("日本語3")}));
    EXPECT_EQ(textsAt(s, 400 + s.innerWidth() / 2).front(), QStringLiteral("テスト"));
    EXPECT_EQ(sheet.number, 456);
    EXPECT_EQ(textsAt(s, 0.4 * s.innerWidth()), std::vector<QString>{QStringLiteral("*456")});
    EXPECT_EQ(textsAt(s, 0.9 * s.innerWidth()), std::vector<QString>{QStringLiteral("*456")});
    // Entries 1, 2, 3 in deck order, numbers on both halves, rows one pitch apart.
    EXPECT_EQ(textsAt(s, 100), (std::vector<QString>{QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 3")}));
    EXPECT_EQ(textsAt(s, g.F + 100), (std::vector<QString>{QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 3")}));
    EXPECT_EQ(textsAt(s, g.xE), (std::vector<QString>{QStringLiteral("english1"), QStringLiteral("english2"), QStringLiteral("english3")}));
    for (const auto& op : s.of(Kind::Text)) {
        EXPECT_TRUE(op.bold) << op.text.toStdString();
        EXPECT_EQ(op.fontSize, 10);
        if (op.text == QStringLiteral("english2")) {
            EXPECT_DOUBLE_EQ(op.y1, 3 * 520);
        }
    }
    // Two boxes with their dividers, drawn 3 dots wide.
    const auto boxes = s.of(Kind::Rectangle);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_DOUBLE_EQ(boxes[0].x1, 0.15 * s.innerWidth());
    EXPECT_DOUBLE_EQ(boxes[1].x2, 0.9 * s.innerWidth());
    EXPECT_DOUBLE_EQ(boxes[0].y1, 530);
    EXPECT_DOUBLE_EQ(boxes[0].y2, 890);
    EXPECT_EQ(boxes[0].lineWidth, 3);
    // The fold line after each entry, from the top to the bottom of the page.
    int folds = 0;
    for (const auto& op : s.of(Kind::Line))
        if (op.x1 == g.F && op.x2 == g.F && op.y1 == 0 && op.y2 == s.innerHeight())
            ++folds;
    EXPECT_EQ(folds, 3);
}

TEST(WordSheet, QuestionSheetRepeatsOrderAndNumberWithoutEnglish)
{
    SheetArrays sheet;
    ScriptedRandom random({0.25, 0.1, 0.9, 0.5, 0.7, 0.3, 0.8, 0.6});
    SheetOptions o = options(true);
    o.shuffle = true;
    RecordingSurface first;
    drawWordSheet(first, sheet, cards(3), o, random);
    RecordingSurface question;
    o.refill = false;
    o.question = true;
    drawWordSheet(question, sheet, cards(3), o, random);
    const SheetGeometry g = sheetGeometry(first, 0);
    EXPECT_EQ(textsAt(question, 400), textsAt(first, 400));
    EXPECT_EQ(textsAt(question, 0.4 * first.innerWidth()), textsAt(first, 0.4 * first.innerWidth()));
    EXPECT_EQ(textsAt(question, g.F + 100), textsAt(first, g.F + 100));
    EXPECT_TRUE(textsAt(question, g.xE).empty());
    EXPECT_EQ(textsAt(first, g.xE).size(), 3u);
    EXPECT_EQ(question.operations.front().kind == Kind::Clear, false);  // paper is never cleared

    // Every drawing that refills takes a new number and a new shuffle.
    o.refill = true;
    o.question = false;
    RecordingSurface again;
    const int before = sheet.number;
    drawWordSheet(again, sheet, cards(3), o, random);
    EXPECT_NE(sheet.number, before);
}

TEST(WordSheet, ShuffleSwapsJapaneseAndEnglishTogether)
{
    // Count 3: pairs (p, q) from ⌊3·r + 1⌋: (1, 3), (2, 2), (3, 1), (1, 2), (2, 3), (3, 3).
    ScriptedRandom random({0.5, 0.0, 0.9, 0.4, 0.4, 0.9, 0.0, 0.0, 0.5, 0.5, 0.9, 0.9, 0.9});
    SheetArrays sheet;
    SheetOptions o = options();
    o.shuffle = true;
    RecordingSurface s;
    drawWordSheet(s, sheet, cards(3), o, random);
    EXPECT_EQ(sheet.number, 500);
    ASSERT_EQ(sheet.cards.size(), 3u);
    // 123 → 321 → 321 → 123 → 213 → 231 → 231
    EXPECT_EQ(sheet.cards[0].english, QStringLiteral("english2"));
    EXPECT_EQ(sheet.cards[1].english, QStringLiteral("english3"));
    EXPECT_EQ(sheet.cards[2].english, QStringLiteral("english1"));
    for (const WordCard& c : sheet.cards)
        EXPECT_EQ(c.japanese.mid(3), c.english.mid(7));
}

TEST(WordSheet, EntryNumbersAreTheirLastTwoDigitsAcrossPages)
{
    struct Case { int m; const char* text; };
    for (const Case& c : {Case{1, " 1"}, Case{9, " 9"}, Case{10, "10"}, Case{99, "99"}, Case{100, "00"}, Case{101, "01"}, Case{1000, "00"}})
        EXPECT_EQ(entryNumberText(c.m), QString::fromLatin1(c.text)) << c.m;

    RecordingSurface s;
    SheetArrays sheet;
    ScriptedRandom random;
    drawWordSheet(s, sheet, cards(105), options(true), random);
    const auto numbers = textsAt(s, 100);
    ASSERT_EQ(numbers.size(), 105u);
    EXPECT_EQ(numbers[99], QStringLiteral("00"));
    EXPECT_EQ(numbers[100], QStringLiteral("01"));
    EXPECT_EQ(numbers[104], QStringLiteral("05"));
    // 27 one-line entries to a page: four pages, each with its own marks and heading.
    EXPECT_EQ(s.pages, 4);
    EXPECT_EQ(s.of(Kind::NewPage).size(), 3u);
    EXPECT_EQ(s.of(Kind::Rectangle).size(), 8u);
    EXPECT_EQ(textsAt(s, 400).front(), QStringLiteral("テスト"));
    for (const auto& op : s.of(Kind::Text))
        if (op.text == QStringLiteral(" 1") || op.text == QStringLiteral("28")) {
            EXPECT_DOUBLE_EQ(op.y1, 2 * 520) << op.text.toStdString();
        }
    EXPECT_TRUE(s.of(Kind::EndDocument).empty());  // the caller ends the document
}

TEST(WordSheet, PreviewAsksForEachNextPageAndCancelStops)
{
    for (bool ok : {true, false}) {
        RecordingSurface s;
        SheetArrays sheet;
        ScriptedRandom random;
        int asked = 0;
        const bool done = drawWordSheet(s, sheet, cards(40), options(), random, [&] {
            ++asked;
            return ok;
        });
        EXPECT_EQ(done, ok);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(s.pages, 1);  // the preview shows one page at a time
        EXPECT_EQ(s.of(Kind::Clear).size(), ok ? 2u : 1u);
        EXPECT_EQ(textsAt(s, 100).size(), ok ? 40u : 27u);  // Cancel leaves what is drawn
    }
}

TEST(WordSheet, FoldAdjustmentMovesTheEnglishHalf)
{
    for (double a : {0.0, 0.05, -0.09, 0.2}) {
        RecordingSurface s;
        SheetArrays sheet;
        ScriptedRandom random;
        SheetOptions o = options();
        o.fold = a;
        drawWordSheet(s, sheet, cards(1), o, random);
        const double F = (a + 0.9) * s.innerWidth() / 2;
        bool fold = false;
        for (const auto& op : s.of(Kind::Line))
            fold = fold || (op.x1 == F && op.x2 == F && op.y1 == 0);
        EXPECT_TRUE(fold) << a;
        EXPECT_EQ(textsAt(s, F + 100), std::vector<QString>{QStringLiteral(" 1")}) << a;
        EXPECT_EQ(textsAt(s, F + 400), std::vector<QString>{QStringLiteral("english1")}) << a;
    }
    struct Case { double a; bool ok; };
    for (const Case& c : {Case{0, true}, Case{0.099, true}, Case{-0.099, true}, Case{0.1, false}, Case{-0.1, false}, Case{0.2, false}})
        EXPECT_EQ(foldAdjustmentInRange(c.a), c.ok) << c.a;
    EXPECT_EQ(kFoldRangeMessage, QStringLiteral("-0.1～0.1の間にしてください"));
}

// Texts longer than 11 lines, entries longer than a page, entries with nothing in them.
TEST(WordSheet, LongAndEmptyEntriesStayInTheirRows)
{
    RecordingSurface s;
    SheetArrays sheet;
    ScriptedRandom random;
    // 20 characters a line at 4000 twips: 300 characters would be 15 lines.
    std::vector<WordCard> deck{{QStringLiteral("1"), QString(300, u'語'), QStringLiteral("long")},
                               {QStringLiteral("1"), QString(), QString()},
                               {QStringLiteral("1"), QStringLiteral("次"), QStringLiteral("next")}};
    drawWordSheet(s, sheet, deck, options(true), random);
    EXPECT_EQ(textsAt(s, 400).size(), 2u + 11u + 1u);  // heading, date, 11 lines, "次"
    EXPECT_EQ(textsAt(s, 100), (std::vector<QString>{QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 3")}));
    std::vector<double> rows;
    for (const auto& op : s.of(Kind::Text))
        if (std::abs(op.x1 - 100) < 0.5)
            rows.push_back(op.y1 / 520);
    EXPECT_EQ(rows, (std::vector<double>{2, 13, 14}));

    // An English text of many lines near the bottom goes to the next page whole.
    RecordingSurface paper;
    std::vector<WordCard> many = cards(26);
    many.push_back({QStringLiteral("1"), QStringLiteral("長い"), QStringLiteral("a b c d e f g h i j k l m n o p q r s t u v w x y z ").repeated(8)});
    drawWordSheet(paper, sheet, many, options(true), random);
    EXPECT_EQ(paper.pages, 2);
    for (const auto& op : paper.of(Kind::Text))
        if (op.text == QStringLiteral("27")) {
            EXPECT_EQ(op.page, 2);
        }
    for (const auto& op : paper.operations)
        EXPECT_LE(op.kind == Kind::Text ? op.y1 + 200 : 0, paper.innerHeight());

    // A page too short for even one entry: each entry gets a page and nothing loops.
    ShortSurface tiny(5 * 520);
    drawWordSheet(tiny, sheet, {{QStringLiteral("1"), QString(100, u'語'), QStringLiteral("x")},
                                {QStringLiteral("1"), QString(100, u'語'), QStringLiteral("y")}},
                  options(true), random);
    EXPECT_EQ(tiny.pages, 2);
}

TEST(WordSheet, PrintEntryPointsMakeTheirPages)
{
    ScriptedRandom random({0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9});
    SheetArrays sheet;
    const auto deck = cards(3);
    const auto numbers = [](const RecordingSurface& s) {
        std::vector<QString> marks;
        for (const auto& op : s.of(Kind::Text))
            if (op.text.startsWith(u'*') && std::abs(op.x1 - 0.4 * s.innerWidth()) < 0.5)
                marks.push_back(op.text);
        return marks;
    };

    RecordingSurface paper;  // the copies as identical pages of one document
    printSameSheets(paper, 3, sheet, deck, options(), random);
    EXPECT_EQ(paper.pages, 3);
    EXPECT_TRUE(paper.of(Kind::Clear).empty());
    const auto same = numbers(paper);
    ASSERT_EQ(same.size(), 3u);
    EXPECT_EQ(same[0], same[1]);
    EXPECT_EQ(same[0], same[2]);
    EXPECT_EQ(textsAt(paper, 400).size(), 3u * 5u);

    RecordingSurface separate;
    printSeparateSheets(separate, 3, sheet, deck, options(), random);
    EXPECT_EQ(separate.pages, 3);
    const auto apart = numbers(separate);
    ASSERT_EQ(apart.size(), 3u);
    EXPECT_NE(apart[0], apart[1]);

    RecordingSurface pairs;
    int between = 0;
    printSheetsWithQuestions(pairs, 2, sheet, deck, options(), random, [&] { ++between; });
    EXPECT_EQ(pairs.pages, 4);
    EXPECT_EQ(between, 2);
    const auto paired = numbers(pairs);
    ASSERT_EQ(paired.size(), 4u);
    EXPECT_EQ(paired[0], paired[1]);
    EXPECT_EQ(paired[2], paired[3]);
    EXPECT_NE(paired[0], paired[2]);
    int english = 0;
    for (const auto& op : pairs.of(Kind::Text))
        english += op.text.startsWith(QStringLiteral("english")) ? 1 : 0;
    EXPECT_EQ(english, 6);  // only the two word sheets

    RecordingSurface none;
    printSeparateSheets(none, 0, sheet, deck, options(), random);
    EXPECT_TRUE(none.of(Kind::Text).empty());

    struct Case { const char* text; int copies; };
    for (const Case& c : {Case{"1", 1}, Case{"3", 3}, Case{"2部", 2}, Case{"abc", 0}, Case{"", 0}, Case{" 4", 4}})
        EXPECT_EQ(copiesFromText(QString::fromUtf8(c.text)), c.copies) << c.text;
}

} // namespace
