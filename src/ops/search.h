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

// True when the event meets every criterion switched on in the settings (none on: false). A bit
// that names no criterion is one no event meets.
bool eventMatches(const SearchSettings& search, const EdlEvent& event);

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
