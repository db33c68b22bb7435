// Process start and library loading from the device's file system.
#include "platform/base/kernel.h"

#include <string>

#include "platform/base/device_root.h"
#include "platform/base/scoped.h"

BOOL CeCreateProcess(LPCWSTR cePath, LPCWSTR cmdLine) {
    std::wstring image = DevicePath(cePath);
    // CE passes the arguments alone; Win32 programs expect argv[0] first.
    std::wstring line = L"\"" + image + L"\" " + (cmdLine ? cmdLine : L"");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(image.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return FALSE;
    scoped::Kernel thread(pi.hThread), process(pi.hProcess);
    return TRUE;
}

HMODULE CeLoadLibrary(LPCWSTR cePath) {
    std::wstring path = DevicePath(cePath);
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void ShowWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void HideCursor() { SetCursor(nullptr); }
