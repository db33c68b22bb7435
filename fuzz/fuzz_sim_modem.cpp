// The simulated modem's interpreter fed any command lines against a card in
// memory: it never crashes; a line that is no AT command gets at most its
// echo; every other gets whole lines, the last of them its one final
// result; the modem writes only a card that reads, and it reads afterwards.
// Input: the command lines (CR or LF between them) on the default card; or
// a card text, a NUL, the test's dialects (2 bytes LE), a faults byte, then
// the command lines.
#include "fuzz/fuzz_support.h"
#include "platform/attext/hex_text.h"
#include "platform/modem/sim_modem.h"
#include "platform/ril/at_exchange.h"

namespace {

// devices/default-simcard.txt, without its comments.
const char kDefaultCard[] =
    "radio on\r\n"
    "smsc +441234567890 145\r\n"
    "sim 2G\r\n"
    "file 6F17 reclen 28 records 4\r\n"
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\r\n"
    "file 6FC7 reclen 28 records 4\r\n"
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string all(reinterpret_cast<const char*>(data), size);
    std::string cardText = kDefaultCard;
    ModemFaults faults;
    size_t nul = all.find('\0');
    if (nul != std::string::npos) {
        cardText = all.substr(0, nul);
        FuzzBytes in(data + nul + 1, size - nul - 1);
        faults.dwDialects = in.Word();
        uint8_t f = in.Byte();
        faults.bEcho = f & 1;
        faults.bNoise = f & 2;
        faults.bError = f & 4;
        faults.bCardWriteFails = f & 8;
        all = in.Rest();
    }
    SimModem modem(std::make_unique<SimCardTextSlot>(&cardText));
    modem.SetFaults(faults);

    // Parsed again only when the modem changed the text.
    bool bRead = ParseSimCard(cardText, nullptr, nullptr);
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;

        std::string before = cardText;
        std::string out = modem.Answer(line);
        if (cardText != before) {
            QX_FUZZ_CHECK(bRead && ParseSimCard(cardText, nullptr, nullptr),
                          "the modem writes only a card that read, and it reads after");
        }

        // An echo is the line as it came, then CR.
        std::string echo = line + "\r";
        if (out.compare(0, echo.size(), echo) == 0) out.erase(0, echo.size());
        std::string body = TrimBlanks(line);
        if (body.size() < 2 || !StartsWithNoCase(body, "AT")) {
            QX_FUZZ_CHECK(out.empty(), "no answer but the echo to a line that is no command");
            continue;
        }
        QX_FUZZ_CHECK(!out.empty() && (out.back() == '\r' || out.back() == '\n'), "the answer ends with a whole line");
        AtLineParser parser;
        std::vector<std::string> lines;
        parser.Feed(out.data(), out.size(), &lines);
        QX_FUZZ_CHECK(!lines.empty(), "an answer has a final result");
        int finals = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            AtFinal f;
            // Numeric codes in V0; a call released (no-carrier) is not final here.
            bool final = ParseAtFinal(lines[i], true, &f) && !IsCallProgress(f.kind);
            if (final) ++finals;
            if (i + 1 == lines.size()) QX_FUZZ_CHECK(final, "the last line is the final result");
        }
        QX_FUZZ_CHECK(finals == 1, "exactly one final result");
    }
    return 0;
}
