#include "files/XmlText.h"

#include "files/RecentMarks.h"

const char* xmlReferenceOf(char c, XmlPlace place) {
    const bool attribute = place == XmlPlace::Attribute;
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '"': return attribute ? "&quot;" : nullptr;
    case '\'': return attribute ? "&apos;" : nullptr;
    case '\t': return attribute ? "&#9;" : nullptr;
    case '\n': return attribute ? "&#10;" : nullptr;
    default: return nullptr;
    }
}

void appendXmlText(std::string_view text, std::string& out) {
    StringOut to{out};
    putXmlEscaped(text, XmlPlace::Content, to);
}
