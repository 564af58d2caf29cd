// English dialog templates.

#include "platform/base/WindowStyles.h"
#include "resources/en/Tables.h"

#include <iterator>

namespace resources::en {

namespace {

using platform::ResDialog;
using platform::ResDialogControl;
using platform::ResList;

constexpr DWORD kMainWindowStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr UINT IDC_STATIC = static_cast<UINT>(-1);

// 145: the progress window.
const ResDialogControl kProgressControls[] = {
    {IDCANCEL, "BUTTON", "Cancel", 89, 103, 50, 14, kChild | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDC_STATIC, "BUTTON", "", 4, 0, 220, 99, kChild | BS_GROUPBOX, 0},
    {1107, "BUTTON", "", 16, 15, 28, 37, kChild | BS_OWNERDRAW, 0},  // animation
    {1108, "BUTTON", "", 15, 78, 197, 14, kChild | BS_OWNERDRAW, 0},  // percentage bar
    {1109, "STATIC", "", 52, 16, 165, 32, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1110, "STATIC", "", 52, 50, 165, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1111, "STATIC", "", 52, 60, 165, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
};

// 195: the About box; the icon shown and the product line depend on the mode.
const ResDialogControl kAboutControls[] = {
    {1293, "STATIC", "#131", 18, 12, 20, 20, kChild | SS_ICON, 0},
    {1294, "STATIC", "#205", 17, 12, 21, 20, kChild | SS_ICON, 0},
    {1261, "STATIC", "Parameterisation software Tavik 2.1 for ORV/X2.1", 50, 10, 155, 10,
     kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1262, "STATIC", "Copyright (C) Vek. All rights reserved.", 50, 20, 185, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1263, "STATIC", "Build version R1.00.0431.0000", 50, 32, 185, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {IDOK, "BUTTON", "OK", 246, 10, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 246, 28, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 196: the close bar above the main-group, middle-group and device-object
// tables.
const ResDialogControl kCloseBarControls[] = {
    {IDCANCEL, "BUTTON", "Close", 61, 1, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 193: the button bar above the sub groups of the group-address insertion.
const ResDialogControl kGaSelectionBarControls[] = {
    {1256, "BUTTON", "Accept", 6, 1, 50, 14, kChild | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 61, 1, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 194: the usage dialog of a group address; the warning line shows only
// when the association reconciliation opens it.
const ResDialogControl kUsageControls[] = {
    {1258, "STATIC", "Group address", 7, 8, 60, 8, kChild | SS_LEFT, 0},
    {1259, "EDIT", "", 70, 6, 60, 12, kChild | WS_BORDER | ES_READONLY | WS_TABSTOP, 0},
    {1260, "EDIT", "", 135, 6, 118, 12, kChild | WS_BORDER | ES_READONLY | WS_TABSTOP, 0},
    {1257, "SysListView32", "", 7, 23, 246, 108, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1261, "STATIC", "Some associations are not allowed!\r\nThe group address will be removed!", 7, 134, 246, 16, WS_CHILD | SS_LEFT, 0},
    {IDOK, "BUTTON", "OK", 7, 153, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 62, 153, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 203, 153, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 115: the internal clock's form; the rows of the time, date and request
// addresses and of the send time show by the clock's mode, the comments only
// in standalone mode.
const ResDialogControl kInternalClockControls[] = {
    {1002, "STATIC", "Operating mode of clock:", 7, 8, 110, 8, kChild | SS_LEFT, 0},
    {1000, "COMBOBOX", "", 120, 6, 170, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1011, "STATIC", "Group address for time:", 7, 26, 110, 8, kChild | SS_LEFT, 0},
    {1009, "COMBOBOX", "", 120, 24, 170, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1012, "STATIC", "Group address for date:", 7, 44, 110, 8, kChild | SS_LEFT, 0},
    {1010, "COMBOBOX", "", 120, 42, 170, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1014, "STATIC", "Group address for request:", 7, 62, 110, 8, kChild | SS_LEFT, 0},
    {1015, "COMBOBOX", "", 120, 60, 170, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1013, "STATIC", "send at:", 7, 82, 110, 8, kChild | SS_LEFT, 0},
    {1003, "EDIT", "", 124, 80, 16, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1033, "STATIC", ":", 142, 82, 6, 8, kChild | SS_CENTER, 0},
    {1004, "EDIT", "", 150, 80, 16, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1016, "STATIC", "Inactive Time (mm:ss):", 7, 108, 110, 8, kChild | SS_LEFT, 0},
    {1005, "EDIT", "", 124, 106, 16, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1034, "STATIC", ":", 142, 108, 6, 8, kChild | SS_CENTER, 0},
    {1006, "EDIT", "", 150, 106, 16, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1007, "STATIC", "Time Program:", 7, 134, 110, 8, kChild | SS_LEFT, 0},
    {1017, "COMBOBOX", "", 120, 132, 170, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1019, "COMBOBOX", "", 295, 132, 80, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1115, "STATIC", "Min. telegram interval:", 7, 152, 110, 8, kChild | SS_LEFT, 0},
    {1018, "COMBOBOX", "", 120, 150, 60, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1249, "STATIC", "Installer's comment:", 7, 172, 150, 8, kChild | SS_LEFT, 0},
    {1298, "BUTTON", "", 7, 180, 368, 24, kChild | BS_GROUPBOX, 0},
    {1297, "STATIC", "", 12, 188, 358, 12, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1251, "STATIC", "User's comment:", 7, 210, 150, 8, kChild | SS_LEFT, 0},
    {1252, "EDIT", "", 7, 220, 368, 26, kChild | WS_BORDER | ES_MULTILINE | WS_TABSTOP, 0},
};

// 168: a day routine's name and bus trigger; the trigger controls show only
// while the check box is ticked.
const ResDialogControl kDayRoutineControls[] = {
    {1120, "STATIC", "No:", 7, 8, 40, 8, kChild | SS_LEFT, 0},
    {1268, "STATIC", "", 70, 8, 30, 8, kChild | SS_LEFT, 0},
    {1119, "STATIC", "Na&me:", 7, 24, 60, 8, kChild | SS_LEFT, 0},
    {1005, "EDIT", "", 70, 22, 180, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1118, "STATIC", "&Options:", 7, 42, 60, 8, kChild | SS_LEFT, 0},
    {1116, "BUTTON", "&Trigger via bus", 70, 41, 180, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {1117, "STATIC", "&Group address:", 7, 70, 60, 8, kChild | SS_LEFT, 0},
    {1007, "COMBOBOX", "", 70, 68, 180, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1121, "STATIC", "(trigger via bus)", 70, 84, 180, 8, kChild | SS_LEFT, 0},
    {IDOK, "BUTTON", "OK", 260, 6, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 260, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 260, 42, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 169: a switching time of a day routine; which value controls show
// follows the datapoint type of the chosen group address. The chooser's
// column header goes above it, the spins below the edits.
const ResDialogControl kDaySwitchTimeControls[] = {
    {1118, "STATIC", "&Time:", 7, 9, 60, 8, kChild | SS_LEFT, 0},
    {1215, "EDIT", "", 70, 7, 44, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1133, "STATIC", "&Group address:", 7, 48, 60, 8, kChild | SS_LEFT, 0},
    {1024, "COMBOBOX", "", 70, 46, 220, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1123, "STATIC", "&Value:", 7, 70, 60, 8, kChild | SS_LEFT, 0},
    {1128, "EDIT", "", 70, 68, 60, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1129, "COMBOBOX", "", 70, 68, 80, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1132, "STATIC", "", 134, 70, 20, 8, kChild | SS_LEFT, 0},
    {1124, "STATIC", "", 156, 70, 134, 8, kChild | SS_LEFT, 0},
    {1122, "STATIC", "&Exponent:", 7, 94, 60, 8, kChild | SS_LEFT, 0},
    {1018, "COMBOBOX", "", 70, 92, 60, 120, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1130, "BUTTON", "&in %", 70, 93, 50, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1131, "BUTTON", "&Standard", 125, 93, 60, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1125, "STATIC", "Options:", 7, 112, 60, 8, kChild | SS_LEFT, 0},
    {1126, "BUTTON", "Send on change only", 70, 111, 150, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 128, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 62, 128, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 240, 128, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 143: a new time for a pasted switching time, with the reason above it.
const ResDialogControl kSetSwitchTimeControls[] = {
    {1099, "STATIC", "", 7, 7, 206, 40, kChild | SS_LEFT, 0},
    {1100, "STATIC", "New switching time:", 7, 54, 70, 8, kChild | SS_LEFT, 0},
    {1244, "EDIT", "", 80, 52, 44, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "&Apply", 7, 78, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "&Cancel", 62, 78, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 163, 78, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 174: the week-routine dialog; the chooser's column header goes above it.
const ResDialogControl kWeekRoutineControls[] = {
    {1137, "STATIC", "&Day routine:", 7, 7, 80, 8, kChild | SS_LEFT, 0},
    {1136, "COMBOBOX", "", 7, 30, 200, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 52, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 62, 52, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 157, 52, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 179: a quantity; which value controls show follows the chosen type. The
// radios and the exponent share a place, as do each range edit and its
// read-only copy for 1-bit values; the spins go below the value edits.
const ResDialogControl kQuantityEditControls[] = {
    {1178, "STATIC", "No:", 7, 9, 60, 8, kChild | SS_LEFT, 0},
    {1269, "STATIC", "", 70, 9, 30, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1180, "STATIC", "Na&me:", 7, 25, 60, 8, kChild | SS_LEFT, 0},
    {1181, "EDIT", "", 70, 23, 180, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1182, "STATIC", "&Type:", 7, 43, 60, 8, kChild | SS_LEFT, 0},
    {1183, "COMBOBOX", "", 70, 41, 110, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1184, "BUTTON", "&in %", 70, 60, 50, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1185, "BUTTON", "&Standard", 125, 60, 60, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1186, "STATIC", "&Exponent:", 7, 61, 60, 8, kChild | SS_LEFT, 0},
    {1187, "COMBOBOX", "", 70, 59, 60, 120, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1188, "STATIC", "Tri&gger:", 7, 80, 60, 8, kChild | SS_LEFT, 0},
    {1189, "STATIC", "Range &A:", 15, 96, 52, 8, kChild | SS_LEFT, 0},
    {1190, "EDIT", "", 70, 94, 60, 12, kChild | WS_BORDER | WS_DISABLED | ES_READONLY, 0},
    {1270, "STATIC", "", 70, 96, 60, 8, WS_CHILD | SS_RIGHT | SS_NOPREFIX, 0},
    {1191, "STATIC", "", 133, 96, 14, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1192, "STATIC", "to:", 150, 96, 20, 8, kChild | SS_LEFT, 0},
    {1193, "EDIT", "", 172, 94, 60, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1272, "STATIC", "", 172, 96, 60, 8, WS_CHILD | SS_RIGHT | SS_NOPREFIX, 0},
    {1274, "STATIC", "", 172, 108, 60, 8, WS_CHILD | SS_LEFT | SS_NOPREFIX, 0},
    {1194, "STATIC", "", 235, 96, 14, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1195, "STATIC", "Range &B:", 15, 122, 52, 8, kChild | SS_LEFT, 0},
    {1196, "EDIT", "", 70, 120, 60, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1273, "STATIC", "", 70, 122, 60, 8, WS_CHILD | SS_RIGHT | SS_NOPREFIX, 0},
    {1275, "STATIC", "", 70, 134, 60, 8, WS_CHILD | SS_LEFT | SS_NOPREFIX, 0},
    {1197, "STATIC", "", 133, 122, 14, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1198, "STATIC", "to:", 150, 122, 20, 8, kChild | SS_LEFT, 0},
    {1199, "EDIT", "", 172, 120, 60, 12, kChild | WS_BORDER | WS_DISABLED | ES_READONLY, 0},
    {1271, "STATIC", "", 172, 122, 60, 8, WS_CHILD | SS_RIGHT | SS_NOPREFIX, 0},
    {1200, "STATIC", "", 235, 122, 14, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1201, "STATIC", "Con&dition:", 7, 148, 60, 8, kChild | SS_LEFT, 0},
    {1202, "COMBOBOX", "", 70, 146, 110, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1203, "STATIC", "&Cold start:", 7, 166, 60, 8, kChild | SS_LEFT, 0},
    {1206, "COMBOBOX", "", 70, 164, 110, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1204, "STATIC", "&Warm start:", 7, 184, 60, 8, kChild | SS_LEFT, 0},
    {1207, "COMBOBOX", "", 70, 182, 110, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1210, "STATIC", "I&nit value:", 7, 202, 60, 8, kChild | SS_LEFT, 0},
    {1208, "EDIT", "", 70, 200, 60, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1209, "STATIC", "", 133, 202, 14, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {IDOK, "BUTTON", "OK", 260, 6, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Exit", 260, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 260, 42, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 188: every setting of one quantity, read-only; "Change" opens the
// quantity dialog. The hidden edits format the values for the statics.
const ResDialogControl kQuantityViewControls[] = {
    {1219, "STATIC", "No:", 7, 9, 60, 8, kChild | SS_LEFT, 0},
    {1276, "STATIC", "", 70, 9, 40, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1218, "BUTTON", "Change", 203, 7, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1220, "STATIC", "Name:", 7, 23, 60, 8, kChild | SS_LEFT, 0},
    {1279, "STATIC", "", 70, 23, 183, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1223, "STATIC", "Type:", 7, 37, 60, 8, kChild | SS_LEFT, 0},
    {1280, "STATIC", "", 70, 37, 110, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1244, "STATIC", "", 183, 37, 70, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1224, "STATIC", "Trigger:", 7, 53, 60, 8, kChild | SS_LEFT, 0},
    {1227, "STATIC", "Range A:", 15, 67, 52, 8, kChild | SS_LEFT, 0},
    {1284, "STATIC", "", 70, 67, 55, 8, kChild | SS_RIGHT | SS_NOPREFIX, 0},
    {1232, "STATIC", "", 128, 67, 18, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1234, "STATIC", "to:", 150, 67, 20, 8, kChild | SS_LEFT, 0},
    {1272, "STATIC", "", 172, 67, 55, 8, kChild | SS_RIGHT | SS_NOPREFIX, 0},
    {1236, "STATIC", "", 230, 67, 23, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1228, "STATIC", "Range B:", 15, 81, 52, 8, kChild | SS_LEFT, 0},
    {1285, "STATIC", "", 70, 81, 55, 8, kChild | SS_RIGHT | SS_NOPREFIX, 0},
    {1233, "STATIC", "", 128, 81, 18, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1237, "STATIC", "to:", 150, 81, 20, 8, kChild | SS_LEFT, 0},
    {1273, "STATIC", "", 172, 81, 55, 8, kChild | SS_RIGHT | SS_NOPREFIX, 0},
    {1239, "STATIC", "", 230, 81, 23, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1229, "STATIC", "Condition:", 15, 95, 52, 8, kChild | SS_LEFT, 0},
    {1281, "STATIC", "", 70, 95, 183, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1225, "STATIC", "Cold start:", 7, 111, 60, 8, kChild | SS_LEFT, 0},
    {1282, "STATIC", "", 70, 111, 183, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1226, "STATIC", "Warm start:", 7, 125, 60, 8, kChild | SS_LEFT, 0},
    {1283, "STATIC", "", 70, 125, 183, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1240, "STATIC", "Init value:", 7, 139, 60, 8, kChild | SS_LEFT, 0},
    {1286, "STATIC", "", 70, 139, 55, 8, kChild | SS_RIGHT | SS_NOPREFIX, 0},
    {1242, "STATIC", "", 128, 139, 18, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1230, "EDIT", "", 70, 65, 55, 12, WS_CHILD | WS_BORDER, 0},
    {1235, "EDIT", "", 172, 65, 55, 12, WS_CHILD | WS_BORDER, 0},
    {1231, "EDIT", "", 70, 79, 55, 12, WS_CHILD | WS_BORDER, 0},
    {1238, "EDIT", "", 172, 79, 55, 12, WS_CHILD | WS_BORDER, 0},
    {1241, "EDIT", "", 70, 137, 55, 12, WS_CHILD | WS_BORDER, 0},
};

// 181: a trigger group address of a quantity; the header of the address
// chooser takes the room above it.
const ResDialogControl kQuantityTriggerControls[] = {
    {1194, "STATIC", "Group address:", 7, 26, 60, 8, kChild | SS_LEFT, 0},
    {1195, "COMBOBOX", "", 70, 24, 180, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1192, "STATIC", "Options:", 7, 44, 60, 8, kChild | SS_LEFT, 0},
    {1193, "BUTTON", "Set as sending", 70, 43, 180, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 260, 6, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 260, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 260, 42, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 182: a member of a quantity; which value controls show follows the
// datapoint type of the chosen group address. The chooser's column header
// takes the room above it, the spin goes below the value edit.
const ResDialogControl kQuantityMemberControls[] = {
    {1196, "STATIC", "&Group address:", 7, 26, 60, 8, kChild | SS_LEFT, 0},
    {1197, "COMBOBOX", "", 70, 24, 220, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1198, "STATIC", "O&bject value:", 7, 46, 60, 8, kChild | SS_LEFT, 0},
    {1200, "EDIT", "", 70, 44, 60, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1202, "COMBOBOX", "", 70, 44, 80, 60, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1201, "STATIC", "", 134, 46, 20, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1199, "STATIC", "", 156, 46, 134, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1205, "STATIC", "&Exponent:", 7, 70, 60, 8, kChild | SS_LEFT, 0},
    {1206, "COMBOBOX", "", 70, 68, 60, 120, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1203, "BUTTON", "&in %", 70, 69, 50, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1204, "BUTTON", "&Standard", 125, 69, 60, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1126, "STATIC", "&Send value:", 7, 88, 60, 8, kChild | SS_LEFT, 0},
    {1133, "BUTTON", "on trigger in range &A", 70, 87, 150, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1134, "BUTTON", "on trigger in range &B", 70, 99, 150, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1135, "BUTTON", "&only on change", 70, 113, 80, 10, kChild | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 132, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 62, 132, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 240, 132, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 202: the link dialog of group addresses: the use shown above, the
// chooser's column header between it and the chooser.
const ResDialogControl kLinkGroupAddressControls[] = {
    {1292, "STATIC", "", 7, 6, 245, 26, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1291, "STATIC", "&Group address:", 7, 50, 60, 8, kChild | SS_LEFT, 0},
    {1018, "COMBOBOX", "", 70, 48, 182, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 260, 6, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 260, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 260, 42, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 141: the device status.
const ResDialogControl kDeviceStatusControls[] = {
    {1095, "STATIC", "Address:", 7, 7, 105, 8, kChild | SS_LEFT, 0},
    {1096, "STATIC", "", 115, 7, 128, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1082, "STATIC", "Last parameter download:", 7, 19, 105, 8, kChild | SS_LEFT, 0},
    {1091, "STATIC", "", 115, 19, 128, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1113, "STATIC", "Application program status:", 7, 31, 105, 8, kChild | SS_LEFT, 0},
    {1099, "STATIC", "", 115, 31, 128, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1114, "STATIC", "ORV/X2.1 time:", 7, 43, 105, 8, kChild | SS_LEFT, 0},
    {1100, "STATIC", "", 115, 43, 128, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1084, "BUTTON", "Status of the switching program", 7, 57, 236, 88, kChild | BS_GROUPBOX, 0},
    {1098, "STATIC", "Switching program running:", 14, 70, 98, 8, kChild | SS_LEFT, 0},
    {1097, "STATIC", "", 115, 70, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1101, "STATIC", "Clock set:", 14, 82, 98, 8, kChild | SS_LEFT, 0},
    {1319, "STATIC", "", 115, 82, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1103, "STATIC", "Enabled via object:", 14, 94, 98, 8, kChild | SS_LEFT, 0},
    {1104, "STATIC", "", 115, 94, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1087, "STATIC", "Current day routine:", 14, 106, 98, 8, kChild | SS_LEFT, 0},
    {1092, "STATIC", "", 115, 106, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1088, "STATIC", "Day routine type:", 14, 118, 98, 8, kChild | SS_LEFT, 0},
    {1093, "STATIC", "", 115, 118, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1089, "STATIC", "Summer/winter time:", 14, 130, 98, 8, kChild | SS_LEFT, 0},
    {1094, "STATIC", "", 115, 130, 122, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1090, "BUTTON", "&Read status", 7, 152, 60, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "&Close", 100, 152, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "&Help", 193, 152, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 175: a daylight-saving period; the spins go below the date, time and
// shift edits, so each row leaves room under it.
const ResDialogControl kSummertimeControls[] = {
    {1143, "STATIC", "&Start:", 7, 9, 36, 8, kChild | SS_LEFT, 0},
    {1149, "STATIC", "on", 45, 9, 13, 8, kChild | SS_LEFT, 0},
    {1138, "EDIT", "", 60, 7, 50, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1139, "BUTTON", "SC", 112, 7, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1151, "STATIC", "at", 128, 9, 12, 8, kChild | SS_LEFT, 0},
    {1153, "EDIT", "", 142, 7, 30, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1144, "STATIC", "&End:", 7, 36, 36, 8, kChild | SS_LEFT, 0},
    {1150, "STATIC", "on", 45, 36, 13, 8, kChild | SS_LEFT, 0},
    {1140, "EDIT", "", 60, 34, 50, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1141, "BUTTON", "SC", 112, 34, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1152, "STATIC", "at", 128, 36, 12, 8, kChild | SS_LEFT, 0},
    {1154, "EDIT", "", 142, 34, 30, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1145, "STATIC", "&Offset:", 7, 63, 36, 8, kChild | SS_LEFT, 0},
    {1146, "EDIT", "", 60, 61, 20, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1214, "STATIC", "h", 84, 63, 10, 8, kChild | SS_LEFT, 0},
    {1320, "BUTTON", "&Automatically calculate", 7, 90, 120, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {1147, "BUTTON", "&Calculate", 193, 48, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDOK, "BUTTON", "OK", 193, 7, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 193, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 193, 88, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 140: the device's clock, read and set over the bus.
const ResDialogControl kSetDateTimeControls[] = {
    {1080, "STATIC", "Date:", 7, 10, 50, 8, kChild | SS_LEFT, 0},
    {1134, "EDIT", "", 62, 8, 56, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1135, "BUTTON", "SC", 120, 8, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1081, "STATIC", "Time:", 7, 30, 50, 8, kChild | SS_LEFT, 0},
    {1077, "EDIT", "", 62, 28, 18, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1078, "EDIT", "", 84, 28, 18, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1079, "EDIT", "", 106, 28, 18, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1287, "STATIC", "Adjust clock:", 7, 54, 52, 8, kChild | SS_LEFT, 0},
    {1288, "EDIT", "", 62, 52, 28, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1289, "STATIC", "s per month", 94, 54, 60, 8, kChild | SS_LEFT, 0},
    {1290, "STATIC", "(-255...+255)", 94, 64, 60, 8, kChild | SS_LEFT, 0},
    {1070, "BUTTON", "Read &PC time", 166, 7, 77, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1071, "BUTTON", "&Read ORV/X time", 166, 26, 77, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1072, "BUTTON", "&Write ORV/X time", 166, 45, 77, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "&Close", 7, 86, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 193, 86, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 126: the datapoint type of a group address the host gives without one;
// the sub-type list is filled but stays hidden.
const ResDialogControl kTypeSelectionControls[] = {
    {1263, "STATIC", "No data type has been selected for this group address:", 7, 7, 226, 8, kChild | SS_LEFT, 0},
    {1264, "STATIC", "Name:", 7, 22, 50, 8, kChild | SS_LEFT, 0},
    {1069, "STATIC", "", 60, 22, 173, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1265, "STATIC", "Address:", 7, 34, 50, 8, kChild | SS_LEFT, 0},
    {1068, "STATIC", "", 60, 34, 173, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {1266, "STATIC", "&Data type:", 7, 51, 50, 8, kChild | SS_LEFT, 0},
    {1015, "COMBOBOX", "", 60, 49, 173, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1267, "STATIC", "&Subdata type:", 7, 69, 50, 8, WS_CHILD | SS_LEFT, 0},
    {1032, "COMBOBOX", "", 60, 67, 173, 100, WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 88, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 62, 88, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 183, 88, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 192: a new main or middle group (the caption comes with the kind).
const ResDialogControl kMainMiddleGroupControls[] = {
    {IDC_STATIC, "STATIC", "&Address:", 7, 9, 60, 8, kChild | SS_LEFT, 0},
    {1247, "EDIT", "", 70, 7, 30, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1255, "STATIC", "", 106, 9, 60, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {IDC_STATIC, "STATIC", "&Name:", 7, 38, 60, 8, kChild | SS_LEFT, 0},
    {1246, "EDIT", "", 70, 36, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDC_STATIC, "STATIC", "&Description:", 7, 56, 60, 8, kChild | SS_LEFT, 0},
    {1250, "EDIT", "", 70, 54, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDC_STATIC, "STATIC", "&Key:", 7, 74, 60, 8, kChild | SS_LEFT, 0},
    {1252, "EDIT", "", 70, 72, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 96, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 62, 96, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 190, 96, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 191: a new sub group.
const ResDialogControl kSubGroupEditControls[] = {
    {IDC_STATIC, "STATIC", "&Address:", 7, 9, 60, 8, kChild | SS_LEFT, 0},
    {1247, "EDIT", "", 70, 7, 30, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1248, "STATIC", "", 106, 9, 60, 8, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {IDC_STATIC, "STATIC", "&Name:", 7, 38, 60, 8, kChild | SS_LEFT, 0},
    {1246, "EDIT", "", 70, 36, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDC_STATIC, "STATIC", "&Description:", 7, 56, 60, 8, kChild | SS_LEFT, 0},
    {1250, "EDIT", "", 70, 54, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {IDC_STATIC, "STATIC", "&Key:", 7, 74, 60, 8, kChild | SS_LEFT, 0},
    {1252, "EDIT", "", 70, 72, 170, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1254, "BUTTON", "&Central function", 70, 90, 170, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 110, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 62, 110, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 190, 110, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 176: a special day's period and day routine. The spins go below the
// time edits, the chooser's column header above the chooser.
const ResDialogControl kSpecialDayControls[] = {
    {1155, "STATIC", "&Start:", 7, 10, 40, 8, kChild | SS_LEFT, 0},
    {1157, "STATIC", "on", 50, 10, 14, 8, kChild | SS_LEFT, 0},
    {1159, "EDIT", "", 66, 8, 52, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1139, "BUTTON", "SC", 120, 8, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1161, "STATIC", "at", 138, 10, 12, 8, kChild | SS_LEFT, 0},
    {1164, "EDIT", "", 152, 8, 36, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1156, "STATIC", "&End:", 7, 36, 40, 8, kChild | SS_LEFT, 0},
    {1158, "STATIC", "on", 50, 36, 14, 8, kChild | SS_LEFT, 0},
    {1160, "EDIT", "", 66, 34, 52, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1141, "BUTTON", "SC", 120, 34, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1162, "STATIC", "at", 138, 36, 12, 8, kChild | SS_LEFT, 0},
    {1163, "EDIT", "", 152, 34, 36, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1165, "STATIC", "&Day routine:", 7, 78, 56, 8, kChild | SS_LEFT, 0},
    {1166, "COMBOBOX", "", 66, 76, 180, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 260, 6, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Close", 260, 24, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 260, 42, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 144: which side keeps the time where a new special day overlaps others.
const ResDialogControl kSpecialDayOverlapControls[] = {
    {1105, "STATIC",
     "The period of the new special day overlaps with one or more of the existing special days.", 7, 7, 266, 24, kChild | SS_LEFT, 0},
    {1103, "BUTTON", "&New overlaps old", 7, 40, 75, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {1104, "BUTTON", "&Old overlaps new", 87, 40, 75, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 167, 40, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 223, 40, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 139: the overview's form above its rows: the group address and the period
// whose switching times the table lists. The chooser's column header goes
// above it; the radio buttons show for 1-byte addresses only.
const ResDialogControl kOverviewControls[] = {
    {1168, "STATIC", "Group address:", 7, 22, 60, 8, kChild | SS_LEFT, 0},
    {1169, "COMBOBOX", "", 70, 20, 220, 100, kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {1171, "BUTTON", "in %", 298, 21, 40, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1172, "BUTTON", "Standard", 340, 21, 50, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1173, "STATIC", "Period:", 7, 42, 60, 8, kChild | SS_LEFT | WS_GROUP, 0},
    {1174, "STATIC", "from", 70, 42, 16, 8, kChild | SS_LEFT, 0},
    {1175, "EDIT", "", 88, 40, 56, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1139, "BUTTON", "", 146, 40, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1176, "STATIC", "to", 166, 42, 14, 8, kChild | SS_LEFT, 0},
    {1177, "EDIT", "", 182, 40, 56, 12, kChild | WS_BORDER | WS_TABSTOP, 0},
    {1141, "BUTTON", "", 240, 40, 12, 12, kChild | BS_OWNERDRAW | WS_TABSTOP, 0},
    {1167, "BUTTON", "&Show", 262, 39, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 30723: the bar over the print preview.
const ResDialogControl kPreviewBarControls[] = {
    {58116, "BUTTON", "&Print...", 4, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58114, "BUTTON", "&Next page", 58, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58115, "BUTTON", "&Prev. page", 112, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58113, "BUTTON", "&Two pages", 166, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58117, "BUTTON", "Scale &up", 220, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58118, "BUTTON", "Scale &down", 274, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {58112, "BUTTON", "&Close", 328, 2, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// 184: the print data selection; the list place takes the tree list of
// the report's sections (notify, owner-drawn with variable heights, no
// integral height, extended selection).
constexpr DWORD kPrintSelectionListStyle = 0x0001 | 0x0020 | 0x0100 | 0x0800;
const ResDialogControl kPrintSelectionControls[] = {
    {1211, "BUTTON", "Type", 7, 7, 169, 40, kChild | BS_GROUPBOX, 0},
    {1208, "BUTTON", "&All", 16, 19, 80, 10, kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0},
    {1209, "BUTTON", "&Selection", 16, 32, 80, 10, kChild | BS_AUTORADIOBUTTON, 0},
    {1212, "STATIC", "&Data fields:", 7, 54, 100, 8, kChild | SS_LEFT | WS_GROUP, 0},
    {1210, "LISTBOX", "", 7, 65, 169, 168, kChild | kPrintSelectionListStyle | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0},
    {IDOK, "BUTTON", "OK", 7, 240, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, "BUTTON", "Cancel", 66, 240, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {1299, "BUTTON", "Help", 126, 240, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

const ResDialog kDialogs[] = {
    {30723, nullptr, 0, 0, 384, 18, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kPreviewBarControls, std::size(kPreviewBarControls)}},
    {139, nullptr, 0, 0, 400, 58, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kOverviewControls, std::size(kOverviewControls)}},
    {144, "Overlapping of periods", 0, 0, 280, 61, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kSpecialDayOverlapControls, std::size(kSpecialDayOverlapControls)}},
    {176, "Special day range", 0, 0, 317, 100, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kSpecialDayControls, std::size(kSpecialDayControls)}},
    {191, "Edit subgroup", 0, 0, 247, 131, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kSubGroupEditControls, std::size(kSubGroupEditControls)}},
    {192, nullptr, 0, 0, 247, 117, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kMainMiddleGroupControls, std::size(kMainMiddleGroupControls)}},
    {126, "Group address", 0, 0, 240, 109, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kTypeSelectionControls, std::size(kTypeSelectionControls)}},
    {140, "Set date/time", 0, 0, 250, 107, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kSetDateTimeControls, std::size(kSetDateTimeControls)}},
    {115, nullptr, 0, 0, 382, 252, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kInternalClockControls, std::size(kInternalClockControls)}},
    {175, "Daylight saving time", 0, 0, 250, 109, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kSummertimeControls, std::size(kSummertimeControls)}},
    {141, "Device status", 0, 0, 250, 173, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kDeviceStatusControls, std::size(kDeviceStatusControls)}},
    {143, "Adjust switching time", 0, 0, 220, 99, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kSetSwitchTimeControls, std::size(kSetSwitchTimeControls)}},
    {145, "", 0, 0, 227, 121, "MS Sans Serif", 8, WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kProgressControls, std::size(kProgressControls)}},
    {168, "Day routine", 0, 0, 317, 100, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kDayRoutineControls, std::size(kDayRoutineControls)}},
    {169, "Switching time for day routine", 0, 0, 297, 149, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kDaySwitchTimeControls, std::size(kDaySwitchTimeControls)}},
    {174, "Standard day routine for", 0, 0, 214, 73, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kWeekRoutineControls, std::size(kWeekRoutineControls)}},
    {179, "Group", 0, 0, 317, 224, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kQuantityEditControls, std::size(kQuantityEditControls)}},
    {181, "Trigger for group", 0, 0, 317, 62, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kQuantityTriggerControls, std::size(kQuantityTriggerControls)}},
    {182, "Member for group", 0, 0, 297, 153, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kQuantityMemberControls, std::size(kQuantityMemberControls)}},
    {184, "Print data selection", 0, 0, 183, 261, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kPrintSelectionControls, std::size(kPrintSelectionControls)}},
    {188, nullptr, 0, 0, 260, 155, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kQuantityViewControls, std::size(kQuantityViewControls)}},
    {194, "Usage", 0, 0, 260, 174, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kUsageControls, std::size(kUsageControls)}},
    {195, "About parameterisation software Tavik 2.1", 0, 0, 305, 50, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0,
     ResList<ResDialogControl>{kAboutControls, std::size(kAboutControls)}},
    {193, nullptr, 0, 0, 112, 16, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kGaSelectionBarControls, std::size(kGaSelectionBarControls)}},
    // The group-address insertion: the strip and the window are made in code.
    {122, "Add group addresses", 0, 0, 402, 324, "MS Sans Serif", 8,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_SETFONT, 0, ResList<ResDialogControl>{}},
    {196, nullptr, 0, 0, 112, 16, "MS Sans Serif", 8, WS_CHILD | WS_VISIBLE | DS_SETFONT, 0,
     ResList<ResDialogControl>{kCloseBarControls, std::size(kCloseBarControls)}},
    {202, "Link group address", 0, 0, 317, 68, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     0, ResList<ResDialogControl>{kLinkGroupAddressControls, std::size(kLinkGroupAddressControls)}},
    // The main window; its caption is replaced as soon as it initialises.
    {207, "Dialog", 0, 0, 340, 191, "MS Shell Dlg", 8, kMainWindowStyle, 0, ResList<ResDialogControl>{}},
};

}  // namespace

const platform::ResList<platform::ResDialog> g_dialogs{kDialogs, sizeof(kDialogs) / sizeof(kDialogs[0])};

}  // namespace resources::en
