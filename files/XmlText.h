// UTF-8 text in XML, escaped for where it stands.
//
// Element content: '&', '<' and '>' as entities, and CR as a character
// reference, which a parser would otherwise take for the end of a line and
// make an LF of; tab and LF stay as they are. An attribute value also needs
// '"' and '\'' as entities, and tab and LF as references, which attribute
// normalisation would otherwise turn into spaces. The other control
// characters XML cannot carry at all; the writers refuse the points that
// hold them before their texts come here (xmlRefuses of files/PointFormats.h).
#pragma once

#include <string>
#include <string_view>

enum class XmlPlace { Content, Attribute };

// The entity or character reference of a byte that text in place cannot
// hold as it is; nullptr for any other byte.
const char* xmlReferenceOf(char c, XmlPlace place);

// Puts text, escaped for place, to out (a TextSink, or anything with its
// put(std::string_view)).
template <class Out>
void putXmlEscaped(std::string_view text, XmlPlace place, Out& out) {
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (const char* reference = xmlReferenceOf(text[at], place)) {
            out.put(text.substr(start, at - start));
            out.put(std::string_view(reference));
            start = at + 1;
        }
    }
    out.put(text.substr(start));
}

// Appends text to out, escaped as element content.
void appendXmlText(std::string_view text, std::string& out);
