#include "ui/dialogs/timecode_entry_dialog.h"

#include "ops/timecode_entry.h"
#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/modal.h"
#include "ui/wide.h"

#include <string>

namespace qlp {

namespace {

constexpr int kMaxDigits = 8;   // hhmmssff
constexpr int kReadLength = 10; // characters read back on OK
constexpr int kMargin = 2;      // pixels left and right of the digits

class TimecodeEntryDialog : public ModalDialog {
public:
    explicit TimecodeEntryDialog(EdlDocument& doc) : doc_(doc) {}
    using ModalDialog::run;

private:
    bool onInit() override {
        const int slot = doc_.search.editSlot;
        CheckRadioButton(dialog(), IDC_ENTRY_DF, IDC_ENTRY_NDF,
                         doc_.search.slotDropFrame[slot] == 1 ? IDC_ENTRY_DF : IDC_ENTRY_NDF);
        // Only the source first bound chooses its mode; the others follow the document, NDF or
        // their first bound.
        const bool choosesMode = timecodeEntryChoosesMode(slot);
        EnableWindow(item(IDC_ENTRY_DF), choosesMode);
        EnableWindow(item(IDC_ENTRY_NDF), choosesMode);

        HWND edit = item(IDC_ENTRY_NUMBER);
        SendMessageW(edit, EM_LIMITTEXT, kMaxDigits, 0);
        SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
        SetWindowTextW(dialog(), toWide(timecodeEntryTitle(slot)).c_str());
        SetWindowTextW(edit, wide(timecodeEntryDigits(doc_.search, slot)));
        return focusEntry(IDC_ENTRY_NUMBER);
    }

    // The entered digits become the slot's bound, or a warning keeps the dialog open with the focus
    // back in the edit.
    void onOk() override {
        const BoundEntryOutcome outcome = enterTimecodeBound(doc_.search, doc_.dropFrame, doc_.search.editSlot,
                                                             entryText(IDC_ENTRY_NUMBER, kReadLength));
        if (outcome.message.empty())
            end(IDOK);
        else
            refuseEntry(IDC_ENTRY_NUMBER, outcome.message);
    }

    // The mode holds at once: a later cancel keeps it.
    void onCommand(int id, int code) override {
        if ((id == IDC_ENTRY_DF || id == IDC_ENTRY_NDF) && code == BN_CLICKED)
            doc_.search.slotDropFrame[doc_.search.editSlot] = id == IDC_ENTRY_DF ? 1 : 0;
    }

    EdlDocument& doc_;
};

} // namespace

INT_PTR runTimecodeEntryDialog(HWND owner, EdlDocument& doc) {
    TimecodeEntryDialog dialog(doc);
    return dialog.run(owner, IDD_TIMECODE_ENTRY);
}

} // namespace qlp
