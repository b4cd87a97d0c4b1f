#pragma once

// The Windows and GDI+ headers in the order GDI+ needs them.
#include "framework/platform/windows/Win32Headers.h"

#include <objidl.h>

#include <gdiplus.h>
