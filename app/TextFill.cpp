#include "app/TextFill.h"

#include <cstddef>
#include <cstdio>

namespace {

std::string formatInt(int value, bool zeroPad, int width) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    std::string out = digits;
    if (static_cast<int>(out.size()) >= width) return out;
    const std::size_t pad = static_cast<std::size_t>(width) - out.size();
    if (!zeroPad) return std::string(pad, ' ') + out;
    const std::size_t signLen = out[0] == '-' ? 1 : 0;
    return out.substr(0, signLen) + std::string(pad, '0') + out.substr(signLen);
}

std::string formatValue(const TextValue& value, char conversion, bool zeroPad, int width) {
    switch (conversion) {
    case 'c':
        return std::string(1, value.kind() == TextValue::Kind::Int ? static_cast<char>(value.asInt())
                                                                   : value.asChar());
    case 'd':
        return formatInt(value.kind() == TextValue::Kind::Char
                             ? static_cast<unsigned char>(value.asChar())
                             : value.asInt(),
                         zeroPad, width);
    default: {  // 's'
        std::string text = value.kind() == TextValue::Kind::Text ? value.asText()
                           : value.kind() == TextValue::Kind::Char
                               ? std::string(1, value.asChar())
                               : formatInt(value.asInt(), false, 0);
        if (static_cast<int>(text.size()) < width)
            text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
        return text;
    }
    }
}

// One conversion of a template, from its '%' to its conversion character.
struct Conversion {
    std::size_t end = 0;    // just after the conversion character
    int position = -1;      // the value's number from 0 when the conversion names it
    bool zeroPad = false;
    int width = 0;
    char kind = 0;          // 'c', 'd', 's'; 0: no conversion this filler serves
};

int digitsAt(const std::string& pattern, std::size_t& j) {
    int number = 0;
    while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && number < 100)
        number = number * 10 + (pattern[j++] - '0');
    return number;
}

// Reads the conversion whose '%' stands at i (a "%%" is no conversion).
Conversion conversionAt(const std::string& pattern, std::size_t i) {
    Conversion c;
    std::size_t j = i + 1;
    // "%<n>$": the value's number, from 1.
    std::size_t k = j;
    if (k < pattern.size() && pattern[k] >= '1' && pattern[k] <= '9') {
        const int number = digitsAt(pattern, k);
        if (k < pattern.size() && pattern[k] == '$') {
            c.position = number - 1;
            j = k + 1;
        }
    }
    if (j < pattern.size() && pattern[j] == '0') {
        c.zeroPad = true;
        ++j;
    }
    c.width = digitsAt(pattern, j);
    if (j < pattern.size() && (pattern[j] == 'c' || pattern[j] == 'd' || pattern[j] == 's')) {
        c.kind = pattern[j];
        c.end = j + 1;
    }
    return c;
}

// Calls use(conversion, value index) for every conversion of the template
// that has a value among count, and keep(character) for the rest.
template <class Use, class Keep>
void walk(const std::string& pattern, std::size_t count, Use use, Keep keep) {
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            keep(pattern[i++]);
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            keep('%');
            i += 2;
            continue;
        }
        const Conversion c = conversionAt(pattern, i);
        const std::size_t value = c.position >= 0 ? static_cast<std::size_t>(c.position) : next;
        if (!c.kind || value >= count) {
            keep(pattern[i++]);  // not a conversion this filler serves: keep it as text
            continue;
        }
        use(c, value);
        next = value + 1;
        i = c.end;
    }
}

}  // namespace

std::string fillText(const std::string& pattern, const std::vector<TextValue>& values) {
    std::string out;
    walk(
        pattern, values.size(),
        [&](const Conversion& c, std::size_t value) { out += formatValue(values[value], c.kind, c.zeroPad, c.width); },
        [&](char kept) { out += kept; });
    return out;
}

std::vector<char> textConversions(const std::string& pattern) {
    std::vector<char> kinds;
    constexpr std::size_t kAnyCount = 100;
    walk(
        pattern, kAnyCount,
        [&](const Conversion& c, std::size_t value) {
            if (kinds.size() <= value) kinds.resize(value + 1, 0);
            kinds[value] = c.kind;
        },
        [](char) {});
    return kinds;
}
