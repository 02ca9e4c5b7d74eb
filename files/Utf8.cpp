#include "files/Utf8.h"

#include "files/TextEncoding.h"
#include "points/NumberText.h"

std::size_t utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    unsigned char lead = bytes[0];
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || bytes[1] < low || bytes[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (bytes[i] < 0x80 || bytes[i] > 0xBF) return 0;
    return length;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        std::size_t length = utf8SequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

bool isUtf8Encoding(const TextEncoding* encoding) {
    constexpr unsigned kUtf8CodePage = 65001;
    return !encoding || encoding->codePage() == kUtf8CodePage;
}

std::string_view utf8Of(const char* text, std::size_t max, const TextEncoding* encoding, std::string& buffer) {
    std::string_view bytes(text, boundedLength(text, max));
    if (isAscii(bytes) || isUtf8Encoding(encoding)) return bytes;
    buffer.clear();
    encoding->appendUtf8(bytes, buffer);
    return buffer;
}
