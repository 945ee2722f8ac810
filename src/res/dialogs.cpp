#include "res/dialogs.h"

namespace res {

using namespace platform;

namespace {

constexpr const char* kFont = "ＭＳ Ｐゴシック";
constexpr uint32_t kValue = SS_CENTER | SS_SUNKEN;          // centred, sunken value field
constexpr uint32_t kValueMiddle = kValue | SS_CENTERIMAGE;  // ...also centred vertically
constexpr uint32_t kReportList =
    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
constexpr uint32_t kPage = WS_CHILD | WS_BORDER | DS_CONTROL | DS_SETFONT;

ControlTemplate group(const char* text, int16_t x, int16_t y, int16_t cx, int16_t cy,
                      int32_t id = -1) {
  return {ControlClass::Button, id, text, x, y, cx, cy, BS_GROUPBOX};
}
ControlTemplate label(int32_t id, const char* text, int16_t x, int16_t y, int16_t cx, int16_t cy,
                      uint32_t style = SS_LEFT) {
  return {ControlClass::Static, id, text, x, y, cx, cy, style};
}
ControlTemplate button(int32_t id, const char* text, int16_t x, int16_t y, int16_t cx, int16_t cy,
                       uint32_t style = BS_PUSHBUTTON | WS_TABSTOP) {
  return {ControlClass::Button, id, text, x, y, cx, cy, style};
}
ControlTemplate radio(int32_t id, const char* text, int16_t x, int16_t y, int16_t cx, int16_t cy,
                      bool first = false) {
  return {ControlClass::Button,
          id,
          text,
          x,
          y,
          cx,
          cy,
          BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0u)};
}
// An edit box for a number and its up-down control, which takes the edit box made just
// before it as its buddy and shows its position there.
ControlTemplate numberEdit(int32_t id, int16_t x, int16_t y, int16_t cx, int16_t cy) {
  return {
      ControlClass::Edit, id, "", x, y, cx, cy, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP};
}
ControlTemplate spin(int32_t id, int16_t x, int16_t y) {
  return {ControlClass::UpDown,
          id,
          "",
          x,
          y,
          10,
          12,
          UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS};
}
constexpr uint32_t kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

ControlTemplate link(int16_t x, int16_t y, int16_t cx, int16_t cy) {
  return {ControlClass::Link, IDC_HOME_LINK, "<a>Powered By Pebblewick</a>", x, y, cx, cy,
          WS_TABSTOP};
}

}  // namespace

// Laid out as a resource script would be: one control a line, in the order of the tab stops.
// clang-format off
const DialogTemplate& aboutDialog() {
  static const DialogTemplate dialog{
      IDD_ABOUTBOX,
      "Quillmoor for Tundra のバージョン情報",
      0, 0, 235, 55,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT,
      0, kFont, 9,
      {
          {ControlClass::Static, IDC_ABOUT_ICON, "", 11, 14, 20, 20, SS_ICON},
          label(IDC_VERSION_TEXT, "", 40, 10, 188, 8),
          label(-1, "Copyright (C) Pebblewick", 40, 22, 130, 8),
          link(40, 36, 100, 9),
          button(IDOK, "OK", 178, 34, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP),
      }};
  return dialog;
}

const DialogTemplate& mainPanelDialog() {
  static const DialogTemplate dialog{
      IDD_MAIN_PANEL,
      "Quillmoor for Tundra",
      0, 0, 323, 273,
      WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME |
          DS_SETFONT,
      WS_EX_APPWINDOW, kFont, 9,
      {link(240, 3, 78, 9)}};
  return dialog;
}

const DialogTemplate& winListDialog() {
  static const DialogTemplate dialog{
      IDD_WINLIST,
      "ウィンドウ検出状態",
      0, 0, 147, 116,
      WS_POPUP | WS_CAPTION | DS_SETFONT,
      WS_EX_TOOLWINDOW, kFont, 9,
      {
          label(-1, "ウィンドウ検出状態", 4, 2, 80, 8),
          {ControlClass::ListView, IDC_WINLIST, "", 2, 12, 143, 102, kReportList},
      }};
  return dialog;
}

const DialogTemplate& controlDialog() {
  static const DialogTemplate dialog{
      IDD_CONTROL,
      "",
      5, 125, 311, 136,
      kPage,
      WS_EX_CLIENTEDGE, kFont, 9,
      {
          group("制御プロパティ", 3, 92, 303, 42),
          label(IDC_LOCATION_TEXT, "上に並べる", 7, 105, 47, 10, kValue),
          label(IDC_SIZE_TEXT, "size:small", 7, 118, 47, 10, kValue),
          label(IDC_MARGIN_LABEL, "マージン", 60, 102, 26, 8),
          label(IDC_TOP_MARGIN, "1000", 89, 107, 15, 8, kValueMiddle),
          label(IDC_LEFT_MARGIN, "1000", 72, 116, 15, 8, kValueMiddle),
          label(IDC_RIGHT_MARGIN, "1000", 104, 116, 15, 8, kValueMiddle),
          label(IDC_BOTTOM_MARGIN, "1000", 88, 123, 15, 8, kValueMiddle),
          label(IDC_LIMIT_LABEL, "管理数上限", 192, 103, 35, 8),
          label(IDC_LIMIT_TEXT, "10", 231, 102, 21, 10, kValueMiddle),
          label(IDC_INTERVAL_TEXT, "5", 156, 120, 21, 9, kValueMiddle),
          label(-1, "×100ms間隔", 179, 120, 40, 8),
          label(IDC_STATUS_CODE, "", 228, 120, 31, 10, SS_SUNKEN),
          button(IDC_CHANGE_PROPERTIES, "変更", 264, 102, 35, 30),
          label(IDC_LIST_TITLE, "サムネイル一覧", 4, 1, 47, 8),
          // The icon cache owns the image list; the list only shows it.
          {ControlClass::ListView, IDC_THUMB_LIST, "", 2, 11, 184, 79,
           kReportList | LVS_SHAREIMAGELISTS},
          group("透明度", 228, 66, 78, 26),
          label(IDC_ALPHA_TEXT, "100", 234, 78, 15, 8, kValueMiddle),
          label(-1, "%", 246, 78, 11, 8, SS_CENTER),
          button(IDC_CHANGE_ALPHA, "変更", 264, 73, 35, 14),
          button(IDC_EXCLUDE, "除外する↑↑", 192, 6, 114, 15),
          button(IDC_MOVE_HEAD, "先頭", 192, 24, 30, 15),
          button(IDC_MOVE_UP, "↑", 192, 42, 30, 15),
          button(IDC_MOVE_DOWN, "↓", 192, 60, 30, 14),
          button(IDC_MOVE_TAIL, "最後尾", 192, 78, 30, 14),
          button(IDC_ARRANGE, "整列", 246, 24, 60, 33),
      }};
  return dialog;
}

const DialogTemplate& locationSettingDialog() {
  static const DialogTemplate dialog{
      IDD_LOCATION_SETTING,
      "プロパティ設定",
      0, 0, 183, 271,
      kModal | DS_CENTER,
      0, kFont, 9,
      {
          group("並べる位置", 7, 4, 169, 62),
          // Group order is the value: top 0, left 1, right 2, bottom 3.
          radio(IDC_LOC_TOP, "上に並べる", 67, 16, 50, 10, true),
          radio(IDC_LOC_LEFT, "左に並べる", 20, 32, 50, 10),
          radio(IDC_LOC_RIGHT, "右に並べる", 114, 32, 50, 10),
          radio(IDC_LOC_BOTTOM, "下に並べる", 67, 48, 50, 10),
          {ControlClass::Button, -1, "大きさ", 7, 70, 169, 26, BS_GROUPBOX | WS_GROUP},
          radio(IDC_SIZE_SMALL, "small", 20, 81, 40, 10, true),
          radio(IDC_SIZE_MIDDLE, "middle", 70, 81, 40, 10),
          radio(IDC_SIZE_LARGE, "large", 120, 81, 40, 10),
          {ControlClass::Button, -1, "隙間（画面端からのどれだけ離すか設定します。)", 7, 100, 169,
           64, BS_GROUPBOX | WS_GROUP},
          numberEdit(IDC_TOP_MARGIN_EDIT, 70, 112, 34, 12),
          spin(IDC_TOP_MARGIN_SPIN, 104, 112),
          numberEdit(IDC_LEFT_MARGIN_EDIT, 20, 128, 34, 12),
          spin(IDC_LEFT_MARGIN_SPIN, 54, 128),
          numberEdit(IDC_RIGHT_MARGIN_EDIT, 120, 128, 34, 12),
          spin(IDC_RIGHT_MARGIN_SPIN, 154, 128),
          numberEdit(IDC_BOTTOM_MARGIN_EDIT, 70, 144, 34, 12),
          spin(IDC_BOTTOM_MARGIN_SPIN, 104, 144),
          group("管理数", 7, 168, 80, 28),
          numberEdit(IDC_LIMIT_EDIT, 17, 179, 40, 12),
          spin(IDC_LIMIT_SPIN, 57, 179),
          group("サイズ変更枠常時表示", 94, 168, 82, 28),
          {ControlClass::Button, IDC_FRAME_CHECK, "有効", 104, 180, 50, 10,
           BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP},
          group("Hoverキー（HotKey)", 7, 200, 169, 42),
          {ControlClass::HotKey, IDC_HOVER_KEY, "", 15, 214, 100, 13,
           WS_BORDER | WS_TABSTOP | WS_GROUP},
          button(IDC_HOVER_KEY_TEST, "重複確認", 122, 213, 48, 15),
          button(IDOK, "OK", 38, 250, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
          button(IDCANCEL, "ｷｬﾝｾﾙ", 95, 250, 50, 14),
      }};
  return dialog;
}

const DialogTemplate& alphaSettingDialog() {
  static const DialogTemplate dialog{
      IDD_ALPHA_SETTING,
      "透明度設定",
      0, 0, 187, 67,
      kModal | DS_CENTER,
      0, kFont, 9,
      {
          group("透明度", 7, 4, 173, 38),
          numberEdit(IDC_ALPHA_EDIT, 12, 18, 30, 13),
          spin(IDC_ALPHA_SPIN, 42, 18),
          label(-1, "20%(薄い)～100%(濃い）の範囲で設定", 54, 20, 124, 8),
          button(IDOK, "OK", 74, 47, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
          button(IDCANCEL, "ｷｬﾝｾﾙ", 130, 47, 50, 14),
      }};
  return dialog;
}

const DialogTemplate& updateIntervalDialog() {
  static const DialogTemplate dialog{
      IDD_UPDATE_INTERVAL,
      "更新間隔設定",
      0, 0, 118, 76,
      kModal | DS_CENTER,
      0, kFont, 9,
      {
          group("更新時間設定（単位：秒）", 7, 4, 104, 40),
          {ControlClass::Edit, IDC_INTERVAL_EDIT, "", 34, 20, 40, 13,
           ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP},
          spin(IDC_INTERVAL_SPIN, 74, 20),
          button(IDOK, "OK", 7, 53, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
          button(IDCANCEL, "ｷｬﾝｾﾙ", 61, 53, 50, 14),
      }};
  return dialog;
}

const DialogTemplate& limitDialog() {
  static const DialogTemplate dialog{
      IDD_LIMIT,
      "",
      5, 15, 311, 107,
      kPage,
      WS_EX_CLIENTEDGE, kFont, 9,
      {
          label(-1, "除外リスト", 4, 1, 60, 8),
          {ControlClass::ListView, IDC_LIMIT_LIST, "", 2, 11, 150, 93, kReportList},
          group("除外条件", 156, 2, 104, 30, IDC_LIMIT_GROUP),
          label(IDC_LIMIT_TITLE_STATE, "", 162, 14, 44, 12, kValueMiddle),
          label(IDC_LIMIT_PNAME_STATE, "", 210, 14, 46, 12, kValueMiddle),
          group("タイトル名判定条件", 156, 35, 104, 68),
          label(IDC_LIMIT_MATCH_KIND, "", 162, 47, 92, 12, kValueMiddle),
          {ControlClass::Edit, IDC_LIMIT_TPART, "", 162, 63, 92, 13,
           ES_READONLY | ES_AUTOHSCROLL | WS_BORDER},
          label(-1, "を含む文字列で判定", 162, 79, 92, 8),
          button(IDC_LIMIT_CHANGE, "条件変更", 264, 6, 43, 20),
          button(IDC_LIMIT_DELETE, "条件削除", 264, 30, 43, 20),
      }};
  return dialog;
}

const DialogTemplate& limitSettingDialog() {
  constexpr uint32_t kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  static const DialogTemplate dialog{
      IDD_LIMIT_SETTING,
      "除外条件設定",
      0, 0, 187, 137,
      kModal | DS_CENTER,
      0, kFont, 9,
      {
          group("除外条件", 7, 4, 173, 42),
          {ControlClass::Button, IDC_LIMIT_TITLE_CHECK, "タイトル名で判定する", 17, 16, 120, 10,
           kCheck | WS_GROUP},
          {ControlClass::Button, IDC_LIMIT_PNAME_CHECK, "プロセス名で判定する", 17, 30, 120, 10,
           kCheck},
          group("タイトル名判定条件", 7, 50, 173, 62),
          {ControlClass::Button, IDC_LIMIT_FULL_NAME_CHECK, "フルネームで判定する", 17, 62, 120,
           10, kCheck | WS_GROUP},
          {ControlClass::Edit, IDC_LIMIT_TPART, "", 17, 77, 155, 13,
           ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
          label(-1, "を含むタイトルを除外する", 17, 95, 155, 8),
          button(IDOK, "OK", 74, 117, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
          button(IDCANCEL, "ｷｬﾝｾﾙ", 130, 117, 50, 14),
      }};
  return dialog;
}

const MenuTemplate& trayMenu() {
  static const MenuTemplate menu{IDR_TRAY_MENU,
                                 "TRAY",
                                 {{ID_TRAY_MAIN_PANEL, "MainPanel"},
                                  {0, nullptr},
                                  {ID_TRAY_EXIT, "終了"}}};
  return menu;
}

const MenuTemplate& thumbnailMenu() {
  static const MenuTemplate menu{
      IDR_THUMB_MENU,
      "THUMB_POPUP",
      {{ID_THUMB_ARRANGE, "整列            "},
       {0, nullptr},
       {0, "移動",
        {{ID_THUMB_MOVE_HEAD, "先頭に移動"},
         {ID_THUMB_MOVE_FORWARD, "前に移動"},
         {ID_THUMB_MOVE_BACKWARD, "後ろに移動"},
         {ID_THUMB_MOVE_TAIL, "最後尾に移動"}}},
       {0, nullptr},
       {ID_THUMB_COPY, "クリップボードにコピー"},
       {0, nullptr},
       {ID_THUMB_EXCLUDE, "除外"},
       {0, nullptr},
       {0, "Webリロード",
        {{ID_THUMB_RELOAD_ON, "する"},
         {ID_THUMB_RELOAD_OFF, "しない"},
         {0, nullptr},
         {ID_THUMB_RELOAD_INTERVAL, "間隔設定"}}}}};
  return menu;
}

// clang-format on

}  // namespace res
