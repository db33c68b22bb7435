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

namespace {

// A phone has no pointer: its shell shows the wait cursor as a busy indicator
// in the middle of the screen. The shell publishes the word it watches; this
// names the process whose cursor waits, 0 for none. No shell, no word.
void TellShellWaitCursor(bool bWaiting) {
    scoped::Kernel board(OpenFileMappingW(FILE_MAP_WRITE, FALSE, kWaitCursorBoard));
    if (!board) return;
    auto* pProcess = static_cast<LONG volatile*>(MapViewOfFile(board.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (!pProcess) return;
    const LONG self = static_cast<LONG>(GetCurrentProcessId());
    if (bWaiting)
        InterlockedExchange(pProcess, self);
    else
        InterlockedCompareExchange(pProcess, 0, self);
    UnmapViewOfFile(const_cast<LONG*>(pProcess));
}

}  // namespace

void ShowWaitCursor() {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    TellShellWaitCursor(true);
}

void HideCursor() {
    SetCursor(nullptr);
    TellShellWaitCursor(false);
}
