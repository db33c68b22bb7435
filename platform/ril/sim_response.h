// The answer of a SIM command: the +CRSM line, its status words, and a
// USIM's FCP template in the 2G layout. Pure: no I/O, no globals.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// +CRSM: <sw1>,<sw2>[,<response>]: the prefix in any case, the response hex
// quoted or not, blanks around the commas. pResponse null: the status words
// alone, the response not read.
bool ParseCrsmLine(const std::string& line, int* pSw1, int* pSw2, std::vector<uint8_t>* pResponse);
// 90 00, 91 xx, 92 0X and 9F xx report success (TS 51.011 9.4.1); 92 40,
// like every other status word, a failure.
bool IsSimSuccess(int sw1, int sw2);
// A USIM's FCP template (TS 102.221 11.1.1.3) in the 2G GET RESPONSE layout
// of TS 51.011 9.2.1: file size in bytes 2-3, record length in byte 14.
bool ConvertFcpToGsm(const std::vector<uint8_t>& fcp, std::vector<uint8_t>* pGsm);
