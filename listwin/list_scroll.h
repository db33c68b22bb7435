// Binding of the list to the scroll component of the sibling library: the
// choice of library, the event procedures, the re-synchronisation and what
// the list calls at paint time, on the pen and on gestures.
#pragma once
#include <windows.h>

#include "platform/orvexscroll/scroll_contract.h"

// (The libraries and instances are the list's state: listwin/list_state.h.)

// Loads both libraries, chooses one and attaches its component to hwnd.
void SetupScrollComponent(HWND hwnd);
// Destroys the instances, then frees the libraries.
void ReleaseScrollComponent();

// g_scroll or g_scroll2 by g_nScrollKind; null without a component.
ScrollInstance* ActiveScroll();

// After a rebuild of the list image: the trace line and Config.
void ConfigScrollAfterBuild();
// After a paint has ended: Step, then the next offset; a new one repaints.
// While a movement runs, first waits for the next display refresh.
void StepScrollAfterPaint(HWND hwnd);
// The frame timer: the step a wait cut short by input left for its time,
// and the edit controls moved with it.
void StepScrollOnTimer(HWND hwnd);
// Config with the current values, ApplyState(QueryState()), repaint.
void ResyncScroll(HWND hwnd);

// The pen as the list window received it. Without a component a press
// taps and a release near it clicks.
void ScrollPenDown(const POINT& pt);
void ScrollPenUp(const POINT& pt);
void ScrollPenMove(const POINT& pt);
// WM_GESTURE goes to the second component only.
void ScrollGesture(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The event procedures handed to Attach; 1.
int CALLBACK ScrollEventProc1(int nEvent, int nReserved, int x, int v, HWND hwnd);
int CALLBACK ScrollEventProc2(int nEvent, int nReserved, int x, int v, HWND hwnd);
