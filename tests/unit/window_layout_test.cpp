#include "screen/window_layout.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace qlp;

namespace {

std::map<int, ControlPlacement> byId(int w, int h) {
    std::map<int, ControlPlacement> out;
    for (const auto& p : layoutMainWindow(w, h)) {
        EXPECT_TRUE(out.emplace(p.id, p).second) << "control " << p.id << " placed twice";
    }
    return out;
}

void expectAt(const ControlPlacement& p, int x, int y, int width, int height) {
    EXPECT_EQ(p.x, x) << "control " << p.id;
    EXPECT_EQ(p.y, y) << "control " << p.id;
    EXPECT_EQ(p.width, width) << "control " << p.id;
    EXPECT_EQ(p.height, height) << "control " << p.id;
}

} // namespace

TEST(WindowLayout, PlacesEveryChildExceptTheStatusBarOnce) {
    std::set<int> expected = {IDC_TAB, IDC_LIST, IDC_MEMO, IDC_SEARCH_REEL, IDC_SEARCH_MARKER, IDC_VIEW, IDC_VIEW_REEL};
    for (int id = IDC_WRITE_MEMO; id <= IDC_REEL_INFO; ++id)
        expected.insert(id);
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        expected.insert(id);
    for (int id = IDC_SRC_LOWER_OP; id <= IDC_DUR_UPPER_OP; ++id)
        expected.insert(id);
    for (int id = IDC_LABEL_COUNT; id <= IDC_LABEL_COLUMNS; ++id)
        expected.insert(id);
    for (int id = IDC_MARKER_CELL1; id <= IDC_DUR_UPPER; ++id)
        expected.insert(id);
    for (int id = IDC_RULE_TOP; id <= IDC_RULE_LEFT; ++id)
        expected.insert(id);

    std::set<int> placed;
    for (const auto& [id, p] : byId(1374, 741))
        placed.insert(id);
    EXPECT_EQ(placed, expected);
    EXPECT_EQ(placed.count(IDC_STATUS), 0u);
}

// The default window (1390 x 800) has a client area of about 1374 x 741; C = 687.
TEST(WindowLayout, DefaultClientSize) {
    const auto at = byId(1374, 741);
    expectAt(at.at(IDC_TAB), 2, 0, 1370, 22);
    expectAt(at.at(IDC_LIST), 2, 22, 1370, 513);
    expectAt(at.at(IDC_REEL_LINE), 187, 537, 1000, 23);
    expectAt(at.at(IDC_RULE_TOP), 2, 560, 1370, 2);
    expectAt(at.at(IDC_RULE_RIGHT), 850, 561, 2, 156);
    expectAt(at.at(IDC_RULE_LEFT), 667, 561, 2, 156);
    expectAt(at.at(IDC_MEMO), 181, 604, 482, 110);
    expectAt(at.at(IDC_COUNT_MODE), 259, 563, 40, 20);
    expectAt(at.at(IDC_OFFSET), 519, 562, 64, 21);
    expectAt(at.at(IDC_VIEW), 727, 564, 119, 80);
    expectAt(at.at(IDC_MARKER_CELL1 + 3), 819, 614, 28, 20);
    expectAt(at.at(IDC_MARKER_CELL1 + 4), 729, 636, 28, 20);
    expectAt(at.at(IDC_LAYOUT4), 817, 694, 30, 20);
    expectAt(at.at(IDC_HIT_COUNTER), 1033, 563, 160, 28);
    expectAt(at.at(IDC_SEARCH_MARKER), 943, 690, 245, 80);
    // The three criterion rows: comparison boxes and cells share their rows.
    expectAt(at.at(IDC_REC_LOWER), 943, 645, 66, 20);
    expectAt(at.at(IDC_REC_LOWER_OP), 1013, 645, 50, 18);
    expectAt(at.at(IDC_REC_UPPER), 1067, 645, 66, 20);
    expectAt(at.at(IDC_DUR_UPPER_OP), 1137, 667, 50, 18);
}

// The lower strip keeps its shape and hangs from the centre: growing the window moves every one of
// its controls by the change of the centre and of the height, and never resizes them.
TEST(WindowLayout, LowerStripFollowsTheCentreAndBottom) {
    const auto small = byId(1008, 346);
    const auto large = byId(1901, 1001);
    for (const auto& [id, a] : small) {
        const auto& b = large.at(id);
        if (id == IDC_TAB || id == IDC_LIST || id == IDC_RULE_TOP) {
            EXPECT_EQ(b.width - a.width, 1901 - 1008) << id;
            continue;
        }
        EXPECT_EQ(b.x - a.x, 1901 / 2 - 1008 / 2) << id;
        EXPECT_EQ(b.y - a.y, 1001 - 346) << id;
        EXPECT_EQ(b.width, a.width) << id;
        EXPECT_EQ(b.height, a.height) << id;
    }
    EXPECT_EQ(large.at(IDC_LIST).height, 1001 - 228);
}

// Narrower than 1012 pixels, the strip runs off both sides instead of moving or wrapping.
TEST(WindowLayout, NarrowWindowClipsTheLowerStrip) {
    const auto at = byId(1000, 400);
    EXPECT_LT(at.at(IDC_MEMO).x, 0);
    EXPECT_EQ(at.at(IDC_REEL_LINE).x, 0);
    const auto& hit = at.at(IDC_HIT_COUNTER);
    EXPECT_EQ(hit.x + hit.width, 500 + 506);
    EXPECT_GT(hit.x + hit.width, 1000);
}

// On a display of another scale every control is the 96-DPI control times the scale (within the
// pixel that rounding costs), for a client area that has grown by the same scale.
TEST(WindowLayout, FollowsTheDisplayScale) {
    for (int dpi : {120, 144, 168, 192, 288}) {
        const double f = dpi / 96.0;
        // Client sizes that every scale here multiplies into whole pixels, the centre included.
        for (auto [w, h] : {std::pair{1376, 744}, {1104, 504}}) {
            const auto base = byId(w, h);
            const std::vector<ControlPlacement> scaled =
                layoutMainWindow(static_cast<int>(w * f), static_cast<int>(h * f), dpi);
            ASSERT_EQ(scaled.size(), base.size());
            for (const ControlPlacement& p : scaled) {
                const ControlPlacement& b = base.at(p.id);
                EXPECT_NEAR(p.x, b.x * f, 1.0) << dpi << " control " << p.id;
                EXPECT_NEAR(p.y, b.y * f, 1.0) << dpi << " control " << p.id;
                EXPECT_NEAR(p.width, b.width * f, 1.0) << dpi << " control " << p.id;
                EXPECT_NEAR(p.height, b.height * f, 1.0) << dpi << " control " << p.id;
            }
        }
    }
}

// Lengths scale to the nearest pixel, and a stored 96-DPI length scaled up and back is unchanged.
TEST(WindowLayout, ScalesLengthsForTheDisplay) {
    struct Case {
        int pixels, dpi, scaled;
    };
    for (const Case& c : {Case{16, 96, 16},
                          {16, 144, 24},
                          {1, 144, 2},
                          {75, 144, 113},
                          {22, 120, 28},
                          {-4, 144, -6},
                          {1390, 192, 2780},
                          {0, 144, 0}}) {
        EXPECT_EQ(scaleForDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
    }
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int width = 0; width <= 4000; ++width)
            ASSERT_EQ(unscaleForDpi(scaleForDpi(width, dpi), dpi), width) << width << " at " << dpi;
}

// A picture shows a version drawn for the DPI, or one repeated a whole number of times, or else the
// largest that fits, never a stretch by an uneven factor.
TEST(WindowLayout, ChoosesTheDrawnPictureForTheDisplay) {
    struct Case {
        int dpi;
        PictureChoice chosen;
    };
    for (const Case& c : {Case{96, {96, 1}},
                          {120, {120, 1}},
                          {144, {144, 1}},
                          {192, {192, 1}},
                          {168, {144, 1}},
                          {216, {192, 1}},
                          {240, {120, 2}},
                          {288, {144, 2}},
                          {384, {192, 2}},
                          {480, {120, 4}},
                          {72, {96, 1}},
                          {0, {96, 1}}}) {
        EXPECT_EQ(choosePicture(c.dpi), c.chosen) << c.dpi;
    }
}
