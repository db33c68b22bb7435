// The set-up sequence of a new modem connection.
#include "platform/ril/at_setup.h"

namespace {

enum Step { kE0, kV1, kQ0, kCmee1, kCmee2, kCscsGsm, kCscsIra, kCscsAsk, kDone };

const char* const kCommands[] = {
    "ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CMEE=2", "AT+CSCS=\"GSM\"", "AT+CSCS=\"IRA\"", "AT+CSCS?",
};

}  // namespace

const char* AtSetup::Command() const { return m_step < kDone ? kCommands[m_step] : nullptr; }

const char* AtSetup::Prefix() const { return m_step == kCscsAsk ? "+CSCS:" : ""; }

void AtSetup::OnReply(const AtReply* reply, AtDialect* pDialect) {
    if (!reply) {
        m_step = kDone;
        return;
    }
    bool ok = reply->final.kind == AtFinalKind::Ok;
    switch (m_step) {
        case kV1:
            if (ok) pDialect->bVerbose = true;
            m_step = kQ0;
            break;
        case kCmee1:
            // Some modems give errors only as text (AT+CMEE=2); the texts are read too.
            m_step = ok ? kCscsGsm : kCmee2;
            break;
        case kCscsGsm:
        case kCscsIra:
            if (ok) {
                pDialect->charset = m_step == kCscsGsm ? TeCharset::Gsm : TeCharset::Ira;
                m_step = kDone;
            } else {
                m_step = m_step == kCscsGsm ? kCscsIra : kCscsAsk;
            }
            break;
        case kCscsAsk: {
            // +CSCS: "UCS2". A set of another name writes ASCII as itself.
            TeCharset cs = TeCharset::Gsm;
            if (ok && reply->lines.size() == 1 && CharsetFromName(reply->lines[0].substr(6), &cs))
                pDialect->charset = cs;
            m_step = kDone;
            break;
        }
        default:
            ++m_step;
    }
}
