// UTF-8 text as the content of an XML element: '&', '<' and '>' as
// entities, and CR as a character reference, which a parser would
// otherwise take for the end of a line and make an LF of. Tab and LF stay
// as they are: element content keeps them. The other control characters
// XML cannot carry at all; the writers refuse the points that hold them
// before their texts come here (xmlRefuses of files/PointFormats.h).
#pragma once

#include <string>
#include <string_view>

// Appends text to out, escaped.
void appendXmlText(std::string_view text, std::string& out);
