// The message box's picture: the darkened screen, panel, caption, body,
// buttons released and pressed, a missing button image, rotation, fonts,
// the order of composition and the release of every surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox/notification_box.h"
#include "msgbox/notification_paint.h"
#include "msgbox/notification_state.h"
#include "platform/scoped.h"
#include "platform/screen.h"
#include "platform/screen_capture.h"
#include "shell/app_state.h"
#include "shell/ui_config.h"
#include "tests/msgbox/box_fixture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDimmedWhite = RGB(0x37, 0x37, 0x37);

class BoxPaintTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        WriteSkin();
    }
};

// Shows a two-button box and hands its record and back buffer to check().
void WithBox(DWORD style, LPCWSTR caption,
             const std::function<void(HWND, const NotificationUIInfo&, const Snapshot&)>& check) {
    RunBox([&] { return ShowNotificationBox(nullptr, L"Body text", caption, style, 0); },
           {[&](HWND hwnd) {
               Snapshot back(g_NBBack.hdc);
               check(hwnd, *g_pNotificationUIInfo, back);
               SendMessageW(hwnd, WM_CLOSE, 0, 0);
           }});
}

TEST_F(BoxPaintTest, ComposedPicture) {
    WithBox(2, L"Caption", [](HWND, const NotificationUIInfo& info, const Snapshot& back) {
        ASSERT_EQ(back.Width(), 480);
        ASSERT_EQ(back.Height(), 640);
        // White screen under black at alpha 200.
        EXPECT_EQ(back.At(2, 2), kDimmedWhite);
        EXPECT_EQ(back.At(477, 100), kDimmedWhite);
        // Panel (portrait image) where no text or button is.
        EXPECT_EQ(back.At(info.panelRect.left + 1, info.panelRect.top + 1), ToColorRef(kPanelArgb));
        EXPECT_EQ(back.At(info.panelRect.right - 2, info.panelRect.bottom - 2), ToColorRef(kPanelArgb));
        // Caption white, body black, nothing of the other colour in each.
        EXPECT_GT(back.Count(info.titleRect, kWhite), 30);
        EXPECT_EQ(back.Count(info.titleRect, kBlack), 0);
        EXPECT_GT(back.Count(info.bodyRect, kBlack), 30);
        EXPECT_EQ(back.Count(info.bodyRect, kWhite), 0);
        // Released buttons: the "up" image and a black label.
        for (const RECT* rc : {&info.firstButtonRect, &info.secondButtonRect}) {
            EXPECT_EQ(back.At(rc->left + 1, rc->top + 1), ToColorRef(kButtonUpArgb));
            EXPECT_GT(back.Count(*rc, kBlack), 10);
            EXPECT_EQ(back.Count(*rc, kWhite), 0);
            EXPECT_EQ(back.Count(*rc, ToColorRef(kButtonDownArgb)), 0);
        }
        // Not the input style: the password field stays hidden and unframed.
        EXPECT_EQ(back.Count(RECT{0, 0, 480, 640}, ToColorRef(kInputFrameArgb)), 0);
    });
}

// The capture moves up by 52 pixels per scale step.
TEST_F(BoxPaintTest, BackdropIsTheScreenShiftedUp) {
    for (int s : {1, 2}) {
        SCOPED_TRACE(s);
        UseScreen(s == 2 ? 480 : 240, s == 2 ? 640 : 320, s);
        // Rows 0-51 red, 52-103 blue, the rest white.
        int w = GetScreenWidth(), h = GetScreenHeight();
        scoped::WindowDC screen(nullptr);
        scoped::MemDC dc(CreateCompatibleDC(screen.get()));
        scoped::Bitmap bm(CreateCompatibleBitmap(screen.get(), w, h));
        {
            scoped::Select sel(dc.get(), bm.get());
            for (auto band : {std::pair<RECT, COLORREF>{{0, 0, w, 52}, RGB(255, 0, 0)},
                              {{0, 52, w, 104}, RGB(0, 0, 255)},
                              {{0, 104, w, h}, kWhite}}) {
                scoped::Brush brush(CreateSolidBrush(band.second));
                FillRect(dc.get(), &band.first, brush.get());
            }
        }
        SetScreenPicture(bm.get());
        WithBox(2, L"c", [s](HWND, const NotificationUIInfo&, const Snapshot& back) {
            EXPECT_EQ(back.At(1, 1), s == 2 ? kDimmedWhite : RGB(0, 0, 0x37));
        });
    }
}

TEST_F(BoxPaintTest, PressedButtonIsDrawnOnTheWindowOnly) {
    RunBox([] { return ShowNotificationBox(nullptr, L"Body", L"Caption", 2, 0); },
           {[](HWND hwnd) {
               const NotificationUIInfo& info = *g_pNotificationUIInfo;
               POINT c = Centre(info.firstButtonRect);
               StylusDown(hwnd, c.x, c.y);
               ASSERT_EQ(info.pressedButton, 1);
               // The back buffer keeps both buttons released.
               Snapshot back(g_NBBack.hdc);
               EXPECT_EQ(back.At(info.firstButtonRect.left + 1, info.firstButtonRect.top + 1),
                         ToColorRef(kButtonUpArgb));
               // What the window gets: the buttons drawn over its picture.
               HDC hdcWindow = GetDC(hwnd);
               scoped::MemDC dc(CreateCompatibleDC(hdcWindow));
               scoped::Bitmap bm(CreateCompatibleBitmap(hdcWindow, 480, 640));
               ReleaseDC(hwnd, hdcWindow);
               scoped::Select sel(dc.get(), bm.get());
               BitBlt(dc.get(), 0, 0, 480, 640, g_NBBack.hdc, 0, 0, SRCCOPY);
               DrawButtonCtrl(hwnd, dc.get());
               Snapshot shown(dc.get());
               const RECT& first = info.firstButtonRect;
               const RECT& second = info.secondButtonRect;
               EXPECT_EQ(shown.At(first.left + 1, first.top + 1), ToColorRef(kButtonDownArgb));
               EXPECT_GT(shown.Count(first, kWhite), 10);
               EXPECT_EQ(shown.Count(first, kBlack), 0);
               EXPECT_EQ(shown.At(second.left + 1, second.top + 1), ToColorRef(kButtonUpArgb));
               EXPECT_GT(shown.Count(second, kBlack), 10);
               EXPECT_EQ(shown.Count(second, kWhite), 0);
               StylusUp(hwnd, 1, 1);
           },
            [](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, 0, 0); }});
}

TEST_F(BoxPaintTest, MissingButtonImageDrawsNoButtonsButEverythingElse) {
    DeleteFileW(m_device.Path(L"\\Windows\\QXBS_NB_btn_up.png").c_str());
    int pressed = 0;
    RunBox([] { return ShowNotificationBox(nullptr, L"Body text", L"Caption", 2, 0); },
           {[&](HWND hwnd) {
               const NotificationUIInfo& info = *g_pNotificationUIInfo;
               EXPECT_TRUE(IsRectEmpty(&info.firstButtonRect));
               EXPECT_EQ(info.firstButtonRect.left, 38);
               EXPECT_EQ(info.firstButtonRect.top, 446);
               Snapshot back(g_NBBack.hdc);
               EXPECT_EQ(back.Count(RECT{0, 0, 480, 640}, ToColorRef(kButtonDownArgb)), 0);
               // No label around where the buttons would be; the panel shows there.
               for (POINT p : {POINT{38, 446}, POINT{247, 446}}) {
                   RECT around = {p.x - 30, p.y - 15, p.x + 30, p.y + 15};
                   EXPECT_EQ(back.Count(around, kBlack), 0);
                   EXPECT_EQ(back.At(p.x, p.y), ToColorRef(kPanelArgb));
               }
               EXPECT_GT(back.Count(info.titleRect, kWhite), 30);
               EXPECT_GT(back.Count(info.bodyRect, kBlack), 30);
               POINT c = Centre(info.firstButtonRect);
               StylusDown(hwnd, c.x, c.y);
               pressed = info.pressedButton;
               StylusUp(hwnd, c.x, c.y);
           },
            [](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(pressed, -1);
}

TEST_F(BoxPaintTest, NoButtonsNoButtonImagesOrLabels) {
    WithBox(0, L"Caption", [](HWND, const NotificationUIInfo& info, const Snapshot& back) {
        const RECT all = {0, 0, 480, 640};
        EXPECT_EQ(back.Count(all, ToColorRef(kButtonUpArgb)), 0);
        EXPECT_EQ(back.Count(all, ToColorRef(kButtonDownArgb)), 0);
        // Black in the panel only in the body text.
        RECT below = {info.panelRect.left, info.bodyRect.bottom, info.panelRect.right, info.panelRect.bottom};
        EXPECT_EQ(back.Count(below, kBlack), 0);
    });
}

// A caption too wide for its line is drawn smaller; a short one at full size.
TEST_F(BoxPaintTest, WideCaptionIsShrunkAndStillEnds) {
    auto captionRows = [](LPCWSTR caption) {
        int rows = 0;
        WithBox(2, caption, [&](HWND, const NotificationUIInfo& info, const Snapshot& back) {
            auto span = back.RowSpan(info.titleRect, kWhite);
            ASSERT_GE(span.first, 0);
            rows = span.second - span.first + 1;
        });
        return rows;
    };
    int full = captionRows(L"HELLO");
    int shrunk = captionRows(L"HELLO HELLO HELLO HELLO HELLO HELLO HELLO HELLO HELLO HELLO");
    std::wstring longest(259, L'W');
    int smallest = captionRows(longest.c_str());
    // Capitals of a 36-pixel font are about 26 rows high, of a 16-pixel one about 12.
    EXPECT_GE(full, 22);
    EXPECT_LE(shrunk, 16);
    EXPECT_LE(smallest, 16);
    EXPECT_GE(smallest, 8);  // the fit stops at the smallest size
}

TEST_F(BoxPaintTest, RotationRebuildsAtTheNewSizeOverTheFirstCapture) {
    RunBox([] { return ShowNotificationBox(nullptr, L"Body text", L"Caption", 2, 0); },
           {[&](HWND hwnd) {
               HBITMAP before = g_NBBack.hbm;
               UseScreen(640, 480, 2);
               SetScreenColour(RGB(255, 0, 0));  // the capture is not taken again
               SendMessageW(hwnd, WM_SETTINGCHANGE, 0, 0);
               BITMAP bm{};
               GetObjectW(GetCurrentObject(g_NBBack.hdc, OBJ_BITMAP), sizeof(bm), &bm);
               EXPECT_EQ(bm.bmWidth, 640);
               EXPECT_EQ(bm.bmHeight, 480);
               EXPECT_EQ(GetObjectType(before), 0u) << "the old back-buffer bitmap is deleted";
               const NotificationUIInfo& info = *g_pNotificationUIInfo;
               EXPECT_EQ(info.panelRect.left, 66);
               EXPECT_EQ(info.panelRect.top, 41);
               EXPECT_EQ(info.firstButtonRect.left, 195);
               Snapshot back(g_NBBack.hdc);
               EXPECT_EQ(back.At(2, 2), kDimmedWhite);
               EXPECT_EQ(back.At(info.panelRect.left + 1, info.panelRect.top + 1), ToColorRef(kPanelLandscapeArgb));
               EXPECT_EQ(back.At(info.firstButtonRect.left + 1, info.firstButtonRect.top + 1),
                         ToColorRef(kButtonUpArgb));
           },
            [](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, 0, 0); }});
}

TEST_F(BoxPaintTest, FontsFollowTheSurfaceAndTheLanguage) {
    scoped::WindowDC screen(nullptr);
    scoped::MemDC dc(CreateCompatibleDC(screen.get()));
    for (BOOL cjk : {FALSE, TRUE}) {
        AppState.bCJKLanguage = cjk;
        scoped::Font font(CreateNBFont(dc.get(), dc.get(), 24, 400, L"Helvetica Neue OTS"));
        ASSERT_TRUE(font);
        LOGFONTW lf{};
        ASSERT_EQ(GetObjectW(font.get(), sizeof(lf), &lf), int(sizeof(lf)));
        EXPECT_EQ(lf.lfQuality, cjk ? DEFAULT_QUALITY : CLEARTYPE_QUALITY);
        EXPECT_EQ(lf.lfHeight, -24);
        EXPECT_EQ(lf.lfWidth, 0);  // the width follows the new height
        EXPECT_EQ(lf.lfWeight, 400);
        EXPECT_STREQ(lf.lfFaceName, L"Helvetica Neue OTS");
        // Everything else comes from the font selected in the surface.
        LOGFONTW base{};
        GetObjectW(GetCurrentObject(dc.get(), OBJ_FONT), sizeof(base), &base);
        EXPECT_EQ(lf.lfCharSet, base.lfCharSet);
        EXPECT_EQ(lf.lfItalic, base.lfItalic);
    }
}

TEST_F(BoxPaintTest, CompositionRunsInItsOrder) {
    TraceCapture trace;
    WithBox(2, L"Caption", [](HWND, const NotificationUIInfo&, const Snapshot&) {});
    std::vector<std::wstring> lines;
    for (const std::wstring& t : trace.Texts()) {
        if (t.rfind(L"[WFN]", 0) != 0) continue;
        EXPECT_EQ(t.substr(t.size() - 2), L"\r\n") << t;
        // Activation and paints come as the window manager pleases.
        if (t.find(L"OnNBActivate") != std::wstring::npos || t.find(L"OnNBPaint") != std::wstring::npos) continue;
        lines.push_back(t.substr(0, t.find(L", rect")));
    }
    const std::vector<std::wstring> expected = {
        L"[WFN] SetDefaultNotificationUIInfo()\r\n",
        L"[WFN] PreDrawNotify()\r\n",
        L"[WFN] PaintBackGround()\r\n",
        L"[WFN] ReflashBG()\r\n",
        L"[WFN] LoadBtnPictures()\r\n",
        L"[WFN] setTemplateNotification()\r\n",
        L"[WFN] LoadNTFBodyPictures\r\n",
        L"[WFN] LoadImageToHdcMem\r\n",
        L"[WFN] PreDrawNotify()",  // rectTemp: the measured caption
        L"[WFN] PreDrawNotify()",  // rect: the caption line
        L"[WFN] DrawButtonCtrl\r\n",
        L"[WFN] LoadImageToHdcMem\r\n",
        L"[WFN] DrawBtnText\r\n",
        L"[WFN] LoadImageToHdcMem\r\n",
        L"[WFN] DrawBtnText\r\n",
    };
    // The menu bar may or may not be made on this platform; nothing else may differ.
    std::vector<std::wstring> got;
    for (const auto& l : lines)
        if (l.find(L"no menu bar") == std::wstring::npos) got.push_back(l);
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(trace.Has(L"[WFN] OnNBActivate()\r\n"));
    EXPECT_TRUE(trace.Has(L"[WFN] PreDrawNotify(), rect.left = 9, rect.top = 133, rect.right = 470, "
                          L"rect.bottom = 193\r\n"));
}

TEST_F(BoxPaintTest, ClosingReleasesEverySurfaceAndTheNextBoxCapturesAgain) {
    std::vector<HGDIOBJ> objects;
    std::vector<HDC> dcs;
    HWND menuBar = nullptr;
    WithBox(2, L"Caption", [&](HWND, const NotificationUIInfo&, const Snapshot&) {
        for (const NBSurface* s : {&g_NBBack, &g_NBCompose, &g_NBCapture}) {
            ASSERT_NE(s->hdc, nullptr);
            ASSERT_NE(s->hbm, nullptr);
            EXPECT_EQ(GetCurrentObject(s->hdc, OBJ_BITMAP), s->hbm);
            dcs.push_back(s->hdc);
            objects.push_back(s->hbm);
        }
        ASSERT_NE(g_hbmNBButtonUp, nullptr);
        objects.push_back(g_hbmNBButtonUp);
        menuBar = g_hwndNBMenuBar;
        EXPECT_TRUE(IsWindow(menuBar));
    });
    EXPECT_FALSE(IsWindow(menuBar));
    EXPECT_EQ(g_hwndNBMenuBar, nullptr);
    for (HGDIOBJ o : objects) EXPECT_EQ(GetObjectType(o), 0u) << o;
    for (HDC dc : dcs) EXPECT_EQ(GetObjectType(dc), 0u) << dc;
    for (const NBSurface* s : {&g_NBBack, &g_NBCompose, &g_NBCapture}) {
        EXPECT_EQ(s->hdc, nullptr);
        EXPECT_EQ(s->hbm, nullptr);
    }
    EXPECT_EQ(g_hbmNBButtonUp, nullptr);
    EXPECT_EQ(g_hwndNBBackdrop, nullptr);

    SetScreenColour(kBlack);
    WithBox(2, L"Caption", [](HWND, const NotificationUIInfo&, const Snapshot& back) {
        EXPECT_EQ(back.At(2, 2), kBlack);
    });
}

TEST_F(BoxPaintTest, PaintCopiesTheBackBufferWithoutFallback) {
    TraceCapture trace;
    RunBox([] { return ShowNotificationBox(nullptr, L"Body", L"Caption", 2, 0); },
           {[](HWND hwnd) {
               InvalidateRect(hwnd, nullptr, FALSE);
               UpdateWindow(hwnd);
               SendMessageW(hwnd, WM_CLOSE, 0, 0);
           }});
    EXPECT_GE(trace.Count(L"[WFN] OnNBPaint()\r\n"), 1);
    EXPECT_FALSE(trace.Has(L"[WFN]left="));
}

}  // namespace
