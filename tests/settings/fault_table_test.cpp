// The faults the reading and the saving must bear, one row each, through the
// whole chain: the program's procedures, the RIL, the simulated modem and its
// card file, the registry of the test prefix, the skin loader, the phone
// application's stand-in. Each row checks the card and the mirrors after the
// read and after Done, what Done says of each number (and so whether the
// screen stays), what the phone application is told, a trace line that names
// the fault, a trace of bounded size, and what the next start (the modem
// well again) shows.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "core/skin_resources.h"
#include "platform/modem/modem_dialect.h"
#include "platform/modem/sim_transport.h"
#include "platform/ril/ril_test_seams.h"
#include "settings/read_settings.h"
#include "settings/save_settings.h"
#include "shell/release_resources.h"
#include "tests/settings/rw_fixture.h"
#include "tests/support/card_block.h"
#include "tests/support/png_writer.h"
#include "tests/support/radio_seams.h"

namespace {

// What the device holds before the start, besides the modem's faults.
enum class Device {
    Plain,              // the fixture's card; mirrors "old" and "+999"
    NoCard,
    Malformed,          // a record of 1 byte in a file of 28-byte records
    Binary,
    NulByte,            // a NUL where a C string would end the card
    Rec14,              // records of 14 bytes: the number's part alone
    Rec255,
    Rec10,              // no room for a number
    NoMailboxFile,      // no 6F17 on the card
    UsimMbdn,           // a USIM, the number read from EF_MBDN (SIMTYPE 2)
    NoOemKey,           // no HKLM SOFTWARE\OEM\RIL; under the override
    NoModem,            // a Port that names no modem
    MirrorsWrongType,   // TextMSG_Address a DWORD, VMail_Address binary
    Override,           // RegOverridesSIM 1, PhoneNumber1 "0800 123"
    OverrideMissing,    // RegOverridesSIM 1, no PhoneNumber1
    OverrideNotString,  // RegOverridesSIM 1, PhoneNumber1 a DWORD
    OverrideNotDword,   // RegOverridesSIM "1", PhoneNumber1 "0800 123"
    SkinMissing,        // QXBS_P_Title.png gone
    SkinCorrupt,        // QXBS_SWITCH_ON.png not a PNG
    SkinHuge,           // QXBS_P_INPUTBOX.png 20000 x 20000
    CardLocked,         // the card lock held by another through the read and Done
    CardReadOnly,       // the card file read-only (mode 444)
    TwoLabels,          // 6F17 of 28 bytes "Voicemail", 6FC7 of 32 bytes "Mailbox one"
    OtherTooShort,      // 6FC7 of 10-byte records: no room for the number
};

// When the modem's faults hold: from the start (or from the row's trace
// line) through the read and Done, during the read only, during Done only.
enum class When { Always, Read, Done };

// What the user leaves in the boxes for Done: what they show, new numbers
// (an international or a national service centre, and +3161 2w), or the
// voice mail emptied (the user said to delete it).
enum class Typed { No, Intl, National, Emptied };

// What the read leaves, and what FuncGetVMailTextMSG_Setting returns.
enum class Read {
    Both,           // both shown and mirrored; TRUE
    NoVoiceMail,    // the centre alone; the record not read, its mirror kept; TRUE
    NoMailbox,      // the centre alone; GET RESPONSE failed; FALSE
    VoiceMailOnly,  // the voice mail alone: the configuration not read, the SIM read all the same; FALSE
    None,           // nothing shown, nothing written: neither answered; FALSE
};

// What Done leaves of one number (service centre, SIM record) on the card and
// in its mirror, and what it says of it.
enum class Done {
    Unchanged,    // as shown: nothing written
    Saved,        // card and mirror new, read back as written
    Failed,       // refused or not answered: card and mirror as before; said
    Unknown,      // card new, answer lost: mirror kept; said, traced unknown
    UnknownKept,  // the port gone under the command: as Failed, traced unknown
    Number1,      // the override's PhoneNumber1 alone: no SIM-type key to write the card by
};

struct Row {
    const char* what;
    Device setup;
    Typed typed;
    Read read;
    Done centre, sim;  // a number saved needs a typed one
    // In the trace of the read and Done; a leading "!": never written.
    std::vector<std::wstring> trace;
    ModemFaults faults = {};
    When when = When::Always;
    const wchar_t* at = nullptr;  // the trace line that switches the faults on; null: at once
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.what; }

using F = ModemFaults;

// The modem with one of its faults.
template <typename T>
ModemFaults With(T F::*field, std::common_type_t<T> value, DWORD dwDialects = 0) {
    ModemFaults f;
    f.*field = value;
    f.dwDialects |= dwDialects;
    return f;
}

// The modem answering the commands that begin with the given text so, the
// first n times, as real modems were recorded answering.
ModemFaults Scripted(const char* pszCommand, const char* pszAnswer, DWORD n = 1, DWORD dwDialects = 0) {
    ModemFaults f;
    f.pszScriptedCommand = pszCommand;
    f.pszScriptedAnswer = pszAnswer;
    f.dwScriptedTimes = n;
    f.dwDialects = dwDialects;
    return f;
}

// The fixture's RIL waits 400 ms per command: later than that, earlier than
// the late answer's own wait runs out.
constexpr DWORD kLateMs = 600;
const wchar_t kBeforeReadRecord[] = L"[msg]:FuncGetVMailTextMSG_Setting(), [1] ======================";
const wchar_t kBeforeUpdateRecord[] = L"[msg]:BuildRecord(), pData=";
const wchar_t kUnreadGuard[] = L"voice mail not read at start and not edited, SIM record kept.";
const wchar_t kShownUnread[] = L"voice mail shown at start not read from the registry and not edited";

const ModemFaults kWell;

// A thousand RINGs before the answer to AT+CSCA?.
std::string RingFlood() {
    std::string flood;
    for (int i = 0; i < 1000; ++i) flood += "\r\nRING\r\n";
    return flood + "\r\n+CSCA: \"+441234567890\",145\r\n\r\nOK\r\n";
}
const std::string kRingFlood = RingFlood();

const Row kRows[] = {
    {"no fault", Device::Plain, Typed::Intl, Read::Both, Done::Saved, Done::Saved, {L"!]: result 3"}},
    {"nothing typed: nothing written", Device::Plain, Typed::No, Read::Both, Done::Unchanged,
     Done::Unchanged,
     {L"service center unchanged, not sent.", L"voice mail unchanged, SIM record kept.", L"!AT+CRSM=220"}},
    // The modem.
    {"modem silent", Device::Plain, Typed::No, Read::None, Done::Unchanged, Done::Unchanged,
     {L"[ril]: no answer to [AT+CSCA?] in 400 ms."}, With(&F::bSilent, true)},
    {"modem answers ERROR", Device::Plain, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"[AT+CSCA?]: result 3, error 0x81000001.",
      L"[AT+CSCA=\"+449876543210\",145]: result 3, error 0x81000001."},
     With(&F::bError, true)},
    {"modem answers +CME ERROR", Device::Plain, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"[AT+CSCA?]: result 3, error 0x81000006."}, With(&F::pszAnswer, "\r\n+CME ERROR: 13\r\n")},
    {"modem answers garbage", Device::Plain, Typed::No, Read::None, Done::Unchanged, Done::Unchanged,
     {L"[ril]: unsolicited [??~#!garbage].", L"[ril]: no answer to [AT+CSCA?]"},
     With(&F::pszAnswer, "\r\n\x01\x7F~#!garbage\r\n")},
    {"unsolicited noise", Device::Plain, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"[ril]: unsolicited [RING]."}, With(&F::bNoise, true)},
    {"a flood of RING", Device::Plain, Typed::No, Read::Both, Done::Unchanged, Done::Unchanged,
     {L"[ril]: 980 more lines of the modem's own after [AT+CSCA?] left out of the trace."},
     Scripted("AT+CSCA?", kRingFlood.c_str()), When::Read},
    // Answers recorded from real modems (tests/platform/ril cites where each
    // comes from). A centre that cannot be read leaves the voice mail read;
    // a busy one is asked again.
    {"centre not supported: COMMAND NOT SUPPORT", Device::Plain, Typed::No, Read::VoiceMailOnly,
     Done::Unchanged, Done::Unchanged,
     {L"ended by the modem's own final result [COMMAND NOT SUPPORT].",
      L"service center not read, the voice mail read all the same."},
     Scripted("AT+CSCA?", "\r\nCOMMAND NOT SUPPORT\r\n"), When::Read},
    {"centre not supported: MODEM ERROR: 5", Device::Plain, Typed::No, Read::VoiceMailOnly,
     Done::Unchanged, Done::Unchanged, {L"[MODEM ERROR: 5]"},
     Scripted("AT+CSCA?", "\r\nMODEM ERROR: 5\r\n"), When::Read},
    {"centre not supported: ERROR: UNSUPPORTED", Device::Plain, Typed::Intl, Read::VoiceMailOnly,
     Done::Saved, Done::Saved, {L"[ERROR: UNSUPPORTED]"},
     Scripted("AT+CSCA?", "\r\nERROR: UNSUPPORTED\r\n"), When::Read},
    {"centre answered ERROR once, the modem just powered on", Device::Plain, Typed::No,
     Read::VoiceMailOnly, Done::Unchanged, Done::Unchanged, {L"[AT+CSCA?]: result 3, error 0x81000001."},
     Scripted("AT+CSCA?", "\r\nERROR\r\n"), When::Read},
    {"centre busy once: +CME ERROR: 515", Device::Plain, Typed::No, Read::Both, Done::Unchanged,
     Done::Unchanged, {L"[AT+CSCA?] answered [+CME ERROR: 515]; asked again in 500 ms"},
     Scripted("AT+CSCA?", "\r\n+CME ERROR: 515\r\n"), When::Read},
    {"SIM busy once: +CME ERROR: 14", Device::Plain, Typed::No, Read::Both, Done::Unchanged, Done::Unchanged,
     {L"answered [+CME ERROR: 14]; asked again"}, Scripted("AT+CRSM=192", "\r\n+CME ERROR: 14\r\n"),
     When::Read},
    {"first SIM access 6A 86 with no data", Device::Plain, Typed::No, Read::Both, Done::Unchanged,
     Done::Unchanged, {L"asked again"}, Scripted("AT+CRSM=192", "\r\n+CRSM: 106,134,\"\"\r\n\r\nOK\r\n"),
     When::Read},
    {"centre in UCS2 without quotes", Device::Plain, Typed::No, Read::Both, Done::Unchanged, Done::Unchanged,
     {L"!result 3"},
     Scripted("AT+CSCA?", "\r\n+CSCA: 002B003400340031003200330034003500360037003800390030,145\r\n\r\nOK\r\n", 1,
              kDialectUcs2 | kDialectKeepCharset),
     When::Read},
    {"centre line given twice", Device::Plain, Typed::No, Read::Both, Done::Unchanged, Done::Unchanged,
     {L"!result 3"},
     Scripted("AT+CSCA?", "\r\n+CSCA: \"+441234567890\",145\r\n+CSCA: \"+441234567890\",145\r\n\r\nOK\r\n"),
     When::Read},
    // The modem's copy of each command is borne without a trace line.
    {"echo", Device::Plain, Typed::Intl, Read::Both, Done::Saved, Done::Saved, {L"!]: result 3"},
     With(&F::bEcho, true)},
    {"connection dropped after 20 bytes of READ RECORD's answer", Device::Plain, Typed::No,
     Read::NoVoiceMail, Done::Unchanged, Done::Unchanged,
     {L"[ril]: the modem port closed.", L"record not read, VMail_Address kept", kUnreadGuard},
     With(&F::dwDropAfterBytes, 20), When::Read, kBeforeReadRecord},
    {"answers after the time-out at Done", Device::Plain, Typed::Intl, Read::Both, Done::Unknown,
     Done::Failed,
     {L"[ril]: no answer to [AT+CSCA=\"+449876543210\",145] in 400 ms.",
      L"[ril]: late answer of a timed-out command [OK] dropped."},
     With(&F::dwDelayMs, kLateMs), When::Done},
    {"modem frozen during Done", Device::Plain, Typed::Intl, Read::Both, Done::UnknownKept, Done::Failed,
     {L"[ril]: no answer to [AT+CSCA=\"+449876543210\",145] in 400 ms.",
      L"My_RIL_GetVoiceMail_Setting() Failed, dwFieldID=[28439]"},
     With(&F::bSilent, true), When::Done},
    {"modem gone at Done", Device::Plain, Typed::Intl, Read::Both, Done::UnknownKept, Done::Failed,
     {L"[ril]: the modem port closed."}, With(&F::bHangUp, true), When::Done},
    {"drop between AT+CSCA= and UPDATE RECORD", Device::Plain, Typed::Intl, Read::Both, Done::Saved,
     Done::UnknownKept, {L"[ril]: the modem port closed."}, With(&F::bHangUp, true), When::Done,
     kBeforeUpdateRecord},
    {"answer lost after UPDATE RECORD: time-out", Device::Plain, Typed::Intl, Read::Both,
     Done::Saved, Done::Unknown, {L"[ril]: no answer to [AT+CRSM=220,"},
     With(&F::dwDelayMs, kLateMs), When::Done, kBeforeUpdateRecord},
    {"answer lost after UPDATE RECORD: port closed", Device::Plain, Typed::Intl, Read::Both,
     Done::Saved, Done::Unknown, {L"[ril]: the modem port closed."},
     With(&F::dwDropAfterBytes, 1), When::Done, kBeforeUpdateRecord},
    // An untouched box is no number to write, under the override too.
    {"ERROR to READ RECORD", Device::Override, Typed::No, Read::NoVoiceMail, Done::Unchanged,
     Done::Unchanged,
     {L"[msg]:!cPO_MyRil.My_RIL_GetVoiceMail_RecordEntries(1, 28439)", L"!ParsePhoneNo()",
      kUnreadGuard},
     With(&F::bError, true), When::Read, kBeforeReadRecord},
    {"ERROR to READ RECORD, then edited", Device::Plain, Typed::Intl, Read::NoVoiceMail,
     Done::Saved, Done::Saved, {L"My_RIL_GetVoiceMail_RecordEntries(1, 28439)", L"!not read at start"},
     With(&F::bError, true), When::Read, kBeforeReadRecord},
    // The configuration never read goes out as the typed address and its type.
    {"ERROR at the read, then edited", Device::Plain, Typed::Intl, Read::None, Done::Saved,
     Done::Saved, {L"[AT+CSCA?]: result 3, error 0x81000001."}, With(&F::bError, true), When::Read},
    {"ERROR at the read, then a national centre typed", Device::Plain, Typed::National, Read::None,
     Done::Saved, Done::Saved, {L"[AT+CSCA?]: result 3, error 0x81000001."},
     With(&F::bError, true), When::Read},
    {"ERROR to UPDATE RECORD", Device::Plain, Typed::Intl, Read::Both, Done::Saved, Done::Failed,
     {L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_SetVoiceMail_RecordEntries, bRet=[0]",
      L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[0]"},
     With(&F::bError, true), When::Done, kBeforeUpdateRecord},
    // Refusals of real cards and radios: the number not saved is said, the
    // other one stays saved.
    {"SIM refuses UPDATE RECORD: 69 82, security status not satisfied", Device::Plain, Typed::Intl,
     Read::Both, Done::Saved, Done::Failed, {L"error 0x81016982", L"!kept in step"},
     With(&F::wUpdateRecordSW, 0x6982), When::Done},
    {"mailbox locked by the operator: 98 04, access conditions not fulfilled", Device::Plain, Typed::Intl,
     Read::Both, Done::Saved, Done::Failed, {L"error 0x81019804"},
     With(&F::dwDialects, kDialectMailboxLocked), When::Done},
    {"radio refuses AT+CSCA=: +CMS ERROR: 500", Device::Plain, Typed::Intl, Read::Both, Done::Failed,
     Done::Saved, {L"[AT+CSCA=\"+449876543210\",145]: result 3"}, With(&F::bSmscRefused, true), When::Done},
    {"updates answered but not kept: read back tells", Device::Plain, Typed::Intl, Read::Both,
     Done::Failed, Done::Failed,
     {L"service center read back as [441234567890] type [1], not as sent",
      L"record read back differs from the one written"},
     With(&F::bUpdatesLost, true), When::Done},
    // 92 40 (2G) and 65 81 (USIM): memory problem.
    {"card takes no update", Device::Plain, Typed::Intl, Read::Both, Done::Failed, Done::Failed,
     {L"[AT+CSCA=\"+449876543210\",145]: result 3, error 0x8100000B", L"[AT+CRSM=220,",
      L"error 0x81019240"},
     With(&F::bCardWriteFails, true, kDialectNumeric)},
    {"USIM found by path takes no update", Device::UsimMbdn, Typed::Intl, Read::Both, Done::Failed,
     Done::Failed, {L"[AT+CSCA=\"+449876543210\",145]: result 3, error 0x8100000B", L"error 0x81016581"},
     With(&F::bCardWriteFails, true, kDialectPathOnly | kDialectNoCarrier)},
    // The card.
    {"card missing", Device::NoCard, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"cannot open the card (error 2)", L"[AT+CSCA?]: result 3, error 0x81000004."}},
    // Told apart from other errors only after AT+CMEE.
    {"card missing, +CME as text", Device::NoCard, Typed::No, Read::None, Done::Unchanged, Done::Unchanged,
     {L"[AT+CSCA?]: result 3, error 0x81000004."}, With(&F::dwDialects, kDialectCmeText)},
    {"card missing, bare ERROR", Device::NoCard, Typed::No, Read::None, Done::Unchanged, Done::Unchanged,
     {L"[AT+CSCA?]: result 3, error 0x81000004."}, With(&F::dwDialects, kDialectBareError)},
    {"card malformed", Device::Malformed, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"line 8: record has 1 bytes, the file's records have 28."}},
    {"card binary", Device::Binary, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"line 1: unknown keyword"}},
    // A card that cannot be written: each write refused as a SIM refuses it
    // (+CMS ERROR: 500, 92 40), the card and its mode kept.
    {"card lock held by another through Done", Device::CardLocked, Typed::Intl, Read::Both, Done::Failed,
     Done::Failed, {L"card lock not obtained in 2000 ms", L"!is read-only"}},
    {"card read-only", Device::CardReadOnly, Typed::Intl, Read::Both, Done::Failed, Done::Failed,
     {L"is read-only; not written.", L"error 0x81019240"}},
    {"card with a NUL byte", Device::NulByte, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"line 2: unknown keyword"}},
    {"records of 14 bytes", Device::Rec14, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"dwVoiceMailRecLen = 14", L"no other mailbox file [28615] on the card."}},
    {"records of 255 bytes", Device::Rec255, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"dwVoiceMailRecLen = 255"}},
    {"records of 10 bytes", Device::Rec10, Typed::No, Read::NoVoiceMail, Done::Unchanged, Done::Unchanged,
     {L"record not read, VMail_Address kept", kUnreadGuard}},
    {"no mailbox file", Device::NoMailboxFile, Typed::Intl, Read::NoMailbox, Done::Saved, Done::Failed,
     {L"[QXPhoneVMSetting] FuncSetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting() Failed, "
      L"dwFieldID=[28439] !!\r\n",
      L"!FuncSetVMailTextMSG_Setting()-", L"!BuildRecord"}},
    {"no modem", Device::NoModem, Typed::Intl, Read::None, Done::Failed, Done::Failed,
     {L"[ril]: Port [none] names no modem."}},
    // Both mailbox files hold the number, each under its own label.
    {"two mailbox files, their own labels and lengths", Device::TwoLabels, Typed::Intl, Read::Both,
     Done::Saved, Done::Saved, {L"other mailbox file [28615] kept in step, bRet=[1]."}},
    {"the other mailbox file has no room for the number", Device::OtherTooShort, Typed::Intl, Read::Both,
     Done::Saved, Done::Saved, {L"other mailbox file [28615] not kept in step, bRet=[0]."}},
    {"voice mail emptied: the number deleted, the label kept", Device::Plain, Typed::Emptied, Read::Both,
     Done::Unchanged, Done::Saved, {L"VoiceMail szAddr=\r\n"}},
    // The registry.
    {"no SIM-type key", Device::NoOemKey, Typed::Intl, Read::NoVoiceMail, Done::Saved, Done::Number1,
     {L"[err]:FuncGetVMailTextMSG_Setting(), Get Registry(SIMTYPE) failed.", L"!Reg_GetCPHS()+",
      L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[1]"}},
    // Rewritten as text before anything reads them: nothing to report.
    {"mirrors of the wrong type", Device::MirrorsWrongType, Typed::Intl, Read::Both, Done::Saved,
     Done::Saved, {L"!Reg_ShowVMailNumber()"}},
    {"override value", Device::Override, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"[msg]:Reg_GetRegOverridesSIM(): EXIST, dwSel=1."}},
    {"override value missing", Device::OverrideMissing, Typed::No, Read::Both, Done::Unchanged,
     Done::Unchanged,
     {L"[err]:Reg_ShowVMailNumber(), PhoneNumber1 not read, error=[2], box empty.", kShownUnread}},
    {"override value not a string", Device::OverrideNotString, Typed::No, Read::Both, Done::Unchanged,
     Done::Unchanged,
     {L"[err]:Reg_ShowVMailNumber(), PhoneNumber1 not read, error=[13], box empty.", kShownUnread}},
    {"override switch not a DWORD", Device::OverrideNotDword, Typed::Intl, Read::Both, Done::Saved,
     Done::Saved, {L"[msg]:Reg_GetRegOverridesSIM(): Error_MESSAGE, dwSel=0."}},
    // The skin.
    {"skin file missing", Device::SkinMissing, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"[err]:LoadSkinImage(), \\Windows\\QXBS_P_Title.png not loaded."}},
    {"skin file corrupt", Device::SkinCorrupt, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"[err]:LoadSkinImage(), \\Windows\\QXBS_SWITCH_ON.png not loaded."}},
    {"skin picture of 20000 x 20000", Device::SkinHuge, Typed::Intl, Read::Both, Done::Saved, Done::Saved,
     {L"image 20000x20000 larger than the screen can use, refused, file=[\\Windows\\QXBS_P_INPUTBOX.png].",
      L"[err]:LoadSkinImage(), \\Windows\\QXBS_P_INPUTBOX.png not loaded."}},
};

const char kAlpha[] = "56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF";  // "Voicemail"
// "Mailbox one" in 18 bytes, and a number with capability 01 and extension 02.
const char kAlphaMailboxOne[] = "4D 61 69 6C 62 6F 78 20 6F 6E 65 FF FF FF FF FF FF FF";
const char kFixedWithIdentifiers[] = "06 91 67 45 23 F1 FF FF FF FF FF FF 01 02";
// The number part (length, TON/NPI, ten BCD bytes) of +3161 2w, and of none.
const char kSavedNumber[] = "05 91 13 16 2D FC FF FF FF FF FF FF";
const char kErasedNumber[] = "FF FF FF FF FF FF FF FF FF FF FF FF";
const LPCWSTR kTypedVoiceMail = L"+3161 2w";

bool OverrideOn(Device s) {
    return s == Device::Override || s == Device::OverrideMissing || s == Device::OverrideNotString ||
           s == Device::NoOemKey;
}

// What a read gives with the modem well: the card's and the registry's faults stay.
Read ReadWhenWell(Device s) {
    switch (s) {
    case Device::NoCard: case Device::Malformed: case Device::Binary: case Device::NulByte:
    case Device::NoModem:
        return Read::None;
    case Device::Rec10: case Device::NoOemKey:
        return Read::NoVoiceMail;
    case Device::NoMailboxFile:
        return Read::NoMailbox;
    default:
        return Read::Both;
    }
}

// The card holds the new number.
bool Changed(Done d) { return d == Done::Saved || d == Done::Unknown; }
bool Unknown(Done d) { return d == Done::Unknown || d == Done::UnknownKept; }
// Done says it was not saved, and the screen stays.
bool NotSaved(Done d) { return d == Done::Failed || Unknown(d); }
SaveOutcome OutcomeOf(Done d) {
    return NotSaved(d) ? SO_NOT_SAVED : d == Done::Unchanged ? SO_UNCHANGED : SO_SAVED;
}

std::string Repeat(const char* byte, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(i ? " " : "") + byte;
    return s;
}

std::string CardOf(Device s) {
    const std::string head = "radio on\r\nsmsc +441234567890 145\r\nsim 2G\r\n";
    std::string card = MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedEmpty);
    switch (s) {
    case Device::Malformed: return card + "record 2 00\r\n";
    case Device::Binary: return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18);
    case Device::NulByte: return card.insert(card.find("smsc"), 1, '\0');
    case Device::Rec14:
        return head + "file 6F17 reclen 14 records 1\r\nrecord 1 " + kFixedPlus1234567 + "\r\n";
    case Device::Rec255:
        return head + "file 6F17 reclen 255 records 1\r\nrecord 1 " + kAlpha + " " +
               Repeat("FF", 255 - 28) + " " + kFixedPlus1234567 + "\r\n";
    case Device::Rec10:
        return head + "file 6F17 reclen 10 records 1\r\nrecord 1 06 91 21 43 65 F7 FF FF FF FF\r\n";
    case Device::NoMailboxFile: return MakeCard("+441234567890", 145, nullptr, kFixedEmpty);
    case Device::UsimMbdn:
        card = MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedPlus1234567);
        return card.replace(card.find("sim 2G"), 6, "sim USIM");
    case Device::TwoLabels:
        return MakeCard("+441234567890", 145, kFixedPlus1234567, nullptr) +
               "file 6FC7 reclen 32 records 2\r\nrecord 1 " + kAlphaMailboxOne + " " + kFixedWithIdentifiers +
               "\r\n";
    case Device::OtherTooShort:
        return MakeCard("+441234567890", 145, kFixedPlus1234567, nullptr) +
               "file 6FC7 reclen 10 records 1\r\nrecord 1 " + Repeat("FF", 10) + "\r\n";
    default: return card;
    }
}

// A mailbox record with another number part: its label and identifiers kept.
std::string WithNumber(const std::vector<BYTE>& record, const char* number) {
    const size_t n = record.size();
    if (n < 14) return Hex(record);
    const std::vector<BYTE> label(record.begin(), record.end() - 14);
    const std::vector<BYTE> tail(record.end() - 2, record.end());
    return (label.empty() ? "" : Hex(label) + " ") + number + " " + Hex(tail);
}

// A registry value as text: the string, "<absent>", or "<type N>".
std::wstring ValueText(HKEY root, LPCWSTR key, LPCWSTR name) {
    DWORD type = 0;
    if (RegGetValueW(root, key, name, RRF_RT_ANY, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return L"<absent>";
    if (type != REG_SZ) return L"<type " + std::to_wstring(type) + L">";
    return GetRegString(root, key, name);
}
bool IsText(const std::wstring& v) { return v.empty() || v[0] != L'<'; }
// A service centre as its mirror holds it: without the "+".
std::wstring Bare(const std::wstring& centre) { return centre.substr(!centre.empty() && centre[0] == L'+'); }

std::wstring Mirror(LPCWSTR name) { return ValueText(HKEY_CURRENT_USER, kTestMirrorKey, name); }
std::wstring PhoneNumber1() { return ValueText(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1"); }

class FaultTableTest : public SettingsTest, public testing::WithParamInterface<Row> {
protected:
    // One phone application for the table, in a folder of its own.
    static void SetUpTestSuite() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        s_log = std::wstring(temp) + L"qx-fault-table-phoneapp-" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(s_log.c_str());
        s_phone = new PhoneApp(s_log, 600);
    }
    static void TearDownTestSuite() {
        delete s_phone;
        s_phone = nullptr;
        DeleteFileW(s_log.c_str());
    }
    void TearDown() override {
        m_block.reset();
        ReleaseResources();  // skins, fonts
        SettingsTest::TearDown();
    }
    void SetUpDevice(const Row& row);
    void LoadSkins(Device s);
    WORD MailboxFile() const { return GetParam().setup == Device::UsimMbdn ? 0x6FC7 : 0x6F17; }
    WORD OtherMailboxFile() const { return MailboxFile() == 0x6FC7 ? 0x6F17 : 0x6FC7; }

    static std::wstring s_log;
    static PhoneApp* s_phone;
    std::unique_ptr<CardBlocker> m_block;
    bool CardExists() const { return GetFileAttributesW(CardPath().c_str()) != INVALID_FILE_ATTRIBUTES; }
};

std::wstring FaultTableTest::s_log;
PhoneApp* FaultTableTest::s_phone = nullptr;

void FaultTableTest::SetUpDevice(const Row& row) {
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", L"old");
    SetRegString(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", L"+999");
    if (row.setup == Device::NoCard) DeleteFileW(CardPath().c_str());
    else WriteCard(CardOf(row.setup));
    if (row.setup == Device::UsimMbdn) SetSimFlags(2, 0);
    if (row.setup == Device::NoModem) RilSetPortForTest(L"none");
    if (row.setup == Device::CardLocked || row.setup == Device::CardReadOnly) {
        m_block = std::make_unique<CardBlocker>(
            row.setup == Device::CardLocked ? CardBlock::LockHeld : CardBlock::ReadOnly, CardPath());
        // Each write waits out the lock (2 s): the radio's waits as the device has them.
        if (row.setup == Device::CardLocked) UseSimModem(0, 0);
    }
    if (row.setup == Device::NoOemKey) DeleteRegTree(HKEY_LOCAL_MACHINE, kTestOemKey);
    if (row.setup == Device::MirrorsWrongType) {
        const BYTE bytes[] = {1, 2, 3};
        SetRegDword(HKEY_CURRENT_USER, kTestMirrorKey, L"TextMSG_Address", 7);
        SetRegBinary(HKEY_CURRENT_USER, kTestMirrorKey, L"VMail_Address", bytes, sizeof bytes);
    }
    if (OverrideOn(row.setup)) SetRegDword(HKEY_CURRENT_USER, kTestVmailKey, L"RegOverridesSIM", 1);
    if (row.setup == Device::OverrideNotDword)
        SetRegString(HKEY_CURRENT_USER, kTestVmailKey, L"RegOverridesSIM", L"1");
    if (row.setup == Device::OverrideNotString)
        SetRegDword(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1", 800);
    else if ((OverrideOn(row.setup) || row.setup == Device::OverrideNotDword) &&
             row.setup != Device::OverrideMissing)
        SetRegString(HKEY_CURRENT_USER, kTestVmailKey, L"PhoneNumber1", L"0800 123");
}

void FaultTableTest::LoadSkins(Device s) {
    for (int i = 0; i < kSkinImageCount; ++i) {
        ASSERT_TRUE(WriteSolidPng(m_device.Path(kSkinImageFiles[i]), 8, 8, 0xFF336699u));
    }
    if (s == Device::SkinMissing) DeleteFileW(m_device.Path(kSkinImageFiles[kSkinPTitle]).c_str());
    if (s == Device::SkinCorrupt) {
        ASSERT_TRUE(WriteFileBytes(m_device.Path(kSkinImageFiles[kSkinSwitchOn]), "garbage"));
    }
    if (s == Device::SkinHuge) {
        ASSERT_TRUE(WriteFileBytes(m_device.Path(kSkinImageFiles[kSkinPInputBox]), PngHeaderOfSize(20000, 20000)));
    }
    LoadSkinResources();
}

TEST_P(FaultTableTest, ReadAndDone) {
    const Row& row = GetParam();
    const bool bSkin =
        row.setup == Device::SkinMissing || row.setup == Device::SkinCorrupt || row.setup == Device::SkinHuge;
    const bool bTyped = row.typed != Typed::No;
    ASSERT_TRUE(bTyped || !Changed(row.sim)) << "a saved record needs a typed number";
    SetUpDevice(row);
    const std::string cardAtStart = ReadCard();
    const bool bCardAtStart = CardExists();
    const bool bReadOnlyAtStart = CardReadOnly(CardPath());
    const std::wstring textMsgAtStart = Mirror(L"TextMSG_Address");
    const std::wstring vmailAtStart = Mirror(L"VMail_Address");
    const std::wstring number1AtStart = PhoneNumber1();

    TraceTrigger trace;
    if (bSkin) LoadSkins(row.setup);
    auto switchOn = [&trace, &row](bool bNow) {
        if (bNow && !row.at) SetSimModemFaultsForTest(row.faults);
        else if (bNow) trace.On(row.at, [f = row.faults] { SetSimModemFaultsForTest(f); });
    };

    // The read.
    switchOn(row.when != When::Done);
    const bool bRead = FuncGetVMailTextMSG_Setting(&m_setting) != FALSE;
    if (row.at && row.when != When::Done) {
        EXPECT_TRUE(trace.Fired()) << "never reached: " << row.at;
    }
    const bool bCentreRead = row.read == Read::Both || row.read == Read::NoVoiceMail || row.read == Read::NoMailbox;
    const bool bNumberRead = row.read == Read::Both || row.read == Read::VoiceMailOnly;
    const std::wstring numberAtStart = bNumberRead && OverrideOn(row.setup)
                                           ? (IsText(number1AtStart) ? number1AtStart : L"")
                                           : L"+1234567";
    EXPECT_EQ(bRead, row.read == Read::Both || row.read == Read::NoVoiceMail);
    EXPECT_EQ(ServiceCentreBox(), bCentreRead ? L"+441234567890" : L"");
    EXPECT_EQ(VoiceMailBox(), bNumberRead ? numberAtStart : L"");
    const std::wstring textMsgRead = bCentreRead ? L"441234567890" : textMsgAtStart;
    const std::wstring vmailRead = bNumberRead ? L"+1234567" : vmailAtStart;
    EXPECT_EQ(Mirror(L"TextMSG_Address"), textMsgRead);
    EXPECT_EQ(Mirror(L"VMail_Address"), vmailRead);
    EXPECT_EQ(ReadCard(), cardAtStart) << "a read never writes the card";
    if (!bCentreRead) {
        EXPECT_TRUE(trace.Has(L"[msg]:FuncGetVMailTextMSG_Setting(), My_RIL_GetTextMessage_Setting() "
                              L"Failed, TextMSG_Address=[]"));
        EXPECT_TRUE(trace.HasDirect(L"[msg]Dialconf.dll: FuncGetVMailTextMSG_Setting(), "
                                    L"My_RIL_GetTextMessage_Setting() Failed, TextMSG_Address=[] !!\r\n"));
        EXPECT_TRUE(trace.Has(L"service center not read, the voice mail read all the same."));
    }
    switch (row.read) {
    case Read::None:
        EXPECT_TRUE(trace.Has(L"My_RIL_GetVoiceMail_Setting() Failed")) << "the SIM asked all the same";
        EXPECT_FALSE(trace.Has(L"FuncGetVMailTextMSG_Setting()-"));
        break;
    case Read::NoMailbox:
        EXPECT_TRUE(trace.Has(L"[msg]:FuncGetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting() "
                              L"Failed, dwFieldID=[28439]"));
        EXPECT_TRUE(trace.HasDirect(L"[msg]Dialconf.dll: FuncGetVMailTextMSG_Setting(), "
                                    L"My_RIL_GetVoiceMail_Setting() Failed, dwFieldID=[28439] !!\r\n"));
        EXPECT_FALSE(trace.Has(L"FuncGetVMailTextMSG_Setting()-"));
        break;
    default:
        EXPECT_TRUE(trace.Has(L"[msg]:FuncGetVMailTextMSG_Setting()-"));
    }

    // Done.
    trace.On(L"", nullptr);
    if (row.when == When::Read) SetSimModemFaultsForTest(kWell);
    switchOn(row.when == When::Done);
    const std::string cardBeforeDone = ReadCard();
    const std::wstring centreText = row.typed == Typed::Intl       ? L"+449876543210"
                                    : row.typed == Typed::National ? L"0441234567"
                                                                   : ServiceCentreBox();
    const std::wstring voiceMailText = row.typed == Typed::No        ? VoiceMailBox()
                                       : row.typed == Typed::Emptied ? L""
                                                                     : kTypedVoiceMail;
    ASSERT_TRUE(row.typed != Typed::No || (row.centre == Done::Unchanged && row.sim == Done::Unchanged))
        << "what is not typed is not written";
    Type(centreText.c_str(), voiceMailText.c_str());
    const int toldBefore = s_phone->Told("WM_CPROG_UPDATEVMAIL_NUMBER");
    VMailTextMSGSaveResult result{};
    const BOOL bSaved = SaveSetting(&m_setting, m_input, &result);
    if (row.at && row.when == When::Done) {
        EXPECT_TRUE(trace.Fired()) << "never reached: " << row.at;
    }
    SetSimModemFaultsForTest(kWell);

    // What Done says: the screen stays while a number was not saved.
    EXPECT_EQ(bSaved, !NotSaved(row.centre) && !NotSaved(row.sim));
    EXPECT_EQ(result.outcome[SF_TEXT_MESSAGE], OutcomeOf(row.centre));
    EXPECT_EQ(result.outcome[SF_VOICE_MAIL], OutcomeOf(row.sim));

    EXPECT_EQ(CardReadOnly(CardPath()), bReadOnlyAtStart) << "the card keeps its mode";
    // Some lines a run: a noisy modem must not fill the device's storage.
    EXPECT_LT(trace.Texts().size(), 400u);
    if (!Changed(row.centre) && !Changed(row.sim)) {
        EXPECT_EQ(ReadCard(), cardBeforeDone) << "the card is not written";
        EXPECT_EQ(CardExists(), bCardAtStart);
    } else {
        SimCard before;
        ASSERT_TRUE(ParseSimCard(cardBeforeDone, &before, nullptr));
        const SimCard after = LoadCard(CardPath());
        const std::string smsc(centreText.begin(), centreText.end());
        EXPECT_EQ(after.smscAddress, Changed(row.centre) ? smsc : before.smscAddress);
        EXPECT_EQ(after.nSmscType, Changed(row.centre) ? (smsc[0] == '+' ? 145 : 129) : before.nSmscType);
        // Record 1 of the mailbox file changes, and of the other one when the
        // save is known to have held: the number alone, each label kept.
        const char* number = row.typed == Typed::Emptied ? kErasedNumber : kSavedNumber;
        for (const SimCardFile& file : before.files) {
            SCOPED_TRACE(file.wFileId);
            const std::vector<BYTE> held = SimRecord(file, 1);
            const bool bWritten = Changed(row.sim) && (file.wFileId == MailboxFile() ||
                                                       (file.wFileId == OtherMailboxFile() &&
                                                        row.sim == Done::Saved && held.size() >= 14));
            EXPECT_EQ(Hex(CardRecord(CardPath(), file.wFileId)), bWritten ? WithNumber(held, number) : Hex(held));
        }
    }
    const std::wstring textMsgDone = row.centre == Done::Saved ? Bare(centreText) : textMsgRead;
    const std::wstring vmailMirrored = row.typed == Typed::Emptied ? L"" : L"+3161 2p";
    const std::wstring vmailDone = row.sim == Done::Saved ? vmailMirrored : vmailRead;
    EXPECT_EQ(Mirror(L"TextMSG_Address"), textMsgDone);
    EXPECT_EQ(Mirror(L"VMail_Address"), vmailDone);
    // The override takes the text as typed, whatever the SIM does.
    const bool bVoiceMailWritten = row.sim != Done::Unchanged;
    const std::wstring number1Done = OverrideOn(row.setup) && bVoiceMailWritten ? voiceMailText : number1AtStart;
    EXPECT_EQ(PhoneNumber1(), number1Done);
    // Told unless the voice mail was not saved, and then what the mirror holds.
    const bool bTold = !NotSaved(row.sim);
    EXPECT_EQ(s_phone->Told("WM_CPROG_UPDATEVMAIL_NUMBER"), toldBefore + (bTold ? 1 : 0));
    if (bTold && IsText(vmailDone)) {
        const std::string told = "VMail_Address=[" + std::string(vmailDone.begin(), vmailDone.end()) + "]";
        EXPECT_GE(s_phone->Told(told), 1) << told;
    }

    EXPECT_TRUE(trace.Has(L"SaveSetting-"));
    EXPECT_EQ(trace.Has(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to the message "
                        L"configuration, service center outcome unknown, TextMSG_Address kept."),
              Unknown(row.centre));
    EXPECT_EQ(trace.Has(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to UPDATE RECORD, SIM "
                        L"record outcome unknown, VMail_Address kept."),
              Unknown(row.sim));
    for (const std::wstring& fragment : row.trace) {
        const bool bNever = fragment[0] == L'!';
        EXPECT_NE(trace.Has(fragment.substr(bNever ? 1 : 0)), bNever)
            << (bNever ? "traced: " : "not traced: ") << testing::PrintToString(fragment);
    }

    // The next start, with the modem well, shows what the card and the registry hold.
    ASSERT_TRUE(Start());
    const Read next = ReadWhenWell(row.setup);
    const std::wstring centreNow = Changed(row.centre) ? centreText : L"+441234567890";
    const std::wstring numberNow = !Changed(row.sim)              ? L"+1234567"
                                   : row.typed == Typed::Emptied ? L""
                                                                 : L"+31612p";
    EXPECT_EQ(ServiceCentreBox(), next == Read::None ? L"" : centreNow);
    EXPECT_EQ(VoiceMailBox(), next != Read::Both       ? L""
                              : !OverrideOn(row.setup) ? numberNow
                              : IsText(number1Done)    ? number1Done
                                                       : L"");
    EXPECT_EQ(Mirror(L"TextMSG_Address"), next == Read::None ? textMsgDone : Bare(centreNow));
    EXPECT_EQ(FuncGetVMailTextMSG_Setting(&m_setting) != FALSE, next == Read::Both || next == Read::NoVoiceMail)
        << "the read again";
    EXPECT_EQ(Mirror(L"VMail_Address"), next == Read::Both ? numberNow : vmailDone);
}

std::string RowName(const testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
        if (isalnum(static_cast<unsigned char>(*p))) name += *p;
    return std::to_string(info.index) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTableTest, testing::ValuesIn(kRows), RowName);

}  // namespace
