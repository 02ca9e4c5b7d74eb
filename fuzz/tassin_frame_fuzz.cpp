// Fuzzes the Tassin frame decoder: any 66 bytes decode into a record within
// its fields, with finite coordinates of at most ten digits that the packed
// numbers give, signs only where the flags set them and no negative zero;
// the end frame is told by its zero bytes alone; and every decoded point
// can be sent back, its frame carrying the same name and numbers.
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "link/TassinLink.h"

namespace {

// The value of ten packed digits when every nibble is a digit, or -1.
double packedDigits(const std::uint8_t* packed) {
    long long units = 0;
    for (std::size_t i = 0; i < kTassinPackedLength; ++i) {
        const int high = packed[i] & 0x0F, low = packed[i] >> 4;  // the low nibble is the more significant
        if (high > 9 || low > 9) return -1;
        units = units * 100 + high * 10 + low;
    }
    return static_cast<double>(units) / 1000.0;
}

void checkValue(double value, const std::uint8_t* packed, bool negative) {
    FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(std::fabs(value) <= 9999999.999);
    FUZZ_CHECK(!std::signbit(value) || (negative && value < 0));
    const double digits = packedDigits(packed);
    if (digits >= 0) FUZZ_CHECK(value == (negative ? -digits : digits));
}

std::string fieldText(const TassinOutFrame& frame, std::size_t at, std::size_t width) {
    std::size_t n = 0;
    while (n < width && frame[at + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(frame.data() + at), n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TassinInFrame frame{};
    std::memcpy(frame.data(), data, size < frame.size() ? size : frame.size());

    bool zeros = true;
    for (std::size_t i = 2; i < frame.size(); ++i) zeros = zeros && frame[i] == 0;
    FUZZ_CHECK(isTassinEndFrame(frame) == zeros);

    PointRecord point;
    decodeTassinFrame(frame, point);
    checkFields(point);
    FUZZ_CHECK(std::strlen(point.name) <= 7 && std::strlen(point.mark) <= 4);
    const std::uint8_t flags = frame[5];
    checkValue(point.n, frame.data() + 51, (flags & kTassinFlagN) != 0);
    checkValue(point.e, frame.data() + 56, (flags & kTassinFlagE) != 0);
    checkValue(point.z, frame.data() + 61, (flags & kTassinFlagZ) != 0);

    // A received point goes back out whole.
    FUZZ_CHECK(tassinCanCarry(point));
    TassinOutFrame out{};
    encodeTassinRecord(point, 1, out);
    FUZZ_CHECK(out[0] == 0xA0 && out[1] == 0x37 && out[56] == 0);
    std::string name = point.name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    FUZZ_CHECK(fieldText(out, 6, 7) == name);
    FUZZ_CHECK(std::strtod(fieldText(out, 17, 13).c_str(), nullptr) == point.n);
    FUZZ_CHECK(std::strtod(fieldText(out, 30, 13).c_str(), nullptr) == point.e);
    FUZZ_CHECK(std::strtod(fieldText(out, 43, 13).c_str(), nullptr) == point.z);
    return 0;
}
