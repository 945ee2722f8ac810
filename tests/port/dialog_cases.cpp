// The program's own dialogs from templates: controls by id, texts in code page 932 both
// ways, child pages, and list views.
#include <algorithm>

#include "port_case.h"

namespace {

using namespace platform;

constexpr int32_t kStaticId = 1001;
constexpr int32_t kButtonId = 1002;
constexpr int32_t kListId = 1003;
constexpr int32_t kEditId = 1005;

const DialogTemplate kDialog{
    100,
    "ポート試験",
    0,
    0,
    240,
    120,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    0,
    "ＭＳ Ｐゴシック",
    9,
    {
        {ControlClass::Static, kStaticId, "表示ソフトの日本語テキスト", 7, 7, 226, 12, SS_LEFT},
        {ControlClass::Static, -1, "ラベル", 7, 22, 60, 10, SS_LEFT},
        {ControlClass::Edit, kEditId, "", 70, 21, 100, 12, ES_AUTOHSCROLL | WS_BORDER},
        {ControlClass::ListView, kListId, "", 7, 36, 226, 60,
         LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER},
        {ControlClass::Button, kButtonId, "閉じる", 170, 100, 63, 16, BS_PUSHBUTTON},
    }};

// A page that lives inside the dialog, as the main panel's pages do.
const DialogTemplate kPage{101,
                           "",
                           7,
                           100,
                           150,
                           16,
                           WS_CHILD | DS_CONTROL,
                           0,
                           "ＭＳ Ｐゴシック",
                           9,
                           {{ControlClass::Static, -1, "子ページ", 0, 0, 100, 10, SS_LEFT}}};

class Handler : public MessageHandler {
 public:
  explicit Handler(OwnWindows& own) : own_(own) {}
  Hwnd window;
  bool initialised = false;
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    if (message == WM_INITDIALOG) {
      window = hwnd;
      initialised = true;
    }
    return own_.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  OwnWindows& own_;
};

bool listed(Windows& windows, Hwnd window) {
  const std::vector<Hwnd> all = windows.enumWindows();
  return std::find(all.begin(), all.end(), window) != all.end();
}

}  // namespace

// Controls by id, texts round-trip in code page 932 (a trail byte of 0x5C included), titles
// cut at a whole character, and a child page that is no top-level window.
PORT_CASE(DialogControlsAndTexts) {
  Platform& p = fixture.platform();
  Handler handler(p.ownWindows), pageHandler(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kDialog, {}, &handler);
  PORT_EXPECT(dialog);
  PORT_EXPECT(handler.initialised && handler.window == dialog);
  PORT_EXPECT(listed(p.windows, dialog));
  PORT_EXPECT_EQ(p.dialogs.getDlgCtrlId(p.dialogs.getDlgItem(dialog, kButtonId)), kButtonId);
  PORT_EXPECT_EQ(p.dialogs.getDlgCtrlId(p.dialogs.getDlgItem(dialog, -1)), -1);
  PORT_EXPECT(!p.dialogs.getDlgItem(dialog, 4242));
  PORT_EXPECT_EQ(port_test::hex(p.dialogs.getDlgItemText(dialog, kStaticId)),
                 port_test::hex("表示ソフトの日本語テキスト"));

  const std::string editText = "編集欄＼表";
  PORT_EXPECT(p.dialogs.setDlgItemText(dialog, kEditId, editText));
  PORT_EXPECT_EQ(port_test::hex(p.dialogs.getDlgItemText(dialog, kEditId)),
                 port_test::hex(editText));

  PORT_EXPECT(p.ownWindows.setWindowText(dialog, "表示 Tundra"));
  PORT_EXPECT_EQ(port_test::hex(p.windows.getWindowText(dialog, 256)),
                 port_test::hex("表示 Tundra"));
  // Four bytes hold one double-byte character and a half: the half is cut.
  PORT_EXPECT_EQ(port_test::hex(p.windows.getWindowText(dialog, 4)), port_test::hex("表"));

  const Hwnd edit = p.dialogs.getDlgItem(dialog, kEditId);
  PORT_EXPECT(p.windows.isWindowEnabled(edit));
  p.windows.enableWindow(edit, false);
  PORT_EXPECT(!p.windows.isWindowEnabled(edit));
  p.windows.enableWindow(edit, true);
  PORT_EXPECT(p.windows.isWindowEnabled(edit));

  const Hwnd page = p.dialogs.createDialog(kPage, dialog, &pageHandler);
  PORT_EXPECT(page && page == pageHandler.window);
  PORT_EXPECT(p.windows.getWindowLong(page, GWL_STYLE) & WS_CHILD);
  PORT_EXPECT(!p.windows.isWindowVisible(page));
  PORT_EXPECT(!listed(p.windows, page));

  p.windows.showWindow(dialog, SW_SHOWNOACTIVATE);
  WindowPlacement placement;
  PORT_EXPECT(p.windows.getWindowPlacement(dialog, placement));
  PORT_EXPECT_EQ(placement.showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
  Rect rect, client;
  p.windows.getWindowRect(dialog, rect);
  p.windows.getClientRect(dialog, client);
  PORT_EXPECT(placement.normalPosition == rect);
  PORT_EXPECT(client.left == 0 && client.top == 0);
  PORT_EXPECT(client.width() > 0 && client.width() < rect.width());
  PORT_EXPECT(client.height() > 0 && client.height() < rect.height());
  p.ownWindows.destroyWindow(dialog);
  PORT_EXPECT(!p.windows.isWindow(page));
}

// Rows in code page 932, inserted before and after, long texts read back whole, a missing
// row or column read as empty, and the selection mark, which moves with its row.
PORT_CASE(ListViewRows) {
  Platform& p = fixture.platform();
  Handler handler(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kDialog, {}, &handler);
  const Hwnd list = p.dialogs.getDlgItem(dialog, kListId);
  ListViews& lv = p.listViews;
  lv.listViewSetExtendedStyle(list, LVS_EX_FULLROWSELECT);
  lv.listViewInsertColumn(list, 0, "名前", 120);
  lv.listViewInsertColumn(list, 1, "値", 200);
  std::string longText;
  for (int i = 0; i < 300; ++i) longText += "あ";

  PORT_EXPECT_EQ(lv.listViewInsertItem(list, 0, "表示ソフト", -1), 0);
  lv.listViewSetItemText(list, 0, 1, "①②");
  PORT_EXPECT_EQ(lv.listViewInsertItem(list, 1, "plain", -1), 1);
  // Inserting before row 0 shifts the others down.
  PORT_EXPECT_EQ(lv.listViewInsertItem(list, 0, "先頭", -1), 0);
  lv.listViewSetItemText(list, 0, 1, longText);
  PORT_EXPECT_EQ(lv.listViewItemCount(list), 3);
  PORT_EXPECT_EQ(port_test::hex(lv.listViewGetItemText(list, 0, 0)), port_test::hex("先頭"));
  PORT_EXPECT_EQ(lv.listViewGetItemText(list, 0, 1).size(), longText.size());
  PORT_EXPECT(lv.listViewGetItemText(list, 0, 1) == longText);
  PORT_EXPECT_EQ(port_test::hex(lv.listViewGetItemText(list, 1, 0)), port_test::hex("表示ソフト"));
  PORT_EXPECT_EQ(port_test::hex(lv.listViewGetItemText(list, 1, 1)), port_test::hex("①②"));
  PORT_EXPECT_EQ(lv.listViewGetItemText(list, 2, 0), "plain");
  PORT_EXPECT_EQ(lv.listViewGetItemText(list, 9, 0), "");
  PORT_EXPECT_EQ(lv.listViewInsertItem(list, 99, "末尾", -1), 3);  // appended
  PORT_EXPECT_EQ(lv.listViewInsertItem(list, -1, "bad", -1), -1);
  lv.listViewSetItemText(list, 3, 2, "lost");  // no such column
  PORT_EXPECT_EQ(lv.listViewGetItemText(list, 3, 2), "");

  PORT_EXPECT_EQ(lv.listViewGetSelectionMark(list), -1);
  lv.listViewSelectRow(list, 2);
  PORT_EXPECT_EQ(lv.listViewGetSelectionMark(list), 2);
  // Inserting above the mark moves it with its row.
  lv.listViewInsertItem(list, 0, "新", -1);
  PORT_EXPECT_EQ(lv.listViewGetSelectionMark(list), 3);
  PORT_EXPECT_EQ(lv.listViewGetItemText(list, 3, 0), "plain");
  lv.listViewDeleteAllItems(list);
  PORT_EXPECT_EQ(lv.listViewItemCount(list), 0);
  PORT_EXPECT_EQ(lv.listViewGetSelectionMark(list), -1);
  p.ownWindows.destroyWindow(dialog);
}

namespace {

constexpr int32_t kNumberId = 1010;
constexpr int32_t kSpinId = 1011;
constexpr int32_t kFirstRadioId = 1012;

const DialogTemplate kSpinDialog{
    102,
    "スピン",
    0,
    0,
    120,
    60,
    WS_POPUP | WS_CAPTION | DS_MODALFRAME,
    0,
    "ＭＳ Ｐゴシック",
    9,
    {
        {ControlClass::Edit, kNumberId, "", 7, 7, 40, 12, ES_AUTOHSCROLL | WS_BORDER | WS_GROUP},
        {ControlClass::UpDown, kSpinId, "", 47, 7, 10, 12,
         UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS},
        {ControlClass::Button, kFirstRadioId, "一", 7, 25, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP},
        {ControlClass::Button, kFirstRadioId + 1, "二", 50, 25, 40, 10, BS_AUTORADIOBUTTON},
    }};

}  // namespace

// An up-down control shows its position in the edit box made before it and reads the box
// back: a number within its range becomes the position, other texts keep the last one and
// say so in the high word (an empty box reads 0 when 0 is within the range). Radio buttons
// keep the check they are given.
PORT_CASE(UpDownReadsItsBuddy) {
  Platform& p = fixture.platform();
  Handler handler(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kSpinDialog, {}, &handler);
  PORT_EXPECT(dialog);
  const Hwnd spin = p.dialogs.getDlgItem(dialog, kSpinId);
  p.messages.sendMessage(spin, UDM_SETRANGE32, 20, 100);
  p.messages.sendMessage(spin, UDM_SETPOS32, 0, 60);
  PORT_EXPECT_EQ(p.dialogs.getDlgItemText(dialog, kNumberId), std::string("60"));
  const std::pair<const char*, LResult> reads[] = {
      {"42", 42},         {" 43", 43},         {"abc", 43 | 0x10000}, {"150", 43 | 0x10000},
      {"", 43 | 0x10000}, {"-", 43 | 0x10000}, {"44 ", 43 | 0x10000}, {"0x30", 43 | 0x10000},
      {"100", 100},
  };
  for (const auto& [text, answer] : reads) {
    p.dialogs.setDlgItemText(dialog, kNumberId, text);
    PORT_EXPECT_EQ(p.messages.sendMessage(spin, UDM_GETPOS, 0, 0) & 0x1FFFF, answer);
  }
  p.messages.sendMessage(spin, UDM_SETRANGE32, 0, 100);
  p.dialogs.setDlgItemText(dialog, kNumberId, "");
  PORT_EXPECT_EQ(p.messages.sendMessage(spin, UDM_GETPOS, 0, 0) & 0x1FFFF, LResult{0});

  const Hwnd second = p.dialogs.getDlgItem(dialog, kFirstRadioId + 1);
  p.messages.sendMessage(second, BM_SETCHECK, BST_CHECKED, 0);
  PORT_EXPECT_EQ(p.messages.sendMessage(second, BM_GETCHECK, 0, 0), LResult{BST_CHECKED});
  PORT_EXPECT_EQ(
      p.messages.sendMessage(p.dialogs.getDlgItem(dialog, kFirstRadioId), BM_GETCHECK, 0, 0),
      LResult{0});
  p.ownWindows.destroyWindow(dialog);
}

// Children by class, as web reload finds a browser's inner windows: the first child is the
// first created, classes match in any case, and the search goes on after a given child.
PORT_CASE(ChildWindowsFoundByClass) {
  Platform& p = fixture.platform();
  Handler handler(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kDialog, {}, &handler);
  const Hwnd text = p.dialogs.getDlgItem(dialog, kStaticId);
  PORT_EXPECT(text);
  PORT_EXPECT(p.windows.findWindowEx(dialog, {}, "") == text);
  PORT_EXPECT(p.windows.findWindowEx(dialog, {}, "edit") == p.dialogs.getDlgItem(dialog, kEditId));
  PORT_EXPECT(p.windows.findWindowEx(dialog, text, "Static") == p.dialogs.getDlgItem(dialog, -1));
  PORT_EXPECT(p.windows.findWindowEx(dialog, {}, "SysListView32") ==
              p.dialogs.getDlgItem(dialog, kListId));
  PORT_EXPECT(!p.windows.findWindowEx(dialog, p.dialogs.getDlgItem(dialog, kEditId), "Edit"));
  PORT_EXPECT(!p.windows.findWindowEx(dialog, {}, "Chrome_ContainerWin_0"));
  PORT_EXPECT(!p.windows.findWindowEx(text, {}, ""));  // a control without children
  // Class names come back as the system registered them, whatever case a search used.
  PORT_EXPECT_EQ(p.windows.getClassName(text), std::string("Static"));
  PORT_EXPECT_EQ(p.windows.getClassName(dialog), std::string("#32770"));
  p.ownWindows.destroyWindow(dialog);
  PORT_EXPECT(!p.windows.findWindowEx(dialog, {}, ""));
  PORT_EXPECT_EQ(p.windows.getClassName(dialog), std::string());
}
