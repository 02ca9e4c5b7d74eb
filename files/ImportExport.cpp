// Import and Export: a point file read into the end of the list, or the
// whole list written to a file, in the format chosen in the file dialog.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>

#include "app/AppState.h"
#include "app/MessageBoxes.h"
#include "app/TextTable.h"
#include "files/ExchangeFormat.h"
#include "files/FileBeside.h"
#include "files/FileDialogs.h"
#include "files/FileFilter.h"
#include "files/LineSource.h"
#include "app/TextFill.h"
#include "points/PointListView.h"
#include "points/PointRecord.h"

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
    if (modified_ && platform_->list.rowCount() > 0 &&
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

    // Knowing the number of rows ahead lets the list prepare for all of them.
    long start = std::ftell(file);
    std::size_t expected = countLines(file);
    if (std::ftell(file) != start) {  // the file could not be read from its start again
        std::string reason = platform_->files.lastErrorText();
        std::fclose(file);
        showFileError(kTextReadError, fileName_, reason);
        return;
    }
    if (expected > 0) platform_->list.reserveRows(static_cast<int>(std::min<std::size_t>(expected, INT_MAX / 2)));

    modified_ = true;
    LineSource lines(file);
    beginRowBatch();
    while (const char* line = lines.next()) {
        PointRecord* point = new (std::nothrow) PointRecord;
        if (!point) continue;  // the line costs its row, the import goes on
        format->read(line, *point);
        pointArrived(point);
    }
    endRowBatch();
    bool failed = lines.failed();
    std::string reason = failed ? platform_->files.lastErrorText() : std::string();
    std::fclose(file);
    if (failed) {
        // The rows read so far stay, and the list still holds unsaved points.
        showFileError(kTextReadError, fileName_, reason);
        return;
    }
    modified_ = false;
}

// A format that cannot hold a point exactly refuses the whole export,
// naming the first such point, before any file is touched.
bool AppState::exportableList(const FormatInfo& format) {
    PointListView& list = platform_->list;
    int count = list.rowCount();
    for (int row = 0; row < count; ++row) {
        const PointRecord* point = list.rowRecord(row);
        if (!point || format.canHold(*point)) continue;
        std::string message = fillText(text(kTextPointDoesNotFit), {row + 1, point->name, text(format.nameTextId)});
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
    PointListView& list = platform_->list;
    int count = list.rowCount();
    char buffer[kLineBufferSize];
    for (int row = 0; row < count; ++row) {
        const PointRecord* point = list.rowRecord(row);
        if (!point) continue;
        sink.line(format->numbered ? row + 1 : 0, format->write(*point, buffer));
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
