// Numbers Vantage shares with Lexis.DLL, its own resources and other
// processes: dialog templates, control ids, window messages, timers, and
// the class names of the hidden windows.
#pragma once

// Templates: in Lexis.DLL, except kOptionsEnlargeTemplate (Vantage's own).
constexpr int kCameraTemplate = 2000;
constexpr int kOptionsTemplate = 2003;
constexpr int kOptionsEnlargeTemplate = 2006;
constexpr int kAboutTemplate = 2007;

// Camera window: command buttons (the close button is IDCANCEL, 2).
constexpr int kDownloadButton = 3003;
constexpr int kTransferButton = 3021;
constexpr int kSelectAllButton = 4;
constexpr int kClearAllButton = 5;
constexpr int kDeleteAllButton = 3004;
constexpr int kVideoButton = 3022;
constexpr int kOptionsButton = 3;
constexpr int kRefreshButton = 6;
constexpr int kAboutButton = 7;
constexpr int kCloseButton = 2;
// Placeholder of the thumbnail view, and the row of labels.
constexpr int kThumbnailPlaceholder = 3009;
constexpr int kFirstLabel = 3027;
constexpr int kLastLabel = 3038;

// Icons and strings of Lexis.DLL: the first button icon (its presence selects
// icon buttons), the first layout number, the shaded-button style.
constexpr int kFirstButtonIcon = 11;
constexpr int kFirstLayoutString = 11;
constexpr int kShadeStyleString = 100;

// Window messages. 1124 and 1125 come from the data source's side; 1224 to
// 1226 reach the hide window from any process.
constexpr unsigned kMsgBringToFront = 1124;
constexpr unsigned kMsgTransferDone = 1125;
constexpr unsigned kMsgPictorHello = 1224;
constexpr unsigned kMsgRestore = 1225;
constexpr unsigned kMsgCloseRequest = 1226;

// Camera window timers.
constexpr unsigned kTimerCameraCheck = 1001;
constexpr unsigned kTimerRefresh = 1002;
constexpr unsigned kTimerSetUp = 1003;
constexpr unsigned kTimerCloseAfterTransfer = 1005;

constexpr const char* kHideWndClass = "VEXA_TWain_HideWnd";
constexpr const char* kPictorHideClass = "VEXA_Pictor_HideWindow";

// Requests to the worker thread (thread messages); 1124 also tells the
// thumbnail view that item wParam has its thumbnail.
constexpr unsigned kMsgRefresh = 1124;
constexpr unsigned kMsgDownload = 1125;
constexpr unsigned kMsgTransferList = 1126;
constexpr unsigned kMsgThumbnailAdded = 1124;

// Vantage's own window messages between its threads (WM_APP range).
constexpr unsigned kMsgRefreshDone = 0x8000 + 1;  // to the camera window: wParam generation, lParam RefreshReport
constexpr unsigned kMsgWorkDone = 0x8000 + 2;     // to the progress dialog: wParam result code, lParam count
constexpr unsigned kMsgNextNumber = 0x8000 + 3;   // to the camera window: wParam the download's new `Next`

// Result codes of the worker's work for the progress dialog (at most 0 success).
constexpr int kWorkDone = 0;
constexpr int kWorkError = 3;
constexpr int kWorkNoPicture = 4;
// To the camera window from its view: wParam the item whose enlarged view
// opens. Posted, so the modal view runs in the camera window's own handler,
// not inside the view's (which the camera window may take down).
constexpr unsigned kMsgOpenItem = 0x8000 + 4;

// Progress dialog: template, modes (also its timer ids), controls.
constexpr int kProgressTemplate = 2002;
constexpr int kProgressDownload = 333;
constexpr int kProgressTransfer = 555;
constexpr int kProgressLabel = 3018;
constexpr int kProgressBar = 3010;
constexpr int kProgressClose = 2;

// Thumbnail view: check box of display position p.
constexpr int kFirstCheckBox = 3000;

// Video window: a child dialog of the camera window.
constexpr int kVideoTemplate = 2005;
constexpr int kPreviewArea = 3000;
constexpr int kCaptureButton = 3006;
constexpr int kSizeButton = 3002;
constexpr int kFirstVideoIcon = 21;          // and its layout string; for 3006, 3002, 2 in turn
constexpr unsigned kMsgCaptureEnded = 1124;  // from the data source's side
constexpr unsigned kMsgVideoIgnored = 1125;
// Camera window's controls that give way to the video window (besides 3027, 3028).
constexpr int kUnnamedControl = -1;

// Enlarged view: the progress dialog's template, the worker's preparation
// (thread message 1127 with the window; its answer 1324), Prism's
// settings-changed message, and the extended system menu's commands (the
// system keeps the low four bits of a system command for itself).
constexpr int kEnlargeTemplate = kProgressTemplate;
constexpr int kEnlargeProgressBar = 3010;
constexpr unsigned kTimerEnlarge = 100;
constexpr unsigned kMsgPrepareEnlarged = 1127;
constexpr unsigned kMsgEnlargedReady = 1324;
constexpr unsigned kMsgSettingsChanged = 1347;
constexpr unsigned kSysCommandTuning = 16;
constexpr unsigned kSysCommandOpenRaw = 32;
