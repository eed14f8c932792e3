#pragma once
#include "flashcards/cardcycle.h"

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace vc {

class DrawingSurface;
class Random;

inline constexpr int kSheetMaxLines = 11;           // of one text in one entry
inline constexpr double kJapaneseWrapWidth = 4000;  // twips
inline constexpr double kEnglishWrapWidth = 4200;

// The heading when "見出し.txt" holds none.
inline const QString kDefaultHeading = QStringLiteral("テスト");
// "見出し.txt" in the course folder.
QString headingFilePath(const QString& courseFolder);
// Creates the file empty when it is missing, then reads it value by value:
// the last value wins, and none or an empty one gives "テスト". Throws
// DataError naming the file when it cannot be created or read.
QString readHeading(const QString& path);
// Replaces the file's content with the heading as one quoted value (atomically).
void writeHeading(const QString& path, const QString& heading);

// The fold adjustment must lie strictly between −0.1 and 0.1.
inline const QString kFoldRangeMessage = QStringLiteral("-0.1～0.1の間にしてください");
bool foldAdjustmentInRange(double a);

// The cards of the page being printed and its number; they outlive one
// drawing, so that a question sheet repeats the sheet before it.
struct SheetArrays {
    std::vector<WordCard> cards;  // in print order
    int number = 0;               // 0..999, printed as "*" + number
};

struct SheetOptions {
    QString heading = kDefaultHeading;
    QDate date;
    bool shuffle = false;     // "並べ替え"
    double fold = 0;          // "センター位置調整"
    bool toPaper = false;     // print mode 1; otherwise the preview
    bool refill = true;       // new arrays and number from the deck
    bool question = false;    // leave the English column empty
};

// The geometry of one sheet on a surface, for the drawing and its tests.
struct SheetGeometry {
    double W = 0, H = 0;  // the drawable area
    double h = 0, w = 0;  // header line step and the width of "あ", regular
    double r = 0;         // row pitch, bold
    double xJ = 0, xE = 0, F = 0;
};
SheetGeometry sheetGeometry(DrawingSurface& surface, double fold);

// The entry number as printed: its last two digits, right-aligned in 2.
QString entryNumberText(int m);

// Draws one sheet on `surface`. When refilling, the sheet arrays are copied
// from `deck` (and shuffled when asked) and get a new number. On the preview
// a full page calls `nextPage`; false (Cancel) ends the drawing at once and
// the function returns false. On paper a full page begins a new one; the
// caller ends the document.
bool drawWordSheet(DrawingSurface& surface, SheetArrays& sheet, const std::vector<WordCard>& deck,
                   const SheetOptions& options, Random& random, const std::function<bool()>& nextPage = {});

// The print entry points, each on one document. "全部同じ": one sheet drawn
// afresh, then the same page again for each further copy. "全部ばらばら":
// `copies` sheets, each drawn afresh. "問題用紙も印刷": `copies` pairs of a
// sheet and its question sheet. Each sheet starts on a new page; `between`
// runs between sheets (to let pending events run).
void printSameSheets(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                     SheetOptions options, Random& random);
void printSeparateSheets(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                         SheetOptions options, Random& random, const std::function<void()>& between = {});
void printSheetsWithQuestions(DrawingSurface& paper, int copies, SheetArrays& sheet, const std::vector<WordCard>& deck,
                              SheetOptions options, Random& random, const std::function<void()>& between = {});

// The number of copies in "Text2": its leading number, 0 for a text that is none.
int copiesFromText(const QString& text);

} // namespace vc
