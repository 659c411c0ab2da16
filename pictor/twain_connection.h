// The application's side of a TWAIN session: the data source manager
// TWAIN_32.DLL loaded at run time (its entry by export number 1), the
// application identity, the source found by product name (from CamSet.inf
// in the Windows folder) or else the default one, the transfer count, the
// source enabled with its own user interface, the messages routed to it,
// native transfers, and the orderly close. Subclasses take the images.
#pragma once

#include <windows.h>

#include <string>

#include "twain_standard.h"

class CTwainConnection {
public:
    CTwainConnection();
    virtual ~CTwainConnection();
    CTwainConnection(const CTwainConnection&) = delete;
    CTwainConnection& operator=(const CTwainConnection&) = delete;

    // The table of overridable operations, in this order.
    virtual void SetupIdentity();
    // The manager's selection dialog with the source found by name preselected.
    virtual bool SelectSource();
    virtual bool OpenSource();
    // 0 = transfer, 1 = skip this image, 2 = cancel all.
    virtual int ShouldTransfer(const TW_IMAGEINFO& info);
    virtual void DisableSource();
    virtual bool CanCloseOnRequest();
    // A transferred packed DIB; the connection frees it afterwards.
    virtual void OnImage(HGLOBAL dib, const TW_IMAGEINFO& info) = 0;

    void SetParentWindow(HWND parent) { parent_ = parent; }
    // Opens what is not open yet, sets the transfer count (-1: all images)
    // and enables the source. A failing step leaves what was opened open.
    bool Acquire(int count);
    // While the source is enabled, hands the message to it: true when the
    // source consumed it. Runs transfers and close requests it announces.
    bool ProcessMessage(MSG& msg);
    bool IsSourceEnabled() const { return sourceEnabled_; }
    void CloseSource();
    // Closes source and manager; a hidden main window is then told to close.
    void CloseManager();
    void Unload();

    TW_UINT16 LastReturnCode() const { return lastReturnCode_; }
    const TW_STATUS& Status() const { return status_; }

private:
    // One call to the manager; records the return code and, after a failure,
    // the condition code. True on TWRC_SUCCESS.
    bool Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data);
    bool OpenManager();
    void FindSourceByName();
    bool SetTransferCount(int count);
    bool SetTransferCountAs(TW_UINT16 itemType, TW_UINT16 value);
    bool EnableSource();
    void TransferLoop();
    TW_UINT16 EndTransfer();
    void ResetTransfers();

    HMODULE module_ = nullptr;
    DSMENTRYPROC entry_ = nullptr;
    TW_IDENTITY appIdentity_ = {};
    TW_IDENTITY sourceIdentity_ = {};
    TW_STATUS status_ = {};
    TW_UINT16 lastReturnCode_ = TWRC_SUCCESS;
    HWND parent_ = nullptr;
    bool managerOpen_ = false;
    bool sourceOpen_ = false;
    bool sourceEnabled_ = false;
};
