// Gesture information as Windows Mobile 6.5 hands it out: WM_GESTURE brings
// the gesture id in wParam and a gesture-info handle in lParam, read with
// TKGetGestureInfo. This platform has no gesture recogniser of its own, so a
// sender records a gesture here and passes the handle; gestures of a real
// Windows 7 (or later) touch screen are read through user32 as well.
#pragma once
#include <windows.h>

// Windows Mobile 6.5 gesture ids beyond the desktop's (GID_BEGIN, GID_END
// and GID_PAN have the same values on both).
#ifndef GID_SCROLL
#define GID_SCROLL 8
#endif
#ifndef GID_HOLD
#define GID_HOLD 9
#endif
#ifndef GID_SELECT
#define GID_SELECT 10
#endif
#ifndef GID_DOUBLESELECT
#define GID_DOUBLESELECT 11
#endif

#define ARG_SCROLL_NONE 0
#define ARG_SCROLL_DOWN 1
#define ARG_SCROLL_LEFT 2
#define ARG_SCROLL_UP 3
#define ARG_SCROLL_RIGHT 4

// GID_SCROLL arguments: angle and direction in the high word of the high
// half, velocity (pixels per second) in its low word.
#define GID_SCROLL_ANGLE(x) ((LONG)(HIWORD(((ULONGLONG)(x)) >> 32) & 0xFFF0))
#define GID_SCROLL_DIRECTION(x) ((LONG)(HIWORD(((ULONGLONG)(x)) >> 32) & 0x000F))
#define GID_SCROLL_VELOCITY(x) ((LONG)((short)(LOWORD(((ULONGLONG)(x)) >> 32))))

// The arguments of a GID_SCROLL gesture.
ULONGLONG MakeScrollGestureArgs(int iDirection, int iVelocity, int iAngle);

// Copies the gesture behind hGestureInfo; pgi->cbSize must be set. FALSE for
// an unknown or expired handle (last error ERROR_INVALID_HANDLE).
BOOL TKGetGestureInfo(HGESTUREINFO hGestureInfo, PGESTUREINFO pgi);

// Records a gesture for TKGetGestureInfo in any module of this session; the
// handle stays valid for the next 63 gestures recorded. Null when recording fails.
HGESTUREINFO RecordGestureInfo(const GESTUREINFO* pgi);
// Records the gesture and sends WM_GESTURE (dwID, handle) to hwnd.
LRESULT SendGestureMessage(HWND hwnd, const GESTUREINFO* pgi);
