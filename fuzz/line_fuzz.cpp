// Fuzzes the reader and writer of one exchange format (FUZZ_FORMAT, 1..5):
// whatever the line, the record stays within its fields, the writer stays
// within its buffer and writes what printf would, and a written line reads
// back to a record that writes and reads back unchanged.
#include <cstdio>
#include <string>

#include "files/ExchangeFormat.h"
#include "FuzzSupport.h"
#include "points/PointText.h"

namespace {

const FormatInfo& kFormat = *findFormat(FUZZ_FORMAT);

// The line as Export writes it, row number included for numbered formats.
std::string writeLine(const PointRecord& point) {
    std::unique_ptr<char[]> buffer(new char[kLineBufferSize]);
    const char* text = kFormat.write(point, buffer.get());
    std::size_t len = std::strlen(text);
    FUZZ_CHECK(text + len < buffer.get() + kLineBufferSize);
    if (kFormat.format == ExchangeFormat::Ruvo) {
        FUZZ_CHECK(text == buffer.get() + 9 && len == kPointTextLength);
    }
    return (kFormat.numbered ? "1," : "") + std::string(text, len) + "\n";
}

// The same line through the C library's printf, for the comma formats.
std::string printfLine(const PointRecord& p) {
    char text[kLineBufferSize];
    switch (kFormat.format) {
    case ExchangeFormat::TopCom:
        std::snprintf(text, sizeof text, "%s,%.4lf,%.4lf,%.4lf,%s\n", p.name, p.e, p.n, p.z, p.mark);
        break;
    case ExchangeFormat::SV300:
        std::snprintf(text, sizeof text, "1,%s,%s,%.4lf,%.4lf,%.4lf\n", p.name, p.mark, p.n, p.e, p.z);
        break;
    case ExchangeFormat::GuangZhouKass:
        std::snprintf(text, sizeof text, "1,%s,%.4lf,%.4lf,%.4lf,%s\n", p.name, p.n, p.e, p.z, p.mark);
        break;
    case ExchangeFormat::SouthKass:
        std::snprintf(text, sizeof text, "%s,%s,%.4lf,%.4lf,%.4lf\n", p.name, p.mark, p.e, p.n, p.z);
        break;
    default:
        return "";
    }
    return text;
}

PointRecord readLine(const char* line) {
    PointRecord point;
    kFormat.read(line, point);
    checkFields(point);
    return point;
}

void checkLine(const char* line) {
    PointRecord first = readLine(line);
    std::string written = writeLine(first);
    if (kFormat.format != ExchangeFormat::Ruvo) FUZZ_CHECK(written == printfLine(first));

    PointRecord second = readLine(written.c_str());
    PointRecord third = readLine(writeLine(second).c_str());
    FUZZ_CHECK(sameRecord(second, third));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    forEachLine(data, size, checkLine);
    return 0;
}
