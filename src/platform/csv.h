#pragma once
#include <QString>

namespace vc {

// Fields of the CSV files the program exports for spreadsheets.

// A value the program writes itself (a number, a date or time it formats):
// as it is, quoted only when it holds a comma, a double quote or a line end,
// so "-5" stays a number for the spreadsheet.
QString csvField(const QString& value);

// A text that comes from a file or a person (a name, a school, a level name):
// one that begins with "=", "+", "-", "@", a tab or a carriage return gets a
// leading "'" inside a quoted field, so a spreadsheet shows it as text
// instead of running it as a formula.
QString csvTextField(const QString& text);

} // namespace vc
