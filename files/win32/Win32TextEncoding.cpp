// TextEncoding with the system's code pages: a text goes from its code page
// to UTF-16 (MultiByteToWideChar) and on to UTF-8 (WideCharToMultiByte).
#include <windows.h>

#include <climits>
#include <iterator>

#include "files/CodePageName.h"
#include "files/ConvertingTextEncoding.h"

namespace {

// HZ writes its Chinese characters in ASCII bytes, between "~{" and "~}".
constexpr UINT kHzCodePage = 52936;

// Appends text, in codePage, to out as UTF-8. False when text holds a
// sequence that is no character of the code page, and for every text of a
// code page that cannot tell (those that refuse MB_ERR_INVALID_CHARS with
// ERROR_INVALID_FLAGS: ISO-2022, ISCII, UTF-7, Symbol).
bool appendInCodePage(UINT codePage, std::string_view text, std::string& out) {
    if (text.size() > INT_MAX / 3) return false;
    const int length = static_cast<int>(text.size());
    // A point's texts fit on the stack; longer ones are measured first.
    wchar_t local[64];
    wchar_t* wide = local;
    std::wstring longer;
    int units = 0;
    if (text.size() <= std::size(local))
        units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, local,
                                    static_cast<int>(std::size(local)));
    if (units == 0) {
        if (text.size() <= std::size(local) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
        if (units <= 0) return false;
        longer.resize(static_cast<std::size_t>(units));
        wide = &longer[0];
        units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide, units);
        if (units <= 0) return false;
    }
    // Every UTF-16 unit is at most three bytes of UTF-8; out keeps the room
    // it grew to for the next text.
    const std::size_t start = out.size();
    out.resize(start + 3 * static_cast<std::size_t>(units));
    const int bytes = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, units, &out[start], 3 * units,
                                          nullptr, nullptr);
    out.resize(start + static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    return bytes > 0;
}

// The system's ANSI code page by the names that say so: "ansi", "acp".
bool namesAnsi(const std::string& name) {
    std::string lower;
    for (char c : name) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "ansi" || lower == "acp";
}

// A code page of the system's. The conversions keep no state: any thread
// may use one.
class Win32TextEncoding final : public ConvertingTextEncoding {
public:
    Win32TextEncoding(const std::string& name, UINT codePage) : ConvertingTextEncoding(name, codePage) {}

protected:
    bool appendConverted(std::string_view text, std::string& out) const override {
        return appendInCodePage(codePage(), text, out);
    }
};

}  // namespace

std::unique_ptr<TextEncoding> openTextEncoding(const std::string& name) {
    const UINT codePage = namesAnsi(name) ? GetACP() : codePageOfName(name);
    // 0 to 3 stand for other code pages (CP_ACP, CP_OEMCP, CP_MACCP, CP_THREAD_ACP).
    if (codePage <= CP_THREAD_ACP || codePage == kHzCodePage || !IsValidCodePage(codePage)) return nullptr;
    auto encoding = std::make_unique<Win32TextEncoding>(name, codePage);
    if (!encoding->keepsAscii()) return nullptr;
    return encoding;
}

std::string defaultTextEncodingName() {
    return "cp" + std::to_string(GetACP());
}
