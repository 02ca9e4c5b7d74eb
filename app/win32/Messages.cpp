#include "app/win32/Messages.h"

// Registered among the static initialisers, before the main window exists.
UINT g_ruvoFrame = RegisterWindowMessageA("RUVO_FRAME");
UINT g_ruvoHead = RegisterWindowMessageA("RUVO_HEAD");
UINT g_ruvoFail = RegisterWindowMessageA("RUVO_FAIL");

std::string systemErrorText(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result;
    if (length && text) {
        result.assign(text, length);
        while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
            result.pop_back();
    } else {
        char buffer[64];
        wsprintfA(buffer, "Error %lu", static_cast<unsigned long>(code));
        result = buffer;
    }
    if (text) LocalFree(text);
    return result;
}
