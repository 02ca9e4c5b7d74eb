// Fuzzes the "%lf" reading against strtod: same extent, same value.
#include <cstdlib>

#include "fuzz/FuzzSupport.h"
#include "points/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> text = exactLine(reinterpret_cast<const char*>(data), size);
    const char* end = text.get() + std::strlen(text.get());
    char* expectedEnd;
    double expected = std::strtod(text.get(), &expectedEnd);
    double value = 0.0;
    const char* after = scanNumber(text.get(), end, value);
    FUZZ_CHECK((after ? after : text.get()) == expectedEnd);
    if (after) {
        FUZZ_CHECK(sameValue(value, expected) && std::signbit(value) == std::signbit(expected));
        char fixed[kFixedTextMax];
        FUZZ_CHECK(formatFixed(value, 4, fixed) <= fixed + kFixedTextMax);
    }
    return 0;
}
