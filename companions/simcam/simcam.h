// Simulated camera: the thirteen camera operations over a picture store of
// generated scenes or a folder of raw frame files, with faults that tests
// switch on. Built as SimCam.dll; used by the Windows-side tests and the demo
// in place of the camera's data source.
#pragma once

#include <windows.h>

#include "../../vantage/camera/camera_ops.h"

#define SIMCAM_CALL __stdcall

enum SimCamFault {
    kSimCamNoCamera = 1,         // value 1: OpenCamera always fails
    kSimCamOpenFailsFromCall = 2,  // value N > 0: OpenCamera fails from its Nth call on (0 = off)
    kSimCamFrameFails = 3,       // value = entry index whose ReadFrame fails (-1 = off)
    kSimCamDeleteFails = 4,      // value 1: DeleteAllPictures fails
    kSimCamTransferFails = 5,    // value 1: TransferImages fails
};

extern "C" {

// Replaces the store with generated scenes. spec: comma-separated items,
// each "still:W:SCENE" or "clip:W:SCENE:FRAMES", W 640 or 320, SCENE one of
// bars, ramp, wedge, chart; e.g. "still:640:chart,clip:320:wedge:4".
// Returns the number of entries, or -1 for a malformed spec.
int SIMCAM_CALL SimCamLoadScenes(const char* spec);
// Replaces the store with the raw frame files of a folder (stills, in name
// order). Returns the number of entries, or -1.
int SIMCAM_CALL SimCamLoadFolder(const char* folder);
// Fills ops with the simulated camera's thirteen operations.
void SIMCAM_CALL SimCamGetOperations(CameraOps* ops);
// Switches a fault (SimCamFault) with its value; SimCamReset clears all faults,
// the call log and the transfer count, and restores format code 0.
void SIMCAM_CALL SimCamSetFault(int fault, int value);
void SIMCAM_CALL SimCamReset();
// Format code written to the low four bits of directory byte 9.
void SIMCAM_CALL SimCamSetFormatCode(int code);
// Writes the registry value "Status" that device-change handling reads.
void SIMCAM_CALL SimCamSetDeviceStatus(DWORD status);
// Operation numbers (1..13) called since the last reset, comma-separated,
// e.g. "1,2,1,11,6". Returns the length written (truncated to size - 1).
int SIMCAM_CALL SimCamCallLog(char* out, int size);
// Number of images the last successful TransferImages received.
int SIMCAM_CALL SimCamTransferredCount();

}
