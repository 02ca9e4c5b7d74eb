#include <cstdio>

#include "files/ExchangeLine.h"
#include "files/TextSink.h"

void writeExchangeLine(const FormatInfo& format, const PointRecord& point, long row, TextSink& out) {
    if (format.numbered) {
        char prefix[24];
        int length = std::snprintf(prefix, sizeof prefix, "%ld,", row);
        out.put(std::string_view(prefix, static_cast<std::size_t>(length)));
    }
    char buffer[kLineBufferSize];
    out.put(format.write(point, buffer));
    out.put("\r\n");
}
