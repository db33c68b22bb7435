// Row and item rectangles for both orientations from the skin heights.
#include <gtest/gtest.h>

#include <vector>

#include "core/app_state.h"
#include "core/screen_profile.h"
#include "core/skin_resources.h"
#include "listwin/list_layout.h"

namespace {

void ExpectRect(const RECT& rc, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(rc.left, left);
    EXPECT_EQ(rc.top, top);
    EXPECT_EQ(rc.right, right);
    EXPECT_EQ(rc.bottom, bottom);
}

class LayoutTest : public testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        // Heights of the images the layout reads, each different, so a wrong
        // image shows in the numbers.
        Height(kSkinPLine) = 3;
        Height(kSkinLLine) = 50;
        Height(kSkinPSubTitle) = 22;
        Height(kSkinLSubTitle) = 18;
        Height(kSkinPButtonFocus) = 44;
        Height(kSkinLButtonFocus) = 38;
    }
    void TearDown() override { ResetAppState(); }

    static LONG& Height(int image) { return AppState.SkinImages[image].bm.bmHeight; }

    // One row of each kind given; a group gets n zeroed items.
    struct Rows {
        std::vector<ListItem> rows;
        std::vector<std::vector<ListItem>> items;
    };
    static Rows MakeRows(std::initializer_list<int> kinds, int nGroupItems = 4) {
        Rows r;
        r.rows.resize(kinds.size());
        r.items.resize(kinds.size());
        size_t i = 0;
        for (int kind : kinds) {
            r.rows[i] = ListItem{};
            r.rows[i].nKind = kind;
            if (kind == IK_GROUP) {
                r.items[i].assign(nGroupItems, ListItem{});
                r.rows[i].nItems = nGroupItems;
                r.rows[i].pItems = r.items[i].data();
            }
            ++i;
        }
        return r;
    }
};

TEST_F(LayoutTest, TheSettingsGroupAtDoubleScaleStacksFourItemsOfSixty) {
    AppState.nScale = 2;
    AppState.nScreenType = 3;
    AppState.LandscapeXExtension = 160;
    Rows r = MakeRows({IK_GROUP});
    ASSERT_TRUE(LayoutRowArray(r.rows.data(), 1));
    ExpectRect(r.rows[0].rcItem[kPortrait], 0, 0, 480, 240);
    ExpectRect(r.rows[0].rcItem[kLandscape], 0, 0, 800, 240);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        ExpectRect(r.items[0][k].rcItem[kPortrait], 0, 60 * k, 480, 60 * (k + 1));
        ExpectRect(r.items[0][k].rcItem[kLandscape], 0, 60 * k, 800, 60 * (k + 1));
    }
    ExpectRect(g_rcExtent[kPortrait], 0, 0, 480, 240);
    ExpectRect(g_rcExtent[kLandscape], 0, 0, 800, 240);
}

TEST_F(LayoutTest, GroupHeightIsFortyAnItemOnType6AtAnyScaleAndThirtyTimesScaleElsewhere) {
    struct Case {
        int nScale, nScreenType;
        LONG height, widthP;
    };
    const Case cases[] = {{1, 6, 160, 320}, {2, 6, 160, 640}, {1, 0, 120, 240}, {2, 1, 240, 480}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "s=" << c.nScale << " type=" << c.nScreenType);
        AppState.nScale = c.nScale;
        AppState.nScreenType = c.nScreenType;
        AppState.LandscapeXExtension = 0;
        Rows r = MakeRows({IK_GROUP});
        ASSERT_TRUE(LayoutRowArray(r.rows.data(), 1));
        ExpectRect(r.rows[0].rcItem[kPortrait], 0, 0, c.widthP, c.height);
        ExpectRect(r.rows[0].rcItem[kLandscape], 0, 0, 320 * c.nScale, c.height);
        EXPECT_EQ(r.items[0][3].rcItem[kPortrait].top, c.height * 3 / 4);
    }
}

TEST_F(LayoutTest, RowHeightsComeFromTheirImagesAndLaterRowsStartOnePortraitLineLower) {
    AppState.nScale = 1;
    AppState.LandscapeXExtension = 80;
    Rows r = MakeRows({IK_SUBTITLE, IK_SWITCH, IK_GROUP, 2}, 2);
    ASSERT_TRUE(LayoutRowArray(r.rows.data(), 4));
    // Portrait: sub-title 22, line 3, focus 44, line 3, group 60, line 3, focus 44.
    ExpectRect(r.rows[0].rcItem[kPortrait], 0, 0, 240, 22);
    ExpectRect(r.rows[1].rcItem[kPortrait], 0, 25, 240, 69);
    ExpectRect(r.rows[2].rcItem[kPortrait], 0, 72, 240, 132);
    ExpectRect(r.rows[3].rcItem[kPortrait], 0, 135, 240, 179);
    // Landscape: sub-title 18, focus 38, and still the portrait line of 3.
    ExpectRect(r.rows[0].rcItem[kLandscape], 0, 0, 400, 18);
    ExpectRect(r.rows[1].rcItem[kLandscape], 0, 21, 400, 59);
    ExpectRect(r.rows[2].rcItem[kLandscape], 0, 62, 400, 122);
    ExpectRect(r.rows[3].rcItem[kLandscape], 0, 125, 400, 163);
    // The group's items start at the group's top, without gaps.
    ExpectRect(r.items[2][0].rcItem[kPortrait], 0, 72, 240, 102);
    ExpectRect(r.items[2][1].rcItem[kPortrait], 0, 102, 240, 132);
    ExpectRect(r.items[2][1].rcItem[kLandscape], 0, 92, 400, 122);
    ExpectRect(g_rcExtent[kPortrait], 0, 135, 240, 179);
    ExpectRect(g_rcExtent[kLandscape], 0, 125, 400, 163);
}

TEST_F(LayoutTest, FocusRowsAreTwoShorterOnType6) {
    AppState.nScale = 1;
    AppState.nScreenType = 6;
    Rows r = MakeRows({IK_BUTTON});
    ASSERT_TRUE(LayoutRowArray(r.rows.data(), 1));
    ExpectRect(r.rows[0].rcItem[kPortrait], 0, 0, 320, 42);
    ExpectRect(r.rows[0].rcItem[kLandscape], 0, 0, 320, 36);
}

TEST_F(LayoutTest, AHiddenRowTakesNoSpaceAndKeepsItsRectangles) {
    AppState.nScale = 1;
    Rows r = MakeRows({IK_CLICKBOX, IK_CLICKBOX, IK_CLICKBOX});
    r.rows[1].bHidden = TRUE;
    r.rows[1].rcItem[kPortrait] = RECT{1, 2, 3, 4};
    ASSERT_TRUE(LayoutRowArray(r.rows.data(), 3));
    ExpectRect(r.rows[1].rcItem[kPortrait], 1, 2, 3, 4);
    ExpectRect(r.rows[1].rcItem[kLandscape], 0, 0, 0, 0);
    ExpectRect(r.rows[2].rcItem[kPortrait], 0, 47, 240, 91);
    ExpectRect(r.rows[2].rcItem[kLandscape], 0, 41, 320, 79);
    // The same once more: the extent of the first layout does not carry over.
    ASSERT_TRUE(LayoutRowArray(r.rows.data(), 3));
    ExpectRect(r.rows[2].rcItem[kPortrait], 0, 47, 240, 91);
}

TEST_F(LayoutTest, NothingToLayOutWithoutRows) {
    ASSERT_EQ(g_pItems, nullptr);
    EXPECT_FALSE(LayoutItems());
    EXPECT_FALSE(LayoutRowArray(nullptr, 3));
}

TEST_F(LayoutTest, LayoutItemsLaysOutTheProgramsRows) {
    AppState.nScale = 2;
    ListItem items[4] = {};
    ListItem row = {};
    row.nKind = IK_GROUP;
    row.nItems = 4;
    row.pItems = items;
    g_pItems = &row;
    BOOL ok = LayoutItems();
    g_pItems = nullptr;
    ASSERT_TRUE(ok);
    ExpectRect(row.rcItem[kPortrait], 0, 0, 480, 240);
    ExpectRect(items[2].rcItem[kPortrait], 0, 120, 480, 180);
}

}  // namespace
