// The SIM card as a file of the device: the shipped card, a modem on the
// card file (kept while at rest, missing or malformed, or kept from being
// written), the card's path.
#include <gtest/gtest.h>

#include "platform/modem/sim_card_file.h"
#include "platform/modem/sim_modem.h"
#include "tests/support/card_block.h"
#include "tests/support/scratch.h"

namespace {

const char kCard[] = "radio on\nsmsc +441234567890 145\nsim 2G\n";

TEST(SimCardText, ParsesTheShippedDefaultCard) {
    std::string text = ReadFileBytes(ModuleFolder() + L"default-simcard.txt");
    ASSERT_FALSE(text.empty());
    SimCard card;
    std::string error;
    ASSERT_TRUE(ParseSimCard(text, &card, &error)) << error;
    EXPECT_EQ(card.nCfun, 1);
    EXPECT_EQ(card.smscAddress, "+441234567890");
    EXPECT_EQ(card.nSmscType, 145);
    EXPECT_FALSE(card.bUsim);
    for (WORD id : {0x6F17, 0x6FC7}) {
        const SimCardFile* f = FindSimFile(card, id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->cbRecordLength, 28);
        EXPECT_EQ(f->cRecords, 4);
        std::vector<BYTE> r1 = SimRecord(*f, 1);
        EXPECT_EQ(std::vector<BYTE>(r1.begin() + 14, r1.begin() + 20),
                  (std::vector<BYTE>{0x06, 0x91, 0x21, 0x43, 0x65, 0xF7}));
        EXPECT_EQ(SimRecord(*f, 4), std::vector<BYTE>(28, 0xFF));
    }
}

class ModemOnCardFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_device.Path(L"\\Windows\\simcard.txt");
        ASSERT_TRUE(WriteFileBytes(m_path, kCard));
    }
    std::string Ask(SimModem& m, const std::string& line) { return m.Answer(line); }

    ScratchDevice m_device;
    std::wstring m_path;
};

// Puts the card's last-write time a minute back, or to a given time.
FILETIME SetWriteTime(const std::wstring& path, const FILETIME* pft = nullptr) {
    FILETIME ft;
    if (pft) {
        ft = *pft;
    } else {
        GetSystemTimeAsFileTime(&ft);
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart -= 60ULL * 10000000;
        ft = {t.LowPart, t.HighPart};
    }
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
    return ft;
}

TEST_F(ModemOnCardFile, CardAtRestIsReadOnceAndEveryChangeIsSeen) {
    const std::string kAsked = "AT+CSCA?";
    auto answer = [](const char* smsc) { return std::string("\r\n+CSCA: \"") + smsc + "\",145\r\n\r\nOK\r\n"; };
    std::string other = kCard;
    other.replace(other.find("+441234567890"), 13, "+449999999999");  // same size
    SimModem m(std::make_unique<SimCardFileSlot>(m_path));
    FILETIME rest = SetWriteTime(m_path);
    EXPECT_EQ(Ask(m, kAsked), answer("+441234567890"));
    // A write in place, of the same size, right after the card was kept.
    ASSERT_TRUE(WriteFileBytes(m_path, other));
    EXPECT_EQ(Ask(m, kAsked), answer("+449999999999"));
    // A save by another modem (a new file moved over the card).
    SetWriteTime(m_path);
    EXPECT_EQ(Ask(m, kAsked), answer("+449999999999"));
    SimModem writer(std::make_unique<SimCardFileSlot>(m_path));
    EXPECT_EQ(Ask(writer, "AT+CSCA=\"+4412\""), "\r\nOK\r\n");
    EXPECT_EQ(Ask(m, kAsked), answer("+4412"));
    // A card taken out.
    SetWriteTime(m_path);
    EXPECT_EQ(Ask(m, kAsked), answer("+4412"));
    DeleteFileW(m_path.c_str());
    EXPECT_EQ(Ask(m, kAsked), "\r\n+CME ERROR: 10\r\n");
    // Two writes within the file system's time resolution (2 s on FAT) carry
    // the same time: a card written just now is read again at each command.
    ASSERT_TRUE(WriteFileBytes(m_path, kCard));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetWriteTime(m_path, &now);
    EXPECT_EQ(Ask(m, kAsked), answer("+441234567890"));
    ASSERT_TRUE(WriteFileBytes(m_path, other));
    SetWriteTime(m_path, &now);
    EXPECT_EQ(Ask(m, kAsked), answer("+449999999999"));
    // What the rule rests on: an unchanged time and size mean an unchanged
    // card, so a copy kept at rest is answered from.
    ASSERT_TRUE(WriteFileBytes(m_path, kCard));
    SetWriteTime(m_path, &rest);
    EXPECT_EQ(Ask(m, kAsked), answer("+441234567890"));
    ASSERT_TRUE(WriteFileBytes(m_path, other));
    SetWriteTime(m_path, &rest);
    EXPECT_EQ(Ask(m, kAsked), answer("+441234567890"));
}

TEST_F(ModemOnCardFile, MissingOrMalformedCardIsAModemWithoutSimAndIsNotWritten) {
    const std::string malformed = "radio on\nsmsc +44 145\nfile 6F17 reclen 28 records 4\nrecord 1 FF\n";
    for (int variant = 0; variant < 2; ++variant) {
        if (variant == 0) DeleteFileW(m_path.c_str());
        else ASSERT_TRUE(WriteFileBytes(m_path, malformed));
        TraceCapture trace;
        SimModem m(std::make_unique<SimCardFileSlot>(m_path));
        EXPECT_EQ(Ask(m, "AT+CRSM=178,28439,1,4,28"), "\r\n+CME ERROR: 10\r\n");
        EXPECT_EQ(Ask(m, "AT+CRSM=220,28439,1,4,28,\"" + std::string(56, 'F') + "\""), "\r\n+CME ERROR: 10\r\n");
        EXPECT_EQ(Ask(m, "AT+CSCA?"), "\r\n+CME ERROR: 10\r\n");
        EXPECT_EQ(Ask(m, "AT+CSCA=\"+4479\",145"), "\r\n+CME ERROR: 10\r\n");
        EXPECT_EQ(Ask(m, "AT+CPIN?"), "\r\n+CME ERROR: 10\r\n");
        // The modem itself still answers, and keeps its power state in itself.
        EXPECT_EQ(Ask(m, "AT"), "\r\nOK\r\n");
        EXPECT_EQ(Ask(m, "AT+CFUN=0"), "\r\nOK\r\n");
        EXPECT_EQ(Ask(m, "AT+CFUN?"), "\r\n+CFUN: 0\r\n\r\nOK\r\n");
        if (variant == 0) {
            EXPECT_EQ(GetFileAttributesW(m_path.c_str()), INVALID_FILE_ATTRIBUTES);
        } else {
            EXPECT_EQ(ReadFileBytes(m_path), malformed);
            EXPECT_TRUE(trace.Has(L"line 4"));
        }
    }
}

struct BlockedCase {
    const char* what;
    CardBlock how;
    bool bUsim;
    const char* refused;  // UPDATE RECORD's answer: 92 40 (2G) or 65 81 (USIM), memory problem
    const wchar_t* said;
};

// A write the card cannot take is answered as a SIM answers a write it
// refuses; the card keeps its text and its mode, and no temporary is left.
TEST_F(ModemOnCardFile, ACardThatCannotBeWrittenRefusesEveryWrite) {
    const BlockedCase cases[] = {
        {"lock held by another", CardBlock::LockHeld, false, "+CRSM: 146,64",
         L"card lock not obtained in 2000 ms"},
        {"read-only", CardBlock::ReadOnly, false, "+CRSM: 146,64", L"is read-only; not written."},
        {"read-only USIM", CardBlock::ReadOnly, true, "+CRSM: 101,129", L"is read-only; not written."},
        {"held open, sharing only reading", CardBlock::HeldOpen, false, "+CRSM: 146,64",
         L"cannot be written, error 32; not written."},
    };
    for (const BlockedCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string erased = "FF";
        for (int i = 1; i < 14; ++i) erased += " FF";
        const std::string text = std::string(c.bUsim ? "radio on\nsmsc +441234567890 145\nsim USIM\n" : kCard) +
                                 "file 6F17 reclen 14 records 1\nrecord 1 " + erased + "\n";
        ASSERT_TRUE(WriteFileBytes(m_path, text));
        SimModem m(std::make_unique<SimCardFileSlot>(m_path));
        CardBlocker blocked(c.how, m_path);
        TraceCapture trace;
        EXPECT_EQ(Ask(m, "AT+CRSM=220,28439,1,4,14,\"" + std::string(28, '0') + "\""),
                  std::string("\r\n") + c.refused + "\r\n\r\nOK\r\n");
        EXPECT_EQ(Ask(m, "AT+CSCA=\"+4479\",145"), "\r\n+CMS ERROR: 500\r\n");
        EXPECT_EQ(Ask(m, "AT+CFUN=0"), "\r\n+CME ERROR: 0\r\n");
        EXPECT_EQ(trace.Count(c.said), 3);
        EXPECT_EQ(ReadFileBytes(m_path), text);
        EXPECT_EQ(CardReadOnly(m_path), c.how == CardBlock::ReadOnly);
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(m_device.Path(L"\\Windows\\*.tmp").c_str(), &fd);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a temporary left beside the card";
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
    // Free again, the card takes the write.
    SimModem m(std::make_unique<SimCardFileSlot>(m_path));
    EXPECT_EQ(Ask(m, "AT+CSCA=\"+4479\",145"), "\r\nOK\r\n");
    EXPECT_NE(ReadFileBytes(m_path).find("smsc +4479 145"), std::string::npos);
}

TEST(SimCardPath, ComesFromTheRegistryOrTheDefault) {
    const wchar_t kKey[] = L"Software\\QXRadioTest\\CardPath";
    DeleteRegTree(HKEY_CURRENT_USER, kKey);
    ScratchDevice device;
    EXPECT_EQ(SimCardPathFromRegistry(HKEY_CURRENT_USER, kKey), device.Path(L"\\Windows\\simcard.txt"));
    SetRegString(HKEY_CURRENT_USER, kKey, L"SimCard", L"\\Cards\\usim.txt");
    EXPECT_EQ(SimCardPathFromRegistry(HKEY_CURRENT_USER, kKey), device.Path(L"\\Cards\\usim.txt"));
    SetRegDword(HKEY_CURRENT_USER, kKey, L"SimCard", 7);
    TraceCapture trace;
    EXPECT_EQ(SimCardPathFromRegistry(HKEY_CURRENT_USER, kKey), L"");
    EXPECT_TRUE(trace.Has(L"SimCard value unreadable"));
    DeleteRegTree(HKEY_CURRENT_USER, L"Software\\QXRadioTest");
}

}  // namespace
