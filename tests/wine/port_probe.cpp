// port-probe.exe: drives the real window adapter through the port only and prints what it
// observed, one "key=value" fact a line, for test_port_windows.sh.
//
// A modal dialog with Japanese texts runs a sequence of steps on timers: list view rows with
// and without images, a modeless child page, WM_WINDOWPOSCHANGING rewritten by the handler, pop-up
// menus answered from outside (xdotool), a nested modal box. Then it waits for the test to
// click the link and the button; the button ends the dialog.
//
// Before the dialog, plain windows (createWindow): the first message, animation, and
// SendMessageTimeout against a second thread that does not read its messages. Two of them stay
// up, painted by their handlers, for the test's screenshot. What the simulated desktop shares
// with this adapter is checked by the port contract (tests/port) instead.
//
// Hand-shake lines for the test: "menu.tracking=N" while pop-up N is open, "ready=1" when the
// dialog is settled for the screenshot and the clicks, "link.clicked=1" after the link.

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace probe {

using namespace platform;

// Not in the port: only the probe needs them.
constexpr uint32_t kLvnItemChanged = 0xFFFFFF9Bu;  // LVN_FIRST - 1
constexpr uint32_t kTpmRightButton = 0x0002;
constexpr int32_t kSmCxMinTrack = 34;
constexpr uint32_t kLvmGetImageList = 0x1002;
constexpr uint32_t kLvmGetItemW = 0x104B;
constexpr uint32_t kLvifImage = 0x0002;

// What the plain windows paint, looked for in the test's screenshot.
constexpr ColorRef kPaintColor = rgb(20, 160, 90);
constexpr ColorRef kEraseColor = rgb(200, 40, 160);

constexpr int32_t kStaticId = 1001;
constexpr int32_t kButtonId = 1002;
constexpr int32_t kListId = 1003;
constexpr int32_t kLinkId = 1004;
constexpr int32_t kEditId = 1005;

constexpr uint32_t kOpenCommand = 201;
constexpr uint32_t kCloseCommand = 202;

enum Timer : uintptr_t {
  kStartTimer = 7,
  kMenuOpenTimer = 8,
  kAboutTimer = 9,
  kMenuCancelCheckTimer = 10,
  kSecondMenuTimer = 11,
  kAboutStartTimer = 12,
};

void fact(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}
void fact(const std::string& key, long long value) {
  fact(key, std::to_string(value));
}

std::string hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

std::string rectText(const Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

const DialogTemplate kMainDialog{
    100,
    "ポート試験",
    0,
    0,
    240,
    170,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME,
    0,
    "ＭＳ Ｐゴシック",
    9,
    {
        {ControlClass::Static, kStaticId, "表示ソフトの日本語テキスト", 7, 7, 226, 12, SS_LEFT},
        {ControlClass::Static, -1, "ラベル", 7, 22, 60, 10, SS_LEFT},
        {ControlClass::Edit, kEditId, "", 70, 21, 100, 12, ES_AUTOHSCROLL | WS_BORDER},
        {ControlClass::ListView, kListId, "", 7, 36, 226, 60,
         LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER},
        // The link comes first, so that the test can click it at the control's left edge.
        {ControlClass::Link, kLinkId, "<a>こちらのリンク</a>をクリック", 7, 100, 160, 10, 0},
        {ControlClass::Button, kButtonId, "閉じる", 170, 148, 63, 16, BS_PUSHBUTTON | WS_TABSTOP},
    }};

// A page that lives inside the main dialog, as the settings panel's pages do.
const DialogTemplate kChildPage{101,
                                "",
                                7,
                                112,
                                150,
                                30,
                                WS_CHILD | DS_CONTROL,
                                0,
                                "ＭＳ Ｐゴシック",
                                9,
                                {{ControlClass::Static, -1, "子ページ", 0, 0, 100, 10, SS_LEFT}}};

const DialogTemplate kAboutBox{102,
                               "バージョン情報",
                               20,
                               20,
                               150,
                               50,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                               0,
                               "ＭＳ Ｐゴシック",
                               9,
                               {{ControlClass::Static, -1, "版 1.0", 7, 7, 100, 10, SS_LEFT}}};

const MenuTemplate kPopup{
    300, "popup", {{kOpenCommand, "開く"}, {0, nullptr}, {kCloseCommand, "閉じる"}}};

// Records what reaches one dialog; every handler checks that messages are for its window.
class Recorder : public MessageHandler {
 public:
  explicit Recorder(Platform& w) : w_(w) {}
  Hwnd window;
  int foreignMessages = 0;  // messages for some other window
  int afterNcDestroy = 0;   // messages after WM_NCDESTROY
  bool initialised = false;
  bool ncDestroyed = false;

 protected:
  void track(Hwnd hwnd, uint32_t message) {
    if (message == WM_INITDIALOG) {
      window = hwnd;
      initialised = true;
    }
    if (hwnd != window) ++foreignMessages;
    if (ncDestroyed) ++afterNcDestroy;
    if (message == WM_NCDESTROY) ncDestroyed = true;
  }
  Platform& w_;
};

class ChildPage : public Recorder {
 public:
  using Recorder::Recorder;
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    track(hwnd, message);
    return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
  }
};

class AboutBox : public Recorder {
 public:
  AboutBox(Platform& w, Hwnd owner) : Recorder(w), owner_(owner) {}
  bool ownerEnabledWhileUp = true;
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    track(hwnd, message);
    if (message == WM_INITDIALOG) {
      w_.messages.setTimer(hwnd, kAboutTimer, 50);
      return 1;
    }
    if (message == WM_TIMER && wParam == kAboutTimer) {
      w_.messages.killTimer(hwnd, kAboutTimer);
      ownerEnabledWhileUp = w_.windows.isWindowEnabled(owner_);
      w_.dialogs.endDialog(hwnd, 77);
      return 0;
    }
    return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  Hwnd owner_;
};

class MainDialog : public Recorder {
 public:
  MainDialog(Platform& platform) : Recorder(platform), page_(platform), platform_(platform) {}

  ChildPage page_;
  int aboutTimersSeenHere = 0;

  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    track(hwnd, message);
    switch (message) {
      case WM_INITDIALOG:
        return onInit(hwnd, wParam, lParam);
      case WM_TIMER:
        onTimer(static_cast<uintptr_t>(wParam));
        return 0;
      case WM_WINDOWPOSCHANGING:
        return onPosChanging(hwnd, message, wParam, lParam);
      case WM_NOTIFY:
        onNotify(*reinterpret_cast<const NotifyHeader*>(lParam));
        return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
      case WM_CTLCOLORSTATIC:
        if (static_cast<uint32_t>(lParam) == w_.dialogs.getDlgItem(hwnd, kStaticId).value) {
          ctlColorDcSeen_ = wParam != 0;
          w_.drawing.setBkMode(DeviceContext{wParam}, TRANSPARENT);
          w_.drawing.setTextColor(DeviceContext{wParam}, rgb(255, 255, 255));
          return static_cast<LResult>(redBrush_.value);
        }
        return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
      case WM_COMMAND:
        onCommand(static_cast<uint32_t>(wParam & 0xFFFF), static_cast<uint32_t>(wParam >> 16));
        return 0;
      case WM_NCDESTROY:
        w_.drawing.deleteBrush(redBrush_);
        return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
    }
    return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  LResult onInit(Hwnd hwnd, WParam focus, LParam lParam) {
    fact("init.focus.valid", w_.windows.isWindow(Hwnd{static_cast<uint32_t>(focus)}));
    fact("init.lparam", lParam);
    redBrush_ = w_.drawing.createSolidBrush(rgb(255, 0, 0));

    fillList(hwnd);

    Hwnd page = w_.dialogs.createDialog(kChildPage, hwnd, &page_);
    w_.windows.showWindow(page, SW_SHOW);

    fact("sysmenu.present", w_.ownWindows.hasSystemMenu(hwnd));
    fact("sysmenu.append.separator", w_.ownWindows.appendSystemMenu(hwnd, MF_SEPARATOR, 0, ""));
    fact("sysmenu.append.item",
         w_.ownWindows.appendSystemMenu(hwnd, MF_STRING, 0x110, "情報(&A)..."));

    fact("timer.set", w_.messages.setTimer(hwnd, kStartTimer, 100));
    return w_.ownWindows.defaultProc(hwnd, WM_INITDIALOG, focus, lParam);
  }

  void fillList(Hwnd hwnd) {
    Hwnd list = w_.dialogs.getDlgItem(hwnd, kListId);
    w_.listViews.listViewSetExtendedStyle(list, LVS_EX_FULLROWSELECT);
    w_.listViews.listViewInsertColumn(list, 0, "名前", 120);
    w_.listViews.listViewInsertColumn(list, 1, "値", 200);
    // Row 1 shows image 0, row 2 none (the texts are the port contract's to check).
    w_.listViews.listViewInsertItem(list, 0, "表示ソフト", 0);
    w_.listViews.listViewInsertItem(list, 1, "plain", -1);
    w_.listViews.listViewInsertItem(list, 0, "先頭", 0);

    itemChanges_ = 0;
    w_.listViews.listViewSelectRow(list, 2);
    fact("list.itemchanged.notifications", itemChanges_ > 0);
    fact("list.itemchanged.from_list", itemChangedFrom_ == list);
    fact("list.itemchanged.id", static_cast<long long>(itemChangedId_));

    // Icons for the rows: the error icon and the probe's own file icon.
    ImageListHandle images = w_.icons.createImageList(16, 16, ILC_COLORDDB, 2, 2);
    fact("imagelist.created", images.value != 0);
    w_.icons.setImageListBkColor(images, rgb(255, 255, 255));
    IconHandle error = w_.icons.errorIcon();
    fact("icon.error.stable", error.value != 0 && error == w_.icons.errorIcon());
    fact("imagelist.error_index", w_.icons.imageListAddIcon(images, error));
    std::optional<IconHandle> own =
        platform_.shell.fileSmallIcon(platform_.system.moduleFileName());
    fact("fileicon.own", own.has_value() && own->value != 0);
    if (own) {
      fact("imagelist.file_index", w_.icons.imageListAddIcon(images, *own));
      // The list keeps its own copy of the image.
      w_.icons.destroyIcon(*own);
    }
    fact("fileicon.missing",
         !platform_.shell.fileSmallIcon("C:\\no such folder\\missing.exe").has_value());
    w_.listViews.listViewSetImageList(list, images, LVSIL_SMALL);
    // The list view owns the list from now on and destroys it with itself.
    fact("imagelist.attached", static_cast<uint64_t>(w_.messages.sendMessage(
                                   list, kLvmGetImageList, LVSIL_SMALL, 0)) == images.value);
    fact("list.r1.image", rowImage(list, 1));
    fact("list.r2.image", rowImage(list, 2));
  }

  // LVM_GETITEMW with LVIF_IMAGE, on a copy of LVITEMW's leading fields.
  int32_t rowImage(Hwnd list, int32_t row) {
    struct {
      uint32_t mask = kLvifImage;
      int32_t item = 0;
      int32_t subItem = 0;
      uint32_t state = 0;
      uint32_t stateMask = 0;
      void* text = nullptr;
      int32_t textMax = 0;
      int32_t image = 12345;
      uint8_t rest[64] = {};  // the fields this probe does not read
    } item;
    item.item = row;
    w_.messages.sendMessage(list, kLvmGetItemW, 0, reinterpret_cast<LParam>(&item));
    return item.image;
  }

  void onNotify(const NotifyHeader& header) {
    if (header.code == kLvnItemChanged) {
      ++itemChanges_;
      itemChangedFrom_ = header.from;
      itemChangedId_ = header.idFrom;
    } else if (header.code == NM_CLICK && header.idFrom == static_cast<uint64_t>(kLinkId)) {
      fact("link.from_link", header.from == w_.dialogs.getDlgItem(window, kLinkId));
      Point cursor = w_.input.getCursorPos();
      fact("link.cursor", std::to_string(cursor.x) + "," + std::to_string(cursor.y));
      fact("link.clicked", 1);
    }
  }

  LResult onPosChanging(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
    auto& pos = *reinterpret_cast<WindowPos*>(lParam);
    if (pos.hwnd != hwnd) ++foreignPos_;
    lastInsertAfter_ = pos.insertAfter;
    if (hideShows_ && (pos.flags & SWP_SHOWWINDOW)) {
      pos.flags &= ~SWP_SHOWWINDOW;
      ++showsHidden_;
    }
    if (forceWidth_ > 0 && !(pos.flags & SWP_NOSIZE)) pos.cx = forceWidth_;
    if (defaultAfterForcing_ && !(pos.flags & SWP_NOSIZE)) {
      LResult result = w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
      widthAfterDefault_ = pos.cx;
      return result;
    }
    return 0;
  }

  void onTimer(uintptr_t id) {
    Hwnd hwnd = window;
    switch (id) {
      case kStartTimer:
        w_.messages.killTimer(hwnd, kStartTimer);
        fact("timer.fired", 1);
        positionSteps(hwnd);
        facts(hwnd);
        trackMenu(hwnd, 1, kMenuOpenTimer);
        break;
      case kMenuOpenTimer:
        w_.messages.killTimer(hwnd, kMenuOpenTimer);
        fact("menu.tracking", menuRound_);
        break;
      case kMenuCancelCheckTimer:
        w_.messages.killTimer(hwnd, kMenuCancelCheckTimer);
        fact("menu2.commands", commandsAfterCancel_);
        w_.messages.setTimer(hwnd, kAboutStartTimer, 10);
        break;
      case kAboutStartTimer: {
        w_.messages.killTimer(hwnd, kAboutStartTimer);
        AboutBox about(w_, hwnd);
        fact("about.result", w_.dialogs.runModalDialog(kAboutBox, hwnd, &about));
        fact("about.initialised", about.initialised);
        fact("about.owner_enabled_while_up", about.ownerEnabledWhileUp);
        fact("about.owner_enabled_after", w_.windows.isWindowEnabled(hwnd));
        fact("about.foreign_messages", about.foreignMessages);
        fact("about.ncdestroy", about.ncDestroyed);
        fact("about.after_ncdestroy", about.afterNcDestroy);
        fact("about.gone", !w_.windows.isWindow(about.window));
        fact("main.about_timers_here", aboutTimersSeenHere);
        fact("main.alive", w_.windows.isWindow(hwnd));
        fact("ready", 1);
        break;
      }
      case kAboutTimer:
        ++aboutTimersSeenHere;
        break;
    }
  }

  void positionSteps(Hwnd hwnd) {
    Rect before;
    w_.windows.getWindowRect(hwnd, before);
    fact("visible.at_start", w_.windows.isWindowVisible(hwnd));

    // The handler drops SWP_SHOWWINDOW: showing does nothing.
    hideShows_ = true;
    w_.windows.showWindow(hwnd, SW_HIDE);
    w_.windows.showWindow(hwnd, SW_SHOW);
    hideShows_ = false;
    fact("show.suppressed.count", showsHidden_);
    fact("show.suppressed.visible", w_.windows.isWindowVisible(hwnd));
    w_.windows.showWindow(hwnd, SW_SHOW);
    fact("show.normal.visible", w_.windows.isWindowVisible(hwnd));

    // A size the handler writes into the structure is the size the window gets.
    forceWidth_ = 333;
    w_.windows.setWindowPos(hwnd, kHwndTop, 0, 0, before.width() + 20, before.height(),
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Rect r;
    w_.windows.getWindowRect(hwnd, r);
    fact("pos.forced.width", r.width());

    // The default processing sees the handler's change (width 5, not the 200 asked for) and
    // raises it to the minimum tracking size; the handler reads the result back.
    forceWidth_ = 5;
    defaultAfterForcing_ = true;
    w_.windows.setWindowPos(hwnd, kHwndTop, 0, 0, 200, before.height(),
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    forceWidth_ = 0;
    defaultAfterForcing_ = false;
    w_.windows.getWindowRect(hwnd, r);
    fact("pos.default.width_is_min_track", r.width() == w_.screen.getSystemMetrics(kSmCxMinTrack));
    fact("pos.default.handler_saw", widthAfterDefault_ == r.width());
    w_.windows.setWindowPos(hwnd, kHwndTop, before.left, before.top, before.width(),
                            before.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    w_.windows.getWindowRect(hwnd, r);
    fact("pos.restored", r == before);

    w_.windows.setWindowPos(hwnd, kHwndTopmost, 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    fact("pos.topmost.insert_after_seen", hex32(lastInsertAfter_.value));
    fact("pos.topmost.exstyle", (w_.windows.getWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    w_.windows.setWindowPos(hwnd, kHwndNotopmost, 0, 0, 0, 0,
                            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    fact("pos.notopmost.insert_after_seen", hex32(lastInsertAfter_.value));
    fact("pos.notopmost.exstyle",
         (w_.windows.getWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    fact("pos.foreign", foreignPos_);
  }

  void facts(Hwnd hwnd) {
    Processes& processes = platform_.processes;
    fact("process.desktop.base",
         processes.baseName(w_.windows.getWindowProcessId(w_.screen.getDesktopWindow())));

    Rect work;
    fact("workarea.ok", w_.screen.getWorkArea(work));
    fact("workarea.width", work.width());
    fact("metrics.cxicon", w_.screen.getSystemMetrics(SM_CXICON));

    Rect button, link, stat;
    w_.windows.getWindowRect(w_.dialogs.getDlgItem(hwnd, kButtonId), button);
    w_.windows.getWindowRect(w_.dialogs.getDlgItem(hwnd, kLinkId), link);
    w_.windows.getWindowRect(w_.dialogs.getDlgItem(hwnd, kStaticId), stat);
    fact("rect.button", rectText(button));
    fact("rect.link", rectText(link));
    fact("rect.static", rectText(stat));
    fact("ctlcolor.static.dc", ctlColorDcSeen_);
  }

  void trackMenu(Hwnd hwnd, int round, uintptr_t openTimer) {
    Rect r;
    w_.windows.getWindowRect(hwnd, r);
    menuRound_ = round;
    // The timer fires inside the menu's own message loop: it tells the test the menu is up.
    w_.messages.setTimer(hwnd, openTimer, 300);
    // Beside the dialog: once a handler has dropped SWP_SHOWWINDOW (positionSteps), Wine
    // stacks the dialog's X window above later pop-ups, which hides a menu drawn over it.
    bool chosen = w_.ownWindows.trackPopupMenu(kPopup, kTpmRightButton,
                                               Point{r.right + 10, r.top + 60}, hwnd);
    w_.messages.killTimer(hwnd, openTimer);
    fact("menu" + std::to_string(round) + ".returned", chosen);
    if (round == 2) {
      commandsAfterCancel_ = 0;
      w_.messages.setTimer(hwnd, kMenuCancelCheckTimer, 300);
    }
  }

  void onCommand(uint32_t id, uint32_t code) {
    if (id == kOpenCommand || id == kCloseCommand) {
      if (menuRound_ == 1) {
        fact("menu1.command", id);
        menuRound_ = 0;
        // The second pop-up is dismissed without a choice.
        trackMenu(window, 2, kMenuOpenTimer);
      } else {
        ++commandsAfterCancel_;
      }
    } else if (id == kButtonId && code == BN_CLICKED) {
      fact("button.clicked", 1);
      w_.dialogs.endDialog(window, 42);
    }
  }

  Platform& platform_;
  BrushHandle redBrush_;
  bool ctlColorDcSeen_ = false;
  int itemChanges_ = 0;
  Hwnd itemChangedFrom_;
  uint64_t itemChangedId_ = 0;
  bool hideShows_ = false;
  int showsHidden_ = 0;
  int32_t forceWidth_ = 0;
  bool defaultAfterForcing_ = false;
  int32_t widthAfterDefault_ = -1;
  Hwnd lastInsertAfter_{0x5A5A5A5A};
  int foreignPos_ = 0;
  int menuRound_ = 0;
  int commandsAfterCancel_ = 0;
};

// Records what reaches one plain window, and paints it when given colours.
class PlainWindow : public MessageHandler {
 public:
  explicit PlainWindow(Platform& w) : w_(w) {}
  Hwnd window;  // from its first message
  uint32_t firstMessage = 0xFFFFFFFFu;
  bool created = false;  // WM_CREATE seen
  int foreignMessages = 0;
  int afterNcDestroy = 0;
  bool ncDestroyed = false;
  std::optional<ColorRef> paint;  // WM_PAINT with paintFill
  std::optional<ColorRef> erase;  // WM_ERASEBKGND with fillRect
  std::optional<Rect> blackPart;  // and this part black after it
  int paints = 0;

  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    if (firstMessage == 0xFFFFFFFFu) {
      firstMessage = message;
      window = hwnd;
    }
    if (hwnd != window) ++foreignMessages;
    if (ncDestroyed) ++afterNcDestroy;
    switch (message) {
      case WM_CREATE:
        created = true;
        break;
      case WM_ERASEBKGND:
        if (erase) {
          Rect client;
          w_.windows.getClientRect(hwnd, client);
          w_.drawing.fillRect(DeviceContext{wParam}, client, *erase);
          if (blackPart) w_.drawing.fillRect(DeviceContext{wParam}, *blackPart, 0);
          return 1;
        }
        break;
      case WM_PAINT:
        if (paint) {
          w_.drawing.paintFill(hwnd, *paint);
          ++paints;
          return 0;
        }
        break;
      case WM_NCDESTROY:
        ncDestroyed = true;
        break;
    }
    return w_.ownWindows.defaultProc(hwnd, message, wParam, lParam);
  }

  // After its window is gone: what its handler saw, as facts.
  void lifeFacts(const std::string& name) {
    fact(name + ".ncdestroy", ncDestroyed);
    fact(name + ".after_ncdestroy", afterNcDestroy);
    fact(name + ".foreign_messages", foreignMessages);
    fact(name + ".gone", !w_.windows.isWindow(window));
  }

 private:
  Platform& w_;
};

// A window on a second thread that sleeps instead of reading its messages.
class BusyThread {
 public:
  BusyThread(Platform& platform, Dword busyMs) : handler(platform) {
    thread_ = std::thread([this, &platform, busyMs] {
      Hwnd busy = platform.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 50, 50}}, &handler);
      window.store(busy.value);
      ready.store(true);
      for (Dword slept = 0; slept < busyMs; slept += 100) platform.system.sleep(100);
      platform.ownWindows.destroyWindow(busy);
    });
  }
  ~BusyThread() { join(); }
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  PlainWindow handler;  // read only after join()
  std::atomic<bool> ready{false};
  std::atomic<uint32_t> window{0};

 private:
  std::thread thread_;
};

// The plain-window steps. `painted` and `erased` stay up for the screenshot.
void plainWindowSteps(Platform& platform, PlainWindow& painted, PlainWindow& erased,
                      BusyThread& busy) {
  Platform& w = platform;
  System& system = platform.system;

  const Rect plainRect{1600, 900, 1700, 980};
  painted.paint = kPaintColor;
  Hwnd plain = w.ownWindows.createWindow(
      {CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, WS_POPUP, 0, plainRect}, &painted);
  fact("plain.first_message", hex32(painted.firstMessage));

  // Wine: no animation, shown and hidden at once.
  Dword start = system.tickCount();
  fact("animate.show", w.ownWindows.animateWindow(plain, 200, AW_ACTIVATE | AW_CENTER));
  fact("animate.show.ms", system.tickCount() - start);
  fact("animate.show.visible", w.windows.isWindowVisible(plain));
  fact("animate.show_again", w.ownWindows.animateWindow(plain, 200, AW_ACTIVATE | AW_CENTER));
  fact("animate.hide", w.ownWindows.animateWindow(plain, 200, AW_HIDE | AW_CENTER));
  fact("animate.hide.visible", w.windows.isWindowVisible(plain));
  w.windows.showWindow(plain, SW_SHOWNOACTIVATE);
  // Above the dialog and anything else, for the screenshot.
  w.windows.setWindowPos(plain, kHwndTopmost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Rect r;
  w.windows.getWindowRect(plain, r);
  fact("rect.plain", rectText(r));

  // Painted by WM_ERASEBKGND alone: the default WM_PAINT erases through the handler.
  erased.erase = kEraseColor;
  const Rect eraseRect{1750, 900, 1850, 980};
  Hwnd eraseOnly = w.ownWindows.createWindow({0, WS_POPUP, 0, eraseRect}, &erased);
  w.windows.showWindow(eraseOnly, SW_SHOWNOACTIVATE);
  w.windows.getWindowRect(eraseOnly, r);
  fact("rect.erase", rectText(r));

  // Printed into a picture a quarter of its size: the window is scaled on its way, and a part
  // of it is the part asked for. Its top-left quarter is black, the rest white.
  PlainWindow twoTone(w);
  twoTone.erase = rgb(255, 255, 255);
  twoTone.blackPart = Rect{0, 0, 100, 50};
  const Hwnd toned = w.ownWindows.createWindow({0, WS_POPUP, 0, {1600, 700, 1800, 800}}, &twoTone);
  const BitmapHandle picture = w.drawing.createPicture({50, 25});
  const auto printed = [&](const Rect& part) {
    return w.drawing.printWindowInto(picture, toned, part, 0);
  };
  fact("print.whole", printed({0, 0, 200, 100}));
  fact("print.whole.black", w.drawing.isBlack(picture));
  printed({0, 0, 100, 50});
  fact("print.quarter.black", w.drawing.isBlack(picture));
  printed({100, 0, 200, 50});
  const uint64_t white = w.drawing.pixelHash(picture);
  printed({100, 50, 200, 100});
  fact("print.white.same", white == w.drawing.pixelHash(picture));
  w.drawing.deleteBitmap(picture);
  w.ownWindows.destroyWindow(toned);

  // Its thread has not read messages for less than the hung limit: the full timeout passes.
  while (!busy.ready.load()) system.sleep(5);
  Hwnd busyWindow{busy.window.load()};
  fact("busy.created", busyWindow.value != 0);
  start = system.tickCount();
  TimedResult late =
      w.messages.sendMessageTimeout(busyWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000);
  Dword error = w.messages.lastError();
  Dword waited = system.tickCount() - start;
  fact("smto.busy.answered", late.answered);
  fact("smto.busy.error", error);
  fact("smto.busy.ms", waited);
  fact("smto.busy.waited_timeout", waited >= 900 && waited < 2000);
}

}  // namespace probe

int runProbe(platform::Platform& platform) {
  // Busy for longer than the timeout below, and well below the hung limit.
  probe::BusyThread busy(platform, 2500);
  probe::PlainWindow painted(platform);
  probe::PlainWindow erased(platform);
  probe::plainWindowSteps(platform, painted, erased, busy);

  probe::MainDialog dialog(platform);
  intptr_t result = platform.dialogs.runModalDialog(probe::kMainDialog, platform::Hwnd{}, &dialog);
  probe::fact("main.result", result);
  probe::fact("main.foreign_messages", dialog.foreignMessages);
  probe::fact("main.after_ncdestroy", dialog.afterNcDestroy);
  probe::fact("main.ncdestroy", dialog.ncDestroyed);
  probe::fact("page.ncdestroy", dialog.page_.ncDestroyed);
  probe::fact("page.foreign_messages", dialog.page_.foreignMessages);
  probe::fact("page.after_ncdestroy", dialog.page_.afterNcDestroy);
  probe::fact("main.gone", !platform.windows.isWindow(dialog.window));

  probe::fact("plain.painted", painted.paints > 0);
  platform.ownWindows.destroyWindow(painted.window);
  platform.ownWindows.destroyWindow(erased.window);
  painted.lifeFacts("plain");
  erased.lifeFacts("erase");
  busy.join();
  busy.handler.lifeFacts("busy");
  probe::fact("done", 1);
  return result == 42 ? 0 : 1;
}
