// Message-box styles to SDL boxes: buttons and results, the Return and Escape buttons, icons.
// Needs no display.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/sdl_msgbox.h"

using platform::sdl::LayoutMessageBox;
using platform::sdl::MessageBoxLayout;

namespace {

std::vector<int> Ids(const MessageBoxLayout& layout) {
    std::vector<int> ids;
    for (int i = 0; i < layout.count; ++i) ids.push_back(layout.buttons[i].buttonid);
    return ids;
}

std::vector<std::string> Texts(const MessageBoxLayout& layout) {
    std::vector<std::string> texts;
    for (int i = 0; i < layout.count; ++i) texts.push_back(layout.buttons[i].text);
    return texts;
}

// The id of the one button carrying the flag, 0 when none does (or -1 when several do).
int ButtonWith(const MessageBoxLayout& layout, Uint32 flag) {
    int found = 0;
    for (int i = 0; i < layout.count; ++i)
        if (layout.buttons[i].flags & flag) found = found ? -1 : layout.buttons[i].buttonid;
    return found;
}
int ReturnButton(const MessageBoxLayout& l) { return ButtonWith(l, SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT); }
int EscapeButton(const MessageBoxLayout& l) { return ButtonWith(l, SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT); }

}  // namespace

TEST(MessageBoxLayout, EachTypeShowsItsButtonsLeftToRight) {
    EXPECT_EQ(Ids(LayoutMessageBox(MB_OK)), (std::vector{IDOK}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_OKCANCEL)), (std::vector{IDOK, IDCANCEL}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_ABORTRETRYIGNORE)), (std::vector{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_YESNOCANCEL)), (std::vector{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_YESNO)), (std::vector{IDYES, IDNO}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_RETRYCANCEL)), (std::vector{IDRETRY, IDCANCEL}));
    EXPECT_EQ(Texts(LayoutMessageBox(MB_YESNOCANCEL)), (std::vector<std::string>{"Yes", "No", "Cancel"}));
    EXPECT_EQ(Texts(LayoutMessageBox(MB_ABORTRETRYIGNORE)), (std::vector<std::string>{"Abort", "Retry", "Ignore"}));
    // An unknown type shows the OK box; icon and default bits do not change the buttons.
    EXPECT_EQ(Ids(LayoutMessageBox(0xE)), (std::vector{IDOK}));
    EXPECT_EQ(Ids(LayoutMessageBox(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)), (std::vector{IDYES, IDNO}));
}

TEST(MessageBoxLayout, ReturnChoosesTheDefaultButton) {
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_OK)), IDOK);
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_YESNO | MB_ICONEXCLAMATION)), IDYES);
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_YESNO | MB_DEFBUTTON2)), IDNO);
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_YESNOCANCEL | MB_DEFBUTTON3)), IDCANCEL);
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2)), IDRETRY);
    // A default beyond the last button falls back to the first.
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_OKCANCEL | MB_DEFBUTTON3)), IDOK);
    EXPECT_EQ(ReturnButton(LayoutMessageBox(MB_OK | MB_DEFBUTTON2)), IDOK);
}

TEST(MessageBoxLayout, EscapeCancelsOnlyWhereTheBoxCanBeCancelled) {
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_OK)), IDOK);
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_OKCANCEL)), IDCANCEL);
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_YESNOCANCEL)), IDCANCEL);
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_RETRYCANCEL)), IDCANCEL);
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_YESNO)), 0);
    EXPECT_EQ(EscapeButton(LayoutMessageBox(MB_ABORTRETRYIGNORE)), 0);
}

TEST(MessageBoxLayout, ClosingWithoutAButtonDeclines) {
    EXPECT_EQ(LayoutMessageBox(MB_OK).closeResult, IDOK);
    EXPECT_EQ(LayoutMessageBox(MB_OKCANCEL).closeResult, IDCANCEL);
    EXPECT_EQ(LayoutMessageBox(MB_YESNOCANCEL).closeResult, IDCANCEL);
    EXPECT_EQ(LayoutMessageBox(MB_YESNO | MB_DEFBUTTON1).closeResult, IDNO);
    EXPECT_EQ(LayoutMessageBox(MB_ABORTRETRYIGNORE).closeResult, IDABORT);
}

TEST(MessageBoxLayout, IconsFollowTheIconBits) {
    EXPECT_EQ(LayoutMessageBox(MB_OK).iconFlags, 0u);
    EXPECT_EQ(LayoutMessageBox(MB_OK | MB_ICONSTOP).iconFlags, Uint32(SDL_MESSAGEBOX_ERROR));
    EXPECT_EQ(LayoutMessageBox(MB_YESNO | MB_ICONEXCLAMATION).iconFlags, Uint32(SDL_MESSAGEBOX_WARNING));
    EXPECT_EQ(LayoutMessageBox(MB_OK | MB_ICONINFORMATION).iconFlags, Uint32(SDL_MESSAGEBOX_INFORMATION));
    EXPECT_EQ(LayoutMessageBox(MB_YESNO | MB_ICONQUESTION).iconFlags, Uint32(SDL_MESSAGEBOX_INFORMATION));
    EXPECT_EQ(LayoutMessageBox(MB_OK | 0x70).iconFlags, 0u);
}
