#include "ops/search.h"

#include "model/timecode.h"
#include "model/view_order.h"

#include <algorithm>

namespace qlp {

SpanRule spanRule(int32_t lowerOp, int32_t a, int32_t b) {
    constexpr int64_t kNone = INT64_MAX;
    SpanRule rule;
    rule.outAbove = kNone; // holds for no event until a known comparison says otherwise
    rule.inBelow = kNone;
    if (a == -1)
        return rule;
    // OUT is the first frame after the event, so "at or above" A needs the span to reach past A;
    // "above" also takes a zero-length event sitting exactly on A.
    switch (lowerOp) {
    case kOpAtOrAbove:
    case kOpAbove:
        rule.outAbove = a;
        rule.inBelow = b == -1 ? kNone : b;
        if (lowerOp == kOpAbove)
            rule.zeroAt = a;
        break;
    case kOpAtOrBelow:
    case kOpBelow:
        rule.outAbove = INT64_MIN;
        rule.inBelow = a;
        break;
    default:
        break;
    }
    return rule;
}

bool spanTest(int32_t in, int32_t out, int32_t lowerOp, int32_t a, int32_t b) {
    if (in > out) {
        if (in / kFramesPerHour == 23 && a != -1) {
            // The event runs past midnight: an hour later it is one continuous span, and the
            // bounds move with it.
            return spanRule(lowerOp, hourShift(a), b == -1 ? -1 : hourShift(b)).holds(hourShift(in), hourShift(out));
        }
        std::swap(in, out);
    }
    return spanRule(lowerOp, a, b).holds(in, out);
}

DurationRange durationRange(int32_t lowerOp, int32_t upperOp, int32_t a, int32_t b) {
    const DurationRange none;
    if (a == -1)
        return none;
    DurationRange range{INT64_MIN, INT64_MAX};
    switch (lowerOp) {
    case kOpAtOrAbove:
        range.lowest = a;
        break;
    case kOpAbove:
        range.lowest = int64_t{a} + 1;
        break;
    case kOpAtOrBelow: // a single bound: the second one is not asked
        range.highest = a;
        return range;
    case kOpBelow:
        range.highest = int64_t{a} - 1;
        return range;
    default:
        return none;
    }
    if (b == -1)
        return range;
    switch (upperOp) {
    case kUpperAtOrBelow:
        range.highest = b;
        return range;
    case kUpperBelow:
        range.highest = int64_t{b} - 1;
        return range;
    default:
        return none;
    }
}

bool durationTest(int32_t duration, int32_t lowerOp, int32_t upperOp, int32_t a, int32_t b) {
    return durationRange(lowerOp, upperOp, a, b).holds(duration);
}

SearchMatcher::SearchMatcher(const SearchSettings& search) {
    const int32_t flags = search.searchFlags;
    never_ = flags == 0 || (flags & ~kAllSearchBits) != 0;
    reelOff_ = !(flags & kSearchReel);
    markerOff_ = !(flags & kSearchMarker);
    durationOff_ = !(flags & kSearchDuration);
    sourceOff_ = !(flags & kSearchSource);
    recordOff_ = !(flags & kSearchRecord);
    reel_ = search.searchReel;
    marker_ = search.searchMarker;
    sourceDropFrame_ = search.slotDropFrame[kCriterionSource];
    duration_ =
        durationRange(search.lowerOp[kCriterionDuration], search.upperOp[kCriterionDuration],
                      search.slotValue[kCriterionDuration], search.slotValue[kCriterionDuration + kSecondBoundOffset]);
    const auto span = [&](int criterion) {
        Span made;
        made.lowerOp = search.lowerOp[criterion];
        made.a = search.slotValue[criterion];
        made.b = search.slotValue[criterion + kSecondBoundOffset];
        made.rule = spanRule(made.lowerOp, made.a, made.b);
        return made;
    };
    source_ = span(kCriterionSource);
    record_ = span(kCriterionRecord);
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
    // The criteria made ready once, held apart from the events: the writes below cannot alias them.
    const SearchMatcher matcher(doc.search);

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
        const bool hit = matcher.matches(e);
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
