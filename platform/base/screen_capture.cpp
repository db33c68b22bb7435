// Screen picture: a block copy from the desktop, or the picture supplied.
#include "platform/base/screen_capture.h"

#include <mutex>

#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"

namespace {

std::mutex g_lock;
scoped::Bitmap g_picture;  // our own copy

}  // namespace

void SetScreenPicture(HBITMAP hbmPicture) {
    HBITMAP copy = nullptr;
    if (hbmPicture) {
        copy = static_cast<HBITMAP>(CopyImage(hbmPicture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!copy)
            NKDbgPrintfW(L"[screen] [err]:SetScreenPicture(), CopyImage failed, error=[%lu].\r\n",
                         GetLastError());
    }
    std::lock_guard<std::mutex> lock(g_lock);
    g_picture.reset(copy);
}

BOOL CopyScreenPicture(HDC hdcDst, int x, int y, int cx, int cy, HDC hdcScreen) {
    if (!hdcDst) return FALSE;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_picture) {
        scoped::MemDC source(CreateCompatibleDC(hdcDst));
        if (!source) {
            NKDbgPrintfW(L"[screen] [err]:CopyScreenPicture(), CreateCompatibleDC failed, error=[%lu].\r\n",
                         GetLastError());
            return FALSE;
        }
        scoped::Select selected(source.get(), g_picture.get());
        return BitBlt(hdcDst, x, y, cx, cy, source.get(), 0, 0, SRCCOPY);
    }
    if (!hdcScreen || !BitBlt(hdcDst, x, y, cx, cy, hdcScreen, 0, 0, SRCCOPY)) {
        NKDbgPrintfW(L"[screen] [err]:CopyScreenPicture(), BitBlt from the screen failed, error=[%lu].\r\n",
                     GetLastError());
        return FALSE;
    }
    return TRUE;
}
