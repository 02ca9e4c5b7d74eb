// UTF-8 as the outputs that are UTF-8 by definition must hold it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the valid UTF-8 sequence that starts text (1 for an ASCII
// byte), or 0 when the bytes there are no valid sequence: a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate,
// a value beyond U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text);

// True when the whole of text is valid UTF-8.
bool isValidUtf8(std::string_view text);

class TextEncoding;

// True when texts of this encoding are UTF-8 already (nullptr, or an
// encoding of code page 65001): they need the check of isValidUtf8, and no
// conversion.
bool isUtf8Encoding(const TextEncoding* encoding);

// A name or mark (at most max bytes, ended by a NUL before that) as UTF-8:
// the bytes themselves when they are ASCII or UTF-8 already
// (isUtf8Encoding), else their conversion into buffer. Callers have
// made sure that the text converts (a writer's refusal); a text that does
// not gives what was converted of it.
std::string_view utf8Of(const char* text, std::size_t max, const TextEncoding* encoding, std::string& buffer);
