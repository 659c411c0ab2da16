// CChildFrame: the child window of one document, filled by its CBmpView.
// Closing the last frame of a modified document asks whether to save it.
#pragma once

#include "mdi_child.h"

namespace wingui {
class DocTemplate;
}
class CBmpDoc;
class CBmpView;

class CChildFrame : public wingui::MdiChild {
public:
    CChildFrame(CBmpDoc& document, wingui::DocTemplate& docTemplate) : document_(document), template_(docTemplate) {}
    // Creates the frame with its view in the main frame; on failure the
    // object deletes itself.
    static bool Open(CBmpDoc& document, wingui::DocTemplate& docTemplate, wingui::MdiFrame& frame);
    CBmpDoc& Document() const { return document_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage() override;

private:
    CBmpDoc& document_;
    wingui::DocTemplate& template_;
    CBmpView* view_ = nullptr;
    HWND window_ = nullptr;  // kept for the document once the window is gone
};

// The document shown by a child frame of this program, null for another window.
CBmpDoc* DocumentOfFrame(HWND childFrame);
