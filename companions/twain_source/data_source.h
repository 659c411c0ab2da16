// The data source "Twain for VEXA": the TWAIN state machine (states 3 to 7)
// over the simulated camera. Pictures wait in a queue until the application
// takes them by native transfer: pictures transferred from the camera window,
// or generated ones when the test switches ask for them (source_settings.h).
// The source announces MSG_XFERREADY and MSG_CLOSEDSREQ through a window of
// its own on the application's thread: a message posted to it comes back
// through MSG_PROCESSEVENT, which answers it.
#pragma once

#include "twain_protocol.h"

namespace sim_source {

constexpr char kProductName[] = "Twain for VEXA";

// One triplet from the manager (origin: the application, or the manager's
// own probe for MSG_GET).
twain::TW_UINT16 HandleTriplet(twain::TW_IDENTITY* origin, twain::TW_UINT32 group, twain::TW_UINT16 argument,
                               twain::TW_UINT16 message, twain::TW_MEMREF data);

// The library's load and unload (DllMain).
void AttachSource(HINSTANCE instance);
void DetachSource();

}  // namespace sim_source
