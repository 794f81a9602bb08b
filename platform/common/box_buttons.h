// The buttons of each message-box type and the one a box answers with when it ends without a
// choice (closed by a stop, or never shown), as Windows has them; the same on every platform.
#pragma once

#include <iterator>
#include <span>

#ifdef _WIN32
#include "platform/windows/api.h"
#else
#include "platform/win32.h"
#endif

namespace platform {

// Indexed by the MB_TYPEMASK bits, MB_OK (0) to MB_RETRYCANCEL (5): the buttons left to right.
struct BoxButtonRow {
    int ids[3];
    int count;
};
inline constexpr BoxButtonRow kBoxButtonRows[] = {
    {{IDOK}, 1},      {{IDOK, IDCANCEL}, 2}, {{IDABORT, IDRETRY, IDIGNORE}, 3},
    {{IDYES, IDNO, IDCANCEL}, 3}, {{IDYES, IDNO}, 2}, {{IDRETRY, IDCANCEL}, 2},
};
static_assert(std::size(kBoxButtonRows) == MB_RETRYCANCEL + 1);

// The buttons of a box of this type; any other type shows OK alone.
constexpr std::span<const int> BoxButtons(UINT type) {
    const UINT kind = type & MB_TYPEMASK;
    const BoxButtonRow& row = kBoxButtonRows[kind < std::size(kBoxButtonRows) ? kind : MB_OK];
    return {row.ids, static_cast<std::size_t>(row.count)};
}

// The MB_DEFBUTTONn button, or the first when the box has no such button.
constexpr int DefaultBoxButton(UINT type) {
    const std::span<const int> buttons = BoxButtons(type);
    const UINT which = (type & MB_DEFMASK) >> 8;
    return buttons[which < buttons.size() ? which : 0];
}

}  // namespace platform
