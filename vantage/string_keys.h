// Keys of the strings file (the language sections of TWain.ini) that Vantage
// looks up, by what they name.
#pragma once

enum StringKey : int {
    kKeyCameraTitle = 11,       // camera window title; caption of the no-camera message
    kKeyFirstButton = 12,       // 12..21: captions of the ten command buttons
    kKeyVideoTitle = 22,
    kKeyVideoCapture = 23,
    kKeyVideoSize = 24,
    kKeyVideoClose = 25,
    kKeyOptionsTitle = 26,      // also the folder browser's caption
    kKeyOptionsPath = 27,       // label 3014; also the folder browser's prompt
    kKeyOptionsBrowse = 28,
    kKeyOptionsNaming = 29,
    kKeyOptionsNext = 30,
    kKeyOptionsOk = 31,
    kKeyOptionsCancel = 32,
    kKeyProgressTitle = 33,     // also the caption of the no-picture message
    kKeyProgressLabel = 34,     // also the enlarged view's label
    kKeyProgressClose = 35,
    kKeyDownloadDone = 36,
    kKeyNoPicture = 37,
    kKeyDownloadError = 38,
    kKeyNoCamera = 39,
    kKeyTransferError = 40,
    kKeyDeleteQuestion = 41,
    kKeyDeleteDone = 42,
    kKeyAboutTitle = 43,        // 44..47: the four text lines, 48: the close button
    kKeyAboutFirstLine = 44,
    kKeyAboutClose = 48,
    kKeyFirstLabel = 49,        // 49..60: camera window labels 3027..3038
    kKeyEnlargeCheck = 51,      // also the options check box 3031
};
