// Saving the two numbers that changed: the message configuration, read back;
// the "PhoneNumber1" override; record 1 of the mailbox file with its label
// kept, read back, then of the card's other mailbox file; the mirrors of
// what was saved, and the notification of the phone application.
#include "settings/save_settings.h"

#include <cwchar>
#include <vector>

#include "core/app_state.h"
#include "core/trace.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/debug_out.h"
#include "platform/base/kernel.h"
#include "settings/number_input.h"
#include "settings/radio_link.h"
#include "settings/record_codec.h"
#include "settings/settings_store.h"

namespace {

constexpr DWORD kMailboxRecord = 1;

// The field's text, if the screen made the field: FALSE means there is no
// edited value to save.
bool ReadEditText(const VMailTextMSGInput& input, SettingField field, WCHAR (&szText)[kTextLen]) {
    szText[0] = L'\0';
    if (!input.bHasText[field]) return false;
    lstrcpynW(szText, input.szText[field], kTextLen);
    return true;
}

// How an outcome reads in the trace.
LPCWSTR OutcomeName(SaveOutcome outcome) {
    return outcome == SO_SAVED ? L"saved" : outcome == SO_NOT_SAVED ? L"not saved" : L"unchanged";
}

// The field holds another text than it was shown with (or than the last
// Done saved): only then is there anything to store.
bool IsChanged(const VMailTextMSGSetting& setting, SettingField field, LPCWSTR pszText) {
    return wcscmp(field == SF_TEXT_MESSAGE ? setting.szTextMessage : setting.szVoiceMail, pszText) != 0;
}

// The radio holds the address it was sent: the same digits, international
// or not as sent (a modem may report a national type for one sent as
// unknown).
bool SameServiceCentre(const RILADDRESS& sent, const RILADDRESS& held) {
    const bool bSentIntl = sent.dwType == RIL_ADDRTYPE_INTERNATIONAL;
    const bool bHeldIntl = held.dwType == RIL_ADDRTYPE_INTERNATIONAL;
    return bSentIntl == bHeldIntl && wcsncmp(sent.wszAddress, held.wszAddress, MAXLENGTH_ADDRESS) == 0;
}

// The service centre into the radio, read back. Returns how it ended.
SaveOutcome SaveTextMessage(RadioLink& link, VMailTextMSGSetting* pSetting, const WCHAR (&szAddr)[kTextLen]) {
    RILMSGCONFIG& TextMsgConfig = pSetting->TextMsgConfig;
    RILADDRESS& ra = TextMsgConfig.raSvcCtrAddress;
    LPCWSTR pszAddr = SplitServiceCentre(szAddr, &ra.dwType);
    if (ra.dwType == RIL_ADDRTYPE_INTERNATIONAL) {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), Have +, International calls");
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), After  cut, Addr =%s", pszAddr);
    } else {
        WriteTrace(szAddr[0] ? L"[msg]:FuncSetVMailTextMSG_Setting(), No +, National calls"
                             : L"[msg]:FuncSetVMailTextMSG_Setting(), Len(szAddr) = 0, National calls");
    }
    WCHAR szTrimAddr[kTextLen] = {};
    _snwprintf_s(szTrimAddr, _TRUNCATE, L"%s", pszAddr);
    _snwprintf_s(ra.wszAddress, _TRUNCATE, L"%s", szTrimAddr);

    link.My_RIL_Initialize();
    BOOL bRet = link.My_RIL_SetTextMessage_Setting(&TextMsgConfig) ? TRUE : FALSE;
    if (bRet) {
        // Taken is not yet kept: what the radio answers now is what it holds.
        RILMSGCONFIG held = {};
        RILADDRESS& heldAddress = held.raSvcCtrAddress;
        if (!link.My_RIL_GetTextMessage_Setting(&held)) {
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), service center not read back, outcome "
                       L"unknown, TextMSG_Address kept.");
            bRet = FALSE;
        } else if (heldAddress.wszAddress[MAXLENGTH_ADDRESS - 1] = L'\0'; !SameServiceCentre(ra, heldAddress)) {
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), service center read back as [%s] type [%d], "
                       L"not as sent, TextMSG_Address kept.",
                       heldAddress.wszAddress, static_cast<int>(heldAddress.dwType));
            bRet = FALSE;
        }
    }
    if (bRet) {
        WriteRegistry(kMirrorKey, kValueTextMSGAddress, REG_SZ, ra.wszAddress);
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(TextMSG_Address), "
                   L"VMail_Address, szAddr=%s, szTrimAddr=%s ", szAddr, szTrimAddr);
        // The radio holds it now: a second Done has nothing new to send.
        lstrcpynW(pSetting->szTextMessage, szAddr, kTextLen);
        pSetting->bTextMsgRead = TRUE;
    } else if (link.AnswerLost()) {
        // The radio may hold the new address: the mirror keeps the last one
        // known, and the next start reads what the radio has.
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to the message configuration, "
                   L"service center outcome unknown, TextMSG_Address kept.");
    }
    link.My_RIL_Deinitialize();
    return bRet ? SO_SAVED : SO_NOT_SAVED;
}

// Record 1 of a mailbox file as the card holds it now, into record (L
// bytes): false when it cannot be read whole.
bool ReadMailboxRecord(RadioLink& link, DWORD dwFieldID, std::vector<BYTE>* pRecord) {
    const DWORD dwRecLen = link.m_dwRecLen;
    if (!link.My_RIL_GetVoiceMail_RecordEntries(kMailboxRecord, dwFieldID) || !link.m_pbResult ||
        !RecordInAnswer(link.m_cbResult, dwRecLen))
        return false;
    const BYTE* pb = link.m_pbResult + kSimResponseHeader;
    pRecord->assign(pb, pb + dwRecLen);
    return true;
}

// The record for the number, the rest of the card's record kept: false when
// the card's record cannot be read or the number not built into it.
bool BuildMailboxRecord(RadioLink& link, DWORD dwFieldID, WCHAR (&szNumber)[kTextLen], std::vector<BYTE>* pRecord) {
    const DWORD dwRecLen = link.m_dwRecLen;
    std::vector<BYTE> held;
    if (!ReadMailboxRecord(link, dwFieldID, &held)) {
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), record 1 of [%d] not read before writing, "
                   L"its label unknown, record not written.", static_cast<int>(dwFieldID));
        return false;
    }
    pRecord->assign(dwRecLen, 0xFF);
    if (!BuildRecord(pRecord->empty() ? nullptr : pRecord->data(), szNumber, dwRecLen) ||
        !KeepRecordLabel(pRecord->data(), held.data(), dwRecLen)) {
        // A record with no room for a number: the SIM record and the mirror
        // stay as they were.
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), BuildRecord() failed, szAddr=%s, "
                   L"record not written.", szNumber);
        return false;
    }
    return true;
}

// The other mailbox file, when the card has one too (6F17 and 6FC7 hold the
// same number on a card with both): one attempt, its own label kept. Its
// failure is traced; the number stands saved in the file the phone reads.
void KeepOtherMailboxInStep(RadioLink& link, DWORD dwFieldID, const WCHAR (&szTyped)[kTextLen]) {
    const DWORD dwOther = dwFieldID == kFileMbdn ? kFileCphsMailbox : kFileMbdn;
    if (!link.My_RIL_GetVoiceMail_Setting(dwOther)) {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), no other mailbox file [%d] on the card.",
                   static_cast<int>(dwOther));
        return;
    }
    WCHAR szNumber[kTextLen];
    lstrcpynW(szNumber, szTyped, kTextLen);
    std::vector<BYTE> record;
    const bool bRet = BuildMailboxRecord(link, dwOther, szNumber, &record) &&
                      link.My_RIL_SetVoiceMail_RecordEntries(kMailboxRecord, dwOther, record.data(),
                                                             static_cast<DWORD>(record.size()));
    WriteTrace(bRet ? L"[msg]:FuncSetVMailTextMSG_Setting(), other mailbox file [%d] kept in step, bRet=[%d]."
                    : L"[err]:FuncSetVMailTextMSG_Setting(), other mailbox file [%d] not kept in step, bRet=[%d].",
               static_cast<int>(dwOther), bRet ? 1 : 0);
}

// The voice-mail number into record 1 of the mailbox file, read back, then
// into the other mailbox file. *pbEnded: GET RESPONSE failed and the
// procedure ends there (the wait cursor is then already removed).
SaveOutcome SaveVoiceMail(RadioLink& link, DWORD dwFieldID, const WCHAR (&szTyped)[kTextLen], BOOL* pbRet,
                          bool* pbEnded) {
    link.My_RIL_Initialize();
    BOOL bRet = link.My_RIL_GetVoiceMail_Setting(dwFieldID) ? TRUE : FALSE;
    if (!bRet) {
        HideCursor();
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting() Failed, "
                   L"dwFieldID=[%d]", static_cast<int>(dwFieldID));
        NKDbgPrintfW(L"[QXPhoneVMSetting] FuncSetVMailTextMSG_Setting(), "
                     L"My_RIL_GetVoiceMail_Setting() Failed, dwFieldID=[%d] !!\r\n",
                     static_cast<int>(dwFieldID));
        link.My_RIL_Deinitialize();
        *pbEnded = true;
        return SO_NOT_SAVED;
    }
    *pbRet = bRet;
    const DWORD dwRecLen = link.m_dwRecLen;
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting(), bRet=[%d], "
               L"dwVoiceMailRecLen = %d", bRet, static_cast<int>(dwRecLen));

    // Only the number changes: the label and the identifiers behind the
    // number stay as the card holds them.
    WCHAR szAddr[kTextLen];
    lstrcpynW(szAddr, szTyped, kTextLen);
    std::vector<BYTE> record;
    SaveOutcome outcome = SO_NOT_SAVED;
    if (BuildMailboxRecord(link, dwFieldID, szAddr, &record)) {
        bRet = link.My_RIL_SetVoiceMail_RecordEntries(kMailboxRecord, dwFieldID, record.data(), dwRecLen)
                   ? TRUE : FALSE;
        if (bRet) {
            // Taken is not yet kept: the record read back is what the card holds.
            std::vector<BYTE> held;
            if (!ReadMailboxRecord(link, dwFieldID, &held)) {
                WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), record not read back, SIM record outcome "
                           L"unknown, VMail_Address kept.");
                bRet = FALSE;
            } else if (held != record) {
                WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), record read back differs from the one "
                           L"written, VMail_Address kept.");
                DumpHex(held.data(), static_cast<uint32_t>(held.size()));
                bRet = FALSE;
            }
        }
        if (bRet) {
            WriteRegistry(kMirrorKey, kValueVMailAddress, REG_SZ, szAddr);
            WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(VMailTextMSG), "
                       L"VMail_Address, szAddr=%s", szAddr);
            outcome = SO_SAVED;
        } else if (link.AnswerLost()) {
            // The card may hold the new record: the mirror keeps the last
            // number known, and the next start reads what the card has.
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to UPDATE RECORD, "
                       L"SIM record outcome unknown, VMail_Address kept.");
        }
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_SetVoiceMail_RecordEntries, "
                   L"bRet=[%d]", bRet);
        *pbRet = bRet;
        if (outcome == SO_SAVED) KeepOtherMailboxInStep(link, dwFieldID, szTyped);
    }
    link.My_RIL_Deinitialize();
    return outcome;
}

// The voice mail as the field holds it. Unchanged, nothing is written; the
// override's "PhoneNumber1" and the SIM record otherwise, the record only
// where the SIM-type key says which file. *pbEnded as SaveVoiceMail.
SaveOutcome SaveVoiceMailField(RadioLink& link, VMailTextMSGSetting* pSetting, const WCHAR (&szAddr)[kTextLen],
                               BOOL* pbRet, bool* pbEnded) {
    const bool bChanged = IsChanged(*pSetting, SF_VOICE_MAIL, szAddr);
    if (!pSetting->bVMailRead && !bChanged) {
        // The SIM's number was never read, so the untouched box is no
        // number to write: the record and the override would be erased
        // for nothing.
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), voice mail not read at start and not "
                   L"edited, SIM record kept.");
        return SO_UNCHANGED;
    }
    if (!pSetting->bVMailShown && !bChanged) {
        // The value the box shows ("PhoneNumber1" under the override)
        // could not be read: the empty box is no number either, and
        // saving it would erase the override, the mirror and the record.
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), voice mail shown at start not read "
                   L"from the registry and not edited, PhoneNumber1, VMail_Address and SIM "
                   L"record kept.");
        return SO_UNCHANGED;
    }
    if (!bChanged) {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), voice mail unchanged, SIM record kept.");
        return SO_UNCHANGED;
    }
    const bool bOverride = Reg_GetRegOverridesSIM() != 0;
    if (bOverride) Reg_SavePhoneNumber1(szAddr);
    DWORD dwCPHS = 0, dwSimType = 0;
    SaveOutcome outcome = SO_NOT_SAVED;
    if (ReadSimTypeFlags(&dwCPHS, &dwSimType)) {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), dwCPHS=[%d]", static_cast<int>(dwCPHS));
        outcome = SaveVoiceMail(link, SelectMailboxFile(dwSimType, dwCPHS), szAddr, pbRet, pbEnded);
    } else if (bOverride) {
        // The phone reads the override's number; the SIM is not the device's to write.
        outcome = SO_SAVED;
    } else {
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no SIM-type key, voice mail not saved.");
    }
    if (outcome == SO_SAVED) {
        // What the field holds is now stored: a second Done has nothing new.
        lstrcpynW(pSetting->szVoiceMail, szAddr, kTextLen);
        pSetting->bVMailRead = pSetting->bVMailShown = TRUE;
    }
    return outcome;
}

}  // namespace

void FuncSetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input,
                                 VMailTextMSGSaveResult* pResult) {
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting()+");
    ShowWaitCursor();
    RadioLink link;
    BOOL bRet = FALSE;
    VMailTextMSGSaveResult result = {{SO_UNCHANGED, SO_UNCHANGED}};

    WCHAR szAddr[kTextLen] = {};
    if (ReadEditText(input, SF_TEXT_MESSAGE, szAddr)) {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(),  TextMSG szAddr=%s", szAddr);
        if (!IsChanged(*pSetting, SF_TEXT_MESSAGE, szAddr)) {
            // As read at start (or saved before): the radio holds it already.
            WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), service center unchanged, not sent.");
        } else {
            result.outcome[SF_TEXT_MESSAGE] = SaveTextMessage(link, pSetting, szAddr);
            bRet = result.outcome[SF_TEXT_MESSAGE] == SO_SAVED;
        }
    } else {
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no TextMessageTextBox edit control, "
                   L"service center not saved.");
    }

    bool bEnded = false;
    if (!ReadEditText(input, SF_VOICE_MAIL, szAddr)) {
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no VoiceMailTextBox edit control, "
                   L"voice mail not saved.");
    } else {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), VoiceMail szAddr=%s", szAddr);
        result.outcome[SF_VOICE_MAIL] = SaveVoiceMailField(link, pSetting, szAddr, &bRet, &bEnded);
    }
    if (pResult) *pResult = result;
    if (bEnded) return;

    HideCursor();
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[%d]", bRet);
}

BOOL CheckSettingInput(const VMailTextMSGSetting& setting, const VMailTextMSGInput& input,
                       SettingInputFault* pFault) {
    struct FieldCheck {
        SettingField field;
        NumberFault (*check)(LPCWSTR);
    };
    // In the order of the screen, so the first field named is the upper one.
    static const FieldCheck kChecks[] = {
        {SF_TEXT_MESSAGE, CheckServiceCentreText},
        {SF_VOICE_MAIL, CheckVoiceMailText},
    };
    for (const FieldCheck& check : kChecks) {
        WCHAR szText[kTextLen];
        // A field the screen never showed, or one as it was shown, holds
        // nothing to store.
        if (!ReadEditText(input, check.field, szText) || !IsChanged(setting, check.field, szText)) continue;
        NumberFault fault = check.check(szText);
        if (fault == NF_NONE) continue;
        WriteTrace(L"[err]:CheckSettingInput(), %s szAddr=[%s] cannot be stored, fault=[%d]; nothing saved.",
                   SettingFieldName(check.field), szText, static_cast<int>(fault));
        if (pFault) *pFault = SettingInputFault{check.field, fault};
        return FALSE;
    }
    return TRUE;
}

BOOL SaveSetting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input, VMailTextMSGSaveResult* pResult) {
    WriteTrace(L"SaveSetting+");
    ShowWaitCursor();
    VMailTextMSGSaveResult result = {};
    FuncSetVMailTextMSG_Setting(pSetting, input, &result);
    HWND hwndCProg = SHGetPhoneAppWindow(kShAppPhone, 0);
    WriteTrace(L"[msg]:GSMServiceVMailTextMSGDlgProc(), WM_COMMAND(IDOK), hwndCProg=[0x%x]",
               static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hwndCProg)));
    // The phone application reads the number from the mirror when told: it
    // is told only when that holds what the user saved, never the old number
    // as if it were new.
    const bool bVMailSaved = result.outcome[SF_VOICE_MAIL] != SO_NOT_SAVED;
    if (hwndCProg && bVMailSaved) {
        SendMessageW(hwndCProg, WM_CPROG_UPDATEVMAIL_NUMBER, 0, 0);
        WriteTrace(L"[msg]:GSMServiceVMailTextMSGDlgProc(), WM_COMMAND(IDOK), "
                   L"PostMessage(WM_CPROG_UPDATEVMAIL_NUMBER)");
    } else if (hwndCProg) {
        WriteTrace(L"[msg]:GSMServiceVMailTextMSGDlgProc(), voice mail not saved, the phone application "
                   L"not told.");
    }
    HideCursor();
    WriteTrace(L"SaveSetting: bSetupSuccess = %d", 0);
    WriteTrace(L"[msg]:SaveSetting(), TextMessageTextBox=[%s], VoiceMailTextBox=[%s].",
               OutcomeName(result.outcome[SF_TEXT_MESSAGE]), OutcomeName(result.outcome[SF_VOICE_MAIL]));
    WriteTrace(L"SaveSetting-");
    if (pResult) *pResult = result;
    return result.outcome[SF_TEXT_MESSAGE] != SO_NOT_SAVED && bVMailSaved;
}
