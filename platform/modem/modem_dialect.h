// Dialects of the simulated modem: the ways real modems and SIM cards answer
// otherwise than the plain simulated one, each by a name that a card's
// "dialect" line, modem_server's --dialect and the tests use. Pure.
#pragma once
#include <cstdint>
#include <string>

enum : uint32_t {
    kDialectNumeric = 1u << 0,        // numeric result codes (V0) until ATV1
    kDialectEcho = 1u << 1,           // echo on at power-up
    kDialectUcs2 = 1u << 2,           // character set UCS2 at power-up
    kDialectHex = 1u << 3,            // character set HEX at power-up
    kDialectKeepCharset = 1u << 4,    // AT+CSCS="GSM" and "IRA" refused
    kDialectCmeText = 1u << 5,        // +CME ERROR as text (CMEE 2), AT+CMEE=1 refused
    kDialectBareError = 1u << 6,      // bare ERROR (CMEE 0) until AT+CMEE=1 or 2
    kDialectCrsmUnquoted = 1u << 7,   // +CRSM response data without quotes
    kDialectRead9F = 1u << 8,         // a good READ RECORD answered 9F xx
    kDialectNoCarrier = 1u << 9,      // NO CARRIER in the middle of every answer
    kDialectCfun4 = 1u << 10,         // CFUN 4 (flight) at power-up
    kDialectGetResponse67 = 1u << 11, // GET RESPONSE with a P3 other than its length: 67 xx (2G), 6C xx (USIM)
    kDialectPathOnly = 1u << 12,      // the mailbox files found only with their path
    // The mailbox files take no UPDATE RECORD without PIN2, as on cards whose
    // operator locks the voice-mail number: 98 04 (2G), 69 82 (USIM).
    kDialectMailboxLocked = 1u << 13,
};

// One dialect by its name (any case); false for an unknown name.
bool DialectFromName(const std::string& name, uint32_t* pDialect);
// Dialect names separated by blanks or commas; false, naming the first
// unknown one in *pBad, when one is not a dialect.
bool DialectsFromText(const std::string& text, uint32_t* pDialects, std::string* pBad);
// The names of the dialects set, separated by blanks.
std::string DialectNames(uint32_t dwDialects);
