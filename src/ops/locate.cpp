#include "ops/locate.h"

#include "ops/views.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace qlp {

std::u16string_view locateText(const EdlDocument& doc) {
    const auto end = std::find(std::begin(doc.locateText), std::end(doc.locateText), u'\0');
    return {doc.locateText, static_cast<size_t>(end - std::begin(doc.locateText))};
}

LocateEntryOutcome enterLocateNumber(EdlDocument& doc, std::u16string_view text) {
    LocateEntryOutcome outcome;
    // The edit holds four characters; n is their leading digits (0 when there are none).
    int32_t n = 0;
    for (char16_t c : text.substr(0, 4)) {
        if (c < u'0' || c > u'9')
            break;
        n = n * 10 + (c - u'0');
    }
    char buf[48];
    if (n < 1 || n > doc.lastEditNumber) {
        std::snprintf(buf, sizeof buf, "%d", doc.lastEditNumber);
        outcome.message =
            u"1-" + std::u16string(buf, buf + std::char_traits<char>::length(buf)) + u" までの数値を入力して下さい。";
        return outcome;
    }
    std::snprintf(buf, sizeof buf, "%04d", n);
    std::fill(std::begin(doc.locateText), std::end(doc.locateText), u'\0');
    std::copy_n(buf, 4, doc.locateText);
    outcome.accepted = true;
    return outcome;
}

int32_t findLocatedRow(const EdlDocument& doc) {
    const std::u16string_view wanted = locateText(doc);
    if (wanted.empty() || !doc.view[kAllEvents])
        return -1;
    for (int32_t row = 0; row < doc.viewCount[kAllEvents]; ++row)
        if (columnText(*doc.view[kAllEvents][row], kColEdit) == wanted)
            return row;
    return -1;
}

int32_t locateEdit(EdlDocument& doc) {
    doc.currentView = kAllEvents;
    const int32_t row = findLocatedRow(doc);
    if (row >= 0) {
        doc.currentRow[kAllEvents] = row;
        doc.topRow[kAllEvents] = row;
    }
    return row;
}

} // namespace qlp
