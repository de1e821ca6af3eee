#include "screen/window_layout.h"

#include "resource.h"

namespace qlp {

std::vector<ControlPlacement> layoutMainWindow(int clientWidth, int clientHeight) {
    const int w = clientWidth;
    const int h = clientHeight;
    const int c = w / 2; // the lower strip hangs from the centre of the window
    // Rows of the three timecode criteria (source, record, duration) in the search panel.
    const int criterionY[3] = {h - 119, h - 96, h - 74};

    std::vector<ControlPlacement> out;
    out.reserve(64);
    auto put = [&](int id, int x, int y, int width, int height) { out.push_back({id, x, y, width, height}); };

    put(IDC_TAB, 2, 0, w - 4, 22);
    put(IDC_LIST, 2, 22, w - 4, h - 228);
    put(IDC_MEMO, c - 506, h - 137, 482, 110);

    put(IDC_WRITE_MEMO, c - 360, h - 158, 100, 20);
    put(IDC_TOGGLE_COMMENT, c - 260, h - 158, 100, 20);
    put(IDC_SEARCH, c + 169, h - 178, 85, 28);
    put(IDC_CLEAR_SEARCH, c + 255, h - 178, 85, 28);
    for (int k = 0; k < 4; ++k)
        put(IDC_LAYOUT1 + k, c + 40 + 30 * k, h - 47, 30, 20);
    put(IDC_OFFSET, c - 168, h - 179, 64, 21);
    put(IDC_MARKER, c - 15, h - 118, 52, 22);
    put(IDC_SIMPLE_NOTES, c - 15, h - 77, 70, 21);
    put(IDC_REEL_INFO, c + 75, h - 77, 70, 21);

    put(IDC_CHECK_REEL, c + 169, h - 142, 60, 18);
    put(IDC_CHECK_SOURCE, c + 169, h - 118, 60, 18);
    put(IDC_CHECK_RECORD, c + 169, h - 95, 65, 18);
    put(IDC_CHECK_DURATION, c + 169, h - 74, 80, 18);
    put(IDC_CHECK_MARKER, c + 169, h - 51, 60, 18);

    for (int i = 0; i < 3; ++i) {
        put(IDC_SRC_LOWER_OP + 2 * i, c + 326, criterionY[i], 50, 18);
        put(IDC_SRC_UPPER_OP + 2 * i, c + 450, criterionY[i], 50, 18);
    }
    put(IDC_SEARCH_REEL, c + 256, h - 142, 66, 18);
    put(IDC_SEARCH_MARKER, c + 256, h - 51, 245, 80);
    put(IDC_VIEW, c + 40, h - 177, 119, 80);
    put(IDC_VIEW_REEL, c + 93, h - 155, 66, 80);

    put(IDC_LABEL_COUNT, c - 466, h - 174, 39, 14);
    put(IDC_LABEL_REELS, c - 268, h - 174, 40, 14);
    put(IDC_LABEL_EDITS, c - 376, h - 174, 55, 14);
    put(IDC_LABEL_VIEW, c - 13, h - 173, 50, 14);
    put(IDC_LABEL_COLUMNS, c - 13, h - 43, 50, 14);

    for (int k = 0; k < 8; ++k)
        put(IDC_MARKER_CELL1 + k, c + 42 + 30 * (k % 4), k < 4 ? h - 127 : h - 105, 28, 20);
    put(IDC_REEL_LINE, c - 500, h - 204, 1000, 23);
    put(IDC_EDIT_COUNT, c - 320, h - 178, 42, 20);
    put(IDC_OFFSET_CELL, c - 103, h - 178, 80, 20);
    put(IDC_COUNT_MODE, c - 428, h - 178, 40, 20);
    put(IDC_HIT_COUNTER, c + 346, h - 178, 160, 28);
    put(IDC_REEL_COUNT, c - 226, h - 178, 45, 20);
    for (int i = 0; i < 3; ++i) {
        put(IDC_SRC_LOWER + 2 * i, c + 256, criterionY[i], 66, 20);
        put(IDC_SRC_UPPER + 2 * i, c + 380, criterionY[i], 66, 20);
    }

    put(IDC_RULE_TOP, 2, h - 181, w - 4, 2);
    put(IDC_RULE_RIGHT, c + 163, h - 180, 2, 156);
    put(IDC_RULE_LEFT, c - 20, h - 180, 2, 156);
    return out;
}

} // namespace qlp
