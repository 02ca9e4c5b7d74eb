// encoding_check.exe [DEFAULT-NAME]: the cases every platform's TextEncoding
// shares (EncodingCases.h) and what the system's code pages alone do, run
// against files/win32's TextEncoding. With DEFAULT-NAME, the name of the
// texts' encoding when none is given must be it ("cp936" on a Simplified-
// Chinese system). Prints every failure; exit status 1 when there was one.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "EncodingCases.h"
#include "files/TextEncoding.h"

namespace {

// UTF-8 converted by the system into codePage, without best-fit characters.
std::string convertedBack(UINT codePage, const std::string& utf8) {
    wchar_t wide[8];
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                          wide, static_cast<int>(std::size(wide)));
    char bytes[16];
    BOOL usedDefault = FALSE;
    const int length = units > 0 ? WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                                       static_cast<int>(sizeof bytes), nullptr, &usedDefault)
                                 : 0;
    return length > 0 && !usedDefault ? std::string(bytes, static_cast<std::size_t>(length)) : "(not converted back)";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> failures;
    const auto add = [&failures](const std::vector<std::string>& more) {
        failures.insert(failures.end(), more.begin(), more.end());
    };

    add(checkConversions(std::begin(kConversionCases), std::end(kConversionCases)));
    add(checkLongText());
    // The system's code page 1252 gives the five bytes it leaves undefined
    // the C1 controls of their numbers; its 932 is what Shift_JIS names.
    const ConversionCase systemCases[] = {
        {"cp1252", "\x81", "\xc2\x81"},
        {"cp1252", "\x9d", "\xc2\x9d"},
        {"shift_jis", "\x82\xa0", "\xe3\x81\x82"},
    };
    add(checkConversions(std::begin(systemCases), std::end(systemCases)));

    add(checkNames(std::begin(kNameCases), std::end(kNameCases)));
    // Shift_JIS as the system has it, the ANSI code page by name; the
    // stand-ins for other code pages, Symbol, UTF-7, HZ and ISCII refused.
    const NameCase systemNames[] = {
        {"shift_jis", 932}, {"sjis", 932},        {"ansi", GetACP()}, {"ACP", GetACP()},
        {"cp0", kRefused},  {"cp1", kRefused},    {"cp3", kRefused},  {"cp42", kRefused},
        {"cp65000", kRefused}, {"cp52936", kRefused}, {"cp57002", kRefused},
    };
    add(checkNames(std::begin(systemNames), std::end(systemNames)));

    add(checkAsciiUnchanged(20240601));
    // Code page 1252 gives every byte a character.
    add(checkPairsReadBack("gbk", 21000, [](const std::string& utf8) { return convertedBack(936, utf8); }));
    add(checkPairsReadBack("cp1252", 128 * 256, [](const std::string& utf8) { return convertedBack(1252, utf8); }));

    const std::string defaultName = defaultTextEncodingName();
    if (argc > 1 && defaultName != argv[1])
        failures.push_back("the default encoding is " + defaultName + ", expected " + argv[1]);
    if (!openTextEncoding(defaultName)) failures.push_back("the default encoding " + defaultName + " does not open");

    for (const std::string& failure : failures) std::printf("%s\n", failure.c_str());
    std::printf("encoding_check: %s, %u failed\n", defaultName.c_str(), static_cast<unsigned>(failures.size()));
    return failures.empty() ? 0 : 1;
}
