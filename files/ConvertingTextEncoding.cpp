#include "files/ConvertingTextEncoding.h"

bool ConvertingTextEncoding::appendUtf8(std::string_view text, std::string& out) const {
    if (isAscii(text)) {
        out.append(text);
        return true;
    }
    return appendConverted(text, out);
}

bool ConvertingTextEncoding::keepsAscii() const {
    std::string converted;
    for (int c = 0; c < 0x80; ++c) {
        const char byte = static_cast<char>(c);
        converted.clear();
        if (!appendConverted(std::string_view(&byte, 1), converted) || converted != std::string_view(&byte, 1))
            return false;
    }
    return true;
}
