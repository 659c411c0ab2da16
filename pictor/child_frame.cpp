// CChildFrame: creation with its view, layout, closing.
#include "child_frame.h"

#include "bmp_doc.h"
#include "bmp_view.h"
#include "doc_template.h"
#include "mdi_frame.h"
#include "pictor_state.h"
#include "doc_manager_ex.h"

namespace {

constexpr const char* kChildClass = "Pictor.ChildFrame";

}  // namespace

bool CChildFrame::Open(CBmpDoc& document, wingui::DocTemplate& docTemplate, wingui::MdiFrame& frame) {
    if (!RegisterPictorClass(kChildClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)) return false;
    auto* child = new CChildFrame(document, docTemplate);
    if (!child->CreateChild(frame, kChildClass, document.Title().c_str(), gPictor.instance)) {
        delete child;
        return false;
    }
    child->window_ = child->Handle();
    document.AddFrame(child->window_);
    child->view_ = new CBmpView(document);
    if (!child->view_->CreateIn(child->Handle())) {
        delete child->view_;
        child->view_ = nullptr;
    }
    return true;
}

bool CChildFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SIZE:
        if (view_ && view_->IsAlive()) MoveWindow(view_->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return false;  // the child's default procedure keeps its state
    case WM_CLOSE:
        if (document_.Frames().size() == 1 && gPictor.docManager && !gPictor.docManager->SaveModified(document_, Handle())) {
            result = 0;
            return true;
        }
        return false;
    }
    (void)wParam;
    return false;
}

void CChildFrame::OnFinalMessage() {
    template_.FrameGone(&document_, window_);
    delete this;
}

CBmpDoc* DocumentOfFrame(HWND childFrame) {
    auto* frame = dynamic_cast<CChildFrame*>(wingui::Wnd::FromHandle(childFrame));
    return frame ? &frame->Document() : nullptr;
}
