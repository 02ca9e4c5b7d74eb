#include "files/PointFile.h"

#include <cstdio>

#include "files/ExchangeFormat.h"
#include "files/ExchangeLine.h"
#include "files/LineSource.h"
#include "files/SafeReplace.h"
#include "files/TextSink.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

ReadEnd readPointFile(std::FILE* file, const FormatInfo& format, PointSink& sink) {
    LineSource lines(file);
    PointRecord batch[kReadBatch];
    std::size_t filled = 0;
    while (const char* line = lines.next()) {
        batch[filled] = PointRecord();
        format.read(line, batch[filled]);
        if (++filled == kReadBatch) {
            if (sink.take(batch, filled) != filled) return ReadEnd::NoRoom;
            filled = 0;
        }
    }
    if (filled > 0 && sink.take(batch, filled) != filled) return ReadEnd::NoRoom;
    return lines.failed() ? ReadEnd::ReadError : ReadEnd::Complete;
}

int firstPointNotHeld(const FormatInfo& format, const PointStore& points) {
    int row = 0;
    for (const PointRecord& point : points) {
        if (!format.canHold(point)) return row;
        ++row;
    }
    return -1;
}

bool writePointFile(std::FILE* file, const FormatInfo& format, const PointStore& points) {
    TextSink sink(file);
    long row = 0;
    for (const PointRecord& point : points) writeExchangeLine(format, point, ++row, sink);
    return sink.flush();
}

bool exportPointFile(FileSystem& files, const std::string& target, const FormatInfo& format,
                     const PointStore& points, std::string& reason) {
    return replaceSafely(files, target, [&](std::FILE* file) { return writePointFile(file, format, points); },
                         reason);
}

std::string exportFileName(const std::string& chosen, std::size_t fileOffset, const char* extension) {
    if (fileOffset > chosen.size()) fileOffset = chosen.size();
    if (chosen.find('.', fileOffset) != std::string::npos) return chosen;
    return chosen + extension;
}
