// A block of memory inside the process that owns a window.
//
// Common-control messages such as LVM_GETITEMW carry pointers that the
// window system does not copy between processes, so the structures and text
// buffers they point at must live in the control's own process.
#pragma once

#include <cstddef>
#include <string>

#include <windows.h>

namespace e2e {

class RemoteBuffer {
public:
    // Allocates size bytes in the process of the window; throws DriverError.
    RemoteBuffer(HWND window, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // The address of offset as the other process sees it.
    LPARAM address(size_t offset = 0) const;
    void write(size_t offset, const void* data, size_t size);
    void read(size_t offset, void* data, size_t size) const;
    // count wide characters from offset.
    std::wstring readWide(size_t offset, size_t count) const;
    // A NUL-terminated wide text of at most maxChars characters elsewhere in
    // the same process (a control may point at its own copy of a text).
    std::wstring readWideAt(LPARAM address, size_t maxChars) const;

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_ = 0;
};

}  // namespace e2e
