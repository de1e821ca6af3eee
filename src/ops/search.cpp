#include "ops/search.h"

#include "model/timecode.h"
#include "model/view_order.h"

#include <algorithm>

namespace qlp {

bool spanTest(int32_t in, int32_t out, int32_t lowerOp, int32_t a, int32_t b) {
    if (a == -1)
        return false;
    int32_t lo = in;
    int32_t hi = out;
    if (in > out) {
        if (in / kFramesPerHour == 23) {
            // The event runs past midnight: an hour later it is one continuous span, and the
            // bounds move with it.
            lo = hourShift(in);
            hi = hourShift(out);
            a = hourShift(a);
            if (b != -1)
                b = hourShift(b);
        } else {
            lo = out;
            hi = in;
        }
    }
    // OUT is the first frame after the event, so "at or above" A needs the span to reach past A;
    // "above" also takes a zero-length event sitting exactly on A.
    switch (lowerOp) {
    case kOpAtOrAbove:
        if (!(hi > a))
            return false;
        break;
    case kOpAbove:
        if (!(hi > a || (lo == a && hi == a)))
            return false;
        break;
    case kOpAtOrBelow:
    case kOpBelow:
        return lo < a;
    default:
        return false;
    }
    return b == -1 || lo < b;
}

bool durationTest(int32_t duration, int32_t lowerOp, int32_t upperOp, int32_t a, int32_t b) {
    if (a == -1)
        return false;
    switch (lowerOp) {
    case kOpAtOrAbove:
        if (!(duration >= a))
            return false;
        break;
    case kOpAbove:
        if (!(duration > a))
            return false;
        break;
    case kOpAtOrBelow:
        return duration <= a;
    case kOpBelow:
        return duration < a;
    default:
        return false;
    }
    if (b == -1)
        return true;
    switch (upperOp) {
    case kUpperAtOrBelow:
        return duration <= b;
    case kUpperBelow:
        return duration < b;
    default:
        return false;
    }
}

bool eventMatches(const SearchSettings& s, const EdlEvent& e) {
    const int32_t flags = s.searchFlags;
    if (flags == 0 || (flags & ~kAllSearchBits) != 0)
        return false;
    // Every criterion switched on must hold, so the first one that fails settles it.
    if ((flags & kSearchReel) && e.reelIndex != s.searchReel)
        return false;
    if ((flags & kSearchMarker) && e.marker != s.searchMarker)
        return false;
    if ((flags & kSearchDuration) &&
        !durationTest(e.duration, s.lowerOp[kCriterionDuration], s.upperOp[kCriterionDuration],
                      s.slotValue[kCriterionDuration], s.slotValue[kCriterionDuration + kSecondBoundOffset]))
        return false;
    if ((flags & kSearchSource) &&
        (e.srcDropFrame != s.slotDropFrame[kCriterionSource] ||
         !spanTest(e.srcIn, e.srcOut, s.lowerOp[kCriterionSource], s.slotValue[kCriterionSource],
                   s.slotValue[kCriterionSource + kSecondBoundOffset])))
        return false;
    if ((flags & kSearchRecord) &&
        !spanTest(e.recIn, e.recOut, s.lowerOp[kCriterionRecord], s.slotValue[kCriterionRecord],
                  s.slotValue[kCriterionRecord + kSecondBoundOffset]))
        return false;
    return true;
}

namespace {

// Events lie about a kilobyte apart: the search asks for the fields of an event a few events
// before it reaches them.
constexpr int32_t kPrefetchDistance = 12;

void prefetchSearchFields(const EdlEvent& event) {
#if defined(__GNUC__)
    // The fields read span the first hundred bytes of the record: up to three cache lines.
    const char* const first = reinterpret_cast<const char*>(&event.searchHit);
    __builtin_prefetch(first);
    __builtin_prefetch(first + 48);
    __builtin_prefetch(&event.marker);
#else
    (void)event;
#endif
}

void clearHits(EdlDocument& doc) {
    EdlEvent** hits = doc.view[kSearchResult];
    for (int32_t i = 0; hits && i < doc.viewCount[kSearchResult]; ++i)
        hits[i]->searchHit = 0;
    doc.viewCount[kSearchResult] = 0;
}

} // namespace

SearchOutcome runSearch(EdlDocument& doc) {
    SearchOutcome outcome;
    if (doc.search.searchFlags == 0 || !doc.events || !doc.view[kSearchResult])
        return outcome;
    // The criteria as a local copy: the writes below cannot alias it, so they are read once.
    const SearchSettings s = doc.search;

    // One pass over the events in EDL order (event i is row i of kAllEvents) that also clears the hits
    // of the previous search: every event's flag is set to what this search finds, and written
    // only when it changes, so a search repeated over the same hits dirties no event. An event is
    // dropped at the first criterion it fails.
    EdlEvent* const events = doc.events;
    EdlEvent** const hits = doc.view[kSearchResult];
    const int32_t n = doc.eventCount();
    int32_t count = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (i + kPrefetchDistance < n)
            prefetchSearchFields(events[i + kPrefetchDistance]);
        EdlEvent& e = events[i];
        const bool hit = eventMatches(s, e);
        if (e.searchHit != static_cast<int32_t>(hit))
            e.searchHit = hit;
        hits[count] = &e;
        count += hit;
    }
    doc.viewCount[kSearchResult] = count;

    outcome.ran = true;
    outcome.hits = count;
    if (doc.currentView != kSearchResult) {
        outcome.effect = SearchViewEffect::Redraw;
    } else if (count > 0) {
        reapplySort(doc);
        outcome.effect = SearchViewEffect::Reordered;
    } else {
        doc.currentRow[kSearchResult] = 0;
        doc.topRow[kSearchResult] = 0;
        doc.currentView = kAllEvents;
        outcome.effect = SearchViewEffect::FellBack;
    }
    return outcome;
}

SearchViewEffect clearSearch(EdlDocument& doc) {
    clearHits(doc);
    doc.currentRow[kSearchResult] = 0;
    doc.topRow[kSearchResult] = 0;
    if (doc.currentView != kSearchResult)
        return SearchViewEffect::Redraw;
    doc.currentView = kAllEvents;
    return SearchViewEffect::FellBack;
}

void setSearchFlag(SearchSettings& search, int32_t bit, bool on) {
    if (on)
        search.searchFlags |= bit;
    else
        search.searchFlags &= ~bit;
}

bool takesSecondBound(int32_t lowerOp) {
    return lowerOp == kOpAtOrAbove || lowerOp == kOpAbove;
}

bool secondBoundEnabled(const SearchSettings& search, int criterion) {
    if (criterion < 0 || criterion >= kSecondBoundOffset)
        return false;
    return takesSecondBound(search.lowerOp[criterion]) && search.slotValue[criterion] != -1;
}

bool searchButtonEnabled(const EdlDocument& doc) {
    return doc.search.searchFlags != 0;
}

bool clearSearchButtonEnabled(const EdlDocument& doc) {
    return doc.viewCount[kSearchResult] != 0;
}

void setSearchReelText(SearchSettings& search, std::u16string_view text) {
    constexpr size_t kKept = 7;
    std::fill(std::begin(search.searchReelText), std::end(search.searchReelText), u'\0');
    std::copy_n(text.begin(), std::min(text.size(), kKept), search.searchReelText);
}

} // namespace qlp
