// Hexadecimal text of byte strings, as AT+CRSM and the SIM card file write
// them, and the trimming of blanks that readers of AT lines share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Upper-case digits, two per byte, no separators.
std::string HexEncode(const uint8_t* pb, size_t cb);
inline std::string HexEncode(const std::vector<uint8_t>& bytes) {
    return HexEncode(bytes.data(), bytes.size());
}
// Pairs of hex digits of either case; blanks and tabs between pairs are allowed
// when bAllowBlanks. False on any other character or an odd digit count.
bool HexDecode(const std::string& text, bool bAllowBlanks, std::vector<uint8_t>* pOut);

// The text without blanks, tabs, CR and LF at either end.
std::string TrimBlanks(const std::string& s);
