// TextEncoding with the C library's iconv: any encoding that iconv knows by
// the name given, converted to UTF-8.
#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "files/CodePageName.h"
#include "files/TextEncoding.h"

namespace {

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// Appends text converted by cd to out, from cd's initial state. False when
// iconv finds an invalid sequence (EILSEQ) or one cut short at the end
// (EINVAL). The output goes through a buffer on the stack, so that the
// short texts of points cost no allocation beyond out's own growth.
bool convert(iconv_t cd, std::string_view text, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    // iconv does not write through its input pointer; its type is older than const.
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    for (;;) {
        char buffer[128];
        char* at = buffer;
        std::size_t room = sizeof buffer;
        // With the input used up, a call without input ends a shift state.
        const bool ending = inLeft == 0;
        const std::size_t result =
            ending ? iconv(cd, nullptr, nullptr, &at, &room) : iconv(cd, &in, &inLeft, &at, &room);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(at - buffer));
        if (result == kFailed) {
            if (error != E2BIG) return false;
        } else if (ending) {
            return true;
        }
    }
}

// True when text is well-formed UTF-8: every character in its shortest
// form, no surrogate, nothing above U+10FFFF. The C library's UTF-8 decoder
// takes the old five- and six-byte forms and values up to 0x7FFFFFFF, and
// writes them out again as they came.
bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        unsigned value = lead;
        unsigned least = 0;
        if (lead >= 0x80) {
            if (lead >= 0xC2 && lead <= 0xDF) {
                length = 2, value = lead & 0x1F, least = 0x80;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                length = 3, value = lead & 0x0F, least = 0x800;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                length = 4, value = lead & 0x07, least = 0x10000;
            } else {
                return false;
            }
            if (text.size() - i < length) return false;
            for (std::size_t k = 1; k < length; ++k) {
                const unsigned next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) return false;
                value = value << 6 | (next & 0x3F);
            }
            if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        }
        i += length;
    }
    return true;
}

// True when every ASCII byte, alone, converts to itself. Each byte is tried
// on its own so that one that starts a shift (the ESC of ISO-2022, the '+'
// of UTF-7) or half a character (UTF-16) fails as well as one that stands
// for another character (EBCDIC; the yen sign of Shift_JIS in place of '\').
bool keepsAscii(iconv_t cd) {
    std::string converted;
    for (int c = 0; c < 0x80; ++c) {
        const char byte = static_cast<char>(c);
        converted.clear();
        if (!convert(cd, std::string_view(&byte, 1), converted) || converted != std::string_view(&byte, 1))
            return false;
    }
    return true;
}

// An encoding that iconv converts from. The conversion has a state that
// every text starts afresh, in the one iconv_t that the encoding holds from
// its opening to its end: one IconvTextEncoding is used by one thread at a
// time.
class IconvTextEncoding final : public TextEncoding {
public:
    IconvTextEncoding(const std::string& name, iconv_t cd)
        : name_(name), codePage_(codePageOfName(name)), cd_(cd) {}
    ~IconvTextEncoding() override { iconv_close(cd_); }
    IconvTextEncoding(const IconvTextEncoding&) = delete;
    IconvTextEncoding& operator=(const IconvTextEncoding&) = delete;

    const std::string& name() const override { return name_; }
    unsigned codePage() const override { return codePage_; }

    bool appendUtf8(std::string_view text, std::string& out) const override {
        if (isAscii(text)) {
            out.append(text);
            return true;
        }
        const std::size_t start = out.size();
        return convert(cd_, text, out) && isUtf8(std::string_view(out).substr(start));
    }

private:
    std::string name_;
    unsigned codePage_;
    mutable iconv_t cd_;
};

}  // namespace

std::unique_ptr<TextEncoding> openTextEncoding(const std::string& name) {
    // iconv takes "" for the locale's encoding and options after a "//":
    // neither is the name of an encoding.
    if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return nullptr;
    const iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    if (!keepsAscii(cd)) {
        iconv_close(cd);
        return nullptr;
    }
    return std::make_unique<IconvTextEncoding>(name, cd);
}

std::string defaultTextEncodingName() {
    return "utf-8";
}
