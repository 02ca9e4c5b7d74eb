// The number check that every coordinate entry of the point dialog passes
// before its value is taken.
//
// Tests, in this order; the first that fails decides:
//   1. the text is empty                                   -> text 27
//   2. it holds a character other than 0-9, '+', '-', '.'  -> text 28
//   3. '+' or '-' stands anywhere but in the first place   -> text 29
//   4. it holds two or more '.'                            -> text 30
//   5. its value, read as a single-precision number the
//      way "%f" reads it, has a magnitude above 100000000  -> text 31
// A text from which no number can be read (a lone sign, a lone point, a sign
// and a point) passes test 5. Because the value is read in single precision,
// 100000004 passes (it reads as 100000000) and 100000005 fails.
#pragma once

#include <string_view>

class TextTable;
class MessageBoxes;

// The id of the text that describes why the entry is not acceptable, or 0
// when it is. Shows nothing.
int numberCheckFailure(std::string_view text);

// Runs the check. When a test fails, shows its text in a message box with no
// owner window, caption "ERROR" and the error icon, and returns false; returns
// true, showing nothing, when the text is acceptable.
bool numberCheck(std::string_view text, const TextTable& texts, MessageBoxes& boxes);
