// Options dialog (modal): the picture folder (with the folder browser), the
// next file number and, in Vantage's own template 2006, the software-enlarge
// check box. OK keeps what the dialog shows; the caller stores it.
#pragma once

#include <string>

#include "dialog.h"
#include "../settings.h"

class COptionsDlg : public wingui::Dialog {
public:
    COptionsDlg(const CPictureSettings& current, bool offerEnlarge);

    // After OK.
    const std::string& Folder() const { return folder_; }
    int Next() const { return next_; }
    bool Enlarge() const { return enlarge_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void Browse();

    std::string folder_;
    int next_;
    bool enlarge_;
};
