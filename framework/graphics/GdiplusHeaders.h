#pragma once

// The Windows and GDI+ headers in the order GDI+ needs them.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>
