// The progress shown in a window's bar and label, driven from the worker
// thread. It keeps only window handles and talks to them by messages: the
// window may be gone by then, and a message to a handle that no longer
// exists is simply dropped. The bar's messages are posted; the label's text
// is sent with a time limit, so a user-interface thread that waits for the
// worker never blocks it for long.
#pragma once

#include <windows.h>

#include <string>

#include "camera/avi_writer.h"

class CProgressDisplay {
public:
    // `caption`: the text before the counts; "XXX" (the strings file's
    // "keep the template's text") leaves the label alone.
    CProgressDisplay(HWND bar, HWND label, std::string caption)
        : bar_(bar), label_(label), caption_(std::move(caption)) {}
    // The progress dialog's bar 3010 and label 3018 with the text of key "34".
    static CProgressDisplay OfProgressDialog(HWND dialog);

    // Bar range 0..total, position 0.
    void StartBar(int total) const;
    void SetBar(int position) const;
    void StepBar() const;
    // The label reads "%s (%d/%d)" of the caption, done and total.
    void ShowCount(int done, int total) const;
    // For the clip writer: the bar advances by one per frame and, with
    // `labels`, the label counts the frames.
    ClipFrameWritten ClipSteps(bool labels) const;

private:
    HWND bar_;
    HWND label_;
    std::string caption_;
};
