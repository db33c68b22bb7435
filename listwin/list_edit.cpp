// Edit controls of the text-box items.
#include "listwin/list_edit.h"

#include <algorithm>
#include <vector>

#include "core/app_state.h"
#include "core/draw_kit.h"
#include "core/trace.h"
#include "listwin/list_draw.h"
#include "listwin/list_field_input.h"
#include "listwin/list_state.h"
#include "platform/base/window.h"

namespace {

template <typename F>
void ForEachTextBox(F&& f) {
    if (!g_pItems) return;
    for (UINT i = 0; i < g_nItems; ++i) {
        ListItem& row = g_pItems[i];
        if (row.nKind != IK_GROUP || !row.pItems) continue;
        for (int k = 0; k < row.nItems; ++k) f(row.pItems[k]);
    }
}

HWND CreateTextBox(HWND hwndList, const ListItem& item, int x, int y, int cx, int cy) {
    HWND hwnd = CreateWindowExW(0, L"edit", L"", kEditFieldStyle, x, y, cx, cy, hwndList, nullptr,
                                AppState.hInst, nullptr);
    if (!hwnd) {
        WriteTrace(L"[err]:PaintItem(), CreateWindow(edit %s) failed, GetLastError()=[%lu].", item.szName,
                   GetLastError());
        return nullptr;
    }
    if (!TakeNumberInput(hwnd))
        WriteTrace(L"[err]:PaintItem(), the edit control takes any text, GetLastError()=[%lu].", GetLastError());
    // Posted, so it may arrive after the control has painted once (an
    // update of the whole screen paints new children at once): it redraws.
    PostMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(AppState.hFontLarge), TRUE);
    return hwnd;
}

// Paddings from the registry can exceed half the row: no negative width then.
int BoxWidth(const RECT& rcItem, int x) {
    LONG cx = rcItem.right - 2 * x;
    return cx > 0 ? cx : 0;
}

}  // namespace

void PlaceTextBox(HWND hwndList, ListItem& item, int x, int y, int cy, const RECT& rcItem) {
    const ScreenProfile& screen = CurrentScreen();
    const int o = screen.o;
    if (item.hwndEdit && !IsWindow(item.hwndEdit)) {
        WriteTrace(L"[err]:PaintItem(), the edit control of %s is gone; made again.", item.szName);
        item.hwndEdit = nullptr;
    }
    if (!item.hwndEdit) {
        if (screen.b320x480 && !item.bRadio) x -= 2;
        int cx = BoxWidth(rcItem, x);
        item.hwndEdit = CreateTextBox(hwndList, item, x, y, cx, cy);
        item.rcEdit[o] = EditBox{x, y, cx, cy};
        if (!item.hwndEdit) return;
        SendMessageW(item.hwndEdit, EM_LIMITTEXT, kListEditLimit, 0);
        SetWindowTextW(item.hwndEdit, item.szText);
        return;
    }
    // A rebuild after a turn: the control keeps what the user typed.
    item.rcEdit[o] = EditBox{x, y, BoxWidth(rcItem, x), cy};
    SendMessageW(item.hwndEdit, EM_LIMITTEXT, kListEditLimit, 0);
}

void PlaceEditControls() {
    const int o = CurrentScreen().o;
    ForEachTextBox([o](ListItem& item) {
        if (!item.hwndEdit) return;
        const EditBox& box = item.rcEdit[o];
        SetWindowPos(item.hwndEdit, HWND_TOP, box.x, box.y - g_iCurTop, box.cx, box.cy, SWP_NOACTIVATE);
    });
}

void ForgetEditControls() {
    ForEachTextBox([](ListItem& item) { item.hwndEdit = nullptr; });
}

HWND TextBoxNextTo(HWND hwndFrom, bool bBackward) {
    std::vector<HWND> fields;
    ForEachTextBox([&fields](ListItem& item) {
        if (item.hwndEdit && IsWindow(item.hwndEdit)) fields.push_back(item.hwndEdit);
    });
    if (fields.empty()) return nullptr;
    const auto at = std::find(fields.begin(), fields.end(), hwndFrom);
    if (at == fields.end()) return bBackward ? fields.back() : fields.front();
    const size_t n = fields.size(), i = static_cast<size_t>(at - fields.begin());
    return fields[bBackward ? (i + n - 1) % n : (i + 1) % n];
}

bool FindTextBox(HWND hwndEdit, int* piRow, int* piItem) {
    if (!hwndEdit || !g_pItems) return false;
    for (UINT i = 0; i < g_nItems; ++i) {
        const ListItem& row = g_pItems[i];
        if (row.nKind != IK_GROUP || !row.pItems) continue;
        for (int k = 0; k < row.nItems; ++k)
            if (row.pItems[k].hwndEdit == hwndEdit) {
                *piRow = static_cast<int>(i);
                *piItem = k;
                return true;
            }
    }
    return false;
}
