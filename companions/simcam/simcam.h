// Simulated camera: the thirteen camera operations over a picture store of
// generated scenes or a folder of raw frame files, with faults that tests
// switch on. Built as SimCam.dll; used by the Windows-side tests and the demo
// in place of the camera's data source.
#pragma once

#include <windows.h>

#include "../../vantage/camera/camera_ops.h"

#define SIMCAM_CALL __stdcall

// What the camera hands out (32-bit words little-endian):
// - Directory header: entry count in bytes 0-1; byte 9 = 0xA0 | format code;
//   from byte 2048 one word per entry: 0x00 still, 0x08 | parity clip frame.
// - Entry record (128 bytes): word 0 entry index, 1 width, 2 height, 3 the
//   directory word, 4 picture number (stills and clips in store order), 5
//   frame number within the clip, 6 capture time (seconds since 1970-01-01,
//   2000-01-01 00:00 plus one minute per picture number); from byte 32 the
//   scene or file name, NUL-terminated (at most 63 characters).
// - Frame: width x height bytes (76,800 or 307,200).
// - Frame info (40 bytes): word 0 = 40, 1 width, 2 height (the live-video
//   size: SetFrameSize sets it, SwitchVideoSize toggles 320 x 240 and
//   640 x 480), 3 the last SetFrameSize mode, 4 = 1 while live video runs,
//   5 pictures drawn since it started, 6 entry count.
// StartCapture appends a still (the next scene of bars, ramp, wedge, chart
// in turn) at 640 x 480 when the live-video width is 640, else 320 x 240,
// and posts message 1124 to the parent of the live-video window if live
// video runs. Live video needs the calling thread to own the window and run
// a message loop (a 100 ms timer draws inside a one-pixel border).
// At load the store holds "still:640:chart,clip:320:wedge:3,still:320:bars,
// clip:640:ramp:2".

// Operations that need the camera to answer: OpenCamera, TogglePreview (to
// start), StartCapture, ReadDirectory, ReadEntries, ReadFrame,
// DeleteAllPictures, GetFrameInfo.
enum SimCamFault {
    kSimCamNoCamera = 1,         // value 1: the camera does not answer; OpenCamera always fails
    kSimCamOpenFailsFromCall = 2,  // value N > 0: OpenCamera fails from its Nth call on, counted
                                   // from this SimCamSetFault call (0 = off)
    kSimCamFrameFails = 3,       // value = entry index whose ReadFrame fails (-1 = off)
    kSimCamDeleteFails = 4,      // value 1: DeleteAllPictures fails and erases nothing
    kSimCamTransferFails = 5,    // value 1: TransferImages fails (and frees the images)
    kSimCamGoneAfterFrames = 6,  // value N > 0: after N more ReadFrame calls the camera stops
                                 // answering, as if unplugged during a refresh (0 = off)
    kSimCamOversizedFrame = 7,   // value = entry index whose ReadFrame reports 307,201 bytes, one
                                 // more than a 640 x 480 frame (-1 = off)
};

extern "C" {

// Replaces the store with generated scenes. sceneList: comma-separated items,
// each "still:W:SCENE" or "clip:W:SCENE:FRAMES[:P]", W 640 or 320, SCENE one
// of bars, ramp, wedge, chart; e.g. "still:640:chart,clip:320:wedge:4".
// A clip's parity bit differs from the one before it (0 after a still, so
// the first clip after a still has 0x10); P (0 or 1) forces it instead.
// Clip frame k is the scene moved left by 8k columns (wrapping round).
// An empty sceneList empties the store. Returns the number of entries (at most
// 1536), or -1 for a malformed sceneList (store unchanged).
int SIMCAM_CALL SimCamLoadScenes(const char* sceneList);
// Replaces the store with the raw frame files of a folder (stills, in name
// order): 76,800 or 76,928 bytes are 320 x 240, 307,200 or 307,328 bytes
// 640 x 480, other files are skipped. Returns the number of entries, or -1
// when the folder cannot be read (store unchanged).
int SIMCAM_CALL SimCamLoadFolder(const char* folder);
// Fills ops with the simulated camera's thirteen operations.
void SIMCAM_CALL SimCamGetOperations(CameraOps* ops);
// Switches a fault (SimCamFault) with its value; SimCamReset clears all faults,
// the call log and the transfer count (freeing images not taken), restores
// format code 0 and the live-video size 320 x 240 (mode 3). Neither touches
// the store.
void SIMCAM_CALL SimCamSetFault(int fault, int value);
void SIMCAM_CALL SimCamReset();
// Format code written to the low four bits of directory byte 9 (its high
// four bits always read 0xA).
void SIMCAM_CALL SimCamSetFormatCode(int code);
// Writes the registry value "Status" that device-change handling reads.
void SIMCAM_CALL SimCamSetDeviceStatus(DWORD status);
// Operation numbers (1..13) called since the last reset, comma-separated,
// e.g. "1,2,1,11,6". Returns the length written (truncated to size - 1);
// with no buffer, the whole log's length.
int SIMCAM_CALL SimCamCallLog(char* out, int size);
// Number of images the last successful TransferImages received.
int SIMCAM_CALL SimCamTransferredCount();
// Hands the images of the last successful TransferImages (movable
// global-memory blocks: BITMAPINFOHEADER and 24-bit pixels) to the caller,
// who frees them; returns how many were written to out (at most size).
// Images not taken are freed by the next transfer, SimCamReset or unload.
int SIMCAM_CALL SimCamTakeTransferred(HGLOBAL* out, int size);

}
