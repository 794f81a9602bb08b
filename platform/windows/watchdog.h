// The show-floor watchdog (`showcase.exe --watchdog ...`): the same exe runs the show as its child
// and starts it again when it crashes, is ended by force or stops answering; it ends with the
// show, and ends the show when it is ended. Its restarts go to %LOCALAPPDATA%\showcase\watchdog.log.
#pragma once

#include <string>
#include <vector>

namespace platform::windows {

// The class of the watchdog's hidden window: a close request to it (show-control, taskkill
// without /F) stops the watching, closes the show and ends the watchdog.
inline constexpr wchar_t kWatchdogWindowClass[] = L"ShowcaseWatchdog";

// Runs this exe with `arguments` (one per element, quoted here) as the watched show until it ends
// normally or the watchdog is asked to stop. Returns the status to exit with: the show's last
// one, 0 when asked to stop, 1 when the show cannot be started at all.
int WatchShow(const std::vector<std::string>& arguments);

}  // namespace platform::windows
