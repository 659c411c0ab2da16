// Resource and command identifiers of Pictor, shared by the resource script
// and the code. The command numbers are the framework's standard ones.
#pragma once

#define IDR_MAINFRAME 128      // menu, tool bar bitmap, accelerators, title string
#define IDR_PICTYPE 129        // document menu and document string; program icon
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_ICON 1000

#define ID_ACQUIRE 32771
#define ID_FILE_CLOSE 57602
#define ID_FILE_SAVE_AS 57604
#define ID_WINDOW_NEW 57648
#define ID_WINDOW_ARRANGE 57649
#define ID_WINDOW_CASCADE 57650
#define ID_WINDOW_TILE_HORZ 57651
#define ID_WINDOW_TILE_VERT 57652
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Window messages exchanged with the camera window's hidden window.
#define WM_PICTOR_ANNOUNCE 1224
#define WM_PICTOR_RESTORE 1225
