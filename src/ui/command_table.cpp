#include "ui/command_table.h"

#include "platform/ui_language.h"

#include "engine/current_picture.h"
#include "platform/window.h"
#include "resource.h"
#include "ui/album_commands.h"

#include <iterator>

namespace glimro {
namespace {

bool Loaded(const CommandContext& c) { return c.loaded; }
bool Selected(const CommandContext& c) { return c.selected != nullptr; }
bool SelectedInactive(const CommandContext& c) { return c.selected && !c.selected->Enabled; }
bool HasActive(const CommandContext& c) { return c.active != nullptr; }
bool HasAboutPage(const CommandContext& c) { return ActionsFor(c.active).about; }
bool CanKeep(const CommandContext& c) { return ActionsFor(c.active).keep; }
bool IsLocal(const CommandContext& c) { return ActionsFor(c.active).show; }
bool ShowsPicture(const CommandContext& c) { return ActionsFor(c.active).skip; }

using C = CAlbumCommands;
const Command kCommands[] = {
    {ID_ALBUM_NEW, IDS_MENU_NEW, 0, Loaded, &C::NewAlbum},
    {ID_ALBUM_ACTIVATE, IDS_MENU_ACTIVATE, 0, SelectedInactive, &C::ActivateAlbum},
    {ID_ALBUM_DELETE, IDS_MENU_DELETE, 0, Selected, &C::DeleteAlbum},
    {ID_ALBUM_PROPERTIES, IDS_MENU_PROPERTIES, 0, Selected, &C::EditAlbum},
    {ID_ALBUM_NEXT, IDS_MENU_NEXT, IDS_TRAY_NEXT, HasActive, &C::NextPicture},
    {ID_ALBUM_PREVIOUS, IDS_MENU_PREVIOUS, 0, HasActive, &C::PreviousPicture},
    // The albums are still loading until the list is made.
    {ID_ALBUM_PAUSE, IDS_MENU_PAUSE, IDS_TRAY_PAUSE, Loaded, &C::TogglePause},
    {ID_PICTURE_ABOUT, IDS_MENU_ABOUT_PICTURE, 0, HasAboutPage, &C::AboutPicture},
    {ID_PICTURE_KEEP, IDS_MENU_KEEP, 0, CanKeep, &C::KeepPicture},
    {ID_PICTURE_SHOW_IN_FOLDER, IDS_MENU_SHOW_IN_FOLDER, 0, IsLocal, &C::ShowPictureInFolder},
    {ID_PICTURE_NEVER_AGAIN, IDS_MENU_NEVER_AGAIN, 0, ShowsPicture, &C::NeverShowAgain},
    {ID_APP_EXIT, IDS_MENU_EXIT, 0, nullptr, nullptr},
    {ID_VIEW_TOOLBAR, IDS_MENU_TOOLBAR, 0, nullptr, nullptr},
    {ID_VIEW_STATUS_BAR, IDS_MENU_STATUS_BAR, 0, nullptr, nullptr},
    {ID_VIEW_TRAY_ICON, IDS_MENU_TRAY_ICON, 0, nullptr, nullptr},
    {ID_APP_OPTIONS, IDS_MENU_OPTIONS, 0, nullptr, nullptr},
    {ID_HELP_FINDER, IDS_MENU_HELP_TOPICS, 0, nullptr, nullptr},
    {ID_APP_ABOUT, IDS_MENU_ABOUT, 0, nullptr, nullptr},
    {ID_TRAY_ALBUM_MANAGER, IDS_TRAY_MANAGER, 0, nullptr, nullptr},
    {ID_TRAY_EXIT, IDS_TRAY_EXIT, 0, nullptr, nullptr},
};

constexpr UINT kAlbumMenu[] = {ID_ALBUM_NEW,     ID_ALBUM_ACTIVATE,
                               ID_ALBUM_DELETE,  ID_ALBUM_PROPERTIES,
                               0,                ID_ALBUM_NEXT,
                               ID_ALBUM_PREVIOUS, ID_ALBUM_PAUSE,
                               0,                ID_PICTURE_ABOUT,
                               ID_PICTURE_KEEP,  ID_PICTURE_SHOW_IN_FOLDER,
                               ID_PICTURE_NEVER_AGAIN, 0,
                               ID_APP_EXIT};
constexpr UINT kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_TRAY_ICON, 0, ID_APP_OPTIONS};
constexpr UINT kHelpMenu[] = {ID_HELP_FINDER, 0, ID_APP_ABOUT};

} // namespace

const Command* FindCommand(UINT id) {
    for (const Command& command : kCommands)
        if (command.id == id)
            return &command;
    return nullptr;
}

bool IsCommandEnabled(UINT id, const CommandContext& context) {
    const Command* command = FindCommand(id);
    return !command || !command->enabled || command->enabled(context);
}

std::wstring CommandText(UINT id, int part, LANGID language) {
    const std::wstring text = LoadResourceString(id, language);
    const size_t split = text.find(L'\n');
    if (part == 0)
        return text.substr(0, split);
    return split == std::wstring::npos ? std::wstring() : text.substr(split + 1);
}

std::wstring MenuText(const Command& command, bool tray) {
    if (tray && command.tray_text)
        return LoadResourceString(command.tray_text);
    const std::wstring text = LoadResourceString(command.menu_text);
    return tray ? text.substr(0, text.find(L'\t')) : text;
}

void AppendCommands(HMENU menu, const UINT* ids, size_t count, bool tray, const CommandContext* context) {
    for (size_t i = 0; i < count; ++i) {
        const Command* command = FindCommand(ids[i]);
        if (!command) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const bool enabled = !context || IsCommandEnabled(command->id, *context);
        ::AppendMenuW(menu, MF_STRING | (enabled ? 0u : MF_GRAYED), command->id,
                      MenuText(*command, tray).c_str());
    }
}

HMENU CreateMainMenu() {
    HMENU bar = ::CreateMenu();
    if (!bar)
        return nullptr;
    const struct {
        UINT title;
        const UINT* ids;
        size_t count;
    } popups[] = {{IDS_MENU_ALBUM, kAlbumMenu, std::size(kAlbumMenu)},
                  {IDS_MENU_VIEW, kViewMenu, std::size(kViewMenu)},
                  {IDS_MENU_HELP, kHelpMenu, std::size(kHelpMenu)}};
    for (const auto& popup : popups) {
        HMENU items = ::CreatePopupMenu();
        if (!items) {
            ::DestroyMenu(bar);
            return nullptr;
        }
        AppendCommands(items, popup.ids, popup.count, false);
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), LoadResourceString(popup.title).c_str());
    }
    return bar;
}

} // namespace glimro
