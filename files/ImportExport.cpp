// Import and Export: a point file read into the end of the list, or the
// whole list written to a file, in the format chosen in the file dialog.
#include <cstdio>

#include "app/AppState.h"
#include "app/MessageBoxes.h"
#include "app/TextTable.h"
#include "files/ExchangeFormat.h"
#include "files/FileBeside.h"
#include "files/FileDialogs.h"
#include "files/FileFilter.h"
#include "files/LineSource.h"
#include "app/TextFill.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

// Writes the list's lines through one large buffer; remembers whether any
// write failed so that the file is never reported as written when it is not.
class LineSink {
public:
    explicit LineSink(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + kLineBufferSize + 16); }
    void line(int number, const char* text) {
        if (number > 0) {
            char prefix[16];
            int length = std::snprintf(prefix, sizeof prefix, "%d,", number);
            buffer_.append(prefix, static_cast<std::size_t>(length));
        }
        buffer_ += text;
        buffer_ += "\r\n";
        if (buffer_.size() >= kFlushAt) flush();
    }
    bool finish() {
        flush();
        return ok_ && std::fflush(file_) == 0;
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void flush() {
        if (ok_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            ok_ = false;
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace

void AppState::showFileError(int textId, const std::string& file, const std::string& reason) {
    platform_->boxes.show(BoxOwner::MainWindow, fillText(text(textId), {file, reason}), "Error", BoxIcon::Error,
                          BoxButtons::Ok);
}

void AppState::importFile() {
    MessageBoxes& boxes = platform_->boxes;
    if (modified_ && !points_.empty() &&
        !boxes.show(BoxOwner::MainWindow, text(kTextUnsavedQuestion), "Warning", BoxIcon::Warning,
                    BoxButtons::OkCancel))
        return;

    fileName_.clear();
    FileChoice choice;
    if (!platform_->files.chooseOpenFile(fileName_, fileFilter_, choice)) return;
    const FormatInfo* format = findFormat(choice.filterIndex);
    if (!format) {
        boxes.show(BoxOwner::MainWindow, text(kTextUnknownFileType), "Error", BoxIcon::Error, BoxButtons::Ok);
        return;
    }
    std::FILE* file = std::fopen(fileName_.c_str(), "rb");
    if (!file) {
        showFileError(kTextCannotOpenFile, fileName_, platform_->files.lastErrorText());
        return;
    }

    // Lines become points in a batch of records, which goes into the store
    // in one piece; a store that cannot take them all ends the import.
    modified_ = true;
    LineSource lines(file);
    static constexpr std::size_t kBatchRows = 256;
    PointRecord batch[kBatchRows];
    std::size_t filled = 0;
    bool room = true;
    beginRowBatch();
    while (const char* line = lines.next()) {
        batch[filled] = PointRecord();
        format->read(line, batch[filled]);
        if (++filled == kBatchRows) {
            room = addRows(batch, filled) == filled;
            filled = 0;
            if (!room) break;
        }
    }
    if (room && filled > 0) room = addRows(batch, filled) == filled;
    endRowBatch();
    bool failed = room && lines.failed();
    std::string reason = failed ? platform_->files.lastErrorText() : std::string();
    std::fclose(file);
    // In both cases the rows read so far stay, and the list still holds
    // unsaved points.
    if (!room) {
        reportNoRoom();
        return;
    }
    if (failed) {
        showFileError(kTextReadError, fileName_, reason);
        return;
    }
    modified_ = false;
}

// A format that cannot hold a point exactly refuses the whole export,
// naming the first such point, before any file is touched.
bool AppState::exportableList(const FormatInfo& format) {
    int row = 0;
    for (const PointRecord& point : points_) {
        ++row;
        if (format.canHold(point)) continue;
        std::string message = fillText(text(kTextPointDoesNotFit), {row, point.name, text(format.nameTextId)});
        platform_->boxes.show(BoxOwner::MainWindow, message, "Error", BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    return true;
}

void AppState::exportFile() {
    FileDialogs& files = platform_->files;
    FileChoice choice;
    if (!files.chooseSaveFile(fileName_, fileFilter_, choice)) return;
    const FormatInfo* format = findFormat(choice.filterIndex);
    if (!format) {
        platform_->boxes.show(BoxOwner::MainWindow, text(kTextUnknownFileType), "Error", BoxIcon::Error,
                              BoxButtons::Ok);
        return;
    }
    if (!exportableList(*format)) return;

    // The lines go to a new file of the program's own beside the target,
    // which replaces the target only once it is complete: a failed export
    // leaves the old file whole, and no other file is ever opened.
    std::string target = exportFileName(fileName_, choice.fileOffset, format->extension);
    std::string temp;
    std::FILE* file = createFileBeside(files, target, temp);
    if (!file) {
        showFileError(kTextCannotWriteFile, target, files.lastErrorText());
        return;
    }
    LineSink sink(file);
    char buffer[kLineBufferSize];
    int row = 0;
    for (const PointRecord& point : points_) {
        ++row;
        sink.line(format->numbered ? row : 0, format->write(point, buffer));
    }
    bool written = sink.finish();
    std::string reason = written ? std::string() : files.lastErrorText();
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = files.lastErrorText();
    }
    if (written && !files.replaceFile(temp, target)) {
        written = false;
        reason = files.lastErrorText();
    }
    if (!written) {
        std::remove(temp.c_str());
        showFileError(kTextCannotWriteFile, target, reason);
        return;
    }
    modified_ = false;
}
