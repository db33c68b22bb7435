// Ids of the module resources.
#pragma once

#define IDI_APP            101
#define IDR_MENUBAR        102
#define IDD_NOTIFICATION   104
#define IDC_NB_INPUT       1000
#define IDR_HIDPI          1   // "HI_RES_AWARE" marker, type CEUX

#define IDS_TITLEBAR       3
#define IDS_APP_TITLE      4
#define IDS_DONE           7
#define IDS_ON             9
#define IDS_OFF            10
#define IDS_OK             11
#define IDS_CANCEL         12
#define IDS_PROMPT_CAPTION 14
#define IDS_PROMPT_TEXT    15
#define IDS_LABEL_SMSC     25
#define IDS_LABEL_VMAIL    26
// What "Done" cannot store, one sentence per field and problem.
#define IDS_SMSC_BAD_CHAR  30
#define IDS_SMSC_PLUS      31
#define IDS_SMSC_REFUSED   32
#define IDS_VMAIL_BAD_CHAR 33
#define IDS_VMAIL_PLUS     34
#define IDS_VMAIL_TOO_LONG 35
#define IDS_SMSC_PLUS_ONLY 36
#define IDS_SMSC_EMPTY     37
#define IDS_VMAIL_PLUS_ONLY 38
// The question before the voice-mail number is deleted.
#define IDS_VMAIL_DELETE   39
// A save that did not happen, by what failed (and what was saved).
#define IDS_SAVE_FAILED_SMSC              40
#define IDS_SAVE_FAILED_VMAIL             41
#define IDS_SAVE_FAILED_BOTH              42
#define IDS_SAVE_FAILED_SMSC_VMAIL_SAVED  43
#define IDS_SAVE_FAILED_VMAIL_SMSC_SAVED  44

#define IDM_DONE           40000
#define IDM_CANCEL         40001
