// Kernel debug output (NKDbgPrintfW on the device). Here a line goes to
// standard error as UTF-8 and to OutputDebugStringW; a test can add a sink.
#pragma once
#include <windows.h>

// Wide printf-style formatting: %s takes a UTF-16 string.
void NKDbgPrintfW(LPCWSTR fmt, ...);
// Writes an already formatted text unchanged.
void DebugOutWrite(LPCWSTR text);

// A receiver of every text written, on whichever thread wrote it.
using DebugOutSink = void (*)(void* ctx, LPCWSTR text);
void SetDebugOutSink(DebugOutSink sink, void* ctx);
// Standard error is on unless QX_TRACE=0 is set in the environment.
void SetDebugOutToStderr(bool on);
