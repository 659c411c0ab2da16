// CProgressDlg: the modal progress dialog of a download (mode 333) or a
// transfer (mode 555), template 2002 of Lexis.DLL. 300 ms after it opens it
// asks the worker thread for the work (thread message 1125 or 1126 with its
// window); the worker posts the result code and the number of images at the
// end (the progress shown on the way comes with the download itself). A download's end is shown in the label and the user
// closes the dialog; a transfer's end closes it. Button 2 stays usable
// throughout, so the dialog can always be closed.
#pragma once

#include <string>

#include "dialog.h"

class CProgressDlg : public wingui::Dialog {
public:
    // Result codes: at most 0 success, 4 no picture, others an error.
    static constexpr int kResultNoPicture = 4;

    CProgressDlg(int mode, std::string folder) : mode_(mode), folder_(std::move(folder)) {}
    int Mode() const { return mode_; }
    const std::string& Folder() const { return folder_; }
    int Result() const { return result_; }
    int Count() const { return count_; }

protected:
    bool OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Finish(int result, int count);

    int mode_;
    std::string folder_;
    int result_ = 0;
    int count_ = 0;
    bool finished_ = false;
};
