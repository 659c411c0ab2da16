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

private:
    CameraOps ops_ = {};
};
