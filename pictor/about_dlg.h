// CAboutDlg: "About Pictor" (template 100) with the program icon in its
// picture control 1000.
#pragma once

#include "dialog.h"

class CAboutDlg : public wingui::Dialog {
public:
    INT_PTR Run(HWND owner);

protected:
    bool OnInitDialog() override;
};
