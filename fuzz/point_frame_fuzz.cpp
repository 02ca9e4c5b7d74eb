// Fuzzes the Korvel frame body: any 60 bytes parse into a record within its
// fields; formatting it fills exactly bytes 9..59 and reads back stable.
#include <string>

#include "FuzzSupport.h"
#include "points/PointText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> frame(new char[kPointFrameLength]);
    std::memset(frame.get(), ' ', kPointFrameLength);
    std::memcpy(frame.get(), data, size < kPointFrameLength ? size : kPointFrameLength);

    PointRecord first;
    parsePointFrame(frame.get(), first);
    checkFields(first);

    std::unique_ptr<char[]> out(new char[kPointFrameLength]);
    std::memcpy(out.get(), "\x02" "00010003", kPointTextOffset);
    formatPointFrame(first, out.get());
    FUZZ_CHECK(std::memcmp(out.get(), "\x02" "00010003", kPointTextOffset) == 0);
    FUZZ_CHECK(out[kPointFrameLength - 1] == '\r');
    FUZZ_CHECK(std::memchr(out.get() + kPointTextOffset, '\0', kPointTextLength) == nullptr);

    PointRecord second;
    parsePointFrame(out.get(), second);
    checkFields(second);
    formatPointFrame(second, out.get());
    PointRecord third;
    parsePointFrame(out.get(), third);
    FUZZ_CHECK(sameRecord(second, third));
    return 0;
}
