// Document: path, title, frames.
#include "document.h"

#include <algorithm>

namespace wingui {

void Document::SetPath(const std::string& path) {
    path_ = path;
    const std::size_t cut = path.find_last_of("\\/");
    SetTitle(cut == std::string::npos ? path : path.substr(cut + 1));
}

void Document::SetTitle(const std::string& title) {
    title_ = title;
    for (HWND frame : frames_) SetWindowTextA(frame, title_.c_str());
}

bool Document::RemoveFrame(HWND frame) {
    frames_.erase(std::remove(frames_.begin(), frames_.end(), frame), frames_.end());
    return !frames_.empty();
}

void Document::UpdateAllViews() const {
    for (HWND frame : frames_) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Document::CloseAllFrames() {
    // A copy: each destruction removes its frame from the list (and the last
    // one deletes the document, so nothing of it is touched afterwards).
    const std::vector<HWND> frames = frames_;
    for (HWND frame : frames) DestroyWindow(frame);
}

}  // namespace wingui
