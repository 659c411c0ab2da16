// Document of the document/view arrangement: its path and title, the
// modified flag, and the child frames that show it. The document template
// owns it; it goes when its last frame has gone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wingui {

class Document {
public:
    virtual ~Document() = default;

    const std::string& Path() const { return path_; }
    // The path, and the file-name part of it as the title.
    void SetPath(const std::string& path);
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Writes the document to `path`; true on success.
    virtual bool SaveTo(const std::string& path) = 0;

    // Frames (top-level child windows) that show this document.
    void AddFrame(HWND frame) { frames_.push_back(frame); }
    // False once the last frame is gone.
    bool RemoveFrame(HWND frame);
    const std::vector<HWND>& Frames() const { return frames_; }
    // Repaints every frame and what is in it.
    void UpdateAllViews() const;
    // Destroys every frame (the document goes with the last one).
    void CloseAllFrames();

private:
    std::string path_;
    std::string title_;
    bool modified_ = false;
    std::vector<HWND> frames_;
};

}  // namespace wingui
