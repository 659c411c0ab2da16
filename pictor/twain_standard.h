// The TWAIN standard's definitions, from the header Wine ships (found after
// the compiler's own folders). That header pulls in Wine's own system
// headers by relative name; mingw's are already in, so those are marked as
// included. The checks hold the structures to the standard's 2-byte packing.
#pragma once

#include <windows.h>

#include <cstddef>

#ifndef __WINE_WINBASE_H
#define __WINE_WINBASE_H
#endif
#ifndef DECLSPEC_EXPORT
#define DECLSPEC_EXPORT __declspec(dllexport)
#endif
#include <twain.h>

static_assert(sizeof(TW_ONEVALUE) == 6, "TWAIN structures are packed on 2 bytes");
static_assert(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY as the standard lays it out");
static_assert(offsetof(TW_EVENT, TWMessage) == sizeof(void*), "TW_EVENT holds a pointer, then the message");
