#include "app/NumberCheck.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/MessageBoxes.h"
#include "app/TextTable.h"

namespace {

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The value as "%f" reads it into a float. Tests 2 to 4 have passed, so the
// text is an optional sign, digits and at most one point; strtof reads such
// a text exactly as scanf's "%f" does. No number (no digit) reads as 0.
float singlePrecisionValue(std::string_view text) {
    const std::string copy(text);
    return std::strtof(copy.c_str(), nullptr);
}

}  // namespace

int numberCheckFailure(std::string_view text) {
    if (text.empty()) return kTextInputEmpty;
    for (char c : text) {
        if (!isNumberCharacter(c)) return kTextBadCharacter;
    }
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '+' || text[i] == '-') return kTextMisplacedSign;
    }
    int points = 0;
    for (char c : text) {
        if (c == '.') ++points;
    }
    if (points >= 2) return kTextTwoPoints;
    // A value too large for a float reads as infinity and fails here too.
    if (std::fabs(singlePrecisionValue(text)) > 1e8f) return kTextOverflow;
    return 0;
}

bool numberCheck(std::string_view text, const TextTable& texts, MessageBoxes& boxes) {
    const int failure = numberCheckFailure(text);
    if (failure == 0) return true;
    boxes.show(BoxOwner::None, texts.text(failure), "ERROR", BoxIcon::Error, BoxButtons::Ok);
    return false;
}
