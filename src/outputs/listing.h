#pragma once
// Text and CSV listings of the current document: the whole list, the search result, or the events
// of each reel, with a report header, the search conditions, per-reel headers and, under each
// event, its option comment, work memo and marker. Written in code page 932 with CR LF line ends.
// The choices are the document's listing options (listOptions), which the dialog stores.

#include "model/document.h"
#include "outputs/export_file.h"

#include <string>
#include <string_view>

namespace qlp {

inline constexpr std::u16string_view kListingCreatedCaption = u"テキスト作成";
inline constexpr std::u16string_view kMsgListingCreated = u"次の場所にテキストファイルを作成しました。\n%s\n\n内容: %s";

// The list-kind names and the sort names, as the dialog and the headers show them.
inline constexpr std::u16string_view kListKindNames[3] = {u"ビューアＥＤＬ", u"検索結果", u"リール使用アドレスリスト"};
inline constexpr std::u16string_view kListSortNames[5] = {u"エディット順(通常)", u"素材ＴＣ(昇順)", u"素材ＴＣ(降順)",
                                                          u"デュレーション(昇順)", u"デュレーション(降順)"};

enum ListKind : int { kListViewerEdl = 0, kListSearchResult = 1, kListReels = 2 };

// The kind the options choose: the first of the three listKind fields that is set, 0 when none is.
int listingKind(const EdlDocument& doc);

// Sets the source and duration entries of kListingReel's sortState row from listSort.
void applyListingSort(EdlDocument& doc);

// Copies the texts of the six search timecode cells into listBoundText, as the cells show them.
void fillListBoundText(EdlDocument& doc);

// The creation time printed in the report header.
struct ListingTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Writes the listing's bytes to sink; false when a write failed. `path` is the document's file path,
// printed in the report header. kListingReel is built, ordered and released again for the reel list;
// nothing else of the document changes.
bool writeListing(EdlDocument& doc, std::u16string_view path, const ListingTime& time, ByteSink& sink);

struct ListingOutcome {
    WriteOutcome write;
    std::u16string message; // the success or write-error text to show, empty for AskOverwrite
};

// Applies the sort choice and writes the listing to target.
ListingOutcome writeListingFile(EdlDocument& doc, std::u16string_view path, const ListingTime& time,
                                std::u16string_view target, bool overwriteConfirmed);

} // namespace qlp
