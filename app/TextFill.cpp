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

}  // namespace

std::string fillText(const std::string& pattern, const std::vector<TextValue>& values) {
    std::string out;
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            out += pattern[i++];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        std::size_t j = i + 1;
        bool zeroPad = false;
        if (j < pattern.size() && pattern[j] == '0') {
            zeroPad = true;
            ++j;
        }
        int width = 0;
        while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && width < 100)
            width = width * 10 + (pattern[j++] - '0');
        const bool known = j < pattern.size() &&
                           (pattern[j] == 'c' || pattern[j] == 'd' || pattern[j] == 's');
        if (!known || next >= values.size()) {
            out += pattern[i++];  // not a conversion this filler serves: keep it as text
            continue;
        }
        out += formatValue(values[next++], pattern[j], zeroPad, width);
        i = j + 1;
    }
    return out;
}
