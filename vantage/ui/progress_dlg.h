// CProgressDlg: the modal progress dialog of a download (mode 333) or a
// transfer (mode 555), template 2002 of Lexis.DLL. 300 ms after it opens it
// asks the worker thread for the work (thread message 1125 or 1126 with its
// window and the camera window's work order); the worker shows the progress
// in bar 3010 and label 3018 on the way and posts the result code and the
// number of images at the end. A download's end is shown in the label and
// the user closes the dialog; a transfer's end closes it. Button 2 stays
// usable throughout, so the dialog can always be closed; the worker then
// stops at the next frame. The worker's replace question is owned by this
// dialog; a dialog that is closed regardless (a closing request) cancels it.
#pragma once

#include "dialog.h"
#include "twain_thread.h"
#include "vantage_ids.h"

class CProgressDlg : public wingui::Dialog {
public:
    // Result codes: at most 0 success, 4 no picture, others an error.
    static constexpr int kResultNoPicture = kWorkNoPicture;

    CProgressDlg(int mode, WorkOrder order) : mode_(mode), order_(std::move(order)) {}
    int Mode() const { return mode_; }
    int Result() const { return result_; }
    int Count() const { return count_; }

protected:
    bool OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnCancel() override;

private:
    void Finish(int result, int count);

    int mode_;
    WorkOrder order_;  // handed to the worker with the request
    int result_ = 0;
    int count_ = 0;
    bool finished_ = false;
};
