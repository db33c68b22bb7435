// The Radio Interface Layer's data, as the device lays it out: result and
// error codes, constants and the structures requests and answers carry
// (little-endian, 32-bit fields, 16-bit text), checked below. Portable: the
// pure request mapping builds on any host; ril.h adds the Win32 entry points.
#pragma once
#include <stddef.h>

#include "platform/base/portable_types.h"

// Result codes handed to the result callback.
#define RIL_RESULT_OK           0x00000001
#define RIL_RESULT_NOCARRIER    0x00000002
#define RIL_RESULT_ERROR        0x00000003  // lpData: one 32-bit HRESULT (RIL_E_...)
#define RIL_RESULT_NODIALTONE   0x00000004
#define RIL_RESULT_BUSY         0x00000005
#define RIL_RESULT_NOANSWER     0x00000006
#define RIL_RESULT_CALLABORTED  0x00000007

// A request taken (the Win32 S_OK); ril.h checks the value.
constexpr int32_t kRilRequestTaken = 0;

// Errors: returned by a rejected request, or carried by RIL_RESULT_ERROR.
#define FACILITY_RIL 0x100
#define RIL_ERROR(n) ((int32_t)(0x80000000u | (FACILITY_RIL << 16) | (n)))
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
#define RIL_E_SIMSTATUS(sw1, sw2) ((int32_t)(0x80000000u | ((FACILITY_RIL + 1) << 16) | \
                                             (((sw1) & 0xFF) << 8) | ((sw2) & 0xFF)))
// The Win32 E_HANDLE and E_INVALIDARG, by value (ril.h checks them).
#define RIL_E_INVALIDHANDLE     ((int32_t)0x80070006u)
#define RIL_E_INVALIDARG        ((int32_t)0x80070057u)

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
    uint32_t cbSize;      // 528
    uint32_t dwParams;    // RIL_PARAM_A_...
    uint32_t dwType;      // RIL_ADDRTYPE_...
    uint32_t dwNumPlan;   // RIL_NUMPLAN_...
    Char16 wszAddress[MAXLENGTH_ADDRESS];  // digits, no leading "+"
} RILADDRESS;

typedef struct rilmsgconfig_tag {
    uint32_t cbSize;      // 536
    uint32_t dwParams;    // RIL_PARAM_MC_SVCCTRADDRESS
    RILADDRESS raSvcCtrAddress;
} RILMSGCONFIG;

typedef struct rilsimcmdparameters_tag {
    uint32_t cbSize;      // 24
    uint32_t dwParams;    // RIL_PARAM_SCP_...
    uint32_t dwFileID;
    uint32_t dwParameter1;  // P1
    uint32_t dwParameter2;  // P2
    uint32_t dwParameter3;  // P3
} RILSIMCMDPARAMETERS;

// The answer to a SIM command: this 16-byte header, then the response bytes,
// cbSize in all. Response byte n lies at offset 16 + n.
typedef struct rilsimresponse_tag {
    uint32_t cbSize;
    uint32_t dwParams;    // RIL_PARAM_SR_...
    uint32_t dwStatusWord1;
    uint32_t dwStatusWord2;
    uint8_t pbResponse[1];
} RILSIMRESPONSE;
#define RILSIMRESPONSE_HEADER_SIZE 16

// The answer to RIL_GetEquipmentState.
typedef struct rilequipmentstate_tag {
    uint32_t cbSize;      // 20
    uint32_t dwParams;    // RIL_PARAM_EQUIPMENTSTATE_...
    uint32_t dwRadioSupport;
    uint32_t dwEqState;
    uint32_t dwReadyState;
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
