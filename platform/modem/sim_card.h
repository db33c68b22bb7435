// The SIM card of the simulated modem: the text of a human-editable card
// file (format in docs/modem.md), parsed and edited in memory, and the slot
// through which the modem reaches its card. Pure: no I/O, no globals; the
// file of the emulated device is sim_card_file.h.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SimCardFile {
    uint16_t wFileId = 0;
    uint8_t cbRecordLength = 0;
    uint8_t cRecords = 0;
    std::map<int, std::vector<uint8_t>> records;  // by record number from 1; absent = all FF
    // Where the file's lines are, so that an edit leaves the rest of the text alone.
    size_t iFileLine = 0;
    std::map<int, size_t> recordLines;
};

// Who the modem says it is (AT+CGMI, +CGMM, +CGMR, +CGSN, ATI) and the
// subscriber on its card (AT+CIMI): the card's lines, else these.
struct ModemIdentity {
    std::string maker = "QX";
    std::string model = "QX Simulated Modem";
    std::string revision = "1.0";
    std::string imei = "490154203237518";  // 15 digits, the last the Luhn check digit
    std::string imsi = "001010123456789";  // MCC 001, MNC 01: the test network
};

struct SimCard {
    int nCfun = 1;             // radio power as AT+CFUN reports it: 0 off, 1 on, 4 flight
    std::string smscAddress;   // as the modem reports it, e.g. "+441234567890"
    int nSmscType = 129;       // TS 24.008 type octet
    bool bUsim = false;        // answers GET RESPONSE with an FCP template
    uint32_t dwDialects = 0;   // kDialect... of modem_dialect.h: how the modem answers
    ModemIdentity identity;
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

const SimCardFile* FindSimFile(const SimCard& card, uint16_t wFileId);
// A record's bytes (all FF when the card holds none for it).
std::vector<uint8_t> SimRecord(const SimCardFile& file, int nRecord);

// A service-centre address as the card and AT+CSCA hold it: an optional
// leading "+", then at most 20 of 0-9 * # a b c.
bool IsSimSmscAddress(const std::string& address);

// Edits of the model and of its text.
void SetSimRadio(SimCard* pCard, int nCfun);
void SetSimSmsc(SimCard* pCard, const std::string& address, int nType);
// False when the file is absent, the record number out of range or the length wrong.
bool SetSimRecord(SimCard* pCard, uint16_t wFileId, int nRecord, const std::vector<uint8_t>& bytes);

// Where the simulated modem finds its card: the device's card file
// (sim_card_file.h), or a text in memory (tests, fuzzing).
class SimCardSlot {
public:
    virtual ~SimCardSlot() = default;
    // The card as it stands now; null when the slot holds none that reads.
    // Valid until the next Card().
    virtual const SimCard* Card() = 0;
    // Stores a changed card; false when it could not be written.
    virtual bool Save(const SimCard& card) = 0;
    // Around a Card() and the Save() of its change: other writers wait.
    virtual void Lock() {}
    virtual void Unlock() {}
};

// A card kept as text in memory: *pText is read at each Card() and replaced
// by Save(). It must outlive the slot; several slots may share it, as
// several modems share a card file.
class SimCardTextSlot : public SimCardSlot {
public:
    explicit SimCardTextSlot(std::string* pText) : m_pText(pText) {}
    const SimCard* Card() override;
    bool Save(const SimCard& card) override;

private:
    std::string* m_pText;
    std::string m_parsedText;  // the text m_card was read from
    bool m_bParsed = false;
    bool m_bCard = false;
    SimCard m_card;
};
