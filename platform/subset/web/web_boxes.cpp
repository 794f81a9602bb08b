// Message boxes as modal dialogs of the page: the box's caption, text and buttons, the default
// button focused, Escape choosing its button, and the program waiting (ASYNCIFY) until one is
// chosen.
#include <emscripten.h>

#include <span>

#include "platform/common/box_buttons.h"
#include "platform/subset/web/web_backend.h"

namespace {

// clang-format off
EM_ASYNC_JS(int, web_message_box, (const char* text, const char* caption, const int* ids, int count, int defaultId,
                                   int escapeId, int icon), {
    const buttons = [];
    for (let i = 0; i < count; ++i) buttons.push(HEAP32[(ids >> 2) + i]);
    return await showcasePage.messageBox(UTF8ToString(text), UTF8ToString(caption), buttons, defaultId, escapeId,
                                         icon);
});
// clang-format on

}  // namespace

namespace platform::backend {

int ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT type) {
    platform::web::WatchMain();
    const std::span<const int> buttons = BoxButtons(type);
    const int icon = static_cast<int>((type & MB_ICONMASK) >> 4);
    return web_message_box(text.c_str(), caption.c_str(), buttons.data(), static_cast<int>(buttons.size()),
                           DefaultBoxButton(type), EscapeBoxButton(type), icon);
}

}  // namespace platform::backend
