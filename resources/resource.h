// The program's resource identifiers.
#pragma once

// The version, in the version resource and the manifest (keep them equal).
#define GLIMRO_VERSION_NUMBERS 2, 1, 0, 0
#define GLIMRO_VERSION_TEXT "2.1.0.0"

#define IDR_MAINFRAME 101 // icon, menu and accelerators share the number
#define IDS_APP_TITLE 0xE000
#define IDS_IDLE_MESSAGE 0xE001 // the status bar's text when nothing is being browsed

#define IDC_STATIC (-1)

// "Glimro - Downloading Image"
#define IDD_DOWNLOAD 329
#define IDC_DOWNLOAD_STATUS 330

// State images of the album list: the active album's box is ticked.
#define IDI_BOX_TICKED 120
#define IDI_BOX_EMPTY 122

// Toolbar pictures, and their looks when the button is disabled.
#define IDI_TOOL_NEW 130
#define IDI_TOOL_DELETE 131
#define IDI_TOOL_PROPERTIES 132
#define IDI_TOOL_ABOUT 133
#define IDI_TOOL_NEXT 134
#define IDI_TOOL_NEW_DISABLED 140
#define IDI_TOOL_DELETE_DISABLED 141
#define IDI_TOOL_PROPERTIES_DISABLED 142
#define IDI_TOOL_ABOUT_DISABLED 143
#define IDI_TOOL_NEXT_DISABLED 144

// Column titles of the album list, in column order.
#define IDS_COLUMN_FIRST 150

// Commands of the Album Manager; each has a string "status-bar prompt\ntooltip".
#define ID_ALBUM_PROPERTIES 32774
#define ID_ALBUM_DELETE 32775
#define ID_ALBUM_ACTIVATE 32777
#define ID_ALBUM_NEXT 32778
#define ID_ALBUM_PAUSE 32779
#define ID_VIEW_TRAY_ICON 32780
// The notification-area icon's own menu items.
#define ID_TRAY_ALBUM_MANAGER 32781
#define ID_TRAY_EXIT 32782
#define ID_ALBUM_NEW 57600
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_FINDER 57667
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_DEFAULT_HELP 57671

// Child windows of the frame; the commands that toggle them have the same numbers.
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_VIEW_ALBUM_LIST 59648

// The album properties sheet: its Apply button, and the General page.
#define ID_APPLY_NOW 0x3021
#define IDD_GENERAL 114
#define IDC_ALBUM_NAME 1004
#define IDC_ALBUM_DESCRIPTION 1006
#define IDC_ALBUM_FREQUENCY 1022
#define IDC_ALBUM_POSITION 1040
#define IDC_ALBUM_MONITORS 1042

// The Images page of the album properties sheet.
#define IDD_IMAGES 111
#define IDB_NO_PICTURE 202
#define IDC_IMAGE_LIST 1002
#define IDC_IMAGE_UP 1003
#define IDC_IMAGE_DOWN 1005
#define IDC_IMAGE_ADD 1007
#define IDC_IMAGE_DELETE 1008
#define IDC_IMAGE_CLEAR_ALL 1009
#define IDC_IMAGE_RESET 1013
#define ID_IMAGE_USE_NOW 1014
#define IDC_IMAGE_MODE 1015
#define IDC_IMAGE_THUMBNAIL 1021
#define IDC_IMAGE_COUNT 1024
#define IDC_IMAGE_ADD_FOLDER 1041

// "Add Image"
#define IDD_ADD_IMAGE 112
#define IDC_ADD_IMAGE_PATH 1016
#define IDC_ADD_IMAGE_PROMPT 1017
#define IDC_ADD_IMAGE_BROWSE 1019
#define IDC_ADD_IMAGE_DAILY 1099
#define IDC_ALBUM_CAPTION 1100
#define IDC_OPTION_CAPTION 1101
#define IDC_OPTION_CAPTION_CORNER 1102
#define IDC_OPTION_CAPTION_DATE 1103
#define IDC_OPTION_CAPTION_ALBUM 1104
#define IDC_OPTION_CAPTION_CORNER_LABEL 1105
#define IDC_OPTION_LANGUAGE 1106

// "Picture of the Day": the built-in sources, each with its line.
#define IDD_DAILY 117
#define IDC_DAILY_LIST 1097
#define IDC_DAILY_ABOUT 1098
#define IDS_DAILY_BING 0xE140
#define IDS_DAILY_BING_ABOUT 0xE141
#define IDS_DAILY_SPOTLIGHT 0xE142
#define IDS_DAILY_SPOTLIGHT_ABOUT 0xE143
#define IDS_DAILY_WIKIMEDIA 0xE144
#define IDS_DAILY_WIKIMEDIA_ABOUT 0xE145
#define IDS_DAILY_APOD 0xE146
#define IDS_DAILY_APOD_ABOUT 0xE147
#define IDS_CAPTION_AS_OPTIONS 0xE148
#define IDS_CAPTION_ON 0xE149
#define IDS_CAPTION_OFF 0xE14A
#define IDS_CORNER_BOTTOM_RIGHT 0xE14B
#define IDS_CORNER_BOTTOM_LEFT 0xE14C
#define IDS_CORNER_TOP_RIGHT 0xE14D
#define IDS_CORNER_TOP_LEFT 0xE14E
// Each language names itself here, in its own words; its string block marks the languages carried.
#define IDS_LANGUAGE_NAME 0xE14F
#define IDS_LANGUAGE_AS_WINDOWS 0xE150

// "About Glimro"
#define IDD_ABOUTBOX 110
// The splash: a borderless picture, closed by its timer.
#define IDD_SPLASH 115
#define IDC_SPLASH_PICTURE 1001

// The Options window.
#define IDD_OPTIONS 160
#define IDC_HOTKEY_NEXT 1050
#define IDC_HOTKEY_PREVIOUS 1051
#define IDC_HOTKEY_PAUSE 1052
#define IDC_HOTKEY_STATUS 1053
#define IDC_OPTION_AUTOSTART 1054
#define IDC_OPTION_HOLD_FULL_SCREEN 1055
#define IDC_OPTION_HOLD_BATTERY 1056
#define ID_ALBUM_PREVIOUS 32783
#define ID_APP_OPTIONS 32784
// What can be done with the picture shown now.
#define ID_PICTURE_ABOUT 32790
#define ID_PICTURE_KEEP 32791
#define ID_PICTURE_SHOW_IN_FOLDER 32792
#define ID_PICTURE_NEVER_AGAIN 32793
// The icon's Recent Pictures, newest first.
#define ID_RECENT_FIRST 32800
#define ID_RECENT_LAST 32809
#define IDC_HOTKEY_NEVER_AGAIN 1086
// The General page's rules for which pictures fit.
#define IDC_ALBUM_SMALLEST 1090
#define IDC_ALBUM_SHAPE 1091
// The Images page's skipped pictures, and the window that lists them.
#define IDC_IMAGE_SKIPPED 1092
#define IDC_IMAGE_SKIPPED_LIST 1096
#define IDD_SKIPPED 116
#define IDC_SKIPPED_LIST 1093
#define IDC_SKIPPED_SHOW_AGAIN 1094
#define IDC_SKIPPED_SHOW_ALL 1095
#define IDC_ALBUM_FREQUENCY_NOTE 1057
// The General page's rhythm: every N, on a day, at a time.
#define IDC_ALBUM_EVERY_LABEL 1070
#define IDC_ALBUM_EVERY 1071
#define IDC_ALBUM_EVERY_SPIN 1072
#define IDC_ALBUM_EVERY_UNIT 1073
#define IDC_ALBUM_DAY_LABEL 1074
#define IDC_ALBUM_DAY 1075
#define IDC_ALBUM_AT_LABEL 1076
#define IDC_ALBUM_AT 1077
#define IDC_ALBUM_RHYTHM_NOTE 1078
#define IDC_OPTION_LATITUDE 1058
#define IDC_OPTION_LONGITUDE 1059
#define IDC_THEME_WHEN 1080
#define IDC_THEME_SCOPE 1081
#define IDC_THEME_LIGHT_LABEL 1082
#define IDC_THEME_LIGHT_AT 1083
#define IDC_THEME_DARK_LABEL 1084
#define IDC_THEME_DARK_AT 1085
// The commands' menu texts (the string of a command's own id is its status-bar line and its
// tip), and the menus' titles.
#define IDS_MENU_ALBUM 0xE100
#define IDS_MENU_VIEW 0xE101
#define IDS_MENU_HELP 0xE102
#define IDS_MENU_NEW 0xE110
#define IDS_MENU_ACTIVATE 0xE111
#define IDS_MENU_DELETE 0xE112
#define IDS_MENU_PROPERTIES 0xE113
#define IDS_MENU_NEXT 0xE114
#define IDS_MENU_PREVIOUS 0xE115
#define IDS_MENU_PAUSE 0xE116
#define IDS_MENU_ABOUT_PICTURE 0xE117
#define IDS_MENU_KEEP 0xE118
#define IDS_MENU_SHOW_IN_FOLDER 0xE119
#define IDS_MENU_NEVER_AGAIN 0xE11A
#define IDS_MENU_EXIT 0xE11B
#define IDS_MENU_TOOLBAR 0xE11C
#define IDS_MENU_STATUS_BAR 0xE11D
#define IDS_MENU_TRAY_ICON 0xE11E
#define IDS_MENU_OPTIONS 0xE11F
#define IDS_MENU_HELP_TOPICS 0xE120
#define IDS_MENU_ABOUT 0xE121
#define IDS_TRAY_NEXT 0xE130
#define IDS_TRAY_PAUSE 0xE131
#define IDS_TRAY_RESUME 0xE132
#define IDS_TRAY_RECENT 0xE133
#define IDS_TRAY_MANAGER 0xE134
#define IDS_TRAY_EXIT 0xE135
