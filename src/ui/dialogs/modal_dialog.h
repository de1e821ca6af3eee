#pragma once
// The one shape of the program's dialogs. A dialog is an object derived from ModalDialog that its
// runXDialog function makes over the data it edits; `run` hands the object to the dialog as its
// creation parameter, the dialog keeps it (DWLP_USER) and passes every message to it inside the
// guard. OK and Esc end the dialog with IDOK and IDCANCEL unless the dialog says otherwise; a
// dialog that fails to start ends at once with IDCANCEL.

#include "screen/window_layout.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace qlp {

// A drawing object (font, brush) or an image list a dialog made, released with the dialog.
struct DrawingObjectRelease {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
template <typename Handle> using OwnedHandle = std::unique_ptr<std::remove_pointer_t<Handle>, DrawingObjectRelease>;

class ModalDialog {
public:
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

protected:
    ModalDialog() = default;
    virtual ~ModalDialog() = default;

    // Runs dialog `dialogId` of the program's resources modally over `owner`, through the modal
    // seam; returns what it ended with.
    INT_PTR run(HWND owner, int dialogId);

    // WM_INITDIALOG. True lets the dialog manager focus the first control; false when the dialog
    // set the focus itself.
    virtual bool onInit() = 0;
    virtual void onOk() { end(IDOK); }
    virtual void onCancel() { end(IDCANCEL); }
    // The other commands and notifications of the controls.
    virtual void onCommand(int /*id*/, int /*code*/) {}
    // Any other message: its result, or nothing when the dialog leaves it to the dialog manager.
    virtual std::optional<INT_PTR> onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return std::nullopt;
    }
    // WM_DESTROY: releases what the dialog made.
    virtual void onDestroy() {}
    // WM_DPICHANGED: the dialog is now on a display of another scale (dpi() tells it). The controls
    // of the template follow by themselves; the fonts and pictures the dialog made are made again.
    virtual void onDpiChanged() {}

    void end(INT_PTR result) const { EndDialog(dialog_, result); }
    // Selects the whole text of entry `field` and gives it the focus; onInit then returns false.
    bool focusEntry(int field) const;
    // The text of entry `field`, at most `limit` characters of it.
    std::u16string entryText(int field, int limit) const;
    // Gives `field` the focus back with its text selected, after its entry was refused: the dialog
    // stays open for a new entry.
    void refocus(int field) const;
    // Refuses the entry of `field` with a warning that says why, then refocuses it.
    void refuseEntry(int field, std::u16string_view message) const;
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    HWND dialog() const { return dialog_; }
    // The DPI of the display the dialog is on, and a length of 96-DPI pixels scaled for it.
    int dpi() const { return dpi_; }
    int scaled(int pixels) const;

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND dialog_ = nullptr;
    int dpi_ = kBaseDpi;
};

} // namespace qlp
