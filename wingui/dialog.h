// Dialog made from a template in a given module (a resource library or the
// program itself), modal or modeless, with access to its controls by id.
// IDOK and IDCANCEL reach OnOK and OnCancel, which end the dialog; a modeless
// dialog ends by destroying its window.
#pragma once

#include <string>

#include "wnd.h"

namespace wingui {

class Dialog : public Wnd {
public:
    // Creates the window from template `templateId` of `module`; false when the
    // template or the window cannot be made.
    bool CreateModeless(HINSTANCE module, int templateId, HWND parent);
    // Runs the dialog until it ends; its result, or -1 when it could not run.
    // Modal dialogs of the product go through ModalRunner, which records them.
    INT_PTR RunModal(HINSTANCE module, int templateId, HWND parent);
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }

    // Controls. Positions and sizes are in the dialog's client pixels.
    HWND Item(int id) const;
    bool HasItem(int id) const { return Item(id) != nullptr; }
    void SetItemText(int id, const char* text) const;
    std::string ItemText(int id) const;
    void SetCheck(int id, bool checked) const;
    bool IsChecked(int id) const;
    void EnableItem(int id, bool enabled) const;
    bool IsItemEnabled(int id) const;
    void ShowItem(int id, bool shown) const;
    bool IsItemVisible(int id) const;
    RECT ItemRect(int id) const;
    void MoveItem(int id, int left, int top) const;    // keeps the size
    void ResizeItem(int id, int width, int height) const;  // keeps the position

protected:
    // Return true to let the system put the focus on the first control.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    bool OnCommand(int id, int code, HWND control) override;
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool modal_ = false;
};

}  // namespace wingui
