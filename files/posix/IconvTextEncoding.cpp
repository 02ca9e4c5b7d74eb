// TextEncoding with the C library's iconv: any encoding that iconv knows by
// the name given, converted to UTF-8.
#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "files/CodePageName.h"
#include "files/ConvertingTextEncoding.h"
#include "files/Utf8.h"

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

// An encoding that iconv converts from. The conversion has a state that
// every text starts afresh, in the one iconv_t that the encoding holds from
// its opening to its end: one IconvTextEncoding is used by one thread at a
// time.
class IconvTextEncoding final : public ConvertingTextEncoding {
public:
    IconvTextEncoding(const std::string& name, iconv_t cd)
        : ConvertingTextEncoding(name, codePageOfName(name)), cd_(cd) {}
    ~IconvTextEncoding() override { iconv_close(cd_); }
    IconvTextEncoding(const IconvTextEncoding&) = delete;
    IconvTextEncoding& operator=(const IconvTextEncoding&) = delete;

protected:
    // The C library's UTF-8 decoder takes the old five- and six-byte forms
    // and values up to 0x7FFFFFFF, and writes them out again as they came:
    // what comes out is checked.
    bool appendConverted(std::string_view text, std::string& out) const override {
        const std::size_t start = out.size();
        return convert(cd_, text, out) && isValidUtf8(std::string_view(out).substr(start));
    }

private:
    mutable iconv_t cd_;  // its state changes with every text
};

}  // namespace

std::unique_ptr<TextEncoding> openTextEncoding(const std::string& name) {
    // iconv takes "" for the locale's encoding and options after a "//":
    // neither is the name of an encoding.
    if (name.empty() || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return nullptr;
    const iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    auto encoding = std::make_unique<IconvTextEncoding>(name, cd);
    if (!encoding->keepsAscii()) return nullptr;
    return encoding;
}

std::string defaultTextEncodingName() {
    return "utf-8";
}
