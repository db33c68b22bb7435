// Reading the two numbers at start: message configuration, SIM-type flags,
// GET RESPONSE and READ RECORD 1 of the mailbox file, mirrors and the texts
// as shown.
#include "settings/read_settings.h"

#include <cstring>
#include <cwchar>

#include "core/app_state.h"
#include "core/trace.h"
#include "platform/base/debug_out.h"
#include "platform/base/kernel.h"
#include "settings/radio_link.h"
#include "settings/record_codec.h"
#include "settings/settings_store.h"

namespace {

constexpr DWORD kMailboxRecord = 1;

// Reads the mailbox record into the record's voice mail through its mirror.
// The handle is open on entry and closed on return. FALSE when GET RESPONSE failed.
BOOL ReadVoiceMail(RadioLink& link, DWORD dwFieldID, VMailTextMSGSetting* pSetting) {
    link.My_RIL_Initialize();
    if (!link.My_RIL_GetVoiceMail_Setting(dwFieldID)) {
        HideCursor();
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), My_RIL_GetVoiceMail_Setting() Failed, "
                   L"dwFieldID=[%d]", static_cast<int>(dwFieldID));
        NKDbgPrintfW(L"[msg]Dialconf.dll: FuncGetVMailTextMSG_Setting(), "
                     L"My_RIL_GetVoiceMail_Setting() Failed, dwFieldID=[%d] !!\r\n",
                     static_cast<int>(dwFieldID));
        link.My_RIL_Deinitialize();
        return FALSE;
    }

    WCHAR szVoiceMail[kTextLen] = {};
    WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), dwTotal=[%ld]", link.m_dwTotal);
    WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), [%ld] ======================", kMailboxRecord);
    if (!link.My_RIL_GetVoiceMail_RecordEntries(kMailboxRecord, dwFieldID) ||
        !link.m_pbResult || !RecordInAnswer(link.m_cbResult, link.m_dwRecLen)) {
        WriteTrace(L"[msg]:!cPO_MyRil.My_RIL_GetVoiceMail_RecordEntries(%ld, %d)", kMailboxRecord,
                   static_cast<int>(dwFieldID));
        // The answer buffer still holds an earlier answer, or the answer holds
        // no whole record: nothing is decoded, and the mirror keeps the
        // number it had.
        WriteTrace(L"[err]:FuncGetVMailTextMSG_Setting(), record not read, VMail_Address kept, "
                   L"szVoiceMail=[%s].", szVoiceMail);
        link.My_RIL_Deinitialize();
        return TRUE;
    }

    ParsePhoneNo(link.m_pbResult, link.m_cbResult, szVoiceMail, link.m_dwRecLen,
                 link.m_dwNoMaxLen);
    pSetting->bVMailRead = TRUE;
    WriteTrace(L"[msg]:ShowOwnNumber(), szVoiceMail=[%s].", szVoiceMail);
    WriteRegistry(kMirrorKey, kValueVMailAddress, REG_SZ, szVoiceMail);
    WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(): WriteRegistry(VMail_Address), VMail_Address=%s",
               szVoiceMail);
    pSetting->bVMailShown = Reg_ShowVMailNumber(pSetting);
    link.My_RIL_Deinitialize();
    return TRUE;
}

}  // namespace

void ShowTextMessageItem(VMailTextMSGSetting* pSetting) {
    const RILMSGCONFIG& TextMsgConfig = pSetting->TextMsgConfig;
    const RILADDRESS& ra = TextMsgConfig.raSvcCtrAddress;
    WriteTrace(L"[msg]:==============Text Message Item===================");
    WriteTrace(L"[msg]: cbSize              = %d", static_cast<int>(TextMsgConfig.cbSize));
    WriteTrace(L"[msg]: dwParams            = %d", static_cast<int>(TextMsgConfig.dwParams));
    WriteTrace(L"[msg]:**************************************************");
    WriteTrace(L"[msg]:RILADDRESS, cbSize        = %d", static_cast<int>(ra.cbSize));
    WriteTrace(L"[msg]:RILADDRESS, dwParams      = %d", static_cast<int>(ra.dwParams));
    WriteTrace(L"[msg]:RILADDRESS, dwType        = %d", static_cast<int>(ra.dwType));
    WriteTrace(L"[msg]:RILADDRESS, dwNumPlan     = %d", static_cast<int>(ra.dwNumPlan));
    WriteTrace(L"[msg]:RILADDRESS, wszAddress    =[%s]", ra.wszAddress);
    WriteTrace(L"[msg]:==================================================");
    WriteTrace(L"");

    _snwprintf_s(pSetting->szTextMessage, _TRUNCATE, ra.dwType == RIL_ADDRTYPE_INTERNATIONAL ? L"+%s" : L"%s",
                 ra.wszAddress);
}

BOOL FuncGetVMailTextMSG_Setting(VMailTextMSGSetting* pSetting) {
    WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting()+");
    ShowWaitCursor();
    RadioLink link;
    // Nothing is shown and nothing counts as read until it is.
    memset(pSetting, 0, sizeof(*pSetting));
    link.My_RIL_Initialize();

    WCHAR szTextMSGAddress[kTextLen] = {};
    RILMSGCONFIG& TextMsgConfig = pSetting->TextMsgConfig;
    const bool bCentreRead = link.My_RIL_GetTextMessage_Setting(&TextMsgConfig);
    if (!bCentreRead) {
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), My_RIL_GetTextMessage_Setting() Failed, "
                   L"TextMSG_Address=[%s]", szTextMSGAddress);
        NKDbgPrintfW(L"[msg]Dialconf.dll: FuncGetVMailTextMSG_Setting(), "
                     L"My_RIL_GetTextMessage_Setting() Failed, TextMSG_Address=[%s] !!\r\n",
                     szTextMSGAddress);
        link.My_RIL_Deinitialize();
        // The SIM answers on its own: a modem without the configuration (or
        // busy with it) may still give the voice mail, which would otherwise
        // show empty. The configuration stays unread, so Done cannot send it
        // unless a centre is typed.
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), service center not read, the voice mail read all "
                   L"the same.");
    } else {
        // The address comes from the radio: keep it a terminated text.
        TextMsgConfig.raSvcCtrAddress.wszAddress[MAXLENGTH_ADDRESS - 1] = L'\0';
        pSetting->bTextMsgRead = TRUE;

        const LPCWSTR pszAddress = TextMsgConfig.raSvcCtrAddress.wszAddress;
        _snwprintf_s(szTextMSGAddress, _TRUNCATE, L"%s", pszAddress);
        WriteRegistry(kMirrorKey, kValueTextMSGAddress, REG_SZ, pszAddress);
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(): WriteRegistry(TextMSG_Address), "
                   L"TextMSG_Address=%s", szTextMSGAddress);
        ShowTextMessageItem(pSetting);
        link.My_RIL_Deinitialize();
    }

    WriteTrace(L"[err]:FuncGetVMailTextMSG_Setting(), m_dwRegOverridesSIM = 0");
    DWORD dwCPHS = 0, dwSimType = 0;
    if (!ReadSimTypeFlags(&dwCPHS, &dwSimType)) {
        WriteTrace(L"[err]:FuncGetVMailTextMSG_Setting(), Get Registry(SIMTYPE) failed.");
    } else {
        WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting(), dwCPHS=[%d]", static_cast<int>(dwCPHS));
        if (!ReadVoiceMail(link, SelectMailboxFile(dwSimType, dwCPHS), pSetting)) return FALSE;
    }

    HideCursor();
    WriteTrace(L"[msg]:FuncGetVMailTextMSG_Setting()-");
    return bCentreRead ? TRUE : FALSE;
}
