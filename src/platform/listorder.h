#pragma once
#include <QString>
#include <QStringList>

namespace vc {

// The one ordering rule of every sorted list of the program (choice lists,
// name lists, rankings shown in sorted order).
//
// Texts compare case-insensitively, character by character after simple case
// folding, so "apple" < "Banana" < "cat"; characters without case (kana, kanji,
// digits, symbols) compare by code point. Texts equal apart from case keep a
// fixed order by code point, capitals first ("Apple" before "apple"), so a
// sorted list never depends on the order its entries were added in.
//
// A list widget's own sorting orders by code point (all capitals before all
// small letters), and locale collation changes with the machine's settings;
// neither is used.
bool listOrderLess(const QString& a, const QString& b);

// Sorts `texts` by listOrderLess, keeping equal texts in their order.
void sortListTexts(QStringList& texts);

} // namespace vc
