#include "app/PointDialogLogic.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/MessageBoxes.h"
#include "app/NumberCheck.h"
#include "app/PointEntries.h"
#include "app/TextTable.h"

namespace {

constexpr int kWordEntryChars = 7;     // name and mark
constexpr int kNumberEntryChars = 12;  // what the user can type into N, E, Z
constexpr int kNumberReadChars = 29;   // what OK reads of N, E, Z

bool isBlank(char c) {
    // The blanks that end a word read with "%s".
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first word of text, as "%s" reads it: leading blanks skipped, the word
// ends at the next blank. Empty when the text holds no word.
std::string_view firstWord(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin])) ++begin;
    std::size_t end = begin;
    while (end < text.size() && !isBlank(text[end])) ++end;
    return text.substr(begin, end - begin);
}

// Three decimals, as the list shows them. Any double fits: the buffer is
// sized for the longest "%.3f" text (309 integer digits and a sign).
std::string threeDecimals(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.3lf", value);
    return text;
}

void copyFields(const PointRecord& from, PointRecord& to) {
    std::memcpy(to.name, from.name, sizeof to.name);
    std::memcpy(to.mark, from.mark, sizeof to.mark);
    to.n = from.n;
    to.e = from.e;
    to.z = from.z;
}

}  // namespace

PointDialogLogic::PointDialogLogic(PointRecord& point, PointEntries& entries,
                                   const TextTable& texts, MessageBoxes& boxes)
    : point_(point), entries_(entries), texts_(texts), boxes_(boxes) {}

void PointDialogLogic::open() {
    copyFields(point_, original_);
    entries_.write(kEntryName, point_.name);
    entries_.write(kEntryMark, point_.mark);
    entries_.write(kEntryN, threeDecimals(point_.n));
    entries_.write(kEntryE, threeDecimals(point_.e));
    entries_.write(kEntryZ, threeDecimals(point_.z));
    entries_.setLimit(kEntryName, kWordEntryChars);
    entries_.setLimit(kEntryMark, kWordEntryChars);
    entries_.setLimit(kEntryN, kNumberEntryChars);
    entries_.setLimit(kEntryE, kNumberEntryChars);
    entries_.setLimit(kEntryZ, kNumberEntryChars);
}

bool PointDialogLogic::takeNumber(int id, double& field) {
    const std::string text = entries_.read(id, kNumberReadChars);
    if (!numberCheck(text, texts_, boxes_)) return false;
    // The checked text is a sign, digits and at most one point, which strtod
    // reads as "%lf" does, to the full double: what was typed is stored.
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str()) field = value;
    return true;
}

bool PointDialogLogic::confirm() {
    const std::string name = entries_.read(kEntryName, kWordEntryChars);
    const std::string_view nameWord = firstWord(name);
    if (!nameWord.empty()) point_.setName(nameWord);

    const std::string mark = entries_.read(kEntryMark, kWordEntryChars);
    const std::string_view markWord = firstWord(mark);
    if (!markWord.empty()) point_.setMark(markWord);

    if (!takeNumber(kEntryN, point_.n)) return false;
    if (!takeNumber(kEntryE, point_.e)) return false;
    if (!takeNumber(kEntryZ, point_.z)) return false;

    if (point_.name[0] == '\0') {
        boxes_.show(BoxOwner::None, texts_.text(kTextNameEmpty), "ERROR", BoxIcon::Error,
                    BoxButtons::Ok);
        return false;
    }
    return true;
}

void PointDialogLogic::cancel() { copyFields(original_, point_); }
