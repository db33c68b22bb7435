// simcard.exe run as people run it: show and set-mailbox on a card file in a
// scratch folder, checking the exit code, the output and the file itself.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/card_block.h"
#include "tests/support/scratch.h"

namespace {

const char kCard[] =
    "# kept by hand\r\n"
    "radio on\r\n"
    "smsc +441234567890 145\r\n"
    "sim 2G\r\n"
    "file 6F17 reclen 28 records 6\r\n"
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF 01 02\r\n"
    "record 2 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 03 81 21 43 FF FF FF FF FF FF FF FF FF FF\r\n"
    "file 6FC7 reclen 30 records 2\r\n"
    "file 6F40 reclen 10 records 1\r\n";

const char kRecord1[] =
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF 01 02";

struct ToolRun {
    DWORD dwExit = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

std::string ReadAll(HANDLE h) {
    std::string text;
    char buf[512];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
    return text;
}

// Runs simcard.exe with the arguments, its output caught through pipes.
ToolRun RunTool(const std::wstring& args) {
    ToolRun r;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &sa, 0) || !CreatePipe(&errRead, &errWrite, &sa, 0)) return r;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    std::wstring cmd = L"\"" + ModuleFolder() + L"simcard.exe\" " + args;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        // Both pipes are small enough for the tool's few lines; read out, then err.
        r.out = ReadAll(outRead);
        r.err = ReadAll(errRead);
        WaitForSingleObject(pi.hProcess, 20000);
        GetExitCodeProcess(pi.hProcess, &r.dwExit);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return r;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class SimcardToolTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteFileBytes(Card(), kCard)); }
    std::wstring Card() const { return m_dir.Path(L"\\card.txt"); }
    std::wstring Quoted() const { return L"\"" + Card() + L"\""; }
    std::string CardText() const { return ReadFileBytes(Card()); }
    // Files in the card's folder other than the card itself (left-over temporaries).
    int StrayFiles() const {
        WIN32_FIND_DATAW fd;
        int n = 0;
        HANDLE h = FindFirstFileW(m_dir.Path(L"\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return -1;
        do {
            std::wstring name = fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"card.txt") ++n;
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        return n;
    }

    ScratchDevice m_dir;
};

}  // namespace

TEST_F(SimcardToolTest, ShowDecodesRecordOneOfEachMailboxFile) {
    ToolRun r = RunTool(L"show " + Quoted());
    EXPECT_EQ(r.dwExit, 0u) << r.err;
    EXPECT_EQ(r.out,
              "SMSC +441234567890 (type 145)\n"
              "6F17.1 +1234567\n"
              "6FC7.1 (empty)\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(SimcardToolTest, SetMailboxWritesTheRecordAsSavingDoes) {
    ToolRun r = RunTool(L"set-mailbox " + Quoted() + L" 6F17 \"+31 6-12\"");
    ASSERT_EQ(r.dwExit, 0u) << r.err;
    EXPECT_EQ(r.out, "6F17.1 +31 6-12\n");
    // Only the number of record 1 changed: its label "Voicemail" and its
    // capability and extension identifiers stay.
    EXPECT_EQ(CardText(),
              Replace(kCard, kRecord1,
                      "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 05 91 13 6D 1D F2 FF FF FF FF "
                      "FF FF 01 02"));
    EXPECT_EQ(StrayFiles(), 0);
    EXPECT_EQ(RunTool(L"show " + Quoted()).out,
              "SMSC +441234567890 (type 145)\n6F17.1 +31612\n6FC7.1 (empty)\n");

    // A file without record lines gets one; pause letters are stored as 0xC.
    r = RunTool(L"set-mailbox " + Quoted() + L" 0x6fc7 123w4");
    ASSERT_EQ(r.dwExit, 0u) << r.err;
    EXPECT_EQ(r.out, "6FC7.1 123p4\n");
    EXPECT_NE(CardText().find("file 6FC7 reclen 30 records 2\r\n"
                              "record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 04 81 21 C3 F4 FF"),
              std::string::npos)
        << CardText();
}

TEST_F(SimcardToolTest, EmptyNumberErasesTheNumberAndKeepsTheLabel) {
    ToolRun r = RunTool(L"set-mailbox " + Quoted() + L" 6F17 \"\"");
    ASSERT_EQ(r.dwExit, 0u) << r.err;
    EXPECT_EQ(r.out, "6F17.1 (empty)\n");
    EXPECT_EQ(CardText(), Replace(kCard, kRecord1,
                                  "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF FF FF FF FF FF FF FF FF "
                                  "FF FF FF FF 01 02"));
}

TEST_F(SimcardToolTest, RefusalsLeaveTheCardUntouched) {
    struct Case {
        std::wstring args;
        DWORD dwExit;
        const char* message;
        CardBlock block;
    } cases[] = {
        {L" 6F17 123456789012345678901", 4, "at most 20", CardBlock::None},
        {L" 6F17 \"+44 1234 5678 9012 3456 7890 1234 5678\"", 4, "at most 20", CardBlock::None},
        {L" 6F40 123", 1, "not a mailbox file", CardBlock::None},
        {L" 6FZZ 123", 1, "not a mailbox file", CardBlock::None},
        // A card the modem could not write either.
        {L" 6F17 123", 5, "is locked by another writer; it is unchanged", CardBlock::LockHeld},
        {L" 6F17 123", 5, "could not be written; it is unchanged", CardBlock::ReadOnly},
        {L" 6F17 123", 5, "could not be written; it is unchanged", CardBlock::HeldOpen},
    };
    for (const auto& c : cases) {
        CardBlocker blocked(c.block, Card());
        ToolRun r = RunTool(L"set-mailbox " + Quoted() + c.args);
        EXPECT_EQ(r.dwExit, c.dwExit) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(CardText(), kCard);
        EXPECT_EQ(CardReadOnly(Card()), c.block == CardBlock::ReadOnly);
        EXPECT_EQ(StrayFiles(), 0);
    }
    // Twenty digits are still fine.
    EXPECT_EQ(RunTool(L"set-mailbox " + Quoted() + L" 6F17 +12345678901234567890").dwExit, 0u);
}

TEST_F(SimcardToolTest, FilesTheCardCannotTake) {
    // No EF_MBDN on this card, and a mailbox file with records too short for a number.
    std::string card = Replace(Replace(kCard, "file 6FC7 reclen 30 records 2\r\n", ""),
                               "file 6F17 reclen 28 records 6", "file 6F17 reclen 10 records 6");
    card = Replace(card, kRecord1, "record 1 FF FF FF FF FF FF FF FF FF FF");
    card = Replace(card, "record 2 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 03 81 21 43 FF FF FF FF FF FF FF FF FF FF\r\n", "");
    ASSERT_TRUE(WriteFileBytes(Card(), card));
    ToolRun r = RunTool(L"set-mailbox " + Quoted() + L" 6FC7 123");
    EXPECT_EQ(r.dwExit, 3u);
    EXPECT_NE(r.err.find("no file 6FC7"), std::string::npos) << r.err;
    r = RunTool(L"set-mailbox " + Quoted() + L" 6F17 123");
    EXPECT_EQ(r.dwExit, 4u);
    EXPECT_NE(r.err.find("at least 14"), std::string::npos) << r.err;
    EXPECT_EQ(CardText(), card);
    EXPECT_EQ(RunTool(L"show " + Quoted()).out,
              "SMSC +441234567890 (type 145)\n6F17.1 (record length 10 holds no number)\n");
}

TEST_F(SimcardToolTest, MissingOrMalformedCardAndBadCommandLines) {
    ToolRun r = RunTool(L"show \"" + m_dir.Path(L"\\absent.txt") + L"\"");
    EXPECT_EQ(r.dwExit, 2u);
    EXPECT_NE(r.err.find("cannot open the card"), std::string::npos) << r.err;

    const std::string broken = std::string(kCard) + "record 9 00\r\n";
    ASSERT_TRUE(WriteFileBytes(Card(), broken));
    r = RunTool(L"set-mailbox " + Quoted() + L" 6F17 123");
    EXPECT_EQ(r.dwExit, 2u);
    EXPECT_NE(r.err.find("not a SIM card file: line 10"), std::string::npos) << r.err;
    EXPECT_EQ(CardText(), broken);

    EXPECT_EQ(RunTool(L"").dwExit, 1u);
    EXPECT_EQ(RunTool(L"show").dwExit, 1u);
    EXPECT_EQ(RunTool(L"set-mailbox " + Quoted() + L" 6F17").dwExit, 1u);
    EXPECT_NE(RunTool(L"frobnicate x").err.find("usage:"), std::string::npos);
}
