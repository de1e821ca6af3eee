#pragma once
// The search: up to five criteria (reel, source timecode range, record timecode range, duration
// range, marker) kept in the document header, the events that meet all of them collected into
// kSearchResult and flagged as search hits, and clearing the result again.

#include "model/document.h"

#include <cstdint>
#include <string_view>

namespace qlp {

// The bits of searchFlags, one per criterion.
enum SearchBit : int32_t {
    kSearchReel = 1,
    kSearchSource = 2,
    kSearchRecord = 4,
    kSearchDuration = 8,
    kSearchMarker = 16,
};
inline constexpr int32_t kAllSearchBits = kSearchReel | kSearchSource | kSearchRecord | kSearchDuration | kSearchMarker;

// The three timecode criteria, in the order of lowerOp and upperOp. A criterion's first bound is
// slot `criterion`, its second bound slot `criterion + 3`.
enum SearchCriterion : int { kCriterionSource = 0, kCriterionRecord = 1, kCriterionDuration = 2 };
inline constexpr int kSearchSlotCount = 6;
inline constexpr int kSecondBoundOffset = 3;

// Comparison of a first bound: at or above, above, at or below, below.
enum LowerOp : int32_t { kOpAtOrAbove = 0, kOpAbove = 1, kOpAtOrBelow = 2, kOpBelow = 3 };
// Comparison of a second bound: at or below, below.
enum UpperOp : int32_t { kUpperAtOrBelow = 0, kUpperBelow = 1 };

// The status-bar text after every search, whatever it found.
inline constexpr std::u16string_view kSearchDoneStatus = u"状態: 検索完了";

// True when the span of an event with the given IN and OUT (label counts) meets the first bound
// `a` with comparison `lowerOp` and, for at or above and above, the second bound `b` (-1 = none).
// An event that runs past midnight (IN in hour 23 after OUT) is compared an hour later, bounds
// included. An unset first bound (-1) or an unknown comparison matches nothing.
bool spanTest(int32_t in, int32_t out, int32_t lowerOp, int32_t a, int32_t b);

// True when a duration (real count) meets the bounds of the duration criterion.
bool durationTest(int32_t duration, int32_t lowerOp, int32_t upperOp, int32_t a, int32_t b);

// A span criterion's bounds as two comparisons on an event that runs forward (IN at or before
// OUT): its OUT must lie above `outAbove` (or the event sit, zero frames long, on `zeroAt` when
// that is set) and its IN below `inBelow`.
struct SpanRule {
    int64_t outAbove = 0;
    int64_t inBelow = 0;
    int64_t zeroAt = INT64_MIN; // INT64_MIN: a zero-length event is held to the comparisons like any other
    bool holds(int32_t in, int32_t out) const {
        return (out > outAbove || (in == zeroAt && out == zeroAt)) && in < inBelow;
    }
};
SpanRule spanRule(int32_t lowerOp, int32_t a, int32_t b);

// The durations a duration criterion takes, as one closed range (empty when it takes none).
struct DurationRange {
    int64_t lowest = 1;
    int64_t highest = 0;
    bool holds(int32_t duration) const { return lowest <= duration && duration <= highest; }
};
DurationRange durationRange(int32_t lowerOp, int32_t upperOp, int32_t a, int32_t b);

// The search criteria made ready to test event after event: the comparisons are settled once, so
// testing an event is a handful of integer compares.
class SearchMatcher {
public:
    explicit SearchMatcher(const SearchSettings& search);
    // True when the event meets every criterion switched on in the settings (none on: false). A bit
    // that names no criterion is one no event meets.
    bool matches(const EdlEvent& event) const {
        if (never_)
            return false;
        // Every criterion is evaluated and combined without branches: most events meet most
        // criteria, and a branch per criterion costs more than the compares it would skip.
        bool hit = reelOff_ | (event.reelIndex == reel_);
        hit &= markerOff_ | (event.marker == marker_);
        hit &= durationOff_ | duration_.holds(event.duration);
        hit &= sourceOff_ | ((event.srcDropFrame == sourceDropFrame_) & spanHolds(source_, event.srcIn, event.srcOut));
        hit &= recordOff_ | spanHolds(record_, event.recIn, event.recOut);
        return hit;
    }

private:
    // A span criterion: its rule, and its bounds as set for the rare event that runs backwards.
    struct Span {
        SpanRule rule;
        int32_t lowerOp = 0;
        int32_t a = -1;
        int32_t b = -1;
    };
    static bool spanHolds(const Span& span, int32_t in, int32_t out) {
        if (in <= out) [[likely]]
            return span.rule.holds(in, out);
        return spanTest(in, out, span.lowerOp, span.a, span.b);
    }

    bool never_ = false;
    // A criterion switched off holds for every event.
    bool reelOff_ = true, markerOff_ = true, durationOff_ = true, sourceOff_ = true, recordOff_ = true;
    int32_t reel_ = 0;
    int32_t marker_ = 0;
    int32_t sourceDropFrame_ = 0;
    DurationRange duration_;
    Span source_;
    Span record_;
};

// What a search or clearing did to the shown view, for the window to present.
enum class SearchViewEffect {
    None,      // nothing ran
    Redraw,    // kAllEvents and kReelUsage keep their rows; the hits are drawn anew
    Reordered, // kSearchResult was rebuilt and ordered by its stored sort state
    FellBack,  // kSearchResult was shown and is now empty: the list shows kAllEvents
};

struct SearchOutcome {
    bool ran = false; // false when no criterion is on or no document is loaded
    int32_t hits = 0;
    SearchViewEffect effect = SearchViewEffect::None;
};

// Clears the previous hits and flags and collects into kSearchResult, in EDL order, every event that
// meets all criteria switched on. Shown, kSearchResult is ordered by its sort state; emptied, the list
// falls back to kAllEvents with kSearchResult's position reset.
SearchOutcome runSearch(EdlDocument& doc);

// Clears the hits of kSearchResult, empties it and resets its position; a shown kSearchResult gives
// way to kAllEvents (effect FellBack), otherwise the effect is Redraw.
SearchViewEffect clearSearch(EdlDocument& doc);

// Switches the criterion `bit` on or off.
void setSearchFlag(SearchSettings& search, int32_t bit, bool on);

// Whether the second-bound controls of a timecode criterion are enabled: its first comparison is
// at or above or above, and its first bound is set.
bool secondBoundEnabled(const SearchSettings& search, int criterion);

// Whether a first comparison takes a second bound: at or above, above.
bool takesSecondBound(int32_t lowerOp);

// Buttons Search and Clear search: a criterion is on; kSearchResult has rows.
bool searchButtonEnabled(const EdlDocument& doc);
bool clearSearchButtonEnabled(const EdlDocument& doc);

// Keeps the reel text of the last search (at most 7 characters) for the listings.
void setSearchReelText(SearchSettings& search, std::u16string_view text);

} // namespace qlp
