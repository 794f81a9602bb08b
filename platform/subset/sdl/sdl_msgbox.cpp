// Modal message boxes through SDL: the style table and ShowMessageBox. SDL opens its own
// display connection for a box, so boxes work before any window exists; with no display at
// all the box cannot be shown and the core writes it to stderr instead.
#include "platform/subset/sdl/sdl_msgbox.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "platform/common/box_buttons.h"
#include "platform/subset/sdl/sdl_backend.h"
#include "platform/subset/sdl/sdl_notify.h"

namespace platform::sdl {
namespace {

// The label of each button id, IDOK (1) to IDNO (7).
constexpr const char* kButtonTexts[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
static_assert(std::size(kButtonTexts) == IDNO + 1);

// The answer of a box closed without a button: Escape's where Escape chooses one, else the
// declining one (Windows gives those boxes no close button; SDL's boxes always have one).
int CloseResult(UINT type) {
    if (const int escape = EscapeBoxButton(type)) return escape;
    return (type & MB_TYPEMASK) == MB_ABORTRETRYIGNORE ? IDABORT : IDNO;
}

// Indexed by the MB_ICONMASK bits shifted down: none, hand, question, exclamation, asterisk.
constexpr Uint32 kIconFlags[] = {
    0,
    SDL_MESSAGEBOX_ERROR,
    SDL_MESSAGEBOX_INFORMATION,  // SDL has no question icon
    SDL_MESSAGEBOX_WARNING,
    SDL_MESSAGEBOX_INFORMATION,
};
static_assert(std::size(kIconFlags) == (MB_ICONINFORMATION >> 4) + 1);

SDL_Window* OwnerWindow(HWND owner) {
    for (WindowRecord* record = core::Find(owner); record; record = core::Find(record->parent)) {
        if (!record->parent) {
            Window* window = WindowOf(*record);
            return window ? window->sdl : nullptr;
        }
    }
    return nullptr;
}

// The processes this one started that are still there, zombies included (/proc/PID/stat:
// "PID (command) STATE PPID ...", the command free to hold spaces and parentheses).
std::set<pid_t> Children() {
    std::set<pid_t> children;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return children;
    const pid_t self = getpid();
    while (const dirent* entry = readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat("/proc/" + name + "/stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t end = line.rfind(')');
        if (end == std::string::npos) continue;
        char state = 0;
        long parent = 0;
        std::istringstream(line.substr(end + 1)) >> state >> parent;
        if (parent == self) children.insert(static_cast<pid_t>(std::stol(name)));
    }
    closedir(proc);
    return children;
}

// Closes the box of SDL that is open when the program starts stopping. SDL shows a box from a
// process of its own (a fork of this one under X11, zenity under Wayland) and waits for it to
// end, whatever signals come; so for as long as SDL is in its box call this watcher looks at
// the stop flag every few milliseconds and, once it is up, ends every process started since
// the box was asked for. SDL then returns as from a box that could not be shown. SIGKILL,
// because a fork of this program has its handlers and would only note a gentler signal.
class CloseOnStop {
  public:
    CloseOnStop() : before_(Children()), thread_([this] { Watch(); }) {}
    ~CloseOnStop() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    CloseOnStop(const CloseOnStop&) = delete;
    CloseOnStop& operator=(const CloseOnStop&) = delete;

  private:
    static constexpr std::chrono::milliseconds kLookEvery{20};

    void Watch() {
        std::unique_lock lock(mutex_);
        while (!done_) {
            if (core::Stopping())
                for (pid_t child : Children())
                    if (!before_.contains(child)) kill(child, SIGKILL);
            wake_.wait_for(lock, kLookEvery);
        }
    }

    const std::set<pid_t> before_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;  // last, so it starts with everything above in place
};

}  // namespace

MessageBoxLayout LayoutMessageBox(UINT type) {
    const UINT iconIndex = (type & MB_ICONMASK) >> 4;
    const std::span<const int> ids = BoxButtons(type);

    MessageBoxLayout layout;
    layout.count = static_cast<int>(ids.size());
    layout.iconFlags = iconIndex < std::size(kIconFlags) ? kIconFlags[iconIndex] : 0;
    layout.closeResult = CloseResult(type);
    for (int i = 0; i < layout.count; ++i) {
        SDL_MessageBoxButtonData& button = layout.buttons[i];
        button.buttonid = ids[i];
        button.text = kButtonTexts[ids[i]];
        if (ids[i] == DefaultBoxButton(type)) button.flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (ids[i] == EscapeBoxButton(type)) button.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    }
    return layout;
}

}  // namespace platform::sdl

namespace platform::backend {

// Blocks until the user answers, or until the program starts stopping; 0 when SDL cannot show
// a box (no display) or the box was closed by the stop.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const sdl::MessageBoxLayout layout = sdl::LayoutMessageBox(type);
    SDL_MessageBoxData data{};
    data.flags = layout.iconFlags | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = sdl::OwnerWindow(owner);
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = layout.count;
    data.buttons = layout.buttons;
    int chosen = -1;
    const sdl::CloseOnStop closer;
    const sdl::notify::BoxWaiting waiting;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) return 0;
    return chosen >= 0 ? chosen : layout.closeResult;
}

}  // namespace platform::backend
