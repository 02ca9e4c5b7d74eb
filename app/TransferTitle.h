// The words of a running transfer's title, in the language of the text
// table: text 12 while the worker waits for the instrument, the family's
// own title after each received point, text 15 (point, total) for each frame
// a send writes.
#pragma once

#include <string>

class TextTable;
struct InstrumentFamily;
struct TransferTitle;

std::string transferTitleText(const InstrumentFamily& family, const TextTable& texts, const TransferTitle& title);
