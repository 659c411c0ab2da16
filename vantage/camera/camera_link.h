// The camera operations that OpenVantage received, as Vantage calls them.
// An operation the data source left out (a null pointer) counts as failed.
#pragma once

#include "camera_ops.h"

class CCameraLink {
public:
    void Store(const CameraOps& ops) { ops_ = ops; }

    // True when the camera answers.
    bool Open() const { return ops_.OpenCamera && ops_.OpenCamera() != 0; }
    void Close() const {
        if (ops_.CloseCamera) ops_.CloseCamera();
    }
    void NotifyClose() const {
        if (ops_.NotifyClose) ops_.NotifyClose();
    }
    void SetFrameSize(int width, int height) const {
        if (ops_.SetFrameSize) ops_.SetFrameSize(width, height, kFrameSizeMode);
    }
    void TogglePreview(HWND previewArea) const {
        if (ops_.TogglePreview) ops_.TogglePreview(previewArea);
    }
    void StartCapture() const {
        if (ops_.StartCapture) ops_.StartCapture();
    }
    void SwitchVideoSize() const {
        if (ops_.SwitchVideoSize) ops_.SwitchVideoSize();
    }
    bool ReadDirectory(std::uint16_t& entryCount, std::uint8_t*& header) const {
        return ops_.ReadDirectory && ops_.ReadDirectory(&entryCount, &header) != 0;
    }
    bool ReadEntries(std::uint8_t*& records) const { return ops_.ReadEntries && ops_.ReadEntries(&records) != 0; }
    // The byte count is preset to 0; success needs a non-zero count too.
    bool ReadFrame(int entry, std::uint8_t*& frame, std::uint32_t& bytes) const {
        bytes = 0;
        return ops_.ReadFrame && ops_.ReadFrame(entry, &frame, &bytes) != 0 && bytes != 0;
    }
    bool DeleteAllPictures() const { return ops_.DeleteAllPictures && ops_.DeleteAllPictures() != 0; }
    bool GetFrameInfo(std::uint8_t* record) const { return ops_.GetFrameInfo && ops_.GetFrameInfo(record) != 0; }
    bool TransferImages(HGLOBAL* dibs, int count) const {
        return ops_.TransferImages && ops_.TransferImages(dibs, count) != 0;
    }

private:
    static constexpr int kFrameSizeMode = 3;  // the third argument Vantage always passes
    CameraOps ops_ = {};
};
