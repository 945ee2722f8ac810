// The hot-key edit control's port: a standard hot-key control subclassed, with its window
// text; one low-level keyboard hook at a time; the layout's key names.
#include "port_case.h"

namespace {

using namespace platform;

constexpr int32_t kHotKeyId = 1116;

const DialogTemplate kDialog{
    110,
    "キー",
    0,
    0,
    160,
    40,
    WS_POPUP | WS_CAPTION | DS_MODALFRAME,
    0,
    "ＭＳ Ｐゴシック",
    9,
    {{ControlClass::HotKey, kHotKeyId, "", 7, 7, 100, 13, WS_BORDER | WS_TABSTOP}}};

class Counter : public MessageHandler {
 public:
  explicit Counter(OwnWindows& own) : own_(own) {}
  int paints = 0;
  uint32_t last = 0;
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    last = message;
    if (message == WM_PAINT) ++paints;
    return own_.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  OwnWindows& own_;
};

class Sink : public KeyboardSink {
 public:
  bool onKeyEvent(uint32_t, int32_t) override { return false; }
};

}  // namespace

PORT_CASE(HotKeyControlSubclassedKeepsItsText) {
  Platform& p = fixture.platform();
  Counter dialogHandler(p.ownWindows), control(p.ownWindows), second(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kDialog, {}, &dialogHandler);
  PORT_EXPECT(dialog);
  const Hwnd hotKey = p.dialogs.subclassDlgItem(dialog, kHotKeyId, &control);
  PORT_EXPECT(hotKey && hotKey == p.dialogs.getDlgItem(dialog, kHotKeyId));
  PORT_EXPECT(!p.dialogs.subclassDlgItem(dialog, kHotKeyId, &second));
  PORT_EXPECT(!p.dialogs.subclassDlgItem(dialog, 4242, &second));
  p.messages.sendMessage(hotKey, WM_USER + 0x100, 'R', 0);
  PORT_EXPECT_EQ(control.last, WM_USER + 0x100);
  // The standard control keeps a window text it is given: screen readers read it.
  PORT_EXPECT(p.ownWindows.setWindowText(hotKey, "Ctrl + Alt + F12"));
  PORT_EXPECT_EQ(p.windows.getWindowText(hotKey, 64), std::string("Ctrl + Alt + F12"));
  p.windows.showWindow(dialog, SW_SHOWNOACTIVATE);
  const int before = control.paints;
  PORT_EXPECT(p.ownWindows.redrawNow(hotKey));
  PORT_EXPECT_EQ(control.paints, before + 1);  // painted before redrawNow returned
  p.ownWindows.destroyWindow(dialog);
  PORT_EXPECT_EQ(control.last, WM_NCDESTROY);
}

PORT_CASE(OneKeyboardHookAtATime) {
  Input& input = fixture.platform().input;
  Sink first, second;
  PORT_EXPECT(input.installKeyboardHook(first));
  PORT_EXPECT(!input.installKeyboardHook(second));
  PORT_EXPECT(!input.removeKeyboardHook(second));
  PORT_EXPECT(input.removeKeyboardHook(first));
  PORT_EXPECT(!input.removeKeyboardHook(first));
  PORT_EXPECT(input.installKeyboardHook(second));
  PORT_EXPECT(input.removeKeyboardHook(second));
}

// The names both desktops agree on. Wine names some keys after X's key symbols: Control,
// Escape, Return where Windows' US layout says Ctrl, Esc, Enter (the simulated desktop's).
PORT_CASE(KeyNamesOfTheLayout) {
  Input& input = fixture.platform().input;
  PORT_EXPECT_EQ(input.keyName('R'), std::string("R"));
  PORT_EXPECT_EQ(input.keyName('7'), std::string("7"));
  PORT_EXPECT_EQ(input.keyName(VK_SHIFT), std::string("Shift"));
  PORT_EXPECT_EQ(input.keyName(VK_MENU), std::string("Alt"));
  PORT_EXPECT_EQ(input.keyName(VK_F12), std::string("F12"));
  PORT_EXPECT_EQ(input.keyName(VK_TAB), std::string("Tab"));
  // Not "Num Del", the key of the numeric pad that shares its scan code.
  PORT_EXPECT_EQ(input.keyName(VK_DELETE), std::string("Delete"));
}
