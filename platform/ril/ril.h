// Radio Interface Layer (ril.dll on the device): the entry points, result
// codes and structures the program and the radio-power library use. Requests
// return a command id at once; the answer arrives later on the library's own
// thread through the result callback. Layouts are those of the device
// (little-endian, 32-bit fields), checked below.
#pragma once
#include <windows.h>
#include <stddef.h>

typedef HANDLE HRIL;

// dwParam is pointer-sized: the callers hand an object pointer through it
// (32 bits on the device, 64 bits in this build).
typedef void (CALLBACK* RILRESULTCALLBACK)(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                           DWORD cbData, DWORD_PTR dwParam);
typedef void (CALLBACK* RILNOTIFYCALLBACK)(DWORD dwCode, const void* lpData, DWORD cbData,
                                           DWORD_PTR dwParam);

// Result codes handed to the result callback.
#define RIL_RESULT_OK           0x00000001
#define RIL_RESULT_NOCARRIER    0x00000002
#define RIL_RESULT_ERROR        0x00000003  // lpData: one HRESULT (RIL_E_...)
#define RIL_RESULT_NODIALTONE   0x00000004
#define RIL_RESULT_BUSY         0x00000005
#define RIL_RESULT_NOANSWER     0x00000006
#define RIL_RESULT_CALLABORTED  0x00000007

// Errors: returned by a rejected request, or carried by RIL_RESULT_ERROR.
#define FACILITY_RIL 0x100
#define RIL_ERROR(n) ((HRESULT)(0x80000000u | (FACILITY_RIL << 16) | (n)))
#define RIL_E_PHONEFAILURE      RIL_ERROR(0x01)  // +CME ERROR 0, ERROR
#define RIL_E_OPNOTALLOWED      RIL_ERROR(0x02)  // +CME ERROR 3
#define RIL_E_OPNOTSUPPORTED    RIL_ERROR(0x03)  // +CME ERROR 4
#define RIL_E_SIMNOTINSERTED    RIL_ERROR(0x04)  // +CME ERROR 10
#define RIL_E_SIMPINREQUIRED    RIL_ERROR(0x05)  // +CME ERROR 11
#define RIL_E_SIMFAILURE        RIL_ERROR(0x06)  // +CME ERROR 13
#define RIL_E_SIMBUSY           RIL_ERROR(0x07)  // +CME ERROR 14
#define RIL_E_SIMWRONG          RIL_ERROR(0x08)  // +CME ERROR 15
#define RIL_E_NOSERVICE         RIL_ERROR(0x09)  // +CME ERROR 30
#define RIL_E_SMSCADDRUNKNOWN   RIL_ERROR(0x0A)  // +CMS ERROR 330
#define RIL_E_MSGSVCFAILURE     RIL_ERROR(0x0B)  // other +CMS ERROR
#define RIL_E_UNKNOWN           RIL_ERROR(0x0C)  // other +CME ERROR
#define RIL_E_TIMEDOUT          RIL_ERROR(0x0D)  // the modem did not answer in time
#define RIL_E_RADIOUNAVAILABLE  RIL_ERROR(0x0E)  // port closed or never opened
#define RIL_E_INVALIDRESPONSE   RIL_ERROR(0x0F)  // answer the library cannot read
#define RIL_E_CANCELLED         RIL_ERROR(0x10)  // handle closed with the request pending
// A SIM command answered with a failing status word: sw1 and sw2 in the low 16 bits.
#define RIL_E_SIMSTATUS(sw1, sw2) ((HRESULT)(0x80000000u | ((FACILITY_RIL + 1) << 16) | \
                                             (((sw1) & 0xFF) << 8) | ((sw2) & 0xFF)))
#define RIL_E_INVALIDHANDLE     E_HANDLE
#define RIL_E_INVALIDARG        E_INVALIDARG

// Restricted SIM commands (RIL_SendRestrictedSimCmd).
#define RIL_SIMCMD_READBINARY   0x00000001  // AT+CRSM=176
#define RIL_SIMCMD_READRECORD   0x00000002  // AT+CRSM=178
#define RIL_SIMCMD_GETRESPONSE  0x00000003  // AT+CRSM=192
#define RIL_SIMCMD_UPDATEBINARY 0x00000004  // AT+CRSM=214
#define RIL_SIMCMD_UPDATERECORD 0x00000005  // AT+CRSM=220
#define RIL_SIMCMD_STATUS       0x00000006  // AT+CRSM=242

// Address types (type-of-number bits 6-4 of the TS 24.008 type octet).
#define RIL_ADDRTYPE_UNKNOWN        0x00000000
#define RIL_ADDRTYPE_INTERNATIONAL  0x00000001
#define RIL_ADDRTYPE_NATIONAL       0x00000002
#define RIL_ADDRTYPE_NETWKSPECIFIC  0x00000003
#define RIL_ADDRTYPE_SUBSCRIBER     0x00000004
#define RIL_ADDRTYPE_ALPHANUM       0x00000005
#define RIL_ADDRTYPE_ABBREV         0x00000006
// Numbering plans (bits 3-0 of the type octet).
#define RIL_NUMPLAN_UNKNOWN    0x00000000  // 0
#define RIL_NUMPLAN_TELEPHONE  0x00000001  // 1, ISDN / E.164
#define RIL_NUMPLAN_DATA       0x00000002  // 3, X.121
#define RIL_NUMPLAN_TELEX      0x00000003  // 4
#define RIL_NUMPLAN_NATIONAL   0x00000004  // 8
#define RIL_NUMPLAN_PRIVATE    0x00000005  // 9
#define RIL_NUMPLAN_ERMES      0x00000006  // 10

// Equipment (radio power) states; AT+CFUN values in brackets.
#define RIL_EQSTATE_UNKNOWN         0x00000000
#define RIL_EQSTATE_MINIMUM         0x00000001  // 0: radio off
#define RIL_EQSTATE_FULL            0x00000002  // 1: radio on
#define RIL_EQSTATE_DISABLETX       0x00000003  // 2
#define RIL_EQSTATE_DISABLERX       0x00000004  // 3
#define RIL_EQSTATE_DISABLETXANDRX  0x00000005  // 4: flight mode
#define RIL_RADIOSUPPORT_OFF  0x00000000
#define RIL_RADIOSUPPORT_ON   0x00000001
#define RIL_READYSTATE_NONE   0x00000000

#define MAXLENGTH_ADDRESS 256

// dwParams bits.
#define RIL_PARAM_A_TYPE      0x00000001
#define RIL_PARAM_A_NUMPLAN   0x00000002
#define RIL_PARAM_A_ADDRESS   0x00000004
#define RIL_PARAM_A_ALL       0x00000007
#define RIL_PARAM_MC_SVCCTRADDRESS 0x00000001
#define RIL_PARAM_MC_ALL           0x00000001
#define RIL_PARAM_SCP_FILEID      0x00000001
#define RIL_PARAM_SCP_PARAM1      0x00000002
#define RIL_PARAM_SCP_PARAM2      0x00000004
#define RIL_PARAM_SCP_PARAM3      0x00000008
#define RIL_PARAM_SCP_ALL         0x0000000F
#define RIL_PARAM_SR_STATUSWORD1  0x00000001
#define RIL_PARAM_SR_STATUSWORD2  0x00000002
#define RIL_PARAM_SR_RESPONSE     0x00000004
#define RIL_PARAM_SR_ALL          0x00000007
#define RIL_PARAM_EQUIPMENTSTATE_RADIOSUPPORT 0x00000001
#define RIL_PARAM_EQUIPMENTSTATE_EQSTATE      0x00000002
#define RIL_PARAM_EQUIPMENTSTATE_READYSTATE   0x00000004
#define RIL_PARAM_EQUIPMENTSTATE_ALL          0x00000007

typedef struct rileaddress_tag {
    DWORD cbSize;      // 528
    DWORD dwParams;    // RIL_PARAM_A_...
    DWORD dwType;      // RIL_ADDRTYPE_...
    DWORD dwNumPlan;   // RIL_NUMPLAN_...
    WCHAR wszAddress[MAXLENGTH_ADDRESS];  // digits, no leading "+"
} RILADDRESS;

typedef struct rilmsgconfig_tag {
    DWORD cbSize;      // 536
    DWORD dwParams;    // RIL_PARAM_MC_SVCCTRADDRESS
    RILADDRESS raSvcCtrAddress;
} RILMSGCONFIG;

typedef struct rilsimcmdparameters_tag {
    DWORD cbSize;      // 24
    DWORD dwParams;    // RIL_PARAM_SCP_...
    DWORD dwFileID;
    DWORD dwParameter1;  // P1
    DWORD dwParameter2;  // P2
    DWORD dwParameter3;  // P3
} RILSIMCMDPARAMETERS;

// The answer to a SIM command: this 16-byte header, then the response bytes,
// cbSize in all. Response byte n lies at offset 16 + n.
typedef struct rilsimresponse_tag {
    DWORD cbSize;
    DWORD dwParams;    // RIL_PARAM_SR_...
    DWORD dwStatusWord1;
    DWORD dwStatusWord2;
    BYTE pbResponse[1];
} RILSIMRESPONSE;
#define RILSIMRESPONSE_HEADER_SIZE 16

// The answer to RIL_GetEquipmentState.
typedef struct rilequipmentstate_tag {
    DWORD cbSize;      // 20
    DWORD dwParams;    // RIL_PARAM_EQUIPMENTSTATE_...
    DWORD dwRadioSupport;
    DWORD dwEqState;
    DWORD dwReadyState;
} RILEQUIPMENTSTATE;

static_assert(sizeof(RILADDRESS) == 528, "RILADDRESS layout");
static_assert(offsetof(RILADDRESS, dwType) == 8, "RILADDRESS layout");
static_assert(offsetof(RILADDRESS, dwNumPlan) == 12, "RILADDRESS layout");
static_assert(offsetof(RILADDRESS, wszAddress) == 16, "RILADDRESS layout");
static_assert(sizeof(RILMSGCONFIG) == 536, "RILMSGCONFIG layout");
static_assert(offsetof(RILMSGCONFIG, raSvcCtrAddress) == 8, "RILMSGCONFIG layout");
static_assert(sizeof(RILSIMCMDPARAMETERS) == 24, "RILSIMCMDPARAMETERS layout");
static_assert(offsetof(RILSIMCMDPARAMETERS, dwParameter3) == 20, "RILSIMCMDPARAMETERS layout");
static_assert(offsetof(RILSIMRESPONSE, dwStatusWord2) == 12, "RILSIMRESPONSE layout");
static_assert(offsetof(RILSIMRESPONSE, pbResponse) == RILSIMRESPONSE_HEADER_SIZE,
              "RILSIMRESPONSE layout");
static_assert(sizeof(RILEQUIPMENTSTATE) == 20, "RILEQUIPMENTSTATE layout");

// Opens a radio handle on port dwIndex (1 on the device; the port itself comes
// from HKLM "Drivers\BuiltIn\RIL" "Port"). S_OK with *lphRil set, or an error
// with *lphRil 0. The first handle of a process opens the port and sets the
// modem up (echo off, verbose results, numeric errors, a character set) before
// it returns; later handles share that connection. Callbacks run on the library's thread, never inside a request
// call; an answer may arrive before the request call has returned its id.
HRESULT RIL_Initialize(DWORD dwIndex, RILRESULTCALLBACK pfnResult, RILNOTIFYCALLBACK pfnNotify,
                       DWORD dwNotificationClasses, DWORD_PTR dwParam, HRIL* lphRil);
// Closes the handle. Pending requests are dropped: no callback runs for this
// handle once the call has returned.
HRESULT RIL_Deinitialize(HRIL hRil);

// Each request: a positive command id, or a negative error (bad handle, bad
// argument) with no callback to follow.
// Answer: RILMSGCONFIG (AT+CSCA?).
HRESULT RIL_GetMsgConfig(HRIL hRil);
// Answer: none (AT+CSCA="...",type).
HRESULT RIL_SetMsgConfig(HRIL hRil, const RILMSGCONFIG* lpMsgConfigInfo);
// Answer: RILSIMRESPONSE (AT+CRSM). A failing status word gives RIL_RESULT_ERROR
// with RIL_E_SIMSTATUS(sw1, sw2). A USIM's GET RESPONSE (FCP template) comes
// back in the 2G layout: file size in bytes 2-3, record length in byte 14. A
// GET RESPONSE that wants another length, and a mailbox file a modem finds
// only by its path, are asked again inside the library under the same id.
HRESULT RIL_SendRestrictedSimCmd(HRIL hRil, DWORD dwCommand,
                                 const RILSIMCMDPARAMETERS* lpParameters,
                                 const BYTE* lpbData, DWORD dwSize);
// Answer: RILEQUIPMENTSTATE (AT+CFUN?).
HRESULT RIL_GetEquipmentState(HRIL hRil);
// Answer: none (AT+CFUN=n); dwEquipmentState is RIL_EQSTATE_MINIMUM, _FULL,
// _DISABLETX, _DISABLERX or _DISABLETXANDRX.
HRESULT RIL_SetEquipmentState(HRIL hRil, DWORD dwEquipmentState);

// Test seam: how long the library waits for the modem's answer to one command
// before it delivers RIL_RESULT_ERROR / RIL_E_TIMEDOUT (10000 ms on the device;
// 0 restores that).
void RilSetCommandTimeoutForTest(DWORD dwMs);
