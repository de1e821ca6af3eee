#include "cli/show.h"

#include "cli/json_writer.h"
#include "cli/utf.h"
#include "model/cp932.h"
#include "model/records.h"
#include "model/timecode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace qlp::cli {

namespace {

constexpr std::array<std::u16string_view, kColumnCount> kColumnHeadings = {
    u"EDIT", u"REEL",     u"V",         u"A",        u"TYP",       u"PTRN",     u"TRANST",
    u"SPED", u"P-VTR IN", u"P-VTR OUT", u"R-VTR IN", u"R-VTR OUT", u"DURATION", u""};

// ---------------------------------------------------------------------------------------------
// Summary

// Control characters would break the alignment (or the terminal), so they are shown as U+FFFD.
std::u16string printable(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        if (c < 0x20 || c == 0x7F)
            c = 0xFFFD;
    return out;
}

// Rows of cells printed in columns two spaces apart; a column whose heading and cells are all
// empty is left out, and each line ends at its last visible character.
class Table {
public:
    explicit Table(std::vector<std::u16string> headings) : widths_(headings.size(), 0) { addRow(std::move(headings)); }
    void addRow(std::vector<std::u16string> cells) {
        for (size_t c = 0; c < cells.size(); ++c) {
            cells[c] = printable(cells[c]);
            widths_[c] = std::max(widths_[c], displayWidth(cells[c]));
        }
        rows_.push_back(std::move(cells));
    }
    // Right-aligns the column (numbers).
    void alignRight(size_t column) { rightAligned_.push_back(column); }

    void print(Output& out, std::u16string_view indent) const {
        for (const auto& row : rows_) {
            std::u16string line(indent);
            bool first = true;
            for (size_t c = 0; c < row.size(); ++c) {
                if (widths_[c] == 0)
                    continue;
                if (!first)
                    line.append(u"  ");
                first = false;
                const std::u16string pad(widths_[c] - displayWidth(row[c]), u' ');
                const bool right = std::find(rightAligned_.begin(), rightAligned_.end(), c) != rightAligned_.end();
                line.append(right ? pad + row[c] : row[c] + pad);
            }
            while (!line.empty() && line.back() == u' ')
                line.pop_back();
            out.write(line);
            out.write('\n');
        }
    }

private:
    std::vector<size_t> widths_;
    std::vector<std::vector<std::u16string>> rows_;
    std::vector<size_t> rightAligned_;
};

std::u16string number(int64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

void printFact(Output& out, std::string_view label, std::u16string_view value) {
    out.write(label);
    out.write(std::string(std::max<size_t>(1, 12 - label.size()), ' '));
    out.write(value);
    out.write('\n');
}

// ---------------------------------------------------------------------------------------------
// JSON

std::string hex(const uint8_t* bytes, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * size);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 15]);
    }
    return out;
}

template <size_t N> std::string hex(const std::array<uint8_t, N>& bytes) {
    return hex(bytes.data(), N);
}

std::string hex(int32_t value) {
    uint8_t bytes[4];
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(v >> (8 * i));
    return hex(bytes, 4);
}

void hexMember(JsonWriter& json, std::string_view name, const std::string& digits) {
    json.key(name);
    json.ascii(digits);
}

template <typename T, size_t N> void numbers(JsonWriter& json, std::string_view name, const T (&values)[N]) {
    json.key(name);
    json.beginArray(true);
    for (const T& v : values)
        json.number(static_cast<int64_t>(v));
    json.endArray();
}

template <typename T, size_t M, size_t N>
void numberRows(JsonWriter& json, std::string_view name, const T (&rows)[M][N]) {
    json.key(name);
    json.beginArray();
    for (const auto& row : rows) {
        json.beginArray(true);
        for (const T& v : row)
            json.number(static_cast<int64_t>(v));
        json.endArray();
    }
    json.endArray();
}

template <size_t M, size_t N> void texts(JsonWriter& json, std::string_view name, const char16_t (&rows)[M][N]) {
    json.key(name);
    json.beginArray();
    for (const auto& row : rows)
        json.string(textUpToNul(row));
    json.endArray();
}

void writeSearch(JsonWriter& json, const SearchSettings& s) {
    json.key("search");
    json.beginObject();
    json.member("searchFlags", s.searchFlags);
    numbers(json, "lowerOp", s.lowerOp);
    numbers(json, "upperOp", s.upperOp);
    json.member("searchReel", s.searchReel);
    json.member("searchMarker", s.searchMarker);
    json.member("editSlot", s.editSlot);
    numbers(json, "slotDropFrame", s.slotDropFrame);
    numbers(json, "slotValue", s.slotValue);
    json.member("searchReelText", textUpToNul(s.searchReelText));
    texts(json, "slotText", s.slotText);
    json.endObject();
}

// The header as the file stores it. The loader rebuilds the counts of kSearchResult and kReelUsage and corrects
// an out-of-range view or layout, so the loaded document would not show what the file holds.
void writeHeader(JsonWriter& json, const uint8_t* image) {
    EdlDocument h;
    readHeaderImage(image, h);

    json.key("header");
    json.beginObject();
    json.member("headerSize", h.headerSize);
    json.member("eventRecordSize", h.eventRecordSize);
    json.member("loaded", h.loaded);
    numbers(json, "viewCount", h.viewCount);
    json.member("reelCount", h.reelCount);
    json.member("lastEditNumber", h.lastEditNumber);
    json.member("eventsOffset", h.eventsOffset);
    json.member("sourceTextOffset", h.sourceTextOffset);
    json.member("reelNamesOffset", h.reelNamesOffset);
    json.member("reelCommentsOffset", h.reelCommentsOffset);
    json.member("reelCountsOffset", h.reelCountsOffset);
    json.member("notesOffset", h.notesOffset);
    numberRows(json, "columnOrder", h.columnOrder);
    numberRows(json, "columnWidth", h.columnWidth);
    json.member("currentLayout", h.currentLayout);
    numbers(json, "currentRow", h.currentRow);
    numbers(json, "topRow", h.topRow);
    json.member("noteCount", h.noteCount);
    json.member("rowHeight", h.rowHeight);
    json.member("locateText", textUpToNul(h.locateText));
    numbers(json, "recOffset", h.recOffset);
    json.member("dropFrame", h.dropFrame);
    json.member("currentView", h.currentView);
    numberRows(json, "sortState", h.sortState);
    json.member("edited", h.edited);
    hexMember(json, "reserved632", hex(h.reserved632));
    json.member("commentMode", h.commentMode);
    json.member("reelFilter", h.reelFilter);
    json.member("recOffsetSign", textUpToNul(&h.recOffsetSign, 1));
    hexMember(json, "reserved646", hex(h.reserved646));
    json.member("hasHour23", h.hasHour23);
    hexMember(json, "reserved676", hex(h.reserved676));
    writeSearch(json, h.search);
    texts(json, "listBoundText", h.listBoundText);
    hexMember(json, "otherSettings", hex(h.otherSettings));
    json.member("recOffsetDirection", h.recOffsetDirection);
    json.member("offsetDisplayText", textUpToNul(h.offsetDisplayText));
    json.member("offsetEntryText", textUpToNul(h.offsetEntryText));
    hexMember(json, "reserved1644", hex(h.reserved1644));
    numbers(json, "listOptions", h.listOptions);
    hexMember(json, "reserved1744", hex(h.reserved1744));
    numbers(json, "customColours", h.customColours);
    numbers(json, "markerColours", h.markerColours);
    json.member("noMarkerColour", h.noMarkerColour);
    json.member("currentMarker", h.currentMarker);
    texts(json, "markerNames", h.markerNames);
    json.endObject();
}

void writeEvent(JsonWriter& json, const EdlEvent& e) {
    json.beginObject();
    json.member("searchHit", e.searchHit);
    json.member("hasWorkMemo", e.hasWorkMemo);
    json.member("hasOptionComment", e.hasOptionComment);
    json.member("editGroup", e.editGroup);
    json.member("srcIn", e.srcIn);
    json.member("srcOut", e.srcOut);
    json.member("recIn", e.recIn);
    json.member("recOut", e.recOut);
    json.member("recInCopy", e.recInCopy);
    json.member("recOutCopy", e.recOutCopy);
    json.member("duration", e.duration);
    json.member("srcSortKey", e.srcSortKey);
    json.member("recSortKey", e.recSortKey);
    hexMember(json, "reserved52", hex(e.reserved52));
    json.member("fileOffset", e.fileOffset);
    json.member("recordSize", e.recordSize);
    json.member("lineNumber", e.lineNumber);
    json.member("sequence", e.sequence);
    hexMember(json, "reserved76", hex(e.reserved76));
    json.member("workMemoLength", e.workMemoLength);
    json.member("optionCommentLength", e.optionCommentLength);
    json.member("srcDropFrame", e.srcDropFrame);
    json.member("reelIndex", e.reelIndex);
    json.member("marker", e.marker);
    texts(json, "text", e.text);
    json.key("optionComment");
    if (e.optionComment)
        json.string(std::u16string_view(e.optionComment, static_cast<size_t>(e.optionCommentLength)));
    else
        json.null();
    // The stored memo ends with its terminator, which is not part of the text.
    json.key("workMemo");
    if (e.workMemo)
        json.string(std::u16string_view(e.workMemo, static_cast<size_t>(e.workMemoLength - 1)));
    else
        json.null();
    json.endObject();
}

void writeNote(JsonWriter& json, const SimpleNote& note) {
    json.beginObject();
    json.member("index", note.index);
    json.member("current", note.current);
    json.member("bodySize", note.bodySize);
    json.member("title", textUpToNul(note.title));
    hexMember(json, "unused", hex(note.unused));
    json.key("body");
    if (note.body)
        json.string(textUpToNul(note.body, static_cast<size_t>(note.bodySize / 2)));
    else
        json.null();
    json.endObject();
}

} // namespace

void printEvents(const EdlEvent* const* rows, int32_t count, Output& out) {
    std::vector<std::u16string> headings(kColumnHeadings.begin(), kColumnHeadings.end());
    headings.push_back(u"MARKER");
    headings.push_back(u"FLAGS");
    Table events(std::move(headings));
    for (int32_t i = 0; rows && i < count; ++i) {
        const EdlEvent& e = *rows[i];
        std::vector<std::u16string> cells;
        for (const auto& text : e.text)
            cells.emplace_back(textUpToNul(text));
        cells.emplace_back(e.marker >= 0 && e.marker < kNoMarker ? number(e.marker + 1) : u"-");
        std::u16string flags;
        if (e.hasOptionComment)
            flags.push_back(u'C');
        if (e.hasWorkMemo)
            flags.push_back(u'M');
        cells.push_back(flags);
        events.addRow(std::move(cells));
    }
    events.print(out, u"  ");
}

void printSummary(const InspectedFile& file, Output& out) {
    const EdlDocument& doc = file.doc;
    const std::u16string_view kind = file.kind == SourceKind::Project ? u"project file"
                                     : file.cmx3600                   ? u"CMX 3600 EDL, read as a BVE-9100 EDL"
                                                                      : u"BVE-9100 EDL";
    printFact(out, "kind:", kind);
    printFact(out, "events:", number(doc.viewCount[kAllEvents]));
    printFact(out, "reels:", number(doc.reelCount));
    printFact(out, "timecode:", doc.dropFrame ? kDropFrameLabel : kNonDropFrameLabel);
    printFact(out, "last edit:", number(doc.lastEditNumber));
    printFact(out, "hour 23:", doc.hasHour23 ? u"yes" : u"no");
    printFact(out, "notes:", number(doc.noteCount));

    out.write("\nreels\n");
    Table reels({u"REEL", u"USES", u"COMMENT"});
    reels.alignRight(1);
    for (int32_t r = 0; r < doc.reelCount; ++r)
        reels.addRow({std::u16string(textUpToNul(doc.reelNames[r])), number(doc.reelUseCounts[r]),
                      std::u16string(textUpToNul(doc.reelComments[r]))});
    reels.print(out, u"  ");

    out.write("\nevents\n");
    printEvents(doc.view[kAllEvents], doc.viewCount[kAllEvents], out);
}

void printJson(const InspectedFile& file, Output& out) {
    const EdlDocument& doc = file.doc;
    JsonWriter json(out);
    json.beginObject();
    json.key("kind");
    json.ascii(file.kind == SourceKind::Edl ? "edl" : "project");
    // A CMX 3600 list is shown as the BVE-9100 EDL it was translated into.
    json.key("cmx3600");
    json.boolean(file.cmx3600);
    writeHeader(json, file.image.data() + kMagicSize);

    // The EDL text as it was read at conversion, decoded from code page 932.
    json.member("sourceTextSize", doc.sourceTextSize);
    json.member("sourceText", cp932::decode(std::string_view(reinterpret_cast<const char*>(doc.sourceText),
                                                             static_cast<size_t>(doc.sourceTextSize))));

    json.key("reels");
    json.beginArray();
    for (int32_t r = 0; r < doc.reelCount; ++r) {
        json.beginObject();
        json.member("name", textUpToNul(doc.reelNames[r]));
        json.member("useCount", doc.reelUseCounts[r]);
        json.member("comment", textUpToNul(doc.reelComments[r]));
        json.endObject();
    }
    json.endArray();

    json.key("events");
    json.beginArray();
    for (int32_t i = 0; i < doc.viewCount[kAllEvents]; ++i)
        writeEvent(json, doc.events[i]);
    json.endArray();

    json.key("notes");
    json.beginArray();
    for (const SimpleNote* note = doc.noteHead->next; note; note = note->next)
        writeNote(json, *note);
    json.endArray();

    json.endObject();
    json.finish();
}

} // namespace qlp::cli
