// Which service-centre addresses a modem can take in AT+CSCA: the rule the
// RIL applies before it sends one (RIL_SetMsgConfig refuses any other), for
// callers that check a typed address beforehand.
#pragma once
#include "platform/ril/ril_types.h"

// True for an optional leading "+" followed by 1 to 20 of 0-9 * # a b c
// (either case): the ten BCD bytes of the TS 24.011 address field, nothing
// that could leave the command's quotes. True for the empty address too (it
// clears the service centre). False for null and for a text without its
// terminator within cchMax characters.
bool RilIsSendableSvcCtrAddress(const Char16* pszAddress, size_t cchMax = MAXLENGTH_ADDRESS);
