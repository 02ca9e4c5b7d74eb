#include "Processes.h"

#include "DriverError.h"

#include <map>

namespace e2e {

namespace {

std::map<DWORD, HANDLE>& started() {
    static std::map<DWORD, HANDLE> handles;
    return handles;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

std::wstring nameOf(const std::wstring& entry) { return upper(entry.substr(0, entry.find(L'='))); }

// The driver's environment with the given entries put in place.
std::wstring environmentBlock(const std::vector<std::wstring>& extra) {
    std::vector<std::wstring> entries;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(block);
    for (const std::wstring& entry : extra) {
        bool replaced = false;
        for (std::wstring& existing : entries) {
            if (existing[0] != L'=' && nameOf(existing) == nameOf(entry)) {
                existing = entry;
                replaced = true;
            }
        }
        if (!replaced) entries.push_back(entry);
    }
    std::wstring out;
    for (const std::wstring& entry : entries) {
        out += entry;
        out += L'\0';
    }
    out += L'\0';
    return out;
}

HANDLE handleOf(DWORD pid) {
    auto it = started().find(pid);
    if (it != started().end()) return it->second;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    if (!process) throw DriverError("no such process");
    started()[pid] = process;
    return process;
}

}  // namespace

DWORD launchProgram(const std::wstring& path, const std::wstring& arguments,
                    const std::vector<std::wstring>& environment) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::wstring env = environmentBlock(environment);
    // The program's standard handles lead nowhere: whatever it prints must
    // not end up among the driver's replies.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE) throw DriverError("cannot open NUL");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION info{};
    BOOL ok = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                  CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS, &env[0], nullptr, &startup, &info);
    DWORD error = GetLastError();
    CloseHandle(nul);
    if (!ok) throw DriverError("cannot start the program, error " + std::to_string(error));
    CloseHandle(info.hThread);
    started()[info.dwProcessId] = info.hProcess;
    return info.dwProcessId;
}

bool waitProcessExit(DWORD pid, DWORD timeoutMs, DWORD* exitCode) {
    HANDLE process = handleOf(pid);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process, exitCode);
    return true;
}

bool processAlive(DWORD pid) {
    HANDLE process = handleOf(pid);
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

void killProcess(DWORD pid) {
    HANDLE process = handleOf(pid);
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 255);
        WaitForSingleObject(process, 5000);
    }
}

}  // namespace e2e
