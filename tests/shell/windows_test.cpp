// The main and title windows: what "Done" cannot store, the title's and the
// list's boxes and pictures after a turn, the title's shrinking font and its
// picture. What the windows receive: window_sequence_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/app_state.h"
#include "core/skin_resources.h"
#include "listwin/item_window.h"
#include "listwin/list_items.h"
#include "msgbox/notification_state.h"
#include "platform/aygshell/aygshell.h"
#include "platform/aygshell/shell_turn.h"
#include "platform/base/imaging.h"
#include "platform/base/screen.h"
#include "platform/modem/sim_card.h"
#include "platform/modem/sim_transport.h"
#include "res/resource.h"
#include "settings/record_codec.h"
#include "shell/main_window.h"
#include "shell/title_window.h"
#include "tests/shell/screen_fixture.h"
#include "tests/support/client_picture.h"
#include "tests/support/png_writer.h"
#include "tests/support/radio_seams.h"
#include "tests/support/scratch.h"

namespace {

constexpr COLORREF kFrame = RGB(0x30, 0x90, 0xC0);  // the input frame of the test skin
// What a print of a window's client area leaves where the window paints nothing.
constexpr COLORREF kUnpainted = RGB(0xFF, 0x00, 0xFF);

struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF c) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), c)); }
};

// The client area as WM_PRINTCLIENT paints it over a surface of kUnpainted.
Picture Print(HWND hwnd) {
    ClientPicture picture(hwnd, kUnpainted);
    Picture p;
    p.width = picture.Width();
    p.height = picture.Height();
    p.pixels = picture.Pixels();
    return p;
}

// A child's box in its main window's client coordinates.
RECT BoxInMain(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, AppState.hwndMain, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class ScreenWindowsTest : public ScreenTest {
protected:
    void WriteTitles(int s, Argb colour) {
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_Title.png"), 240 * s, 30 * s, colour));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_L_Title.png"), 320 * s, 30 * s, colour));
    }
};

// Turning on each screen class: the title and the list take the boxes they
// are made with in the new orientation, their pictures reach across them,
// and turning back gives the first boxes and pictures again.
TEST_F(ScreenWindowsTest, TitleAndListTurnToTheirCreationBoxesOnEveryScreenClassAndBack) {
    struct Box {
        int x, y, cx, cy;
    };
    struct Screen {
        LPCWSTR name;
        int w, h, s, type, x;
        int titleImageWidth;  // portrait; narrower than the window shows the title's background
        Box title, list, titleTurned, listTurned;
    };
    const Screen screens[] = {
        // The list reaches the soft-key bar: 480 - 25 - 26 - 30 and 320 - 52 - 30.
        {L"hvga", 320, 480, 1, 6, 160, 240, {0, 0, 320, 30}, {0, 30, 320, 399}, {0, 0, 480, 30}, {0, 30, 480, 238}},
        {L"vga", 480, 640, 2, 3, 0, 480, {0, 0, 480, 60}, {0, 60, 480, 476}, {0, 0, 640, 60}, {0, 60, 640, 316}},
    };
    for (const Screen& sc : screens) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(sc.name)));
        ASSERT_TRUE(CreateImagingFactory(&AppState.pImagingFactory));
        const int s = sc.s;
        const int wl = sc.x + 320 * s;
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_Title.png"), sc.titleImageWidth, 30 * s, 0xFFEEEEEE));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_L_Title.png"), wl, 30 * s, 0xFFEEEEEE));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_Line.png"), sc.w, s, 0xFF808080));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_L_Line.png"), wl, s, 0xFF808080));
        ASSERT_TRUE(WriteSolidPng(device.Path(L"\\Windows\\QXBS_P_INPUTBOX.png"), 100, 23 * s, 0xFF3090C0));
        AppState.nScale = s;
        AppState.nScreenType = sc.type;
        AppState.LandscapeXExtension = sc.x;
        AppState.bLandscape = FALSE;
        SetScreenSizeForTest(sc.w, sc.h);
        ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
        ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
        ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
        EXPECT_EQ(AppState.nTitleHeight, 30);

        struct Look {
            RECT title, list;
            Picture titlePicture, listPicture;
        };
        auto look = [] {
            UpdateWindow(AppState.hwndItem);
            PumpMessages(0);
            return Look{BoxInMain(AppState.hwndTitle), BoxInMain(AppState.hwndItem), Print(AppState.hwndTitle),
                        Print(AppState.hwndItem)};
        };
        auto expectBox = [](const RECT& rc, const Box& b) {
            EXPECT_EQ(rc.left, b.x);
            EXPECT_EQ(rc.top, b.y);
            EXPECT_EQ(rc.right - rc.left, b.cx);
            EXPECT_EQ(rc.bottom - rc.top, b.cy);
        };
        // The list reaches across its window: the input frames end 4*s
        // from its right edge, and the title has no pixel left unpainted.
        const int fieldTop = sc.type == 6 ? 40 : 30 * s;  // the first field's item
        auto expectWhole = [s, fieldTop](const Look& l, int width) {
            const int frameY = fieldTop + 2 * s + 4;  // inside its frame
            EXPECT_EQ(l.listPicture.At(width - 4 * s - 1, frameY), kFrame);
            EXPECT_EQ(l.listPicture.At(width - 4 * s, frameY), RGB(0xFF, 0xFF, 0xFF));
            EXPECT_EQ(l.titlePicture.Count(kUnpainted), 0);
        };
        const Look first = look();
        expectBox(first.title, sc.title);
        expectBox(first.list, sc.list);
        expectWhole(first, sc.title.cx);
        if (sc.titleImageWidth < sc.title.cx) {
            EXPECT_EQ(first.titlePicture.At(sc.title.cx - 1, 2), RGB(0, 0, 0)) << "the background beside the image";
        }

        const RECT portrait = {0, 0, sc.w, sc.h};
        SetScreenSizeForTest(sc.h, sc.w);
        FollowScreenTurn(portrait, GetCurrentThreadId());
        ASSERT_TRUE(AppState.bLandscape);
        const Look turned = look();
        expectBox(turned.title, sc.titleTurned);
        expectBox(turned.list, sc.listTurned);
        expectWhole(turned, sc.listTurned.cx);

        const RECT landscape = {0, 0, sc.h, sc.w};
        SetScreenSizeForTest(sc.w, sc.h);
        FollowScreenTurn(landscape, GetCurrentThreadId());
        const Look back = look();
        expectBox(back.title, sc.title);
        expectBox(back.list, sc.list);
        EXPECT_TRUE(back.titlePicture.pixels == first.titlePicture.pixels);
        EXPECT_TRUE(back.listPicture.pixels == first.listPicture.pixels);

        DestroyWindow(AppState.hwndMain);  // with its children; its end releases the resources
        AppState.hwndItem = AppState.hwndTitle = AppState.hwndMain = nullptr;
        PumpMessages(0);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

// What the box said that "Done" put up, read from inside its modal loop,
// which it then ends with the answer given ("OK" of a one-button box, or of
// a two-button box, is 1; "Cancel" 0).
struct BoxSeen {
    std::wstring text, caption;
    int buttonMode = -1;
};
BoxSeen g_boxSeen;
WPARAM g_boxAnswer = 0;

void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_pNotificationUIInfo || !g_hwndNotification || !IsWindowVisible(g_hwndNotification)) return;
    g_boxSeen = BoxSeen{g_pNotificationUIInfo->text, g_pNotificationUIInfo->caption,
                        g_pNotificationUIInfo->buttonMode};
    SendMessageW(g_hwndNotification, WM_CLOSE, g_boxAnswer, 0);
}

// Done on the screen of the default card: what it says, whether the screen
// stays, which field is then selected, and what the card holds after.
TEST_F(ScreenWindowsTest, DoneSaysWhatItCannotStoreOrSaveKeepsTheScreenAndSelectsTheField) {
    constexpr int kCentre = kItemTextMessageTextBox, kVoice = kItemVoiceMailTextBox;
    struct Case {
        LPCWSTR centre, voiceMail;
        UINT uTextId;       // the box's sentence; 0: none, the screen closes
        int iItem;          // the field selected after it; 0: the screen closes
        ModemFaults faults;
        WPARAM answer = 0;  // to a two-button box
        const char* smsc = "+441234567890";  // what the card holds after
        const char* number = "+1234567";
    };
    ModemFaults well, refusesUpdate, refusesCentre, frozen;
    refusesUpdate.wUpdateRecordSW = 0x6982;
    refusesCentre.bSmscRefused = true;
    frozen.bSilent = true;
    const Case cases[] = {
        {L"+4412a", L"+1234567", IDS_SMSC_BAD_CHAR, kCentre, well},
        {L"44+12", L"+1234567", IDS_SMSC_PLUS, kCentre, well},
        {L"+44 12", L"+1234567", IDS_SMSC_REFUSED, kCentre, well},
        {L"", L"+1234567", IDS_SMSC_EMPTY, kCentre, well},
        {L"+", L"+1234567", IDS_SMSC_PLUS_ONLY, kCentre, well},
        {L"+441234567890", L"call me-12 34", IDS_VMAIL_BAD_CHAR, kVoice, well},
        {L"+441234567890", L"12+34", IDS_VMAIL_PLUS, kVoice, well},
        {L"+441234567890", L"+123456789012345678901", IDS_VMAIL_TOO_LONG, kVoice, well},
        {L"+441234567890", L"+", IDS_VMAIL_PLUS_ONLY, kVoice, well},
        {L"call", L"call", IDS_SMSC_BAD_CHAR, kCentre, well},  // the upper field first
        // Emptied, the voice mail goes only when the user says so.
        {L"+441234567890", L"", IDS_VMAIL_DELETE, kVoice, well, 0},
        {L"+441234567890", L"", IDS_VMAIL_DELETE, 0, well, 1, "+441234567890", ""},
        // A save that did not happen is said; what was saved stays saved.
        {L"+449876543210", L"0800", IDS_SAVE_FAILED_VMAIL_SMSC_SAVED, kVoice, refusesUpdate, 0, "+449876543210"},
        {L"+449876543210", L"0800", IDS_SAVE_FAILED_SMSC_VMAIL_SAVED, kCentre, refusesCentre, 0,
         "+441234567890", "0800"},
        {L"+449876543210", L"0800", IDS_SAVE_FAILED_BOTH, kCentre, frozen},
        {L"+31612", L"+31 6-12", 0, 0, well, 0, "+31612", "+31612"},  // blanks and dashes are stored
    };
    SetScreenSizeForTest(480, 640);
    AppState.nScale = 2;
    AppState.nScreenType = 3;
    LoadStringW(AppState.hInst, IDS_APP_TITLE, AppState.szAppTitle, kTextLen);  // as start-up does
    const std::wstring card = device.Path(L"\\Windows\\simcard.txt");
    SetRegDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\RIL", L"SIMTYPE", 1);
    UseSimModem(400, 2000);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.centre) + L" / " + c.voiceMail));
        ASSERT_TRUE(WriteFileBytes(card, ReadFileBytes(ModuleFolder() + L"default-simcard.txt")));
        ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
        ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
        ASSERT_TRUE(CreateItemWindow(AppState.hInst, SW_SHOW));
        UpdateWindow(AppState.hwndItem);
        SetForegroundWindow(AppState.hwndMain);
        // Set as a paste the fields let through would: the check is the last word.
        SetWindowTextW(GetSettingsItem(kItemTextMessageTextBox)->hwndEdit, c.centre);
        SetWindowTextW(GetSettingsItem(kItemVoiceMailTextBox)->hwndEdit, c.voiceMail);
        SetSimModemFaultsForTest(c.faults);
        g_boxSeen = BoxSeen{};
        g_boxAnswer = c.answer;
        TraceCapture trace;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadAndCloseBox);
        SendMessageW(AppState.hwndMain, WM_COMMAND, MAKEWPARAM(IDM_DONE, 0), 0);
        KillTimer(nullptr, timer);
        SetSimModemFaultsForTest(well);
        MSG close;
        const bool closing = PeekMessageW(&close, AppState.hwndMain, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
        EXPECT_EQ(closing, c.iItem == 0) << "the screen closes only when all was saved";
        if (c.uTextId == 0) {
            EXPECT_EQ(g_boxSeen.buttonMode, -1) << "no box";
        } else {
            WCHAR expected[260] = {};
            ASSERT_GT(LoadStringW(AppState.hInst, c.uTextId, expected, 260), 0);
            EXPECT_EQ(g_boxSeen.text, expected);
            EXPECT_EQ(g_boxSeen.caption, L"Voice Mail and Text Messages");
            EXPECT_EQ(g_boxSeen.buttonMode, c.uTextId == IDS_VMAIL_DELETE ? 2 : 1);
        }
        // Nothing is written for a text that cannot be stored, nor before the
        // user says the number may go.
        const bool bWritten = c.uTextId == 0 || c.uTextId >= IDS_SAVE_FAILED_SMSC || c.answer == 1;
        EXPECT_EQ(trace.Has(L"SaveSetting+"), bWritten);
        if (c.iItem) {
            HWND field = GetSettingsItem(c.iItem)->hwndEdit;
            EXPECT_EQ(GetFocus(), field);
            DWORD from = 0, to = 0;
            SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            EXPECT_EQ(from, 0u);
            EXPECT_EQ(to, static_cast<DWORD>(GetWindowTextLengthW(field))) << "its whole text selected";
        }
        SimCard held;
        ASSERT_TRUE(ParseSimCard(ReadFileBytes(card), &held, nullptr));
        EXPECT_EQ(held.smscAddress, c.smsc);
        const SimCardFile* file = FindSimFile(held, 0x6F17);
        ASSERT_NE(file, nullptr);
        const std::vector<BYTE> record = SimRecord(*file, 1);
        WCHAR szNumber[kPhoneNoChars] = {};
        std::vector<BYTE> answer(16, 0);
        answer.insert(answer.end(), record.begin(), record.end());
        ParsePhoneNo(answer.data(), static_cast<uint32_t>(answer.size()), szNumber,
                     static_cast<uint32_t>(record.size()), kNumberMaxDigits);
        EXPECT_EQ(std::wstring(szNumber), std::wstring(c.number, c.number + strlen(c.number)));
        DestroyWindow(AppState.hwndMain);  // with its children; its end releases the resources
        AppState.hwndItem = AppState.hwndTitle = AppState.hwndMain = nullptr;
        PumpMessages(0);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    ResetRadioSeams();
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\RIL");
    DeleteRegTree(HKEY_CURRENT_USER, L"ControlPanel\\PhoneExtendFunction\\GSM");
}

// A print of the main window is its paint: white inside a one-pixel black outline.
TEST_F(ScreenWindowsTest, MainWindowPrintsItsPaint) {
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    Picture p = Print(AppState.hwndMain);
    ASSERT_GT(p.width, 2);
    ASSERT_GT(p.height, 2);
    const int outline = 2 * (p.width + p.height) - 4;
    EXPECT_EQ(p.Count(RGB(0, 0, 0)), outline);
    EXPECT_EQ(p.Count(RGB(255, 255, 255)), p.width * p.height - outline);
    EXPECT_EQ(p.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(p.At(p.width - 1, p.height - 1), RGB(0, 0, 0));
}

TEST_F(ScreenWindowsTest, MissingTitleImageGivesNoTitleHeight) {
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(CreateMainWindow(AppState.hInst, SW_SHOW));
    ASSERT_TRUE(CreateTitleWindow(AppState.hInst, SW_SHOW));
    EXPECT_EQ(AppState.nTitleHeight, 0);
}

TEST(TitleFont, ConfiguredSizeFirstThenDownFromTheBaseSize) {
    ResetAppState();
    AppState.bHasTextSize = TRUE;
    AppState.TextSizeSetting[0] = 30;
    HDC hdc = CreateCompatibleDC(nullptr);
    std::vector<int> tried;
    HFONT font = FitTitleFont(hdc, L"Voice Mail and Text Messages", &tried);
    ASSERT_NE(font, nullptr);
    DeleteObject(font);
    ASSERT_GE(tried.size(), 3u) << "the title at 30 pixels does not fit 240";
    EXPECT_EQ(tried[0], 30);
    EXPECT_EQ(tried[1], 20);
    EXPECT_EQ(tried[2], 19);

    // A title that never fits still ends, at the smallest size.
    tried.clear();
    font = FitTitleFont(hdc, std::wstring(400, L'W').c_str(), &tried);
    DeleteObject(font);
    EXPECT_LE(tried.size(), 21u);
    EXPECT_GE(tried.back(), 6);

    // At scale 2 the steps are 2: 42, then 38, 34 (base 21 -> 19 -> 17).
    AppState.bHasTextSize = FALSE;
    AppState.nScale = 2;
    tried.clear();
    font = FitTitleFont(hdc, std::wstring(60, L'W').c_str(), &tried);
    DeleteObject(font);
    ASSERT_GE(tried.size(), 3u);
    EXPECT_EQ(tried[0], 42);
    EXPECT_EQ(tried[1], 38);
    EXPECT_EQ(tried[2], 34);
    DeleteDC(hdc);
    ResetAppState();
}

TEST_F(ScreenWindowsTest, TitlePictureIsTheImageWithGreyTextInTheMiddle) {
    WriteTitles(1, 0xFFFFFFFF);
    SetScreenSizeForTest(240, 320);
    ASSERT_TRUE(LoadSkinImage(kSkinPTitle));
    RECT rc = {0, 0, 240, 30};
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 240, 30);
    HGDIOBJ old = SelectObject(mem, bmp);
    PaintTitle(mem, rc);

    EXPECT_EQ(GetPixel(mem, 1, 1), RGB(255, 255, 255)) << "the image, outside the text";
    int textPixels = 0;
    for (int x = 60; x < 180; ++x)
        for (int y = 8; y < 22; ++y) {
            COLORREF c = GetPixel(mem, x, y);
            if (c != RGB(255, 255, 255)) ++textPixels;
            EXPECT_TRUE(GetRValue(c) >= 0x66 && GetGValue(c) >= 0x66) << "no darker than 0x666666";
        }
    EXPECT_GT(textPixels, 50) << "the title text is drawn";
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

}  // namespace
