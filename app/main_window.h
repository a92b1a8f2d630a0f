#pragma once
// The main window: start-up from the splash form, the module frames, the
// layout for small screens, navigation, the sound switch and the exit.
#include <string>

namespace app {

inline constexpr const char* kMainForm = "main";

// Pictures of the main window the code tells apart by their bytes.
namespace mainres {
inline constexpr const char* sound_on = "resources/pictures/main/sound_on.png";
inline constexpr const char* sound_off = "resources/pictures/main/sound_off.png";
} // namespace mainres

// Deployment addresses; only http and https addresses are ever opened.
// A build may set its own with -DJSB_SHOP_URL="https://..." and likewise
// JSB_CONTACT_URL and JSB_CHAT_GROUP_URL.
struct ShellAddresses {
    std::string shop;       // the shop button
    std::string contact;    // tool-bar button 0
    std::string chat_group; // tool-bar button 1
};
ShellAddresses& shell_addresses();

// Loads the 22 module forms, each once, owned by the main window.
void LoadModuleForms();
// The main window's scroll bars back at their start: a page chosen shows
// from its top left, not scrolled as far as the page before it was.
void ScrollMainWindowToStart();
// Releases the program's text globals; runs when the program ends.
void FreeGlobals();

} // namespace app
