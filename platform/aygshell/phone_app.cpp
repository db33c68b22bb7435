// The platform applications' windows: the phone application is found by the
// class of its main window.
#include "platform/aygshell/aygshell.h"
#include "platform/base/debug_out.h"

HWND SHGetPhoneAppWindow(DWORD dwWhich, DWORD) {
    if (dwWhich != kShAppPhone) {
        NKDbgPrintfW(L"[aygshell] SHGetPhoneAppWindow: application %u unknown\r\n", dwWhich);
        return nullptr;
    }
    return FindWindowW(L"MSCprog", nullptr);
}
