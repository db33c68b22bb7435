// Radio Interface Layer (ril.dll on the device): the entry points the
// program and the radio-power library call, over the codes and structures of
// ril_types.h. Requests return a command id at once; the answer arrives later
// on the library's own thread through the result callback.
#pragma once
#include <windows.h>

#include "platform/ril/ril_types.h"

// ril_types.h spells these Win32 values without windows.h.
static_assert(RIL_E_INVALIDHANDLE == E_HANDLE, "E_HANDLE");
static_assert(RIL_E_INVALIDARG == E_INVALIDARG, "E_INVALIDARG");
static_assert(kRilRequestTaken == S_OK, "S_OK");
static_assert(sizeof(HRESULT) == sizeof(int32_t), "RIL_RESULT_ERROR carries 32 bits");

typedef HANDLE HRIL;

// dwParam is pointer-sized: the callers hand an object pointer through it
// (32 bits on the device, 64 bits in this build).
typedef void (CALLBACK* RILRESULTCALLBACK)(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                           DWORD cbData, DWORD_PTR dwParam);
typedef void (CALLBACK* RILNOTIFYCALLBACK)(DWORD dwCode, const void* lpData, DWORD cbData,
                                           DWORD_PTR dwParam);

// Opens a radio handle on port dwIndex (1 on the device; the port itself comes
// from HKLM "Drivers\BuiltIn\RIL" "Port"). S_OK with *lphRil set, or an error
// with *lphRil 0. The first handle of a process opens the port and sets the
// modem up (echo off, verbose results, numeric errors, a character set) before
// it returns; later handles share that connection. Callbacks run on the library's thread, never inside a request
// call; an answer may arrive before the request call has returned its id.
HRESULT RIL_Initialize(DWORD dwIndex, RILRESULTCALLBACK pfnResult, RILNOTIFYCALLBACK pfnNotify,
                       DWORD dwNotificationClasses, DWORD_PTR dwParam, HRIL* lphRil);
// Closes the handle. Pending requests are dropped: no callback runs for this
// handle once the call has returned.
HRESULT RIL_Deinitialize(HRIL hRil);

// Each request: a positive command id, or a negative error (bad handle, bad
// argument) with no callback to follow.
// Answer: RILMSGCONFIG (AT+CSCA?).
HRESULT RIL_GetMsgConfig(HRIL hRil);
// Answer: none (AT+CSCA="...",type).
HRESULT RIL_SetMsgConfig(HRIL hRil, const RILMSGCONFIG* lpMsgConfigInfo);
// Answer: RILSIMRESPONSE (AT+CRSM). A failing status word gives RIL_RESULT_ERROR
// with RIL_E_SIMSTATUS(sw1, sw2). A USIM's GET RESPONSE (FCP template) comes
// back in the 2G layout: file size in bytes 2-3, record length in byte 14. A
// GET RESPONSE that wants another length, and a mailbox file a modem finds
// only by its path, are asked again inside the library under the same id.
HRESULT RIL_SendRestrictedSimCmd(HRIL hRil, DWORD dwCommand,
                                 const RILSIMCMDPARAMETERS* lpParameters,
                                 const BYTE* lpbData, DWORD dwSize);
// Answer: RILEQUIPMENTSTATE (AT+CFUN?).
HRESULT RIL_GetEquipmentState(HRIL hRil);
// Answer: none (AT+CFUN=n); dwEquipmentState is RIL_EQSTATE_MINIMUM, _FULL,
// _DISABLETX, _DISABLERX or _DISABLETXANDRX.
HRESULT RIL_SetEquipmentState(HRIL hRil, DWORD dwEquipmentState);

// Test seam: how long the library waits for the modem's answer to one command
// before it delivers RIL_RESULT_ERROR / RIL_E_TIMEDOUT (10000 ms on the device;
// 0 restores that).
void RilSetCommandTimeoutForTest(DWORD dwMs);
