#pragma once
// The records everything else manipulates: the open files (TabEntry), the current document
// (EdlDocument) with its events (EdlEvent), reel table and simple notes.
//
// The document header, the event record and the note record have fixed binary images in the
// project file (2220, 1004 and 88 bytes). The structs below hold real pointers for this process;
// project_file.cpp serializes them field by field at their offsets, writing pointer slots as 0.

#include "model/arena.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qlp {

inline constexpr int32_t kHeaderSize = 2220;
inline constexpr int32_t kEventRecordSize = 1004;
inline constexpr int32_t kNoteRecordSize = 88;
inline constexpr int kColumnCount = 14;
inline constexpr int kColumnTextLength = 32; // wide characters, terminator included
inline constexpr int kReelNameLength = 7;
inline constexpr int kReelCommentLength = 49;
inline constexpr int kNoteTitleLength = 31;

// The document's views, as indices of view, viewCount, currentRow and topRow and as the values of
// currentView (the project file keeps them as plain 32-bit numbers). The list shows the first
// three; a reel listing fills the fourth one reel at a time.
enum ViewIndex : int32_t {
    kAllEvents = 0,    // every event, in EDL order
    kSearchResult = 1, // the events the search found
    kReelUsage = 2,    // the events of reel reelFilter
    kListingReel = 3,  // the events of the reel a listing is writing
};
inline constexpr int kViewCount = 4;

// The row of sortState holding the sort of a view; kAllEvents keeps EDL order and has none.
constexpr int sortStateRow(int view) {
    return view - 1;
}

inline constexpr int kLayoutCount = 4;
inline constexpr int32_t kNoMarker = 8;

// Column texts of an event, in order.
enum Column : int {
    kColEdit = 0,
    kColReel,
    kColV,
    kColA,
    kColType,
    kColPattern,
    kColTransition,
    kColSpeed,
    kColSrcIn,
    kColSrcOut,
    kColRecIn,
    kColRecOut,
    kColDuration,
    kColSpare,
};

struct EdlEvent {
    int32_t searchHit = 0;
    int32_t hasWorkMemo = 0;
    int32_t hasOptionComment = 0;
    int32_t editGroup = 0;
    int32_t srcIn = 0;      // label count
    int32_t srcOut = 0;     // label count
    int32_t recIn = 0;      // label count, after any offset
    int32_t recOut = 0;     // label count, after any offset
    int32_t recInCopy = 0;  // as read from the EDL
    int32_t recOutCopy = 0; // as read from the EDL
    int32_t duration = 0;   // real count
    int32_t srcSortKey = 0;
    int32_t recSortKey = 0;
    std::array<uint8_t, 8> reserved52{};
    int32_t fileOffset = 0;
    int32_t recordSize = 0;
    int32_t lineNumber = 0;
    int32_t sequence = 0;
    int32_t reserved76 = 0;
    int32_t workMemoLength = 0;      // wide characters, terminating NUL included; 0 = none
    int32_t optionCommentLength = 0; // wide characters, no terminator; 0 = none
    int32_t srcDropFrame = 0;
    int32_t reelIndex = 0;
    int32_t marker = kNoMarker;
    // In memory only (the padding before the pointers): the wide characters the workMemo block
    // holds, when it was allocated for a memo; 0 = as many as workMemoLength.
    int32_t workMemoCapacity = 0;
    char16_t* optionComment = nullptr;
    char16_t* workMemo = nullptr;
    char16_t text[kColumnCount][kColumnTextLength] = {};
};

struct SimpleNote {
    int32_t index = 0;
    int32_t current = 0;
    int32_t bodySize = 0; // bytes of the body buffer: characters * 2 + 2, or 0 without body
    char16_t title[kNoteTitleLength] = {};
    std::array<uint8_t, 2> unused{};
    char16_t* body = nullptr; // in the document's arena
    int32_t bodyCapacity = 0; // in memory only: the characters the body block holds, terminator included
    SimpleNote* prev = nullptr;
    SimpleNote* next = nullptr;
};

// The search criteria kept in the document header.
struct SearchSettings {
    int32_t searchFlags = 0;
    int32_t lowerOp[3] = {};
    int32_t upperOp[3] = {};
    int32_t searchReel = 0;
    int32_t searchMarker = kNoMarker;
    int32_t editSlot = 0;
    int32_t slotDropFrame[6] = {};
    int32_t slotValue[6] = {-1, -1, -1, -1, -1, -1};
    char16_t searchReelText[32] = {};
    char16_t slotText[6][24] = {};
};

// Indexes into EdlDocument::listOptions.
enum ListOption : int {
    kListOptionComment = 0, // nine comment boxes: 0..8
    kListCsv = 9,
    kListKind = 10, // three radio states: 10..12
    kListAllReels = 13,
    kListOneReel = 14,
    kListReel = 15,
    kListSort = 16,
    kListOptionCount = 18,
};

struct TabEntry;

// The current document. The fields up to markerNames form the 2220-byte header of the project file;
// the rest lives only in memory.
struct EdlDocument {
    int32_t headerSize = kHeaderSize;
    int32_t eventRecordSize = kEventRecordSize;
    int32_t loaded = 0;
    int32_t viewCount[kViewCount] = {};
    int32_t reelCount = 0;
    int32_t lastEditNumber = 0;
    int32_t eventsOffset = 0;
    int32_t sourceTextOffset = 0;
    int32_t reelNamesOffset = 0;
    int32_t reelCommentsOffset = 0;
    int32_t reelCountsOffset = 0;
    int32_t notesOffset = 0;
    int32_t columnOrder[kLayoutCount][kColumnCount] = {};
    int32_t columnWidth[kLayoutCount][kColumnCount] = {};
    int32_t currentLayout = 0;
    int32_t currentRow[kViewCount] = {};
    int32_t topRow[kViewCount] = {};
    int32_t noteCount = 0;
    int32_t rowHeight = 0;
    char16_t locateText[6] = {};
    int32_t recOffset[4] = {};
    int32_t dropFrame = 0;
    int32_t currentView = kAllEvents;
    int32_t sortState[kViewCount - 1][3] = {}; // per view from kSearchResult on, by sortStateRow
    int32_t edited = 0;
    int32_t reserved632 = 0;
    int32_t commentMode = 0;
    int32_t reelFilter = 0;
    char16_t recOffsetSign = 0;
    std::array<uint8_t, 6> reserved646{};
    int32_t hasHour23 = 0;
    std::array<uint8_t, 4> reserved676{};
    SearchSettings search;
    char16_t listBoundText[6][18] = {};
    std::array<uint8_t, 216> otherSettings{};
    int32_t recOffsetDirection = 0;
    char16_t offsetDisplayText[16] = {};
    char16_t offsetEntryText[28] = {};
    std::array<uint8_t, 4> reserved1644{};
    int32_t listOptions[kListOptionCount] = {};
    std::array<uint8_t, 4> reserved1744{};
    uint32_t customColours[16] = {};
    uint32_t markerColours[8] = {};
    uint32_t noMarkerColour = 0;
    int32_t currentMarker = 0;
    char16_t markerNames[8][23] = {};

    // In memory only. Everything below `heap` points into it; the note records themselves are
    // owned one by one through the list behind noteHead.
    std::unique_ptr<Arena> heap;
    EdlEvent* events = nullptr;       // viewCount[kAllEvents] + 1 records, the last zero-filled
    EdlEvent** view[kViewCount] = {}; // per view, event pointers in display order
    int32_t* reelUseCounts = nullptr; // [reelCount]
    char16_t (*reelNames)[kReelNameLength] = nullptr;
    char16_t (*reelComments)[kReelCommentLength] = nullptr;
    const uint8_t* sourceText = nullptr; // the EDL's bytes as read at conversion
    int32_t sourceTextSize = 0;
    SimpleNote noteHeadRecord; // the dummy head of the note list
    SimpleNote* noteHead = &noteHeadRecord;
    SimpleNote* noteCursor = &noteHeadRecord;
    TabEntry* exportTab = nullptr;

    EdlDocument() = default;
    EdlDocument(const EdlDocument&) = delete;
    EdlDocument& operator=(const EdlDocument&) = delete;
    ~EdlDocument();

    int32_t eventCount() const { return viewCount[kAllEvents]; }
};

// A fixed-size text of a record up to its first NUL, or all `capacity` characters when it holds
// none (a record read from a file need not).
inline std::u16string_view textUpToNul(const char16_t* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length])
        ++length;
    return {text, length};
}
template <size_t N> std::u16string_view textUpToNul(const char16_t (&text)[N]) {
    return textUpToNul(text, N);
}

// Fills a header as a freshly converted document has it: every field at its new-document value.
void initNewDocumentHeader(EdlDocument& doc, int32_t dropFrame);

// Writes the record-timecode offset into offsetDisplayText as the information panel shows it:
// recOffsetSign, hours, minutes, seconds, "." (non-drop) or "," (drop frame), frames. Called where
// the offset or the count mode changes, so that a listing finds the text without a window.
void updateOffsetDisplayText(EdlDocument& doc);

// Frees every comment, memo, note and array of the document and leaves an empty note list.
void releaseDocument(EdlDocument& doc);

// Moves the whole state of `from` into `to` (to is released first); the note list stays valid.
void moveDocument(EdlDocument& to, EdlDocument& from);

// Copies the 2220-byte header fields (not the in-memory part) from one document to another.
void copyHeader(EdlDocument& to, const EdlDocument& from);

// One open file.
struct TabEntry {
    int32_t dropped = 0;
    int32_t active = 0;
    int32_t reloadPending = 0;
    int32_t saveState = 0; // 0 saved project, 1 from an EDL, 2 modified; also the tab icon
    int32_t tabIndex = 0;
    int32_t fileId = 0;
    int32_t workFileReady = 0;
    int32_t edlChanged = 0;      // a tab from an EDL that an editing command changed since it was opened
    uint64_t workFileDigest = 0; // what the work file holds besides its header; 0 when not known
    std::u16string path;
    std::u16string workPath;
    TabEntry* prev = nullptr;
    TabEntry* next = nullptr;
};

enum SaveState : int32_t { kSaved = 0, kFromEdl = 1, kModified = 2 };

// The list of open files behind a permanent dummy entry, the counter that names work files, and
// the directory that holds them.
class TabList {
public:
    explicit TabList(std::u16string workDirectory = {});
    ~TabList();
    TabList(const TabList&) = delete;
    TabList& operator=(const TabList&) = delete;

    TabEntry* head() { return &head_; }
    TabEntry* first() const { return head_.next; }
    TabEntry* last();
    // Appends a new entry; nullptr when memory is exhausted.
    TabEntry* append();
    int count() const;

    const std::u16string& workDirectory() const { return workDirectory_; }
    void setWorkDirectory(std::u16string dir) { workDirectory_ = std::move(dir); }
    // The work directory followed by the separator and "FILE_ID_%04x" of id.
    std::u16string workPathFor(int32_t id) const;

    int32_t nextFileId = 0;

private:
    TabEntry head_;
    std::u16string workDirectory_;
};

// Deletes the work file of every dropped entry and frees it, renumbers tabIndex along the list and
// returns the number of entries left.
int purgeDroppedEntries(TabList& list);

// The first entry whose `active` is set, or nullptr.
TabEntry* findActiveEntry(TabList& list);

} // namespace qlp
