// CBmpDoc: one picture as a packed DIB with its resolution in dots per inch.
// LoadFromDib takes a transferred DIB; a save writes BMP or JPEG as the
// process-wide save format says; AutoSave stores an acquired picture under
// the next automatic name, closes it and hands the file to the shell.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "document.h"
#include "packed_dib.h"

class CBmpDoc : public wingui::Document {
public:
    // Replaces the picture; false when the block cannot be locked or holds
    // no DIB that can be taken (the document is then empty).
    bool LoadFromDib(HGLOBAL dib);
    // True when saved, closed and handed to the shell. A failed save leaves
    // the document open and modified, and the user is told.
    bool AutoSave();
    bool SaveTo(const std::string& path) override;

    const CPackedDib* Dib() const { return dib_.get(); }
    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }

private:
    bool SaveBmp(const std::string& path) const;
    bool SaveJpeg(const std::string& path) const;

    std::unique_ptr<CPackedDib> dib_;
    int dpiX_ = kDefaultDpi;
    int dpiY_ = kDefaultDpi;
};
