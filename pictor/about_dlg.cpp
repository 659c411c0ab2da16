// CAboutDlg.
#include "about_dlg.h"

#include "pictor_ids.h"
#include "pictor_state.h"

INT_PTR CAboutDlg::Run(HWND owner) { return RunModal(gPictor.instance, IDD_ABOUTBOX, owner); }

bool CAboutDlg::OnInitDialog() {
    if (HWND picture = Item(IDC_ABOUT_ICON)) SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(gPictor.icon), 0);
    return true;
}
