// The listing dialog (159) and the main window's listing command.

#include "outputs/listing.h"
#include "resource.h"
#include "ui/dialogs/output_dialog_parts.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/modal.h"
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

// Remembered while the program runs; separate from the EDL export's folder.
std::wstring gListingFolder;
EdlDocument* gListingDocument = nullptr;

void initListingDialog(HWND dialog, EdlDocument* doc) {
    gListingDocument = doc;
    if (doc->viewCount[kSearchResult] == 0) {
        for (int id : {IDC_LIST_SEARCH, IDC_LIST_SEARCH_OPTION, IDC_LIST_SEARCH_WORK, IDC_LIST_SEARCH_MARKER})
            EnableWindow(GetDlgItem(dialog, id), FALSE);
    }
    for (int i = 0; i < kListReel; ++i)
        CheckDlgButton(dialog, kOptionControls[i], doc->listOptions[i] ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(dialog, IDC_EXPORT_FOLDER, gListingFolder.c_str());
    updateCreateButton(dialog);
    // The combo sorts its names by its own collation: each entry carries its reel index, so the
    // selection names the same reel whatever order the combo shows.
    HWND reels = GetDlgItem(dialog, IDC_LIST_REEL);
    for (int32_t r = 0; r < doc->reelCount; ++r) {
        const std::wstring name = toWide(textUpToNul(doc->reelNames[r]));
        const LRESULT item = SendMessageW(reels, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(reels, CB_SETITEMDATA, item, r);
        if (r == doc->listOptions[kListReel])
            SendMessageW(reels, CB_SETCURSEL, item, 0);
    }
    HWND sorts = GetDlgItem(dialog, IDC_LIST_SORT);
    for (std::u16string_view name : kListSortNames)
        SendMessageW(sorts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
    SendMessageW(sorts, CB_SETCURSEL, doc->listOptions[kListSort], 0);
}

// Radios, boxes and the reel; the sort choice too when `withSort`.
void storeChoices(HWND dialog, bool withSort) {
    EdlDocument& doc = *gListingDocument;
    for (int i = 0; i < kListReel; ++i)
        doc.listOptions[i] = IsDlgButtonChecked(dialog, kOptionControls[i]) == BST_CHECKED ? 1 : 0;
    HWND reels = GetDlgItem(dialog, IDC_LIST_REEL);
    const LRESULT reel = SendMessageW(reels, CB_GETCURSEL, 0, 0);
    if (reel != CB_ERR)
        doc.listOptions[kListReel] = static_cast<int32_t>(SendMessageW(reels, CB_GETITEMDATA, reel, 0));
    const LRESULT sort = SendDlgItemMessageW(dialog, IDC_LIST_SORT, CB_GETCURSEL, 0, 0);
    if (withSort && sort != CB_ERR)
        doc.listOptions[kListSort] = static_cast<int32_t>(sort);
}

ListingTime localTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void onListingCreate(HWND dialog) {
    storeChoices(dialog, true);
    EdlDocument& doc = *gListingDocument;
    const std::u16string target = exportPath(toU16(gListingFolder), toU16(dialogItemText(dialog, IDC_EXPORT_NAME)),
                                             doc.listOptions[kListCsv] ? u".csv" : u".txt");
    const std::u16string documentPath = ui().currentEntry ? ui().currentEntry->path : std::u16string();
    const ListingTime time = localTimeNow();
    writeWithOverwriteQuestion(
        dialog,
        [&](bool overwrite) {
            const ListingOutcome outcome = writeListingFile(doc, documentPath, time, target, overwrite);
            return ExportAttempt{outcome.write, outcome.message};
        },
        kListingCreatedCaption);
}

INT_PTR CALLBACK listingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initListingDialog(dialog, reinterpret_cast<EdlDocument*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_EXPORT_NAME:
            if (HIWORD(wParam) == EN_CHANGE)
                updateCreateButton(dialog);
            return TRUE;
        case IDC_EXPORT_BROWSE:
            chooseDestination(dialog, kListingFolderTitle, gListingFolder);
            return TRUE;
        case IDOK:
            onListingCreate(dialog);
            return TRUE;
        case IDCANCEL:
            storeChoices(dialog, false);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void onListingCommand() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    fillListBoundText(a.document);
    stopWorkers(a.workers);
    runModal(a.mainWindow, IDD_LISTING, listingDialogProc, reinterpret_cast<LPARAM>(&a.document));
    startWorkers(a.workers);
    SetFocus(a.controls.list);
}

} // namespace qlp
