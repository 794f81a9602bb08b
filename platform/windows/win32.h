// On Windows the program calls the real API: this header is platform/win32.h there. The calls
// listed in platform/windows/api.h are pointed at their corrected forms; every other name is
// the Windows header's own.
#pragma once

#include "platform/windows/api.h"

#define RegisterClassA platform::windows::RegisterClassA
#define CreateWindowExA platform::windows::CreateWindowExA
#define DestroyWindow platform::windows::DestroyWindow
#define MessageBoxA platform::windows::MessageBoxA
#define PeekMessageA platform::windows::PeekMessageA
#define DispatchMessageA platform::windows::DispatchMessageA
#define DefWindowProcA platform::windows::DefWindowProcA
#define SwapBuffers platform::windows::SwapBuffers
