// The data source's test switches: section [SimSource] of "SimSource.ini"
// beside the .ds, read at every MSG_OPENDS (a missing file or key leaves the
// default in force). The keys:
//   Pictures=N           N > 0: MSG_ENABLEDS opens no camera window and
//                        announces N generated pictures instead (default 0)
//   PictureWidth=W       their geometry, 1..4096 (default 64 x 48)
//   PictureHeight=H
//   PictureBits=24|32    their DIB depth (default 24)
//   XferCountLimit=N     N > 0: a CAP_XFERCOUNT set of -1 or of more than N
//                        makes the count N and answers TWRC_CHECKSTATUS
//                        (default 0: every valid count is taken as it is)
//   ImageInfoFails=1     DG_IMAGE / DAT_IMAGEINFO / MSG_GET answers
//                        TWRC_FAILURE (TWCC_OPERATIONERROR)
//   CloseAfterTransfer=1 MSG_CLOSEDSREQ once the last waiting picture has
//                        been transferred (the camera window closes itself
//                        after a transfer anyway)
//   Scenes=LIST          SimCam.dll's store (SimCamLoadScenes), e.g.
//                        "still:640:chart,clip:320:wedge:3"
#pragma once

#include <string>

namespace sim_source {

constexpr char kSettingsFile[] = "SimSource.ini";
constexpr char kSettingsSection[] = "SimSource";
constexpr int kMaxPictureSide = 4096;

struct SourceSettings {
    int pictures = 0;
    int pictureWidth = 64;
    int pictureHeight = 48;
    int pictureBits = 24;
    int xferCountLimit = 0;
    bool imageInfoFails = false;
    bool closeAfterTransfer = false;
    std::string scenes;  // empty: SimCam.dll's own store
};

// Reads the file; out-of-range values fall back to their defaults.
SourceSettings ReadSourceSettings(const std::string& iniPath);

}  // namespace sim_source
