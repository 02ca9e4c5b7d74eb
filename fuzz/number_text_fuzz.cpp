// Fuzzes the "%lf" reading against strtod: whatever strtod reads of the
// decimal syntax (the text cut at the first character outside its alphabet,
// so that no hexadecimal, infinity or NaN can be read), the reader takes
// exactly, with the same value.
#include <cstdlib>

#include "FuzzSupport.h"
#include "points/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> text = exactLine(reinterpret_cast<const char*>(data), size);
    const std::size_t length = std::strlen(text.get());
    const char* end = text.get() + length;
    std::unique_ptr<char[]> decimal = exactLine(text.get(), std::strspn(text.get(), "0123456789.eE+- \t\n\v\f\r"));
    char* expectedEnd;
    double expected = std::strtod(decimal.get(), &expectedEnd);
    const std::size_t expectedUsed = static_cast<std::size_t>(expectedEnd - decimal.get());
    double value = 0.0;
    const char* after = scanNumber(text.get(), end, value);
    FUZZ_CHECK((after ? static_cast<std::size_t>(after - text.get()) : 0) == expectedUsed);
    if (after) {
        FUZZ_CHECK(sameValue(value, expected) && std::signbit(value) == std::signbit(expected));
        FUZZ_CHECK(!std::isnan(value));
        char fixed[kFixedTextMax];
        FUZZ_CHECK(formatFixed(value, 4, fixed) <= fixed + kFixedTextMax);
    }
    return 0;
}
