// Information dialog (modal, template 2007 of Lexis.DLL). Its four text
// lines, clicked in the order 3019, 3014, 3017, 3023, reveal button 3025,
// which opens Prism's settings dialog; a click out of order does nothing.
#pragma once

#include "dialog.h"

class CAboutDlg : public wingui::Dialog {
protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    int step_ = 0;  // 0..4
};
