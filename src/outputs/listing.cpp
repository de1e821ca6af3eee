#include "outputs/listing.h"

#include "model/chunked_writer.h"
#include "model/cp932.h"
#include "model/messages.h"
#include "model/timecode.h"
#include "model/view_order.h"
#include "ops/info_texts.h"
#include "ops/views.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

namespace qlp {

namespace {

constexpr size_t kHeaderByteLimit = 512;
constexpr int kOptionWidth = 80;
constexpr int kMemoWidth = 96;
constexpr int kContinuationStart = 8;
constexpr int kPlainWidths[7] = {6, 1, 8, 2, 4, 6, 4}; // REEL, V, A, TYP, PTRN, TRANST, SPED
constexpr int32_t kReelCriterion = 1;
constexpr int32_t kSourceCriterion = 2;
constexpr int32_t kRecordCriterion = 4;
constexpr int32_t kDurationCriterion = 8;

constexpr std::u16string_view kComparisonWords[4] = {u"以上", u"超過", u"以下", u"未満"};
constexpr std::u16string_view kNoBound = u"**:**:**:**";
constexpr std::u16string_view kNoReel = u"******";
constexpr std::string_view kCsvColumns =
    "EDIT,REEL,V,A,TYP,PTRN,TRANST,SPED,P-VTR IN,P-VTR OUT,R-VTR IN,R-VTR OUT,DURATION\r\n";
constexpr std::string_view kPlainColumns =
    "EDIT  REEL    V A         TYP  PTRN TRANST  SPED  P-VTR IN     P-VTR OUT    "
    "R-VTR IN     R-VTR OUT    DURATION\r\n";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCrLfTwice = "\r\n\r\n";
constexpr std::string_view kOptionIndent = "        ";
constexpr std::string_view kOptionBreak = "\r\n        ";
constexpr std::string_view kMemoIndent = "      >> ";
constexpr std::string_view kMemoBreak = "\r\n      >> ";

// listBoundText entries: record, source and duration, each first and second bound.
enum BoundText : int { kRecFirst = 0, kRecSecond, kSrcFirst, kSrcSecond, kDurFirst, kDurSecond };

std::u16string number(int64_t value, bool twoDigits = false) {
    char buf[32];
    std::snprintf(buf, sizeof buf, twoDigits ? "%02lld" : "%lld", static_cast<long long>(value));
    std::u16string out;
    for (const char* c = buf; *c; ++c)
        out.push_back(static_cast<unsigned char>(*c));
    return out;
}

// A fixed-size text of a record, up to its terminator or its end.
template <size_t N> std::u16string_view fixedText(const char16_t (&text)[N]) {
    size_t n = 0;
    while (n < N && text[n])
        ++n;
    return {text, n};
}

// A text of `length` characters at most, up to a NUL.
std::u16string_view boundedText(const char16_t* text, int32_t length) {
    if (!text || length <= 0)
        return {};
    size_t n = 0;
    while (n < static_cast<size_t>(length) && text[n])
        ++n;
    return {text, n};
}

// A comment without its trailing line breaks and white space; empty when it holds nothing else.
std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && text.back() <= u' ')
        text.remove_suffix(1);
    return text;
}

// Text converted to code page 932, cut after at most `limit` bytes at a character boundary.
std::string limitedBytes(std::u16string_view text, size_t limit) {
    std::string bytes = cp932::encode(text);
    bytes.resize(cp932::wholeCharactersWithin(bytes, limit));
    return bytes;
}

// Passes the listing's bytes on without reserving storage first: its size is known only at the end.
class UnsizedSink : public ByteSink {
public:
    explicit UnsizedSink(ByteSink& to) : to_(to) {}
    bool write(const void* data, size_t size) override { return to_.write(data, size); }

private:
    ByteSink& to_;
};

struct Choices {
    bool csv = false;
    bool option = false;
    bool work = false;
    bool marker = false;
};

Choices choicesOf(const EdlDocument& doc) {
    const int32_t* o = doc.listOptions;
    Choices c;
    c.csv = o[kListCsv] != 0;
    for (int group = 0; group < 3; ++group) {
        c.option = c.option || o[kListOptionComment + 3 * group] != 0;
        c.work = c.work || o[kListOptionComment + 3 * group + 1] != 0;
        c.marker = c.marker || o[kListOptionComment + 3 * group + 2] != 0;
    }
    return c;
}

bool hasMarker(const EdlEvent& e) {
    return e.marker >= 0 && e.marker < kNoMarker;
}

class ListingWriter {
public:
    ListingWriter(EdlDocument& doc, ByteSink& sink, int64_t sizeHint)
        : doc_(doc), unsized_(sink), out_(unsized_, sizeHint), choices_(choicesOf(doc)) {}

    bool finish() { return out_.finish(); }

    // Bytes as they are.
    void bytes(std::string_view b) { out_.write(b.data(), b.size()); }

    // Text in code page 932.
    void text(std::u16string_view t) {
        while (!t.empty()) {
            const size_t n = std::min(t.size(), ChunkedWriter::kLargestRoom / 2);
            char* at = reinterpret_cast<char*>(out_.room(2 * n));
            out_.commit(static_cast<size_t>(cp932::encodeTo(t.substr(0, n), at) - at));
            t.remove_prefix(n);
        }
    }

    void reportHeader(std::u16string_view path, const ListingTime& t, int kind) {
        std::u16string h(kAppCaption);
        h += u"\r\nリスト作成日時: ";
        h += number(t.year) + u"/" + number(t.month, true) + u"/" + number(t.day, true) + u"  ";
        h += number(t.hour, true) + u":" + number(t.minute, true) + u":" + number(t.second, true);
        h += u"\r\nファイル: ";
        h += path;
        h += u"\r\n\r\n内容: ";
        h += kListKindNames[kind];
        h += u"\r\n\r\nREC-TC オフセット= [ ";
        h += offsetText(doc_);
        h += u" ]\r\n\r\n";
        bytes(limitedBytes(h, kHeaderByteLimit));
    }

    void searchHeader() {
        const SearchSettings& s = doc_.search;
        std::u16string h = u"ヒット数: " + number(doc_.viewCount[kSearchResult]) + u"件( " +
                           number(doc_.viewCount[kAllEvents]) + u" 件中)\r\n\r\n検索条件\r\n\t   リール名: [ ";
        h += (s.searchFlags & kReelCriterion) ? fixedText(s.searchReelText) : kNoReel;
        h += u" ]\r\n\t  素材-ＴＣ: ";
        criterion(h, kSourceCriterion, 0, kSrcFirst, kSrcSecond, 3);
        h += u"\r\n\tＲＥＣ-ＴＣ: ";
        criterion(h, kRecordCriterion, 1, kRecFirst, kRecSecond, 4);
        h += u"\r\n\t       長さ: ";
        criterion(h, kDurationCriterion, 2, kDurFirst, kDurSecond, 5);
        h += u"\r\n\t   マーカー: [";
        if (s.searchMarker >= 0 && s.searchMarker < kNoMarker)
            h += number(s.searchMarker + 1) + u" " + std::u16string(fixedText(doc_.markerNames[s.searchMarker]));
        else
            h += u"-1 ";
        h += u"]\r\n";
        bytes(limitedBytes(h, kHeaderByteLimit));
    }

    void columnHeader() {
        if (choices_.csv) {
            bytes(kCsvColumns);
        } else {
            bytes(kPlainColumns);
            dashes();
        }
    }

    void dashes() {
        static constexpr std::string_view kDashes = "------------------------------------------------------------"
                                                    "-------------------------------------------------------\r\n";
        bytes(kDashes);
    }

    // One pass over rows: each event's comment blocks (plain text) and its row.
    void pass(EdlEvent* const* rows, int32_t count) {
        bool wroteOption = false;
        int32_t lastGroup = 0;
        for (int32_t i = 0; rows && i < count; ++i) {
            const EdlEvent& e = *rows[i];
            if (!choices_.csv) {
                const std::u16string_view option = choices_.option
                                                       ? trimmed(boundedText(e.optionComment, e.optionCommentLength))
                                                       : std::u16string_view();
                const std::u16string_view memo =
                    choices_.work ? trimmed(boundedText(e.workMemo, e.workMemoLength)) : std::u16string_view();
                const bool markerLine = choices_.marker && hasMarker(e);
                if (!option.empty() && (!wroteOption || e.editGroup != lastGroup)) {
                    commentBlock(option, kOptionIndent, kOptionBreak, kOptionWidth, memo.empty() ? kCrLf : kCrLfTwice);
                    wroteOption = true;
                    lastGroup = e.editGroup;
                }
                if (!memo.empty())
                    commentBlock(memo, kMemoIndent, kMemoBreak, kMemoWidth, markerLine ? kCrLfTwice : kCrLf);
                if (markerLine) {
                    char digits[16];
                    const auto end = std::to_chars(digits, digits + sizeof digits, e.marker).ptr;
                    bytes(std::string_view("        ("));
                    bytes({digits, static_cast<size_t>(end - digits)});
                    bytes(std::string_view(") -- "));
                    text(fixedText(doc_.markerNames[e.marker]));
                    bytes(kCrLf);
                }
            }
            row(e);
        }
    }

private:
    void criterion(std::u16string& h, int32_t bit, int op, int first, int second, int secondSlot) {
        const SearchSettings& s = doc_.search;
        const int32_t lower = s.lowerOp[op];
        const int32_t upper = s.upperOp[op];
        h += u"[ ";
        h += (s.searchFlags & bit) ? fixedText(doc_.listBoundText[first]) : kNoBound;
        h += u" ]";
        h += lower >= 0 && lower < 4 ? kComparisonWords[lower] : std::u16string_view();
        h += u"[ ";
        h += s.slotValue[secondSlot] != -1 ? fixedText(doc_.listBoundText[second]) : kNoBound;
        h += u" ]";
        h += upper >= 0 && upper < 2 ? kComparisonWords[2 + upper] : std::u16string_view();
    }

    // The comment block of an option comment or work memo: the indent, the text wrapped at `width`
    // characters on the first line and `width` - 8 on the following ones, every line break of the
    // text (and the run of breaks and blank lines it starts) replaced by one break, then the ending.
    // The text ends in neither white space nor a line break, so no line ends in either.
    void commentBlock(std::u16string_view t, std::string_view indent, std::string_view lineBreak, int width,
                      std::string_view ending) {
        const auto isBreak = [](char16_t c) { return c == u'\n' || c == u'\r'; };
        bytes(indent);
        int count = 0;
        size_t i = 0;
        while (i < t.size()) {
            if (count >= width || isBreak(t[i])) {
                bytes(lineBreak);
                while (i < t.size() && isBreak(t[i]))
                    ++i;
                count = kContinuationStart;
                if (i == t.size())
                    break;
            }
            // The run of characters up to the next wrap or line break, written at once.
            size_t j = i;
            do {
                ++j;
                ++count;
            } while (j < t.size() && count < width && !isBreak(t[j]));
            text(t.substr(i, j - i));
            i = j;
        }
        bytes(ending);
    }

    // One row, built in place: columns are ASCII but for the odd reel name or channel text.
    void row(const EdlEvent& e) {
        const bool csv = choices_.csv;
        char* const start = reinterpret_cast<char*>(out_.room(kRowRoom));
        char* p = start;
        // Separators are copied whole with their fixed size; `advance` says how many bytes count.
        const auto put = [&p](const char* b, size_t size) {
            std::memcpy(p, b, size);
            p += size;
        };
        if (csv)
            *p++ = '[';
        p = column(p, e, kColEdit).first;
        put(csv ? "]*" : "  ", 2);
        for (int c = 0; c < 7; ++c) {
            size_t n;
            std::tie(p, n) = column(p, e, kColReel + c);
            if (n < static_cast<size_t>(kPlainWidths[c])) {
                // Eight pad characters are copied (the room allows it) and as many as needed kept.
                std::memcpy(p, csv ? "________" : "        ", 8);
                p += static_cast<size_t>(kPlainWidths[c]) - n;
            }
            if (csv)
                *p++ = '*';
            else
                put("  ", c == 1 ? 1 : 2);
        }
        for (int c = kColSrcIn; c <= kColRecOut; ++c) {
            p = column(p, e, c).first;
            put(csv ? "*" : "  ", csv ? 1 : 2);
        }
        *p++ = '<';
        p = column(p, e, kColDuration).first;
        put(">\r\n", 3);
        if (csv) {
            // None of these bytes is ever the second byte of a double-byte character.
            for (char* c = start; c != p; ++c) {
                switch (*c) {
                case ',':
                    *c = ';';
                    break;
                case '.':
                    *c = ':';
                    break;
                case ' ':
                    *c = '_';
                    break;
                case '*':
                    *c = ',';
                    break;
                default:
                    break;
                }
            }
        }
        out_.commit(static_cast<size_t>(p - start));
    }

    // Writes a column's text (as columnText gives it) at p: ASCII is copied, the rest of a text that
    // is not is encoded. Returns the end and the number of characters. Four characters are taken at
    // a time while none of them ends the text or is other than ASCII, so up to three bytes past the
    // end may be written (the row's room allows it).
    static std::pair<char*, size_t> column(char* p, const EdlEvent& e, int c) {
        const char16_t* t = e.text[c];
        constexpr size_t kMax = kColumnTextLength - 1;
        size_t i = 0;
        if constexpr (std::endian::native == std::endian::little) {
            static_assert(kColumnTextLength % 4 == 0);
            for (; i < kColumnTextLength; i += 4) {
                uint64_t v;
                std::memcpy(&v, t + i, sizeof v);
                const uint64_t nul = (v - 0x0001000100010001u) & ~v & 0x8000800080008000u;
                if (nul != 0 || (v & 0xFF80FF80FF80FF80u) != 0)
                    break;
                const auto bytes = static_cast<uint32_t>((v & 0xFF) | ((v >> 8) & 0xFF00) | ((v >> 16) & 0xFF0000) |
                                                         ((v >> 24) & 0xFF000000));
                std::memcpy(p + i, &bytes, sizeof bytes);
            }
            if (i >= kMax)
                return {p + kMax, kMax};
        }
        for (; i < kMax && t[i] != 0; ++i) {
            if (t[i] >= 0x80) {
                const std::u16string_view rest = columnText(e, c).substr(i);
                return {cp932::encodeTo(rest, p + i), i + rest.size()};
            }
            p[i] = static_cast<char>(t[i]);
        }
        return {p + i, i};
    }

    // The most bytes a row takes: every column text at two bytes a character, padding and separators.
    static constexpr size_t kRowRoom = kColumnCount * 2 * kColumnTextLength + 64;
    static_assert(kRowRoom <= ChunkedWriter::kLargestRoom);

    EdlDocument& doc_;
    UnsizedSink unsized_;
    ChunkedWriter out_;
    Choices choices_;
};

// The events of one reel in EDL order, and the sum of their durations.
int64_t collectReel(const EdlDocument& doc, int32_t reel, std::vector<EdlEvent*>& rows) {
    rows.clear();
    int64_t total = 0;
    for (int32_t i = 0; i < doc.eventCount(); ++i) {
        EdlEvent* e = doc.view[kAllEvents][i];
        if (e->reelIndex == reel) {
            rows.push_back(e);
            total += e->duration;
        }
    }
    return total;
}

} // namespace

int listingKind(const EdlDocument& doc) {
    for (int k = 0; k < 3; ++k) {
        if (doc.listOptions[kListKind + k])
            return k;
    }
    return kListViewerEdl;
}

void applyListingSort(EdlDocument& doc) {
    int32_t* row = doc.sortState[sortStateRow(kListingReel)];
    const int32_t choice = doc.listOptions[kListSort];
    row[kSortSource] = choice == 1 ? kSortAscending : (choice == 2 ? kSortDescending : kSortNone);
    row[kSortDuration] = choice == 3 ? kSortAscending : (choice == 4 ? kSortDescending : kSortNone);
}

void fillListBoundText(EdlDocument& doc) {
    // Cells 314-319 in listBoundText order: record, source and duration, first and second bound.
    static constexpr int kSlots[6] = {1, 4, 0, 3, 2, 5};
    for (int i = 0; i < 6; ++i) {
        const std::u16string text = searchTimecodeText(doc, kSlots[i]);
        const size_t n = std::min(text.size(), std::size(doc.listBoundText[i]) - 1);
        text.copy(doc.listBoundText[i], n);
        doc.listBoundText[i][n] = 0;
    }
}

bool writeListing(EdlDocument& doc, std::u16string_view path, const ListingTime& time, ByteSink& sink) {
    const int kind = listingKind(doc);
    const bool csv = doc.listOptions[kListCsv] != 0;
    const int32_t events = doc.view[kAllEvents] ? doc.eventCount() : 0;
    ListingWriter writer(doc, sink, static_cast<int64_t>(events) * 128 + 4096);
    if (!csv)
        writer.reportHeader(path, time, kind);
    if (!csv && kind == kListSearchResult)
        writer.searchHeader();
    writer.columnHeader();

    if (kind == kListViewerEdl) {
        writer.pass(doc.view[kAllEvents], events);
    } else if (kind == kListSearchResult) {
        writer.pass(doc.view[kSearchResult], doc.view[kSearchResult] ? doc.viewCount[kSearchResult] : 0);
    } else {
        const bool allReels = doc.listOptions[kListAllReels] != 0;
        const int32_t chosen = doc.listOptions[kListReel];
        const int32_t first = allReels ? 0 : chosen;
        const int32_t last = allReels ? doc.reelCount - 1 : chosen;
        const int32_t sortChoice = doc.listOptions[kListSort];
        const std::u16string_view sortName =
            sortChoice >= 0 && sortChoice < 5 ? kListSortNames[sortChoice] : std::u16string_view();
        EdlEvent** savedView = doc.view[kListingReel];
        const int32_t savedCount = doc.viewCount[kListingReel];
        const int32_t savedCurrent = doc.currentView;
        std::vector<EdlEvent*> rows;
        rows.reserve(static_cast<size_t>(events));
        for (int32_t reel = std::max(first, 0); reel <= last && reel < doc.reelCount && doc.view[kAllEvents]; ++reel) {
            const int64_t total = collectReel(doc, reel, rows);
            doc.view[kListingReel] = rows.data();
            doc.viewCount[kListingReel] = static_cast<int32_t>(rows.size());
            if (!csv) {
                std::u16string h = u"リール名: [" + std::u16string(fixedText(doc.reelNames[reel])) + u"]  使用数: [" +
                                   number(doc.reelUseCounts ? doc.reelUseCounts[reel] : 0) + u"]  総時間: [";
                h += number(total / kFramesPerHour, true) + u":" +
                     number(total % kFramesPerHour / kFramesPerMinute, true) + u":" +
                     number(total % kFramesPerMinute / 30, true) + u":" + number(total % 30, true);
                h += u"]  ソート方法: [";
                h += sortName;
                h += u"]\r\n\r\n";
                writer.text(h);
            }
            doc.currentView = kListingReel;
            reapplySort(doc);
            doc.currentView = savedCurrent;
            writer.pass(rows.data(), static_cast<int32_t>(rows.size()));
            if (csv) {
                if (reel != doc.reelCount - 1)
                    writer.bytes(kCrLfTwice);
            } else if (allReels && reel != last) {
                writer.dashes();
            }
        }
        doc.view[kListingReel] = savedView;
        doc.viewCount[kListingReel] = savedCount;
    }
    return writer.finish();
}

ListingOutcome writeListingFile(EdlDocument& doc, std::u16string_view path, const ListingTime& time,
                                std::u16string_view target, bool overwriteConfirmed) {
    ListingOutcome outcome;
    applyListingSort(doc);
    outcome.write = writeExportFile(target, overwriteConfirmed,
                                    [&](ByteSink& sink) { return writeListing(doc, path, time, sink); });
    outcome.message = writeOutcomeMessage(
        outcome.write, target, formatExportMessage(kMsgListingCreated, {target, kListKindNames[listingKind(doc)]}));
    return outcome;
}

} // namespace qlp
