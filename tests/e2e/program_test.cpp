// The program as a user meets it: started as its own process on a scratch
// device with a SIM card, numbers typed into its edit fields as keystrokes,
// then "Done" or "Cancel" tapped on the soft-key bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/device_root.h"
#include "tests/support/scratch.h"

namespace {

constexpr WCHAR kMirrorKey[] = L"ControlPanel\\PhoneExtendFunction\\GSM";
constexpr WCHAR kRilKey[] = L"Drivers\\BuiltIn\\RIL";

const char kCard[] =
    "radio on\nsmsc +441234567890 145\nsim 2G\n"
    "file 6F17 reclen 28 records 4\n"
    "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\n";

// A process whose standard output and error (the program's trace) go to a
// file, so that a failure shows what the program said rather than drowning
// the test's own lines in it.
class Process {
public:
    Process(const std::wstring& commandLine, const std::wstring& outputFile) {
        SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
        m_out = CreateFileW(outputFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        std::wstring line = commandLine;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = si.hStdError = m_out;
        m_ok = m_out != INVALID_HANDLE_VALUE &&
               CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &m_pi);
    }
    ~Process() {
        if (m_out != INVALID_HANDLE_VALUE) CloseHandle(m_out);
        if (!m_ok) return;
        if (WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool Started() const { return m_ok; }
    DWORD Id() const { return m_pi.dwProcessId; }
    // The exit code, or -1 when the process is still running after ms.
    long WaitExit(DWORD ms) {
        if (WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION m_pi{};
    HANDLE m_out = INVALID_HANDLE_VALUE;
    bool m_ok = false;
};

// The last non-blank lines of a text, on standard output.
void PrintTail(const std::string& text, size_t count) {
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = std::min(text.find('\n', pos), text.size());
        std::string line = text.substr(pos, end - pos);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        pos = end + 1;
    }
    std::printf("--- the last %zu lines the programs wrote ---\n", count);
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        std::printf("%s\n", lines[i].c_str());
}

// Checks a condition every 25 ms for up to ms milliseconds; its last value.
template <typename Condition>
bool WaitUntil(DWORD ms, Condition condition) {
    for (DWORD waited = 0;; waited += 25) {
        if (condition()) return true;
        if (waited >= ms) return false;
        Sleep(25);
    }
}

// A top-level window of a class owned by the process: a window of a
// process an earlier test ended may still be there for a moment.
HWND WaitForWindow(LPCWSTR cls, const Process& owner, DWORD ms) {
    HWND found = nullptr;
    WaitUntil(ms, [&] {
        for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == owner.Id()) {
                found = h;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::vector<HWND> EditControls(HWND list) {
    std::vector<HWND> edits;
    for (HWND h = FindWindowExW(list, nullptr, L"Edit", nullptr); h;
         h = FindWindowExW(list, h, L"Edit", nullptr))
        edits.push_back(h);
    return edits;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[260] = {};
    SendMessageW(h, WM_GETTEXT, 260, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// Clears a field and types a text into it, key by key, as the keypad does.
void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}

// A tap on the left or right third of the program's soft-key bar.
void TapSoftKey(const Process& program, bool left) {
    HWND bar = WaitForWindow(L"SoftKeyBarClass", program, 5000);
    ASSERT_NE(bar, nullptr);
    RECT rc;
    GetClientRect(bar, &rc);
    LPARAM at = MAKELPARAM(left ? rc.right / 6 : rc.right * 5 / 6, rc.bottom / 2);
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(bar, WM_LBUTTONUP, 0, at);
}

// The focus of the thread owning a window, and the selection of an edit field.
HWND FocusOf(HWND hwnd) {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof(gti);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gti) ? gti.hwndFocus : nullptr;
}
std::pair<DWORD, DWORD> SelectionOf(HWND edit) {
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return {from, to};
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(HKEY_LOCAL_MACHINE, kRilKey);
        SetRegString(HKEY_LOCAL_MACHINE, kRilKey, L"Port", L"sim");
        SetRegDword(HKEY_LOCAL_MACHINE, kRilKey, L"ReadCPHS", 1);
        SetRegDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\RIL", L"SIMTYPE", 1);
        DeleteRegTree(HKEY_CURRENT_USER, kMirrorKey);
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"System\\State\\Phone");
        ASSERT_TRUE(WriteFileBytes(device.Path(L"\\Windows\\simcard.txt"), kCard));
        for (LPCWSTR dll : {L"OrvexScroll.dll", L"OrvexScroll2.dll"})
            ASSERT_TRUE(device.Install(dll, (std::wstring(L"\\windows\\") + dll).c_str()));
    }
    void TearDown() override {
        if (HasFailure()) PrintTail(ReadFileBytes(Output()), 60);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kRilKey);
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\RIL");
        DeleteRegTree(HKEY_CURRENT_USER, kMirrorKey);
    }
    std::string Card() const { return ReadFileBytes(device.Path(L"\\Windows\\simcard.txt")); }
    std::wstring PhoneLog() const { return device.Path(L"\\phoneapp.log"); }
    // What the program and the phone application wrote while the test ran.
    std::wstring Output() const { return device.Path(L"\\output.txt"); }
    static std::wstring Program() { return L"\"" + ModuleFolder() + L"QXPhoneVMSetting.exe\""; }

    // Starts the program, waits for its screen and returns its two fields,
    // once they show what was read (the card of every test has both numbers).
    std::vector<HWND> OpenScreen(Process& program) {
        EXPECT_TRUE(program.Started());
        HWND main = WaitForWindow(L"QXCFMainClass", program, 20000);
        EXPECT_NE(main, nullptr);
        HWND list = nullptr;
        WaitUntil(5000, [&] { return main && (list = FindWindowExW(main, nullptr, L"QXCFItemClass", nullptr)); });
        EXPECT_NE(list, nullptr);
        std::vector<HWND> edits;
        WaitUntil(5000, [&] {
            edits = EditControls(list);
            return edits.size() == 2 && !TextOf(edits[0]).empty() && !TextOf(edits[1]).empty();
        });
        return edits;
    }

    // Starts the program and returns its fields: the service centre's,
    // which is above the voice mail's, and the voice mail's.
    bool OpenFields(Process& program, HWND* pSmsc, HWND* pVmail) {
        std::vector<HWND> edits = OpenScreen(program);
        if (edits.size() != 2) return false;
        RECT a, b;
        GetWindowRect(edits[0], &a);
        GetWindowRect(edits[1], &b);
        *pSmsc = a.top < b.top ? edits[0] : edits[1];
        *pVmail = a.top < b.top ? edits[1] : edits[0];
        return true;
    }
    // The phone application's stand-in, logging what it is told.
    std::wstring PhoneApp() const {
        return L"\"" + ModuleFolder() + L"phoneapp.exe\" --seconds 60 --log \"" + PhoneLog() + L"\"";
    }

    ScratchDevice device;
};

TEST_F(ProgramTest, DoneWritesTheTypedNumbersEverywhereAndTellsThePhone) {
    Process phone(PhoneApp(), Output());
    ASSERT_NE(WaitForWindow(L"MSCprog", phone, 5000), nullptr);
    Process program(Program(), Output());
    HWND smsc = nullptr, vmail = nullptr;
    ASSERT_TRUE(OpenFields(program, &smsc, &vmail));
    EXPECT_EQ(TextOf(smsc), L"+441234567890");
    EXPECT_EQ(TextOf(vmail), L"+1234567");

    Type(smsc, L"+447700900123");
    Type(vmail, L"+4412345w9");
    TapSoftKey(program, true);
    EXPECT_EQ(program.WaitExit(20000), 0);

    std::string card = Card();
    EXPECT_NE(card.find("smsc +447700900123 145"), std::string::npos) << card;
    // +4412345w9: 9 digits in 5 bytes, so 06 91 44 21 43 C5 F9, then FF to the end.
    EXPECT_NE(card.find("06 91 44 21 43 C5 F9 FF FF FF FF FF FF FF"), std::string::npos) << card;
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"TextMSG_Address"), L"447700900123");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address"), L"+4412345p9");
    std::string log = ReadFileBytes(PhoneLog());
    EXPECT_NE(log.find("WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=[+4412345p9]"), std::string::npos) << log;

    // A new start on the same device shows what was saved.
    Process again(Program(), Output());
    std::vector<HWND> edits = OpenScreen(again);
    ASSERT_EQ(edits.size(), 2u);
    std::vector<std::wstring> texts = {TextOf(edits[0]), TextOf(edits[1])};
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"+447700900123"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"+4412345p9"), texts.end());
    TapSoftKey(again, false);
    EXPECT_EQ(again.WaitExit(20000), 0);
}

TEST_F(ProgramTest, DoneSaysWhatItCannotStoreWritesNothingAndSavesOnceMended) {
    Process phone(PhoneApp(), Output());
    ASSERT_NE(WaitForWindow(L"MSCprog", phone, 5000), nullptr);
    Process program(Program(), Output());
    HWND smsc = nullptr, vmail = nullptr;
    ASSERT_TRUE(OpenFields(program, &smsc, &vmail));
    const std::string card = Card();
    const std::wstring mirror = GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address");
    const std::string told = ReadFileBytes(PhoneLog());

    Type(vmail, L"call me-12 34");
    EXPECT_EQ(TextOf(vmail), L" -12 34") << "letters are refused as they are typed";
    Type(vmail, L"+123456789012345678901");
    EXPECT_EQ(TextOf(vmail), L"+12345678901234567890") << "a 21st digit is refused as it is typed";
    // A "+" alone can be typed (a number starts so), but not stored.
    Type(vmail, L"+");
    TapSoftKey(program, true);
    HWND box = WaitForWindow(L"#32770", program, 10000);
    ASSERT_NE(box, nullptr) << "Done says what it cannot store";
    EXPECT_EQ(program.WaitExit(300), -1) << "the screen stays open";
    EXPECT_EQ(Card(), card);
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address"), mirror);
    EXPECT_EQ(ReadFileBytes(PhoneLog()), told) << "the phone application is not told";

    // "OK": the Voice Mail field has the focus with its text selected.
    PostMessageW(box, WM_CLOSE, 0, 0);
    const std::pair<DWORD, DWORD> all{0, 1};
    WaitUntil(5000, [&] { return FocusOf(vmail) == vmail && SelectionOf(vmail) == all; });
    EXPECT_EQ(FocusOf(vmail), vmail);
    EXPECT_EQ(SelectionOf(vmail), all);

    Type(vmail, L"+44 1234-5");
    TapSoftKey(program, true);
    EXPECT_EQ(program.WaitExit(20000), 0);
    // Blanks and "-" are stored as the undefined digit, as before.
    EXPECT_NE(Card().find("06 91 44 1D 32 D4 F5 FF"), std::string::npos) << Card();
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address"), L"+44 1234-5");
}

// The screens of the device: main windows of this program.
int CountScreens() {
    int n = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"QXCFMainClass", nullptr); h;
         h = FindWindowExW(nullptr, h, L"QXCFMainClass", nullptr))
        ++n;
    return n;
}

// Two starts at once: one screen, the other start ends (code 0) having
// brought it forward; three times, as the race would not always show.
TEST_F(ProgramTest, TwoStartsAtOnceGiveOneScreen) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Process first(Program(), Output());
        Process second(Program(), Output());
        ASSERT_TRUE(first.Started() && second.Started());
        // One of them ends by itself; the other keeps its screen.
        long firstEnd = -1, secondEnd = -1;
        WaitUntil(20000, [&] {
            firstEnd = first.WaitExit(0);
            secondEnd = second.WaitExit(0);
            return firstEnd >= 0 || secondEnd >= 0;
        });
        ASSERT_TRUE((firstEnd == 0) != (secondEnd == 0)) << "exactly one start ends, with 0";
        Process& staying = firstEnd == 0 ? second : first;
        ASSERT_NE(WaitForWindow(L"QXCFMainClass", staying, 20000), nullptr);
        EXPECT_EQ(CountScreens(), 1);
        TapSoftKey(staying, false);
        EXPECT_EQ(staying.WaitExit(20000), 0);
    }
}

TEST_F(ProgramTest, CancelChangesNothing) {
    const std::string before = Card();
    Process program(Program(), Output());
    std::vector<HWND> edits = OpenScreen(program);
    ASSERT_EQ(edits.size(), 2u);
    const std::wstring mirror = GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address");
    for (HWND e : edits) Type(e, L"999");
    TapSoftKey(program, false);
    EXPECT_EQ(program.WaitExit(20000), 0);
    EXPECT_EQ(Card(), before);
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kMirrorKey, L"VMail_Address"), mirror);
}

}  // namespace
