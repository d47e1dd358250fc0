#pragma once

namespace zeilwerk {

// The start-up file beside the program, and its keys: read at start-up, written by apply,
// the window positions also by the arrangement.
inline constexpr const char* kStartupFile = "optn.ini";

struct StartupKey {
    const char* section;
    const char* key;
};
inline constexpr StartupKey kLoadAtStart{"laden", "auto"};
inline constexpr StartupKey kProfileFile{"laden", "datei"};
inline constexpr StartupKey kRememberPositions{"fenster", "auto"};
inline constexpr StartupKey kHideToolbar{"tool", "hide"};

// Each window's remembered outer top-left corner, in section "fenster", in the order of the
// group: input, options, preview, toolbar.
inline constexpr const char* kPositionSection = "fenster";
struct PositionKeys {
    const char* top;
    const char* left;
};
inline constexpr PositionKeys kPositionKeys[4] = {
    {"eingabe_top", "eingabe_left"}, {"optn_top", "optn_left"}, {"vorschau_top", "vorschau_left"}, {"tool_top", "tool_left"}};
// The message window, which the user sizes, keeps its size too.
inline constexpr const char* kMessagesWindowKeys[4] = {"nachrichten_top", "nachrichten_left", "nachrichten_breite",
                                                       "nachrichten_hoehe"};

}  // namespace zeilwerk
