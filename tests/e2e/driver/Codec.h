// Text encodings of the driver's line protocol.
//
// Every string crosses the pipe as the hex digits of its UTF-8 bytes, so any
// character (Chinese texts, bytes outside the caller's code page) survives the
// trip unchanged. Window texts are read and written through the wide-character
// API, which makes the result independent of the code page of either process.
#pragma once

#include <string>

namespace e2e {

// "41e4b8ad" for "A中"; lower-case digits, two per byte.
std::string toHex(const std::string& bytes);
// Inverse of toHex; throws DriverError on an odd length or a non-hex digit.
std::string fromHex(const std::string& hex);

std::wstring utf8ToWide(const std::string& utf8);
std::string wideToUtf8(const std::wstring& wide);

}  // namespace e2e
