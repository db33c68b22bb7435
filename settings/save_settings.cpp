// Saving the two numbers: message configuration, the "PhoneNumber1" override,
// GET RESPONSE and UPDATE RECORD 1 of the mailbox file, the mirrors, and the
// notification of the phone application.
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

// The text is what the voice-mail box showed when the screen opened.
bool IsShownVoiceMail(const VMailTextMSGSetting& setting, const WCHAR (&szText)[kTextLen]) {
    return wcscmp(setting.szVoiceMail, szText) == 0;
}

// The service centre: TRUE when the radio took it.
BOOL SaveTextMessage(RadioLink& link, RILMSGCONFIG& TextMsgConfig, const WCHAR (&szAddr)[kTextLen]) {
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(),  TextMSG szAddr=%s", szAddr);
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
        WriteRegistry(kMirrorKey, kValueTextMSGAddress, REG_SZ, ra.wszAddress);
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(TextMSG_Address), "
                   L"VMail_Address, szAddr=%s, szTrimAddr=%s ", szAddr, szTrimAddr);
    } else if (link.AnswerLost()) {
        // The radio may hold the new address: the mirror keeps the last one
        // known, and the next start reads what the radio has.
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to the message configuration, "
                   L"service center outcome unknown, TextMSG_Address kept.");
    }
    link.My_RIL_Deinitialize();
    return bRet;
}

// The voice-mail number into record 1 of the mailbox file. Returns FALSE only
// when GET RESPONSE failed (the wait cursor is then already removed);
// *pbRet takes the UPDATE RECORD outcome.
BOOL SaveVoiceMail(RadioLink& link, DWORD dwFieldID, WCHAR (&szAddr)[kTextLen], BOOL* pbRet) {
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
        return FALSE;
    }
    *pbRet = bRet;
    const DWORD dwRecLen = link.m_dwRecLen;
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting(), bRet=[%d], "
               L"dwVoiceMailRecLen = %d", bRet, static_cast<int>(dwRecLen));

    // The whole record is rewritten: alpha identifier, capability and
    // extension bytes become 0xFF.
    std::vector<BYTE> record(dwRecLen, 0xFF);
    if (!BuildRecord(record.empty() ? nullptr : record.data(), szAddr, dwRecLen)) {
        // Too long a number, or a record with no room for one: the SIM
        // record and the mirror stay as they were.
        HideCursor();
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), BuildRecord() failed, szAddr=%s, "
                   L"record not written.", szAddr);
    } else {
        bRet = link.My_RIL_SetVoiceMail_RecordEntries(kMailboxRecord, dwFieldID, record.data(),
                                                      dwRecLen) ? TRUE : FALSE;
        if (bRet) {
            WriteRegistry(kMirrorKey, kValueVMailAddress, REG_SZ, szAddr);
            WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(): WriteRegistry(VMailTextMSG), "
                       L"VMail_Address, szAddr=%s", szAddr);
        } else if (link.AnswerLost()) {
            // The card may hold the new record: the mirror keeps the last
            // number known, and the next start reads what the card has.
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no answer to UPDATE RECORD, "
                       L"SIM record outcome unknown, VMail_Address kept.");
        }
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), My_RIL_SetVoiceMail_RecordEntries, "
                   L"bRet=[%d]", bRet);
        *pbRet = bRet;
    }
    link.My_RIL_Deinitialize();
    return TRUE;
}

}  // namespace

void FuncSetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input) {
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting()+");
    ShowWaitCursor();
    RadioLink link;
    BOOL bRet = FALSE;

    WCHAR szAddr[kTextLen] = {};
    if (ReadEditText(input, SF_TEXT_MESSAGE, szAddr))
        bRet = SaveTextMessage(link, pSetting->TextMsgConfig, szAddr);
    else
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no TextMessageTextBox edit control, "
                   L"service center not saved.");

    if (!ReadEditText(input, SF_VOICE_MAIL, szAddr)) {
        WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), no VoiceMailTextBox edit control, "
                   L"voice mail not saved.");
    } else {
        WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), VoiceMail szAddr=%s", szAddr);
        DWORD dwCPHS = 0, dwSimType = 0;
        if (!pSetting->bVMailRead && IsShownVoiceMail(*pSetting, szAddr)) {
            // The SIM's number was never read, so the untouched box is no
            // number to write: the record and the override would be erased
            // for nothing.
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), voice mail not read at start and not "
                       L"edited, SIM record kept.");
        } else if (!pSetting->bVMailShown && IsShownVoiceMail(*pSetting, szAddr)) {
            // The value the box shows ("PhoneNumber1" under the override)
            // could not be read: the empty box is no number either, and
            // saving it would erase the override, the mirror and the record.
            WriteTrace(L"[err]:FuncSetVMailTextMSG_Setting(), voice mail shown at start not read "
                       L"from the registry and not edited, PhoneNumber1, VMail_Address and SIM "
                       L"record kept.");
        } else {
            if (Reg_GetRegOverridesSIM() != 0) Reg_SavePhoneNumber1(szAddr);
            if (ReadSimTypeFlags(&dwCPHS, &dwSimType)) {
                WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting(), dwCPHS=[%d]",
                           static_cast<int>(dwCPHS));
                if (!SaveVoiceMail(link, SelectMailboxFile(dwSimType, dwCPHS), szAddr, &bRet)) return;
            }
        }
    }

    HideCursor();
    WriteTrace(L"[msg]:FuncSetVMailTextMSG_Setting()-,bRet=[%d]", bRet);
}

BOOL CheckSettingInput(const VMailTextMSGInput& input, SettingInputFault* pFault) {
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
        // A field the screen never showed holds nothing to save.
        if (!ReadEditText(input, check.field, szText)) continue;
        NumberFault fault = check.check(szText);
        if (fault == NF_NONE) continue;
        WriteTrace(L"[err]:CheckSettingInput(), %s szAddr=[%s] cannot be stored, fault=[%d]; nothing saved.",
                   SettingFieldName(check.field), szText, static_cast<int>(fault));
        if (pFault) *pFault = SettingInputFault{check.field, fault};
        return FALSE;
    }
    return TRUE;
}

BOOL SaveSetting(VMailTextMSGSetting* pSetting, const VMailTextMSGInput& input) {
    WriteTrace(L"SaveSetting+");
    ShowWaitCursor();
    FuncSetVMailTextMSG_Setting(pSetting, input);
    HWND hwndCProg = SHGetPhoneAppWindow(kShAppPhone, 0);
    WriteTrace(L"[msg]:GSMServiceVMailTextMSGDlgProc(), WM_COMMAND(IDOK), hwndCProg=[0x%x]",
               static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hwndCProg)));
    if (hwndCProg) {
        SendMessageW(hwndCProg, WM_CPROG_UPDATEVMAIL_NUMBER, 0, 0);
        WriteTrace(L"[msg]:GSMServiceVMailTextMSGDlgProc(), WM_COMMAND(IDOK), "
                   L"PostMessage(WM_CPROG_UPDATEVMAIL_NUMBER)");
    }
    HideCursor();
    WriteTrace(L"SaveSetting: bSetupSuccess = %d", 0);
    WriteTrace(L"SaveSetting-");
    return TRUE;
}
