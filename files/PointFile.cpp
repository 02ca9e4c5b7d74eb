#include "files/PointFile.h"

#include <cstdio>

#include "files/ExchangeFormat.h"
#include "files/ExchangeLine.h"
#include "files/FileBeside.h"
#include "files/FileSystem.h"
#include "files/LineSource.h"
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

// The lines go to a new file of the program's own beside the target, which
// replaces the target only once it is complete: a failed export leaves the
// old file whole, and no other file is ever opened.
bool exportPointFile(FileSystem& files, const std::string& target, const FormatInfo& format,
                     const PointStore& points, std::string& reason) {
    std::string temp;
    std::FILE* file = createFileBeside(files, target, temp);
    if (!file) {
        reason = files.lastErrorText();
        return false;
    }
    bool written = writePointFile(file, format, points);
    reason = written ? std::string() : files.lastErrorText();
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = files.lastErrorText();
    }
    if (written && !files.replaceFile(temp, target)) {
        written = false;
        reason = files.lastErrorText();
    }
    if (!written) std::remove(temp.c_str());
    return written;
}

std::string exportFileName(const std::string& chosen, std::size_t fileOffset, const char* extension) {
    if (fileOffset > chosen.size()) fileOffset = chosen.size();
    if (chosen.find('.', fileOffset) != std::string::npos) return chosen;
    return chosen + extension;
}
