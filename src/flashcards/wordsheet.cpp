#include "flashcards/wordsheet.h"

#include "platform/errors.h"
#include "platform/fieldlist.h"
#include "platform/random.h"
#include "platform/textcodec.h"
#include "platform/textfile.h"
#include "printing/surface.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace vc {

QString headingFilePath(const QString& courseFolder) { return courseFolder + QStringLiteral("見出し.txt"); }

QString readHeading(const QString& path)
{
    // Opened straight away rather than looked up first: another computer
    // storing its heading replaces the file by a rename, during which a
    // look-up of the name can miss it while an open finds one or the other.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Append, so a file another computer made meanwhile is never truncated.
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly | QIODevice::Append))
            throw DataError(fileMessage(path, QStringLiteral("を作れません。")));
        if (created.size() == 0)
            return kDefaultHeading;
        created.close();
        if (!file.open(QIODevice::ReadOnly))
            throw DataError(fileMessage(path, QStringLiteral("を読めません。")));
    }
    qsizetype bad = 0;
    const auto text = Cp932::decode(file.readAll(), &bad);
    if (!text)
        throw DataError(fileMessage(path, QStringLiteral("の文字コードが Shift-JIS ではありません（%1 バイト目）。").arg(bad + 1)));
    FieldListReader reader(*text, path);
    QString heading;
    while (!reader.atEnd())
        heading = reader.next().text;
    return heading.isEmpty() ? kDefaultHeading : heading;
}

void writeHeading(const QString& path, const QString& heading)
{
    writeTextLines(path, {FieldListWriter().text(heading).line()});
}

bool foldAdjustmentInRange(double a) { return std::abs(a) < 0.1; }

QString entryNumberText(int m) { return (u' ' + QString::number(m)).right(2); }

int copiesFromText(const QString& text)
{
    const double n = leadingNumber(text);
    return static_cast<int>(std::clamp(n, -1.0e6, 1.0e6));
}

SheetGeometry sheetGeometry(DrawingSurface& s, double fold)
{
    SheetGeometry g;
    // The drawable area: the surfaces measure from its corner, and the
    // right-hand sheet number at 0.9 W must stay on the paper.
    g.W = s.innerWidth();
    g.H = s.innerHeight();
    const bool bold = s.fontBold();
    s.setFontSize(10);
    s.setFontBold(false);
    g.h = 1.25 * s.textHeight(QStringLiteral("あ"));
    g.w = s.textWidth(QStringLiteral("あ"));
    s.setFontBold(true);
    g.r = 2 * 1.3 * s.textHeight(QStringLiteral("あ"));
    g.xJ = 2 * s.textWidth(QStringLiteral("あ"));
    g.F = (fold + 0.9) * g.W / 2;
    g.xE = g.F + 2 * s.textWidth(QStringLiteral("あ"));
    s.setFontBold(bold);
    return g;
}

namespace {

// The lines of a text wrapped to `width`, up to the first empty one and at
// most kSheetMaxLines: a longer text is cut rather than run over the rows below.
QStringList entryLines(const DrawingSurface& s, const QString& text, double width)
{
    QStringList lines;
    for (const QString& line : wrapText(s, text, width)) {
        if (line.isEmpty() || lines.size() == kSheetMaxLines)
            break;
        lines.append(line);
    }
    return lines;
}

class SheetPainter {
public:
    SheetPainter(DrawingSurface& s, SheetArrays& sheet, const SheetOptions& o) : s_(s), sheet_(sheet), o_(o) {}

    void at(double x, double y, const QString& text)
    {
        s_.setCurrentPosition(x, y);
        s_.printText(text);
    }

    void header()
    {
        const QString date = o_.date.toString(QStringLiteral("yyyy/MM/dd"));
        for (double x : {2 * g_.w, 2 * g_.w + s_.innerWidth() / 2}) {
            at(x, g_.h, o_.heading);
            at(x, 2.5 * g_.h, date);
        }
    }

    void marks()
    {
        const QString number = u'*' + QString::number(sheet_.number);
        at(0.4 * g_.W, 0.5 * g_.h, number);
        at(0.9 * g_.W, 0.5 * g_.h, number);
        const double top = g_.r + 10, bottom = 2 * g_.r - 150;
        for (auto [left, divider, right] : {std::array<double, 3>{0.15, 0.2, 0.4}, std::array<double, 3>{0.65, 0.7, 0.9}}) {
            s_.drawRectangle(left * g_.W, top, right * g_.W, bottom);
            s_.drawLine(divider * g_.W, top, divider * g_.W, bottom);
        }
    }

    void topLine() { s_.drawLine(0, 2 * g_.r - 10, g_.W, 2 * g_.r - 10); }

    bool draw(const std::vector<WordCard>& deck, Random& random, const std::function<bool()>& nextPage)
    {
        s_.setLineWidth(1);
        if (o_.toPaper)
            s_.setPaperSize(kPaperA4);
        s_.setFillTransparent(true);
        s_.setFontBold(false);
        g_ = sheetGeometry(s_, o_.fold);
        if (!o_.toPaper)
            s_.clear();
        s_.setFontBold(true);
        header();

        if (o_.refill) {
            sheet_.number = std::clamp(static_cast<int>(random.next() * 1000), 0, 999);
            sheet_.cards.assign(deck.begin(), deck.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(deck.size(), 1000)));
            const int count = static_cast<int>(sheet_.cards.size());
            if (o_.shuffle && count > 0) {
                auto pick = [&] { return std::clamp(static_cast<int>(count * random.next() + 1), 1, count) - 1; };
                for (int i = 0; i < 2 * count; ++i) {
                    const int p = pick();
                    const int q = pick();
                    std::swap(sheet_.cards[static_cast<size_t>(p)], sheet_.cards[static_cast<size_t>(q)]);
                }
            }
        }

        s_.setLineWidth(3);
        marks();
        int k = 1;
        topLine();

        int m = 0;
        for (const WordCard& card : sheet_.cards) {
            ++m;
            ++k;
            const QStringList japanese = entryLines(s_, card.japanese, kJapaneseWrapWidth);
            const QStringList english = entryLines(s_, card.english, kEnglishWrapWidth);
            const int lj = static_cast<int>(japanese.size()) - 1;
            const int le = static_cast<int>(english.size()) - 1;
            // The rows the entry needs beyond its first: the estimate from the
            // Japanese length, or the lines it really takes when more.
            const int extra = std::min(kSheetMaxLines - 1, std::max({static_cast<int>(card.japanese.size()) / 23, lj, le}));
            // A page that holds nothing yet is never left for another: an
            // entry too long for any page is clipped there instead.
            if ((extra + k + 2) * g_.r > s_.innerHeight() && k > 2) {
                if (o_.toPaper) {
                    s_.newPage();
                } else {
                    if (nextPage && !nextPage())
                        return false;
                    s_.clear();
                }
                marks();
                header();
                k = 2;
                topLine();
            }
            const QString number = entryNumberText(m);
            at(100, k * g_.r, number);
            for (int j = 0; j < japanese.size(); ++j)
                at(g_.xJ, (j + k) * g_.r, japanese.at(j));
            at(g_.F + 100, k * g_.r, number);
            if (!o_.question)
                for (int j = 0; j < english.size(); ++j)
                    at(g_.xE, (j + k) * g_.r, english.at(j));
            const int k0 = k;
            // An entry with both texts empty still takes its row.
            k += std::max({lj, le, 0});
            const double bottom = (k + 1) * g_.r - 10;
            s_.drawLine(0, bottom, g_.W, bottom);
            s_.drawLine(g_.xE - 30, k0 * g_.r - 10, g_.xE - 30, bottom);
            s_.drawLine(g_.xJ - 30, k0 * g_.r - 10, g_.xJ - 30, bottom);
            s_.drawLine(g_.F, 0, g_.F, g_.H);
        }
        return true;
    }

private:
    DrawingSurface& s_;
    SheetArrays& sheet_;
    const SheetOptions& o_;
    SheetGeometry g_;
};

} // namespace

bool drawWordSheet(DrawingSurface& surface, SheetArrays& sheet, const std::vector<WordCard>& deck,
                   const SheetOptions& options, Random& random, const std::function<bool()>& nextPage)
{
    return SheetPainter(surface, sheet, options).draw(deck, random, nextPage);
}

void printSameSheets(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                     SheetOptions options, Random& random)
{
    options.toPaper = true;
    options.refill = true;
    options.question = false;
    drawWordSheet(paper, sheet, deck, options, random);
    // The same page again for every further copy: a job's copy count cannot
    // change once it has begun, and a PDF has none.
    options.refill = false;
    for (int i = 1; i < copies; ++i) {
        paper.newPage();
        drawWordSheet(paper, sheet, deck, options, random);
    }
}

void printSeparateSheets(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                         SheetOptions options, Random& random, const std::function<void()>& between)
{
    options.toPaper = true;
    options.refill = true;
    options.question = false;
    for (int i = 0; i < copies; ++i) {
        if (i > 0)
            paper.newPage();
        drawWordSheet(paper, sheet, deck, options, random);
        if (between)
            between();
    }
}

void printSheetsWithQuestions(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                              SheetOptions options, Random& random, const std::function<void()>& between)
{
    options.toPaper = true;
    for (int i = 0; i < copies; ++i) {
        if (i > 0)
            paper.newPage();
        options.refill = true;
        options.question = false;
        drawWordSheet(paper, sheet, deck, options, random);
        paper.newPage();
        options.refill = false;
        options.question = true;
        drawWordSheet(paper, sheet, deck, options, random);
        if (between)
            between();
    }
}

} // namespace vc
