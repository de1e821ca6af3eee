// The listing dialog (159) and the main window's listing command.

#include "outputs/listing.h"
#include "resource.h"
#include "ui/dialogs/output_dialog_parts.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <iterator>

namespace qlp {

namespace {

constexpr std::wstring_view kListingFolderTitle = L"テキストファイルの保存先を選択してください。";

// The controls of listOptions[0..14], in the order of the fields.
constexpr int kOptionControls[] = {
    IDC_LIST_VIEWER_OPTION, IDC_LIST_VIEWER_WORK, IDC_LIST_VIEWER_MARKER, IDC_LIST_SEARCH_OPTION, IDC_LIST_SEARCH_WORK,
    IDC_LIST_SEARCH_MARKER, IDC_LIST_REEL_OPTION, IDC_LIST_REEL_WORK,     IDC_LIST_REEL_MARKER,   IDC_LIST_CSV,
    IDC_LIST_VIEWER,        IDC_LIST_SEARCH,      IDC_LIST_REELS,         IDC_LIST_ALL_REELS,     IDC_LIST_ONE_REEL,
};
static_assert(std::size(kOptionControls) == kListReel);

ListingTime localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

class ListingDialog : public OutputDialog {
public:
    ListingDialog(EdlDocument& doc, std::u16string_view documentPath, std::wstring& folder)
        : OutputDialog(kListingFolderTitle, folder), doc_(doc), documentPath_(documentPath) {}
    using ModalDialog::run;

private:
    bool onInit() override {
        if (doc_.viewCount[kSearchResult] == 0) {
            for (int id : {IDC_LIST_SEARCH, IDC_LIST_SEARCH_OPTION, IDC_LIST_SEARCH_WORK, IDC_LIST_SEARCH_MARKER})
                EnableWindow(item(id), FALSE);
        }
        for (int i = 0; i < kListReel; ++i)
            CheckDlgButton(dialog(), kOptionControls[i], doc_.listOptions[i] ? BST_CHECKED : BST_UNCHECKED);
        showDestination();
        // The combo sorts its names by its own collation: each entry carries its reel index, so the
        // selection names the same reel whatever order the combo shows.
        HWND reels = item(IDC_LIST_REEL);
        for (int32_t r = 0; r < doc_.reelCount; ++r) {
            const std::wstring name = toWide(textUpToNul(doc_.reelNames[r]));
            const LRESULT entry = SendMessageW(reels, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            SendMessageW(reels, CB_SETITEMDATA, entry, r);
            if (r == doc_.listOptions[kListReel])
                SendMessageW(reels, CB_SETCURSEL, entry, 0);
        }
        HWND sorts = item(IDC_LIST_SORT);
        for (std::u16string_view name : kListSortNames)
            SendMessageW(sorts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
        SendMessageW(sorts, CB_SETCURSEL, doc_.listOptions[kListSort], 0);
        return true;
    }

    // Radios, boxes and the reel; the sort choice too when `withSort`.
    void storeChoices(bool withSort) {
        for (int i = 0; i < kListReel; ++i)
            doc_.listOptions[i] = IsDlgButtonChecked(dialog(), kOptionControls[i]) == BST_CHECKED ? 1 : 0;
        HWND reels = item(IDC_LIST_REEL);
        const LRESULT reel = SendMessageW(reels, CB_GETCURSEL, 0, 0);
        if (reel != CB_ERR)
            doc_.listOptions[kListReel] = static_cast<int32_t>(SendMessageW(reels, CB_GETITEMDATA, reel, 0));
        const LRESULT sort = SendMessageW(item(IDC_LIST_SORT), CB_GETCURSEL, 0, 0);
        if (withSort && sort != CB_ERR)
            doc_.listOptions[kListSort] = static_cast<int32_t>(sort);
    }

    // Create writes the listing and leaves the dialog open.
    void onOk() override {
        storeChoices(true);
        const std::u16string path =
            target(dialogItemText(dialog(), IDC_EXPORT_NAME), doc_.listOptions[kListCsv] ? u".csv" : u".txt");
        const ListingTime time = localTimeNow();
        writeWithOverwriteQuestion(
            dialog(),
            [&](bool overwrite) {
                const ListingOutcome outcome = writeListingFile(doc_, documentPath_, time, path, overwrite);
                return ExportAttempt{outcome.write, outcome.message};
            },
            kListingCreatedCaption);
    }

    // Esc keeps the choices but not the sort.
    void onCancel() override {
        storeChoices(false);
        end(IDCANCEL);
    }

    EdlDocument& doc_;
    std::u16string_view documentPath_; // the current tab's file, named in the listing
};

// The choices made are stored in the document; `folder` is the destination shown first and the one
// chosen last.
INT_PTR runListingDialog(HWND owner, EdlDocument& doc, std::u16string_view documentPath, std::wstring& folder) {
    ListingDialog dialog(doc, documentPath, folder);
    return dialog.run(owner, IDD_LISTING);
}

} // namespace

void onListingCommand() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    fillListBoundText(a.document);
    stopWorkers(a.workers);
    const std::u16string documentPath = a.currentEntry ? a.currentEntry->path : std::u16string();
    runListingDialog(a.mainWindow, a.document, documentPath, a.dialogs.listingFolder);
    startWorkers(a.workers);
    SetFocus(a.controls.list);
}

} // namespace qlp
