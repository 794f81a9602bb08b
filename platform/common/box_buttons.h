// The buttons of each message-box type, the one a box answers with when it ends without a choice
// (closed by a stop, or never shown) and the one Escape chooses, as Windows has them; the same on
// every platform.
#pragma once

#include <iterator>
#include <span>

#ifdef _WIN32
#include "platform/windows/api.h"
#else
#include "platform/win32.h"
#endif

namespace platform {

// Indexed by the MB_TYPEMASK bits, MB_OK (0) to MB_RETRYCANCEL (5): the buttons left to right,
// and the one Escape chooses: Cancel, or OK alone; 0 where Escape does nothing.
struct BoxButtonRow {
    int ids[3];
    int count;
    int escape;
};
inline constexpr BoxButtonRow kBoxButtonRows[] = {
    {{IDOK}, 1, IDOK},           {{IDOK, IDCANCEL}, 2, IDCANCEL}, {{IDABORT, IDRETRY, IDIGNORE}, 3, 0},
    {{IDYES, IDNO, IDCANCEL}, 3, IDCANCEL}, {{IDYES, IDNO}, 2, 0}, {{IDRETRY, IDCANCEL}, 2, IDCANCEL},
};
static_assert(std::size(kBoxButtonRows) == MB_RETRYCANCEL + 1);

// The row of a box of this type; any other type is a box with OK alone.
constexpr const BoxButtonRow& BoxButtonRowOf(UINT type) {
    const UINT kind = type & MB_TYPEMASK;
    return kBoxButtonRows[kind < std::size(kBoxButtonRows) ? kind : MB_OK];
}

constexpr std::span<const int> BoxButtons(UINT type) {
    const BoxButtonRow& row = BoxButtonRowOf(type);
    return {row.ids, static_cast<std::size_t>(row.count)};
}

constexpr int EscapeBoxButton(UINT type) { return BoxButtonRowOf(type).escape; }

// The MB_DEFBUTTONn button, or the first when the box has no such button.
constexpr int DefaultBoxButton(UINT type) {
    const std::span<const int> buttons = BoxButtons(type);
    const UINT which = (type & MB_DEFMASK) >> 8;
    return buttons[which < buttons.size() ? which : 0];
}

}  // namespace platform
