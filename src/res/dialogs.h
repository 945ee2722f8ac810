// Dialog and menu templates, shared by the real and the simulated desktop.
#pragma once

#include "platform/dialog_template.h"

namespace res {

constexpr int32_t IDD_ABOUTBOX = 100;
constexpr int32_t IDD_MAIN_PANEL = 102;
constexpr int32_t IDD_WINLIST = 129;
constexpr int32_t IDD_CONTROL = 131;
constexpr int32_t IDD_LOCATION_SETTING = 133;
constexpr int32_t IDD_ALPHA_SETTING = 134;
constexpr int32_t IDD_LIMIT = 135;
constexpr int32_t IDD_LIMIT_SETTING = 136;
constexpr int32_t IDD_UPDATE_INTERVAL = 142;
constexpr int32_t IDR_TRAY_MENU = 132;

// Control ids.
constexpr int32_t IDC_WINLIST = 1000;
constexpr int32_t IDC_LIMIT_TITLE_STATE = 1001;
constexpr int32_t IDC_THUMB_LIST = 1002;
constexpr int32_t IDC_VERSION_TEXT = 1003;
constexpr int32_t IDC_CHANGE_PROPERTIES = 1008;
constexpr int32_t IDC_LOCATION_TEXT = 1009;
constexpr int32_t IDC_CHANGE_ALPHA = 1010;
constexpr int32_t IDC_ARRANGE = 1011;
constexpr int32_t IDC_SIZE_TEXT = 1012;
constexpr int32_t IDC_TOP_MARGIN = 1020;
constexpr int32_t IDC_LEFT_MARGIN = 1021;
constexpr int32_t IDC_RIGHT_MARGIN = 1022;
constexpr int32_t IDC_BOTTOM_MARGIN = 1023;
constexpr int32_t IDC_MARGIN_LABEL = 1024;
constexpr int32_t IDC_ALPHA_TEXT = 1025;
constexpr int32_t IDC_LIMIT_LABEL = 1029;
constexpr int32_t IDC_EXCLUDE = 1030;
constexpr int32_t IDC_LIMIT_LIST = 1031;
constexpr int32_t IDC_LIMIT_GROUP = 1032;
constexpr int32_t IDC_LIMIT_TPART = 1036;
constexpr int32_t IDC_LIMIT_CHANGE = 1040;
constexpr int32_t IDC_LIMIT_TEXT = 1041;
constexpr int32_t IDC_LIMIT_DELETE = 1042;
constexpr int32_t IDC_LIMIT_MATCH_KIND = 1043;
constexpr int32_t IDC_LIMIT_PNAME_STATE = 1052;
constexpr int32_t IDC_INTERVAL_TEXT = 1053;
constexpr int32_t IDC_MOVE_UP = 1056;
constexpr int32_t IDC_MOVE_DOWN = 1057;
constexpr int32_t IDC_MOVE_HEAD = 1058;
constexpr int32_t IDC_MOVE_TAIL = 1059;
constexpr int32_t IDC_STATUS_CODE = 1105;
constexpr int32_t IDC_LIST_TITLE = 1109;
constexpr int32_t IDC_HOME_LINK = 1114;
constexpr int32_t IDC_ABOUT_ICON = 1118;

// The property dialog (133).
constexpr int32_t IDC_LOC_TOP = 1010;  // first of the edge group: top, left, right, bottom
constexpr int32_t IDC_LOC_BOTTOM = 1011;
constexpr int32_t IDC_LOC_LEFT = 1012;
constexpr int32_t IDC_LOC_RIGHT = 1013;
constexpr int32_t IDC_TOP_MARGIN_EDIT = 1014;
constexpr int32_t IDC_BOTTOM_MARGIN_EDIT = 1015;
constexpr int32_t IDC_LEFT_MARGIN_EDIT = 1016;
constexpr int32_t IDC_RIGHT_MARGIN_EDIT = 1017;
constexpr int32_t IDC_TOP_MARGIN_SPIN = 1019;
constexpr int32_t IDC_LEFT_MARGIN_SPIN = 1020;
constexpr int32_t IDC_BOTTOM_MARGIN_SPIN = 1021;
constexpr int32_t IDC_RIGHT_MARGIN_SPIN = 1022;
constexpr int32_t IDC_SIZE_SMALL = 1028;  // first of the size group: small, middle, large
constexpr int32_t IDC_SIZE_MIDDLE = 1029;
constexpr int32_t IDC_SIZE_LARGE = 1030;
constexpr int32_t IDC_LIMIT_EDIT = 1044;
constexpr int32_t IDC_LIMIT_SPIN = 1045;
constexpr int32_t IDC_FRAME_CHECK = 1111;
constexpr int32_t IDC_HOVER_KEY = 1116;
constexpr int32_t IDC_HOVER_KEY_TEST = 1117;
// The condition dialog (136); its part of the title is IDC_LIMIT_TPART, as on the page.
constexpr int32_t IDC_LIMIT_TITLE_CHECK = 1046;
constexpr int32_t IDC_LIMIT_PNAME_CHECK = 1047;
constexpr int32_t IDC_LIMIT_FULL_NAME_CHECK = 1051;
// The transparency dialog (134).
constexpr int32_t IDC_ALPHA_EDIT = 1026;
constexpr int32_t IDC_ALPHA_SPIN = 1027;
// The update-interval dialog (142).
constexpr int32_t IDC_INTERVAL_EDIT = 1054;
constexpr int32_t IDC_INTERVAL_SPIN = 1055;

// Commands.
constexpr uint32_t ID_TRAY_MAIN_PANEL = 32771;
constexpr uint32_t ID_TRAY_EXIT = 32772;
constexpr int32_t IDR_THUMB_MENU = 137;
constexpr uint32_t ID_THUMB_ARRANGE = 32774;
constexpr uint32_t ID_THUMB_MOVE_FORWARD = 32778;
constexpr uint32_t ID_THUMB_MOVE_BACKWARD = 32779;
constexpr uint32_t ID_THUMB_EXCLUDE = 32780;
constexpr uint32_t ID_THUMB_RELOAD_ON = 32783;
constexpr uint32_t ID_THUMB_RELOAD_OFF = 32784;
constexpr uint32_t ID_THUMB_RELOAD_INTERVAL = 32785;
constexpr uint32_t ID_THUMB_COPY = 32786;
constexpr uint32_t ID_THUMB_MOVE_HEAD = 32790;
constexpr uint32_t ID_THUMB_MOVE_TAIL = 32791;
constexpr uint32_t IDM_ABOUTBOX = 0x0010;

const platform::DialogTemplate& aboutDialog();
const platform::DialogTemplate& mainPanelDialog();
const platform::DialogTemplate& winListDialog();
const platform::DialogTemplate& controlDialog();
const platform::DialogTemplate& locationSettingDialog();
const platform::DialogTemplate& alphaSettingDialog();
const platform::DialogTemplate& limitDialog();
const platform::DialogTemplate& limitSettingDialog();
const platform::DialogTemplate& updateIntervalDialog();
const platform::MenuTemplate& trayMenu();
// A preview's context menu.
const platform::MenuTemplate& thumbnailMenu();

}  // namespace res
