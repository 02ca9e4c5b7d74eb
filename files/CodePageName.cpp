#include "files/CodePageName.h"

#include <string>

namespace {

struct NamedCodePage {
    const char* name;  // lower case, without '-' and '_'
    unsigned codePage;
};

constexpr NamedCodePage kNamedCodePages[] = {
    {"gbk", 936},    {"gb2312", 936}, {"euccn", 936},  {"big5", 950},     {"shiftjis", 932},
    {"sjis", 932},   {"euckr", 949},  {"uhc", 949},    {"utf8", 65001},   {"latin1", 28591},
    {"koi8r", 20866}, {"gb18030", 54936},
};

// Lower case, without the '-' and '_' that spellings of a name differ in.
std::string folded(std::string_view name) {
    std::string result;
    for (char c : name) {
        if (c == '-' || c == '_') continue;
        result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return result;
}

// The number that is the whole of digits; 0 when it is empty, holds another
// character or is above 65535.
unsigned numberOf(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 65535 ? value : 0;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

unsigned codePageOfName(std::string_view name) {
    const std::string key = folded(name);
    for (const NamedCodePage& entry : kNamedCodePages)
        if (key == entry.name) return entry.codePage;
    if (startsWith(key, "iso8859")) {
        const unsigned part = numberOf(std::string_view(key).substr(7));
        return part >= 1 && part <= 16 ? 28590 + part : 0;
    }
    for (std::string_view prefix : {"cp", "windows", "ibm"})
        if (startsWith(key, prefix)) return numberOf(std::string_view(key).substr(prefix.size()));
    return numberOf(key);
}
