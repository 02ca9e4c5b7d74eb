#include "files/XmlText.h"

namespace {

// The entity or character reference of a byte that element content cannot
// hold as it is; nullptr for any other byte.
const char* referenceOf(char c) {
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    default: return nullptr;
    }
}

}  // namespace

void appendXmlText(std::string_view text, std::string& out) {
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (const char* reference = referenceOf(text[at])) {
            out.append(text.substr(start, at - start));
            out.append(reference);
            start = at + 1;
        }
    }
    out.append(text.substr(start));
}
