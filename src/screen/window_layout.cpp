#include "screen/window_layout.h"

#include "resource.h"

#include <iterator>

namespace qlp {

int scaleForDpi(int pixels, int dpi) {
    const long long product = static_cast<long long>(pixels) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi);
}

int unscaleForDpi(int pixels, int dpi) {
    if (dpi <= 0)
        return pixels;
    const long long product = static_cast<long long>(pixels) * kBaseDpi;
    const long long half = dpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / dpi : (product - half) / dpi);
}

// A picture is never stretched by an uneven factor, which would draw some of its pixels one screen
// pixel wide and others two: a drawn version repeated a whole number of times fills the size exactly
// where one does (fewest repeats first: the larger drawing has the finer detail), and otherwise the
// largest version that fits is shown at its own size.
PictureChoice choosePicture(int dpi) {
    if (dpi <= kBaseDpi)
        return {kBaseDpi, 1};
    for (auto drawn = std::rbegin(kDrawnDpis); drawn != std::rend(kDrawnDpis); ++drawn)
        if (dpi % *drawn == 0)
            return {*drawn, dpi / *drawn};
    PictureChoice best{kBaseDpi, 1};
    for (int drawn : kDrawnDpis)
        for (int repeat = 1; drawn * repeat <= dpi; ++repeat)
            if (drawn * repeat >= best.drawnDpi * best.repeat)
                best = {drawn, repeat};
    return best;
}

std::vector<ControlPlacement> layoutMainWindow(int clientWidth, int clientHeight, int dpi) {
    const int w = clientWidth;
    const int h = clientHeight;
    auto s = [dpi](int pixels) { return scaleForDpi(pixels, dpi); };
    const int c = w / 2; // the lower strip hangs from the centre of the window
    // Rows of the three timecode criteria (source, record, duration) in the search panel.
    const int criterionY[3] = {h - s(119), h - s(96), h - s(74)};

    std::vector<ControlPlacement> out;
    out.reserve(64);
    auto put = [&](int id, int x, int y, int width, int height) { out.push_back({id, x, y, width, height}); };

    put(IDC_TAB, s(2), 0, w - s(4), s(22));
    put(IDC_LIST, s(2), s(22), w - s(4), h - s(228));
    put(IDC_MEMO, c - s(506), h - s(137), s(482), s(110));

    put(IDC_WRITE_MEMO, c - s(360), h - s(158), s(100), s(20));
    put(IDC_TOGGLE_COMMENT, c - s(260), h - s(158), s(100), s(20));
    put(IDC_SEARCH, c + s(169), h - s(178), s(85), s(28));
    put(IDC_CLEAR_SEARCH, c + s(255), h - s(178), s(85), s(28));
    for (int k = 0; k < 4; ++k)
        put(IDC_LAYOUT1 + k, c + s(40 + 30 * k), h - s(47), s(30), s(20));
    put(IDC_OFFSET, c - s(168), h - s(179), s(64), s(21));
    put(IDC_MARKER, c - s(15), h - s(118), s(52), s(22));
    put(IDC_SIMPLE_NOTES, c - s(15), h - s(77), s(70), s(21));
    put(IDC_REEL_INFO, c + s(75), h - s(77), s(70), s(21));

    put(IDC_CHECK_REEL, c + s(169), h - s(142), s(60), s(18));
    put(IDC_CHECK_SOURCE, c + s(169), h - s(118), s(60), s(18));
    put(IDC_CHECK_RECORD, c + s(169), h - s(95), s(65), s(18));
    put(IDC_CHECK_DURATION, c + s(169), h - s(74), s(80), s(18));
    put(IDC_CHECK_MARKER, c + s(169), h - s(51), s(60), s(18));

    for (int i = 0; i < 3; ++i) {
        put(IDC_SRC_LOWER_OP + 2 * i, c + s(326), criterionY[i], s(50), s(18));
        put(IDC_SRC_UPPER_OP + 2 * i, c + s(450), criterionY[i], s(50), s(18));
    }
    put(IDC_SEARCH_REEL, c + s(256), h - s(142), s(66), s(18));
    put(IDC_SEARCH_MARKER, c + s(256), h - s(51), s(245), s(80));
    put(IDC_VIEW, c + s(40), h - s(177), s(119), s(80));
    put(IDC_VIEW_REEL, c + s(93), h - s(155), s(66), s(80));

    put(IDC_LABEL_COUNT, c - s(466), h - s(174), s(39), s(14));
    put(IDC_LABEL_REELS, c - s(268), h - s(174), s(40), s(14));
    put(IDC_LABEL_EDITS, c - s(376), h - s(174), s(55), s(14));
    put(IDC_LABEL_VIEW, c - s(13), h - s(173), s(50), s(14));
    put(IDC_LABEL_COLUMNS, c - s(13), h - s(43), s(50), s(14));

    for (int k = 0; k < 8; ++k)
        put(IDC_MARKER_CELL1 + k, c + s(42 + 30 * (k % 4)), k < 4 ? h - s(127) : h - s(105), s(28), s(20));
    put(IDC_REEL_LINE, c - s(500), h - s(204), s(1000), s(23));
    put(IDC_EDIT_COUNT, c - s(320), h - s(178), s(42), s(20));
    put(IDC_OFFSET_CELL, c - s(103), h - s(178), s(80), s(20));
    put(IDC_COUNT_MODE, c - s(428), h - s(178), s(40), s(20));
    put(IDC_HIT_COUNTER, c + s(346), h - s(178), s(160), s(28));
    put(IDC_REEL_COUNT, c - s(226), h - s(178), s(45), s(20));
    for (int i = 0; i < 3; ++i) {
        put(IDC_SRC_LOWER + 2 * i, c + s(256), criterionY[i], s(66), s(20));
        put(IDC_SRC_UPPER + 2 * i, c + s(380), criterionY[i], s(66), s(20));
    }

    put(IDC_RULE_TOP, s(2), h - s(181), w - s(4), s(2));
    put(IDC_RULE_RIGHT, c + s(163), h - s(180), s(2), s(156));
    put(IDC_RULE_LEFT, c - s(20), h - s(180), s(2), s(156));
    return out;
}

} // namespace qlp
