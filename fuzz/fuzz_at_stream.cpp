// A modem's byte stream through AtLineParser and AtExchange, one command of
// the RIL's after the other: split at random (byte by byte for one seed in
// 64) it gives the same lines, the same use of each line and the same
// replies as fed whole.
// Input: flags (bit 0: numeric results allowed; bits 1-4: first command),
// split seed (4 bytes LE), the modem's bytes.
#include "fuzz/fuzz_support.h"
#include "platform/attext/at_text.h"
#include "platform/ril/at_exchange.h"

namespace {

struct Command {
    const char* text;
    const char* prefix;
};

// The set-up, the RIL's requests, and a dial and an answer for call progress.
const Command kCommands[] = {
    {"ATE0", ""},
    {"ATV1", ""},
    {"AT+CMEE=1", ""},
    {"AT+CSCS?", "+CSCS:"},
    {"AT+CSCA?", "+CSCA:"},
    {"AT+CSCA=\"+441234567890\",145", ""},
    {"AT+CRSM=192,28439,0,0,0", "+CRSM:"},
    {"AT+CRSM=178,28615,1,4,28,\"\",\"3F007FFF\"", "+CRSM:"},
    {"AT+CFUN?", "+CFUN:"},
    {"AT+CFUN=1", ""},
    {"ATD123;", ""},
    {"ATA", ""},
};
const size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

std::string Describe(const AtReply& reply) {
    std::string s = std::to_string(static_cast<int>(reply.final.kind)) + " " + std::to_string(reply.final.nCode);
    for (const auto& line : reply.lines) s += "|" + line;
    return s;
}

// Every line with its use, and every reply, as one list.
std::vector<std::string> Run(const std::string& bytes, bool bNumeric, size_t first, uint32_t seed,
                             size_t maxChunk) {
    AtLineParser parser;
    AtExchange x;
    size_t next = first;
    auto begin = [&] {
        const Command& c = kCommands[next++ % kCommandCount];
        x.Begin(c.text, c.prefix, bNumeric);
    };
    begin();
    SplitRng rng(seed);
    std::vector<std::string> out;
    for (const std::string& line : FeedInChunks(&parser, bytes, &rng, maxChunk)) {
        QX_FUZZ_CHECK(!line.empty() && line.size() <= AtLineParser::kMaxLine, "lines are 1 to kMaxLine bytes");
        QX_FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos, "no line end inside a line");
        size_t before = x.Reply().lines.size();
        AtExchange::Use use = x.OnLine(line);
        out.push_back(std::to_string(static_cast<int>(use)) + " " + line);
        if (use == AtExchange::Use::Information)
            QX_FUZZ_CHECK(x.Reply().lines.size() == before + 1, "an information line joins the reply");
        if (use != AtExchange::Use::Final) continue;
        QX_FUZZ_CHECK(!x.InFlight(), "a final result ends the command");
        AtFinal f;
        QX_FUZZ_CHECK(ParseAtFinal(line, bNumeric, &f) && f.kind == x.Reply().final.kind &&
                          f.nCode == x.Reply().final.nCode,
                      "the reply carries the final line's result");
        out.push_back("reply " + Describe(x.Reply()));
        begin();
    }
    out.push_back("dropped " + std::to_string(parser.DroppedLines()));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    uint8_t flags = in.Byte();
    uint32_t seed = in.Dword();
    std::string bytes = in.Rest();
    bool bNumeric = flags & 1;
    size_t first = (flags >> 1) % kCommandCount;

    // Chunks of 1 to 1..64 bytes: one seed in 64 feeds byte by byte.
    QX_FUZZ_CHECK(Run(bytes, bNumeric, first, seed, 1 + seed % 64) == Run(bytes, bNumeric, first, seed, 0),
                  "split as whole");
    return 0;
}
