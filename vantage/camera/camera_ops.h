// The thirteen camera operations that the camera's TWAIN data source hands
// to OpenVantage, in this order. All use the Windows standard calling
// convention; "ok" is a nonzero result. Buffers returned through out
// pointers stay the data source's: copy them at once.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kCameraDirectoryBytes = 8192;
constexpr int kCameraEntryBytes = 128;
constexpr int kFrameInfoBytes = 40;  // 32-bit words 1 and 2: current width and height

using OpenCameraFn = int(__stdcall*)();
using CloseCameraFn = int(__stdcall*)();
using TogglePreviewFn = int(__stdcall*)(HWND previewArea);
using StartCaptureFn = int(__stdcall*)();
using NotifyCloseFn = int(__stdcall*)();
using SetFrameSizeFn = int(__stdcall*)(int width, int height, int mode);
using ReadDirectoryFn = int(__stdcall*)(std::uint16_t* entryCount, std::uint8_t** directory);
using ReadEntriesFn = int(__stdcall*)(std::uint8_t** entries);
using ReadFrameFn = int(__stdcall*)(int entryIndex, std::uint8_t** frame, std::uint32_t* byteCount);
using DeleteAllPicturesFn = int(__stdcall*)();
using GetFrameInfoFn = int(__stdcall*)(std::uint8_t* record);
using SwitchVideoSizeFn = int(__stdcall*)();
using TransferImagesFn = int(__stdcall*)(HGLOBAL* dibs, int count);

struct CameraOps {
    OpenCameraFn OpenCamera;
    CloseCameraFn CloseCamera;
    TogglePreviewFn TogglePreview;
    StartCaptureFn StartCapture;
    NotifyCloseFn NotifyClose;
    SetFrameSizeFn SetFrameSize;
    ReadDirectoryFn ReadDirectory;
    ReadEntriesFn ReadEntries;
    ReadFrameFn ReadFrame;
    DeleteAllPicturesFn DeleteAllPictures;
    GetFrameInfoFn GetFrameInfo;
    SwitchVideoSizeFn SwitchVideoSize;
    TransferImagesFn TransferImages;
};

// OpenVantage(data source window, the thirteen operations in the order above).
using OpenVantageFn = HWND(__stdcall*)(HWND, OpenCameraFn, CloseCameraFn, TogglePreviewFn,
                                       StartCaptureFn, NotifyCloseFn, SetFrameSizeFn,
                                       ReadDirectoryFn, ReadEntriesFn, ReadFrameFn,
                                       DeleteAllPicturesFn, GetFrameInfoFn, SwitchVideoSizeFn,
                                       TransferImagesFn);
