// The number fields' input: each edit control is subclassed to check what is
// typed and pasted by the rule of its field, to move between the fields on
// the arrow keys and Tab, and to tell a tap from the other ways the focus
// comes.
#include "listwin/list_field_input.h"

#include <cwchar>

#include "listwin/list_edit.h"
#include "listwin/list_items.h"
#include "platform/base/window.h"
#include "settings/number_input.h"

namespace {

// The edit class's own procedure of a control, kept with the control.
constexpr WCHAR kEditProcProp[] = L"QXNumberEditProc";

// A tap is being handed to a field.
bool g_bTapFocus = false;

bool KeyIsDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// What Done would say of the text in this field.
NumberFault CheckFieldText(HWND hwndEdit, LPCWSTR pszText) {
    int iRow = 0, iItem = 0;
    const bool bCentre = FindTextBox(hwndEdit, &iRow, &iItem) && iItem == kItemTextMessageTextBox;
    return bCentre ? CheckServiceCentreText(pszText) : CheckVoiceMailText(pszText);
}

// Faults of a text still being typed are fine: nothing yet, a "+" alone.
bool RefusedAsTyped(NumberFault fault) { return fault != NF_NONE && fault != NF_EMPTY && fault != NF_PLUS_ONLY; }

// The field's text with its selection replaced by the insert.
std::wstring WithSelectionReplaced(HWND hwnd, const std::wstring& insert) {
    const int cch = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(cch) + 1, L'\0');
    GetWindowTextW(hwnd, &text[0], cch + 1);
    text.resize(static_cast<size_t>(cch));
    DWORD dwStart = 0, dwEnd = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    const size_t start = dwStart < text.size() ? dwStart : text.size();
    const size_t end = dwEnd < text.size() ? (dwEnd > start ? dwEnd : start) : text.size();
    return text.substr(0, start) + insert + text.substr(end);
}

// The insert would leave a text the field may hold (as far as typing goes).
bool Takes(HWND hwnd, const std::wstring& insert) {
    return !RefusedAsTyped(CheckFieldText(hwnd, WithSelectionReplaced(hwnd, insert).c_str()));
}

std::wstring ClipboardText(HWND hwnd) {
    std::wstring text;
    if (!OpenClipboard(hwnd)) return text;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<LPCWSTR>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

// A number pasted from a contact or a message comes with separators; what
// is left goes in whole, or nothing does.
void Paste(HWND hwnd) {
    const std::wstring number = WithoutSeparators(ClipboardText(hwnd));
    if (number.empty()) return;
    if (!Takes(hwnd, number)) {
        DefaultBeep();
        return;
    }
    SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(number.c_str()));
}

LRESULT CALLBACK NumberEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kEditProcProp));
    if (!proc) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CHAR:
        // Tab moved the focus on its key; its character is no number's.
        if (wParam == L'\t') return 0;
        // Control characters (backspace, the clipboard keys) are commands.
        if (wParam >= L' ' && !Takes(hwnd, std::wstring(1, static_cast<WCHAR>(wParam)))) {
            DefaultBeep();
            return 0;
        }
        break;
    case WM_PASTE:
        Paste(hwnd);
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_INSERT:
            // Shift+Insert pastes without a WM_PASTE on some platforms.
            if (!KeyIsDown(VK_SHIFT) || KeyIsDown(VK_CONTROL)) break;
            Paste(hwnd);
            return 0;
        default:
            // A single-line field has no lines to move between: the D-pad
            // and Tab go from field to field.
            if (FocusFieldOnKey(hwnd, static_cast<UINT>(wParam))) return 0;
            break;
        }
        break;
    case WM_LBUTTONDOWN: {
        // The edit control takes the focus inside its own handling.
        const bool bWas = g_bTapFocus;
        g_bTapFocus = true;
        const LRESULT r = CallWindowProcW(proc, hwnd, msg, wParam, lParam);
        g_bTapFocus = bWas;
        return r;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        RemovePropW(hwnd, kEditProcProp);
        break;
    default:
        break;
    }
    return CallWindowProcW(proc, hwnd, msg, wParam, lParam);
}

}  // namespace

bool TakeNumberInput(HWND hwndEdit) {
    LONG_PTR proc = GetWindowLongPtrW(hwndEdit, GWLP_WNDPROC);
    if (!proc || !SetPropW(hwndEdit, kEditProcProp, reinterpret_cast<HANDLE>(proc))) return false;
    SetWindowLongPtrW(hwndEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NumberEditProc));
    return true;
}

std::wstring WithoutSeparators(const std::wstring& text) {
    std::wstring number;
    for (WCHAR c : text)
        if (!wcschr(L" \t\u00A0-./()", c) || c == L'\0') number += c;
    return number;
}

bool FocusFieldAtEnd(HWND hwndEdit) {
    if (!hwndEdit || !IsWindow(hwndEdit)) return false;
    SetFocus(hwndEdit);
    const int cch = GetWindowTextLengthW(hwndEdit);
    SendMessageW(hwndEdit, EM_SETSEL, cch, cch);
    return true;
}

bool FocusFieldOnKey(HWND hwndFrom, UINT vk) {
    if (vk != VK_UP && vk != VK_DOWN && vk != VK_TAB) return false;
    const bool bBackward = vk == VK_UP || (vk == VK_TAB && KeyIsDown(VK_SHIFT));
    FocusFieldAtEnd(TextBoxNextTo(hwndFrom, bBackward));
    return true;
}

bool IsTapFocus() { return g_bTapFocus; }
