#include "RemoteBuffer.h"

#include "DriverError.h"

namespace e2e {

RemoteBuffer::RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0) throw DriverError("no such window");
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (!process_) throw DriverError("cannot open the window's process");
    base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!base_) {
        CloseHandle(process_);
        throw DriverError("cannot allocate memory in the window's process");
    }
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

LPARAM RemoteBuffer::address(size_t offset) const { return reinterpret_cast<LPARAM>(base_ + offset); }

void RemoteBuffer::write(size_t offset, const void* data, size_t size) {
    if (offset + size > size_) throw DriverError("remote write out of range");
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, base_ + offset, data, size, &done) || done != size)
        throw DriverError("cannot write the window's process memory");
}

void RemoteBuffer::read(size_t offset, void* data, size_t size) const {
    if (offset + size > size_) throw DriverError("remote read out of range");
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, base_ + offset, data, size, &done) || done != size)
        throw DriverError("cannot read the window's process memory");
}

std::wstring RemoteBuffer::readWide(size_t offset, size_t count) const {
    std::wstring text(count, L'\0');
    if (count > 0) read(offset, &text[0], count * sizeof(wchar_t));
    return text;
}

std::wstring RemoteBuffer::readWideAt(LPARAM address, size_t maxChars) const {
    // One character at a time: the text may end just before memory that
    // cannot be read.
    std::wstring text;
    const wchar_t* at = reinterpret_cast<const wchar_t*>(address);
    for (wchar_t c = 0; text.size() < maxChars; text += c) {
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_, at + text.size(), &c, sizeof c, &done) || done != sizeof c)
            throw DriverError("cannot read the window's process memory");
        if (c == L'\0') break;
    }
    return text;
}

}  // namespace e2e
