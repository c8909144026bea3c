// Resource and command ids of chronel.exe, shared by the resource script and the code.
#pragma once

// Strings
#define IDS_APP_CAPTION 103 // "Sylvane Programmateur"
#define IDS_APP_CLASS 109   // "CHRONEL"

// Icons
#define IDI_APP_LARGE 107 // 256, 96, 48, 32 and 16 pixels
#define IDI_APP_SMALL 108 // 32, 24, 20 and 16 pixels: the window's small icon and the tray icon

// Menu, accelerators
#define IDR_TRAY_MENU 109
#define IDR_ACCELERATORS 109

// Dialog and bitmap
#define IDD_MAIN 129
#define IDB_BANNER 133

// Commands that reach the main window
#define ID_ACCEL_HELP 104 // Alt+? and Alt+/: no window handles it
#define ID_QUIT 105
#define ID_QUIT_QUIETLY 106 // from "chronel.exe /quit": save and end without the quit question
#define ID_OPEN_SCHEDULER 32778
#define ID_LAUNCH_PLAYER 32780
#define ID_VISIT_SITE 32781
#define ID_AUTOSTART_ENDED 32782 // to the dialog, from the switch's own thread: its elevated run has ended

// Controls of the main dialog
#define IDC_TITLE_TITLE 1000
#define IDC_BANNER 1001
#define IDC_TITLE_MEROVIA 1002
#define IDC_BUTTON_ACTIVE 1003
#define IDC_BUTTON_LIST 1004
#define IDC_MEDIA_LIST 1005
#define IDC_PROGRAM_LIST 1006
#define IDC_DAY1 1007
#define IDC_DAY2 1008
#define IDC_DAY3 1009
#define IDC_DAY4 1010
#define IDC_DAY5 1011
#define IDC_DAY6 1012
#define IDC_DAY7 1013
#define IDC_TITLE_TIME2 1014
#define IDC_ALL_DAYS 1015
#define IDC_HOUR 1016
#define IDC_MINUTE 1017
#define IDC_HOUR_SPIN 1019
#define IDC_MINUTE_SPIN 1020
#define IDC_BUTTON_ADD 1022
#define IDC_BUTTON_REMOVE 1024
#define IDC_TITLE_ACTIVE 1025
#define IDC_TITLE_LIST 1026
#define IDC_TEXT_LIST 1027
#define IDC_GROUP_MAIN 1028
#define IDC_GROUP_LIST 1029
#define IDC_GROUP_PROG 1030
#define IDC_PROGRAM_NAME 1031
#define IDC_TITLE_PROGNAME 1032
#define IDC_TITLE_LIST2 1033
#define IDC_TITLE_DAY 1034
#define IDC_TITLE_TIME 1035
#define IDC_TITLE_REPEAT 1036
#define IDC_TITLE_CONFIRM 1037
#define IDC_REPEAT_YES 1038
#define IDC_REPEAT_NO 1039
#define IDC_CONFIRM_YES 1040
#define IDC_TITLE_INFO1 1041
#define IDC_TITLE_INFO2 1042
#define IDC_TEXT_REPEAT 1043
#define IDC_TEXT_LIST3 1044
#define IDC_TITLE_INFO3 1045
#define IDC_TITLE_INFO4 1046
#define IDC_TEXT_INFO1 1047
#define IDC_TEXT_INFO2 1048
#define IDC_TEXT_INFO3 1049
#define IDC_TEXT_INFO4 1050
#define IDC_CONFIRM_NO 1051
#define IDC_BUTTON_QUIT 1052
#define IDC_BUTTON_WMP 1053
#define IDC_BUTTON_MEROVIA 1054
#define IDC_TEXT_INFO1B 1055
#define IDC_TEXT_INFO5 1056
