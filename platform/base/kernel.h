// Kernel services that take device paths: process start and library loading.
#pragma once
#include <windows.h>

// CreateProcessW of a device image with a command line; every other argument
// null or 0, as on the device. The handles are closed at once.
BOOL CeCreateProcess(LPCWSTR cePath, LPCWSTR cmdLine);
// LoadLibraryW of a device path; null when absent.
HMODULE CeLoadLibrary(LPCWSTR cePath);

// GetProcAddress typed as the export's real signature (null when absent).
template <typename Fn>
Fn GetProcAs(HMODULE hLib, LPCSTR name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(hLib, name)));
}

// The wait cursor (IDC_WAIT) and back to none. The device's shell shows the
// phone's busy indicator meanwhile: it makes the named shared word
// kWaitCursorBoard, which holds the id of the process whose cursor waits.
void ShowWaitCursor();
void HideCursor();
constexpr wchar_t kWaitCursorBoard[] = L"QXDeviceWaitCursor";
