// The process's one connection to the modem and the radio handles that share
// it, as a phone's RIL driver owns the modem port and serves its clients: the
// first handle opens the port and its channel, later handles join it, the
// last close ends it. Each handle keeps its own callback; an answer whose
// handle has closed is dropped. A connection whose port has dropped fails the
// requests of the handles opened on it, while a new handle opens the port
// again. A new connection sets the modem up (at_setup.h) before its first
// handle is handed out, and each answer is read in what the set-up learnt.
#pragma once
#include <windows.h>

#include "platform/ril/ril.h"
#include "platform/ril/ril_commands.h"

// dwCommandTimeoutMs: how long the library waits for the modem's answer to
// each of this handle's commands; 0 (or more than the library's own
// per-command time-out) for that one.
HRESULT RilOpenHandle(DWORD dwIndex, RILRESULTCALLBACK pfnResult, DWORD_PTR dwParam,
                      DWORD dwCommandTimeoutMs, HRIL* phRil);
// Once it returns, no callback of the handle runs or starts (unless it is
// called from that very callback, which then finishes as it will).
HRESULT RilCloseHandle(HRIL hRil);
// Queues the request and returns its command id; hrBuilt is the result of
// building it, passed on when it failed.
HRESULT RilSubmit(HRIL hRil, HRESULT hrBuilt, RilRequest&& request);
