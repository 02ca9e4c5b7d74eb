// Import and Export: a point file read into the end of the list, or the
// whole list written to a file, in the format chosen in the file dialog.
// Reading and writing the file is files/PointFile's; here are the questions,
// the boxes and the list.
#include <cstdio>
#include <functional>

#include "app/AppState.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/TextFill.h"
#include "app/TextTable.h"
#include "files/ExchangeFormat.h"
#include "files/FileSystem.h"
#include "files/PointFile.h"
#include "points/PointRecord.h"
#include "points/PointStore.h"

namespace {

class RowSink : public PointSink {
public:
    explicit RowSink(std::function<std::size_t(const PointRecord*, std::size_t)> add) : add_(std::move(add)) {}
    std::size_t take(const PointRecord* points, std::size_t count) override { return add_(points, count); }

private:
    std::function<std::size_t(const PointRecord*, std::size_t)> add_;
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
        showFileError(kTextCannotOpenFile, fileName_, platform_->fileSystem.lastErrorText());
        return;
    }

    // The points go into the store in batches; a store that cannot take
    // them all ends the import.
    modified_ = true;
    RowSink rows([this](const PointRecord* points, std::size_t count) { return addRows(points, count); });
    beginRowBatch();
    const ReadEnd end = readPointFile(file, *format, rows);
    endRowBatch();
    std::string reason = end == ReadEnd::ReadError ? platform_->fileSystem.lastErrorText() : std::string();
    std::fclose(file);
    // In both cases the rows read so far stay, and the list still holds
    // unsaved points.
    if (end == ReadEnd::NoRoom) {
        reportNoRoom();
        return;
    }
    if (end == ReadEnd::ReadError) {
        showFileError(kTextReadError, fileName_, reason);
        return;
    }
    modified_ = false;
}

// A format that cannot hold a point exactly refuses the whole export,
// naming the first such point, before any file is touched.
bool AppState::exportableList(const FormatInfo& format) {
    const int row = firstPointNotHeld(format, points_);
    if (row < 0) return true;
    const PointRecord& point = points_.at(static_cast<std::size_t>(row));
    std::string message = fillText(text(kTextPointDoesNotFit), {row + 1, point.name, text(format.nameTextId)});
    platform_->boxes.show(BoxOwner::MainWindow, message, "Error", BoxIcon::Error, BoxButtons::Ok);
    return false;
}

void AppState::exportFile() {
    FileChoice choice;
    if (!platform_->files.chooseSaveFile(fileName_, fileFilter_, choice)) return;
    const FormatInfo* format = findFormat(choice.filterIndex);
    if (!format) {
        platform_->boxes.show(BoxOwner::MainWindow, text(kTextUnknownFileType), "Error", BoxIcon::Error,
                              BoxButtons::Ok);
        return;
    }
    if (!exportableList(*format)) return;

    std::string target = exportFileName(fileName_, choice.fileOffset, format->extension);
    std::string reason;
    if (!exportPointFile(platform_->fileSystem, target, *format, points_, reason)) {
        showFileError(kTextCannotWriteFile, target, reason);
        return;
    }
    modified_ = false;
}
