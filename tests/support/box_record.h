// The message boxes a test made the program show. On Linux the headless backend records them; on
// Windows they are the real boxes, read and answered as they open (box_record_windows.cpp).
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

#ifdef _WIN32
namespace box_record {

struct Box {
    std::string text;       // UTF-8, as the box shows it
    std::string caption;    // UTF-8
    std::string textBytes;  // the text in Windows-1251
    UINT type;              // the buttons and the icon the box shows
};
// Forgets the boxes so far; from now on every box this thread opens is recorded and answered
// with its default button.
void Reset();
const std::vector<Box>& Boxes();
// Boxes open and wait for their answer again, as without a recorder.
void Stop();

}  // namespace box_record
#else
#include "platform/subset/headless/headless.h"

namespace box_record {

using Box = headless::Box;
// A fresh headless platform, with no boxes recorded.
inline void Reset() { headless::Reset(); }
inline const std::vector<Box>& Boxes() { return headless::Boxes(); }

}  // namespace box_record
#endif
