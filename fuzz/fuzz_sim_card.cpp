// The SIM card text: any text either reads or is refused with the line and
// a printable reason; a card read, written out and read again is the same
// card; after each edit the modem makes (radio, service centre, record) the
// text reads again as the edited card, and the untouched lines stay as they
// were.
// Input: the card text; after a NUL byte, the edits: an operation byte and
// its parameters each, at most kMaxEdits of them (each edit reads the whole
// card again, so more would make an input cost the square of its length).
#include "fuzz/fuzz_support.h"
#include "platform/modem/sim_card.h"

namespace {

const int kMaxEdits = 12;

bool SameCard(const SimCard& a, const SimCard& b) {
    if (a.nCfun != b.nCfun || a.smscAddress != b.smscAddress || a.nSmscType != b.nSmscType ||
        a.bUsim != b.bUsim || a.dwDialects != b.dwDialects || a.lines != b.lines || a.eol != b.eol ||
        a.iRadioLine != b.iRadioLine || a.iSmscLine != b.iSmscLine || a.iSimLine != b.iSimLine ||
        a.iDialectLine != b.iDialectLine || a.files.size() != b.files.size())
        return false;
    for (size_t i = 0; i < a.files.size(); ++i) {
        const SimCardFile& f = a.files[i];
        const SimCardFile& g = b.files[i];
        if (f.wFileId != g.wFileId || f.cbRecordLength != g.cbRecordLength || f.cRecords != g.cRecords ||
            f.records != g.records || f.iFileLine != g.iFileLine || f.recordLines != g.recordLines)
            return false;
    }
    return true;
}

void CheckReadsAs(const SimCard& card, const char* what) {
    SimCard again;
    std::string error;
    bool ok = ParseSimCard(SimCardText(card), &again, &error);
    if (!ok) fprintf(stderr, "%s: %s\n", what, error.c_str());
    QX_FUZZ_CHECK(ok && SameCard(card, again), what);
}

// A service-centre address as the card takes it, from the fuzzer's bytes.
std::string Address(FuzzBytes* in) {
    static const char kChars[] = "+0123456789*#abcABC";
    std::string s;
    for (size_t n = in->Byte() % 24; n; --n) s += kChars[in->Byte() % (sizeof kChars - 1)];
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string all(reinterpret_cast<const char*>(data), size);
    size_t nul = all.find('\0');
    std::string text = all.substr(0, nul);
    std::string edits = nul == std::string::npos ? std::string() : all.substr(nul + 1);

    SimCard card;
    std::string error;
    if (!ParseSimCard(text, &card, &error)) {
        QX_FUZZ_CHECK(error.compare(0, 5, "line ") == 0, "an error names its line");
        for (unsigned char c : error) QX_FUZZ_CHECK(c >= 0x20 && c != 0x7F, "an error is printable");
        return 0;
    }
    CheckReadsAs(card, "a card written out reads as itself");

    FuzzBytes in(reinterpret_cast<const uint8_t*>(edits.data()), edits.size());
    for (int nEdits = 0; nEdits < kMaxEdits && !in.Empty(); ++nEdits) {
        SimCard before = card;
        uint8_t op = in.Byte();
        if (op % 3 == 0) {
            static const int kCfun[] = {0, 1, 4};
            SetSimRadio(&card, kCfun[in.Byte() % 3]);
        } else if (op % 3 == 1) {
            std::string address = Address(&in);
            if (!IsSimSmscAddress(address)) continue;
            SetSimSmsc(&card, address, in.Byte());
        } else {
            uint8_t pick = in.Byte();
            uint16_t wFileId = pick < card.files.size() ? card.files[pick].wFileId : in.Word();
            int nRecord = in.Byte();
            const SimCardFile* file = FindSimFile(card, wFileId);
            size_t cb = (in.Byte() & 1) || !file ? in.Byte() : file->cbRecordLength;
            std::vector<uint8_t> bytes;
            for (size_t i = 0; i < cb; ++i) bytes.push_back(in.Byte());
            bool fits = file && nRecord >= 1 && nRecord <= file->cRecords && cb == file->cbRecordLength;
            QX_FUZZ_CHECK(SetSimRecord(&card, wFileId, nRecord, bytes) == fits,
                          "a record is set exactly when the file holds it and the length is right");
            if (!fits) {
                QX_FUZZ_CHECK(SameCard(card, before), "a refused record changes nothing");
                continue;
            }
            QX_FUZZ_CHECK(SimRecord(*FindSimFile(card, wFileId), nRecord) == bytes, "the record is set");
        }
        CheckReadsAs(card, "an edited card reads as itself");
        // An edit rewrites one line or adds one; every other line stays.
        const auto& was = before.lines;
        const auto& now = card.lines;
        QX_FUZZ_CHECK(now.size() == was.size() || now.size() == was.size() + 1, "at most one line added");
        size_t head = 0, tail = 0;
        while (head < was.size() && was[head] == now[head]) ++head;
        while (tail < was.size() - head && was[was.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
        QX_FUZZ_CHECK(head + tail + 1 >= now.size(), "every other line stays");
    }
    return 0;
}
