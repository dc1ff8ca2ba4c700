#pragma once
// Every command of the Album Manager's menus, the notification-area icon's menu, the
// toolbar and the hotkeys, in one table: its id, its menu texts, its status-bar line and tip
// (the string of its id, "line\ntip"), when it is enabled, and what it does. The menus, the
// toolbar's state and the hotkeys' names come from it; its texts live in the resources.
#include "store/album.h"

#include <windows.h>

#include "platform/ui_language.h"

#include <string>

namespace glimro {

class CAlbumCommands;

// What a command's enablement looks at.
struct CommandContext {
    bool loaded = false;              // the album list is made and shows the albums
    const CAlbum* selected = nullptr; // the album selected in the list, when there is one
    const CAlbum* active = nullptr;
};

struct Command {
    UINT id;
    UINT menu_text; // its menu text, with its shortcut after "\t"
    UINT tray_text; // the icon's menu's where that differs; 0 for the menu text
    bool (*enabled)(const CommandContext&); // null: always
    void (CAlbumCommands::*run)();          // null: the frame's own (its windows, the icon, quitting)
};

// The command of the id; null for an id the table does not hold.
const Command* FindCommand(UINT id);
// Whether the command may run now; one the table does not hold always may.
bool IsCommandEnabled(UINT id, const CommandContext& context);
// A part of the string of the id: 0 the status-bar line, 1 the tip (a toolbar button's, a
// hotkey's name).
std::wstring CommandText(UINT id, int part, LANGID language = UiLanguage());
// Its text in the Album Manager's menus, or in the icon's (without the shortcut).
std::wstring MenuText(const Command& command, bool tray);

// A menu's layout: its commands in order, 0 for a separator.
void AppendCommands(HMENU menu, const UINT* ids, size_t count, bool tray,
                    const CommandContext* context = nullptr);
// The Album Manager's menu bar: Album, View and Help. Owned by the caller.
HMENU CreateMainMenu();

} // namespace glimro
