// What the two number fields may hold and what "Done" can store: the
// characters of a number as it is typed, and the checks of each text
// before anything is written. Pure functions over the text.
#pragma once
#include <windows.h>

#include <cstdint>

// The dial characters 0-9 * # + p P w W and the separators blank and "-",
// which the mailbox record stores as the undefined digit.
bool IsNumberChar(WCHAR c);
// Every character of the text is one (the empty text too).
bool IsNumberText(LPCWSTR pText);

// Why a text cannot be stored.
enum NumberFault {
    NF_NONE = 0,
    NF_BAD_CHARACTER,   // a character that is not part of a number
    NF_PLUS_NOT_FIRST,  // a "+" after the first character
    NF_TOO_LONG,        // more digits than the SIM record holds
    NF_RADIO_REFUSES,   // a service centre the radio does not take
    NF_PLUS_ONLY,       // a "+" and nothing else
    NF_EMPTY,           // no service centre at all
};

// The voice-mail number: at most twenty digits after the "+" is dropped,
// blanks and "-" counted, as the record is built. Empty is a number to
// delete, which the user is asked about first.
NumberFault CheckVoiceMailText(LPCWSTR pText);
// The service centre: as the save hands it to the radio (a leading "+"
// becomes the international type), by the radio's own rule; never empty.
NumberFault CheckServiceCentreText(LPCWSTR pText);

// The address the radio gets for a service-centre text: without its
// leading "+", which gives the international type instead.
LPCWSTR SplitServiceCentre(LPCWSTR pText, uint32_t* pdwType);
