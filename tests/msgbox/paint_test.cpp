// The message box's picture: the darkened screen, panel, caption, body and
// buttons, the order of composition, the pressed look, buttons without
// their pictures, the turn, caption fitting and the release of every surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox/notification_paint.h"
#include "platform/aygshell/aygshell.h"
#include "platform/base/scoped.h"
#include "platform/base/screen_capture.h"
#include "tests/msgbox/box_fixture.h"

namespace {

constexpr COLORREF kDimmedWhite = RGB(0x37, 0x37, 0x37);  // black at alpha 200 over white

class BoxPaintTest : public BoxTest {};

// Shows a two-button box and runs check() on it.
void WithBox(LPCWSTR caption, const std::function<void(HWND, const NotificationUIInfo&)>& check) {
    RunBox([&] { return ShowNotificationBox(nullptr, L"Body text", caption, 2, 0); },
           {[&](HWND hwnd) { check(hwnd, *g_pNotificationUIInfo); }, CloseWith(0)});
}

TEST_F(BoxPaintTest, ComposedPictureInItsOrder) {
    TraceCapture trace;
    WithBox(L"Caption", [](HWND hwnd, const NotificationUIInfo& info) {
        BoxPicture picture(hwnd);
        HDC hdc = picture.hdc();
        EXPECT_EQ(picture.At(2, 2), kDimmedWhite);
        EXPECT_EQ(picture.At(info.panelRect.left + 1, info.panelRect.top + 1), ToColorRef(kPanelArgb));
        EXPECT_GT(Count(hdc, info.titleRect, kWhite), 30);
        EXPECT_EQ(Count(hdc, info.titleRect, kBlack), 0);
        EXPECT_GT(Count(hdc, info.bodyRect, kBlack), 30);
        EXPECT_EQ(Count(hdc, info.bodyRect, kWhite), 0);
        for (const RECT& rc : {info.firstButtonRect, info.secondButtonRect}) {
            EXPECT_EQ(picture.At(rc.left + 1, rc.top + 1), ToColorRef(kButtonUpArgb));
            EXPECT_GT(Count(hdc, rc, kBlack), 10);
            EXPECT_EQ(Count(hdc, rc, kWhite), 0);
        }
    });
    std::wstring order;
    for (const std::wstring& t : trace.Texts())
        if (t.rfind(L"[WFN]", 0) == 0 && t.find(L"Activate") == t.npos && t.find(L"Paint()") == t.npos)
            order += t.substr(0, t.find(L", rect"));
    EXPECT_EQ(order,
              L"[WFN] SetDefaultNotificationUIInfo()\r\n[WFN] PreDrawNotify()\r\n[WFN] PaintBackGround()\r\n"
              L"[WFN] ReflashBG()\r\n[WFN] LoadBtnPictures()\r\n[WFN] setTemplateNotification()\r\n"
              L"[WFN] LoadNTFBodyPictures\r\n[WFN] LoadImageToHdcMem\r\n[WFN] PreDrawNotify()[WFN] PreDrawNotify()"
              L"[WFN] DrawButtonCtrl\r\n[WFN] LoadImageToHdcMem\r\n[WFN] DrawBtnText\r\n"
              L"[WFN] LoadImageToHdcMem\r\n[WFN] DrawBtnText\r\n");
    EXPECT_TRUE(trace.Has(L"[WFN] PreDrawNotify(), rect.left = 9, rect.top = 133, rect.right = 470, "
                          L"rect.bottom = 193\r\n"));
    EXPECT_TRUE(trace.Has(L"[WFN] OnNBActivate()\r\n"));
}

// A print is the picture a paint copies: the back buffer, pixel for pixel.
TEST_F(BoxPaintTest, PrintIsThePaintedPicture) {
    WithBox(L"Caption", [](HWND hwnd, const NotificationUIInfo&) {
        BoxPicture printed(hwnd);
        int differing = 0;
        for (int y = 0; y < 640; ++y)
            for (int x = 0; x < 480; ++x) differing += GetPixel(printed.hdc(), x, y) != GetPixel(g_NBBack.hdc(), x, y);
        EXPECT_EQ(differing, 0);
    });
}

// The capture lines up with the screen behind the box's window, which
// starts below the 26*s status bar: rows 0 to 26s-1 red (the status bar),
// the next 26s blue, then white.
TEST_F(BoxPaintTest, BackdropLinesUpWithTheScreenBehind) {
    for (int s : {1, 2}) {
        SCOPED_TRACE(s);
        UseScreen(240 * s, 320 * s, s);
        scoped::WindowDC screen(nullptr);
        scoped::MemDC dc(CreateCompatibleDC(screen.get()));
        scoped::Bitmap bm(CreateCompatibleBitmap(screen.get(), 240 * s, 320 * s));
        {
            scoped::Select sel(dc.get(), bm.get());
            for (auto band : {std::pair<int, COLORREF>{0, RGB(255, 0, 0)}, {26, RGB(0, 0, 255)}, {52, kWhite}}) {
                RECT rc = {0, band.first * s, 240 * s, 320 * s};
                scoped::Brush brush(CreateSolidBrush(band.second));
                FillRect(dc.get(), &rc, brush.get());
            }
        }
        SetScreenPicture(bm.get());
        WithBox(L"c", [s](HWND hwnd, const NotificationUIInfo&) {
            RECT rc{};
            GetWindowRect(hwnd, &rc);
            EXPECT_EQ(rc.top, 26 * s);
            BoxPicture picture(hwnd);
            EXPECT_EQ(picture.At(1, 1), Dimmed(RGB(0, 0, 255)));
            EXPECT_EQ(picture.At(1, 26 * s - 1), Dimmed(RGB(0, 0, 255)));
            EXPECT_EQ(picture.At(1, 26 * s), kDimmedWhite);
        });
    }
}

// Feedback goes to the window; the back buffer keeps both buttons released.
TEST_F(BoxPaintTest, PressedButtonIsDrawnOnTheWindowOnly) {
    WithBox(L"Caption", [](HWND hwnd, const NotificationUIInfo& info) {
        const RECT &first = info.firstButtonRect, &second = info.secondButtonRect;
        StylusDown(hwnd, Centre(first));
        BoxPicture shown(hwnd);
        EXPECT_EQ(shown.At(first.left + 1, first.top + 1), ToColorRef(kButtonUpArgb));
        // What the window shows: its picture with the buttons drawn over it.
        DrawButtonCtrl(hwnd, shown.hdc());
        EXPECT_EQ(shown.At(first.left + 1, first.top + 1), ToColorRef(kButtonDownArgb));
        EXPECT_GT(Count(shown.hdc(), first, kWhite), 10);
        EXPECT_EQ(Count(shown.hdc(), first, kBlack), 0);
        EXPECT_EQ(shown.At(second.left + 1, second.top + 1), ToColorRef(kButtonUpArgb));
        EXPECT_GT(Count(shown.hdc(), second, kBlack), 10);
        StylusUp(hwnd, POINT{1, 1});
    });
}

// Button pictures missing or empty: the buttons keep the skin's size and
// place, drawn plainly with their labels, and a tap answers the box.
TEST_F(BoxPaintTest, ButtonsWithoutTheirPicturesAreDrawnPlainlyAndAnswer) {
    constexpr COLORREF kFace = RGB(240, 242, 244), kPressed = RGB(72, 84, 96), kFrame = RGB(160, 164, 170);
    for (bool bEmpty : {false, true}) {
        SCOPED_TRACE(bEmpty ? "empty" : "missing");
        for (LPCWSTR file : {L"\\Windows\\QXBS_NB_btn_up.png", L"\\Windows\\QXBS_NB_btn_dn.png"}) {
            DeleteFileW(m_device.Path(file).c_str());
            if (bEmpty) {
                ASSERT_TRUE(WriteFileBytes(m_device.Path(file), ""));
            }
        }
        int result = RunBox([] { return ShowNotificationBox(nullptr, L"Body text", L"Caption", 2, 0); },
                            {[](HWND hwnd) {
                                const NotificationUIInfo& info = *g_pNotificationUIInfo;
                                const RECT& first = info.firstButtonRect;
                                EXPECT_EQ(first.right - first.left, 195);
                                EXPECT_EQ(first.bottom - first.top, 48);
                                BoxPicture picture(hwnd);
                                for (const RECT& rc : {first, info.secondButtonRect}) {
                                    EXPECT_GT(Count(picture.hdc(), rc, kFrame), 100);
                                    EXPECT_GT(Count(picture.hdc(), rc, kFace), 1000);
                                    EXPECT_GT(Count(picture.hdc(), rc, kBlack), 10);  // the label
                                }
                                StylusDown(hwnd, Centre(first));
                                EXPECT_EQ(info.pressedButton, kNBFirstButton);
                                DrawButtonCtrl(hwnd, picture.hdc());
                                EXPECT_GT(Count(picture.hdc(), first, kPressed), 1000);
                                EXPECT_GT(Count(picture.hdc(), first, kWhite), 10);
                                StylusUp(hwnd, Centre(first));
                            }});
        EXPECT_EQ(result, 1);
    }
}

// After a turn the box covers the new work area and shows, at once, its
// picture for the new screen: the panel of the orientation, over a new
// backdrop of what lies behind it there (the screen behind laid out for
// it, in green, on its left half, with its field; the desktop, red, beside
// it); its buttons answer where they are drawn.
TEST_F(BoxPaintTest, TurnedBoxShowsTheNewScreen) {
    struct {
        const char* profile;
        int w, h, s;
        Argb panel;
    } cases[] = {
        {"vga to landscape", 480, 640, 2, kPanelLandscapeArgb},
        {"wvga-l to portrait", 800, 480, 2, kPanelArgb},
        {"qvga to landscape", 240, 320, 1, kPanelLandscapeArgb},
    };
    const COLORREF kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        UseScreen(c.w, c.h, c.s);
        SetScreenColour(kWhite);
        ScreenBehind behind(kWhite, kGreen);
        const int w = c.h, h = c.w, bar = 26 * c.s;  // turned
        RECT box{}, first{};
        int result = RunBox(
            [&] { return ShowNotificationBox(behind.hwnd(), L"Body text", L"Caption", 2, 0); },
            {[&](HWND hwnd) {
                 UseScreen(w, h, c.s);
                 SetScreenColour(kRed);
                 SendMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
                 GetWindowRect(hwnd, &box);
                 const NotificationUIInfo& info = *g_pNotificationUIInfo;
                 first = info.firstButtonRect;
                 BoxPicture picture(hwnd);
                 EXPECT_EQ(picture.At(info.panelRect.left + 1, info.panelRect.top + 1), ToColorRef(c.panel));
                 EXPECT_EQ(picture.At(2, 2), Dimmed(kGreen));
                 EXPECT_EQ(picture.At(12, 62), kDimmedWhite);  // its edit field
                 EXPECT_EQ(picture.At(w - 3, 2), Dimmed(kRed));
                 EXPECT_EQ(picture.At(first.left + 1, first.top + 1), ToColorRef(kButtonUpArgb));
                 EXPECT_EQ(picture.At(info.secondButtonRect.right - 2, info.secondButtonRect.top + 1),
                           ToColorRef(kButtonUpArgb));
             },
             [&](HWND hwnd) {
                 StylusDown(hwnd, Centre(first));
                 StylusUp(hwnd, Centre(first));
             }});
        EXPECT_EQ(result, 1);
        const RECT work = {0, bar, w, h - bar};
        EXPECT_TRUE(EqualRect(&box, &work));
    }
}

// The input panel going up or down tells every window of the thread; the
// box composes its picture again, which is the same picture.
TEST_F(BoxPaintTest, TheInputPanelGoingUpAndDownLeavesThePicture) {
    WithBox(L"Caption", [&](HWND hwnd, const NotificationUIInfo&) {
        const std::vector<COLORREF> before = BoxPicture(hwnd).Pixels();
        TraceCapture trace;
        SHSipPreference(nullptr, SIP_UP);
        SHSipPreference(nullptr, SIP_FORCEDOWN);
        EXPECT_EQ(trace.Count(L"[WFN] PreDrawNotify()\r\n"), 2);
        const std::vector<COLORREF> after = BoxPicture(hwnd).Pixels();
        EXPECT_TRUE(before == after);
    });
}

// A caption too wide for its line is drawn smaller, down to a smallest size.
TEST_F(BoxPaintTest, WideCaptionIsShrunk) {
    auto rows = [](const std::wstring& caption) {
        int n = 0;
        WithBox(caption.c_str(), [&](HWND hwnd, const NotificationUIInfo& info) {
            n = RowsWith(BoxPicture(hwnd).hdc(), info.titleRect, kWhite);
        });
        return n;
    };
    // Capitals of the first size (36) are about 26 rows high, of 16 about 12.
    EXPECT_GE(rows(L"HELLO"), 22);
    EXPECT_LE(rows(L"HELLO HELLO HELLO HELLO HELLO HELLO HELLO HELLO HELLO"), 16);
    int smallest = rows(std::wstring(259, L'W'));
    EXPECT_LE(smallest, 16);
    EXPECT_GE(smallest, 8);
}

TEST_F(BoxPaintTest, ClosingReleasesEverythingAndTheNextBoxCapturesAgain) {
    std::vector<HGDIOBJ> objects;
    HWND menuBar = nullptr;
    WithBox(L"Caption", [&](HWND, const NotificationUIInfo&) {
        for (const scoped::Surface* s : {&g_NBBack, &g_NBCompose, &g_NBCapture}) {
            EXPECT_EQ(GetCurrentObject(s->hdc(), OBJ_BITMAP), s->bitmap());
            objects.insert(objects.end(), {s->hdc(), s->bitmap()});
        }
        objects.push_back(g_hbmNBButtonUp);
        menuBar = g_hwndNBMenuBar;
    });
    for (HGDIOBJ o : objects) EXPECT_EQ(GetObjectType(o), 0u) << o;
    EXPECT_TRUE(menuBar && !IsWindow(menuBar));
    for (const scoped::Surface* s : {&g_NBBack, &g_NBCompose, &g_NBCapture}) EXPECT_FALSE(s->hdc() || s->bitmap());
    EXPECT_FALSE(g_hbmNBButtonUp || g_hwndNBBackdrop || g_hwndNBMenuBar);
    SetScreenColour(kBlack);
    WithBox(L"Caption", [](HWND hwnd, const NotificationUIInfo&) { EXPECT_EQ(BoxPicture(hwnd).At(2, 2), kBlack); });
}

}  // namespace
