// The SIM card of the simulated modem: a human-editable text file of the
// emulated device (format in docs/modem.md). Parsing and editing are pure;
// loading and saving go through the file system, saving atomically.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct SimCardFile {
    WORD wFileId = 0;
    BYTE cbRecordLength = 0;
    BYTE cRecords = 0;
    std::map<int, std::vector<BYTE>> records;  // by record number from 1; absent = all FF
    // Where the file's lines are, so that an edit leaves the rest of the text alone.
    size_t iFileLine = 0;
    std::map<int, size_t> recordLines;
};

struct SimCard {
    int nCfun = 1;             // radio power as AT+CFUN reports it: 0 off, 1 on, 4 flight
    std::string smscAddress;   // as the modem reports it, e.g. "+441234567890"
    int nSmscType = 129;       // TS 24.008 type octet
    bool bUsim = false;        // answers GET RESPONSE with an FCP template
    DWORD dwDialects = 0;      // kDialect... of modem_dialect.h: how the modem answers
    std::vector<SimCardFile> files;

    std::vector<std::string> lines;  // the text, line by line, without line ends
    std::string eol = "\r\n";
    int iRadioLine = -1, iSmscLine = -1, iSimLine = -1, iDialectLine = -1;
};

// Reads the card text. On failure pError says which line is wrong and why,
// with control bytes of the text written as \xNN so that it fits a trace line.
bool ParseSimCard(const std::string& text, SimCard* pCard, std::string* pError);
// The card's text with its edits.
std::string SimCardText(const SimCard& card);

const SimCardFile* FindSimFile(const SimCard& card, WORD wFileId);
// A record's bytes (all FF when the card holds none for it).
std::vector<BYTE> SimRecord(const SimCardFile& file, int nRecord);

// A service-centre address as the card and AT+CSCA hold it: an optional
// leading "+", then at most 20 of 0-9 * # a b c.
bool IsSimSmscAddress(const std::string& address);

// Edits of the model and of its text.
void SetSimRadio(SimCard* pCard, int nCfun);
void SetSimSmsc(SimCard* pCard, const std::string& address, int nType);
// False when the file is absent, the record number out of range or the length wrong.
bool SetSimRecord(SimCard* pCard, WORD wFileId, int nRecord, const std::vector<BYTE>& bytes);

enum class SimCardLoad { Ok, Missing, Malformed };
// Reads and parses the card file (Win32 path).
SimCardLoad LoadSimCard(const std::wstring& path, SimCard* pCard, std::string* pError);
// Writes a temporary file beside the card and moves it over the card, so a
// reader sees the old card or the new one, never half of one.
bool SaveSimCard(const std::wstring& path, const SimCard& card);

// Serialises read-modify-write of card files between processes (the program,
// the radio-power library, the modem server, tests).
class SimCardLock {
public:
    SimCardLock();
    ~SimCardLock();
    SimCardLock(const SimCardLock&) = delete;
    SimCardLock& operator=(const SimCardLock&) = delete;

private:
    HANDLE m_hMutex;
};
