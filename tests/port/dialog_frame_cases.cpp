// How the program's dialogs come up: built, initialised, then shown; placed in their owner's
// client area and kept on the work area; their system menu.
#include <algorithm>
#include <optional>

#include "port_case.h"
#include "window_log.h"

namespace {

using namespace platform;
using port_test::WindowLog;

using port_test::kPageText;
using port_test::pageTemplate;

DialogTemplate mainTemplate(uint32_t extraStyle) {
  return port_test::panelTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | extraStyle);
}

Point topLeft(Windows& windows, Hwnd window) {
  Rect rect;
  windows.getWindowRect(window, rect);
  return {rect.left, rect.top};
}

}  // namespace

// WM_INITDIALOG comes while the dialog is hidden, with its controls made and the first tab
// stop in wParam; a dialog with WS_VISIBLE is then shown through the position protocol, one
// without stays hidden, its controls visible in themselves only.
PORT_CASE(DialogIsBuiltThenInitialisedThenShown) {
  Platform& p = fixture.platform();
  for (const bool visible : {true, false}) {
    WindowLog log(p.ownWindows);
    bool visibleAtInit = true;
    std::string okAtInit;
    log.on = [&](Hwnd h, uint32_t message, WParam, LParam) -> std::optional<LResult> {
      if (message == WM_INITDIALOG) {
        visibleAtInit = p.windows.isWindowVisible(h);
        okAtInit = p.dialogs.getDlgItemText(h, IDOK);
      }
      return std::nullopt;
    };
    const Hwnd dialog = p.dialogs.createDialog(mainTemplate(visible ? WS_VISIBLE : 0), {}, &log);
    PORT_EXPECT(dialog);
    PORT_EXPECT(!visibleAtInit);
    PORT_EXPECT_EQ(port_test::hex(okAtInit), port_test::hex("決定"));
    const Hwnd ok = p.dialogs.getDlgItem(dialog, IDOK);
    const auto init = std::find_if(log.log.begin(), log.log.end(), [](const port_test::Seen& s) {
      return s.message == WM_INITDIALOG;
    });
    PORT_EXPECT(init != log.log.end());
    if (init == log.log.end()) continue;
    PORT_EXPECT_EQ(init->wParam, static_cast<WParam>(ok.value));
    const auto shown = std::find_if(init, log.log.end(), [](const port_test::Seen& s) {
      return s.message == WM_WINDOWPOSCHANGING && (s.pos.flags & SWP_SHOWWINDOW) != 0;
    });
    PORT_EXPECT_EQ(shown != log.log.end(), visible);
    if (shown != log.log.end()) {
      PORT_EXPECT_EQ(shown->pos.flags & (SWP_NOMOVE | SWP_NOSIZE), SWP_NOMOVE | SWP_NOSIZE);
    }
    PORT_EXPECT_EQ(p.windows.isWindowVisible(dialog), visible);
    PORT_EXPECT_EQ(p.windows.isWindowVisible(ok), visible);
    PORT_EXPECT(p.windows.getWindowLong(ok, GWL_STYLE) & WS_VISIBLE);
    PORT_EXPECT_EQ(p.dialogs.getDlgCtrlId(dialog), 0);
    PORT_EXPECT_EQ(p.windows.getWindowProcessId(dialog), p.windows.getWindowProcessId(ok));
    PORT_EXPECT_EQ(port_test::hex(p.windows.getWindowText(dialog, 64)), port_test::hex("パネル"));
    PORT_EXPECT(!p.dialogs.setDlgItemText(dialog, 4242, "x"));
    p.ownWindows.destroyWindow(dialog);
    // Without a handler nothing would answer its messages: no dialog.
    const DialogTemplate plain = mainTemplate(visible ? WS_VISIBLE : 0);
    PORT_EXPECT(!p.dialogs.createDialog(plain, {}, nullptr));
    PORT_EXPECT_EQ(p.dialogs.runModalDialog(plain, {}, nullptr), intptr_t{-1});
  }
}

// A page (a child dialog) and an owned pop-up dialog both take their template's place in
// their parent's client area; the page and its controls move with the parent. A child
// needs a parent.
PORT_CASE(ChildAndOwnedDialogsArePlacedInTheParentsClientArea) {
  Platform& p = fixture.platform();
  WindowLog main(p.ownWindows), page(p.ownWindows), popup(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(mainTemplate(0), {}, &main);
  const Hwnd child =
      p.dialogs.createDialog(pageTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL), dialog, &page);
  const Hwnd owned = p.dialogs.createDialog(pageTemplate(WS_POPUP), dialog, &popup);
  PORT_EXPECT(child && owned);
  const Point at = topLeft(p.windows, child);
  PORT_EXPECT(at == topLeft(p.windows, owned));
  Rect rect, client;
  p.windows.getWindowRect(dialog, rect);
  p.windows.getClientRect(dialog, client);
  PORT_EXPECT(at.x > rect.left && at.y > rect.top + (rect.height() - client.height()));

  const Hwnd label = p.dialogs.getDlgItem(child, kPageText);
  const Point before = topLeft(p.windows, label);
  p.windows.setWindowPos(dialog, {}, rect.left + 100, rect.top + 100, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PORT_EXPECT(topLeft(p.windows, label) == (Point{before.x + 100, before.y + 100}));
  PORT_EXPECT(topLeft(p.windows, child) == (Point{at.x + 100, at.y + 100}));

  WindowLog orphan(p.ownWindows);
  PORT_EXPECT(!p.dialogs.createDialog(pageTemplate(WS_CHILD | DS_CONTROL), {}, &orphan));
  p.ownWindows.destroyWindow(dialog);
}

// DS_CENTER centres a dialog on the work area; any dialog is moved onto it.
PORT_CASE(CentredDialogIsCentredAndEveryDialogKeptOnTheWorkArea) {
  Platform& p = fixture.platform();
  const Rect work = port_test::primaryWorkArea(p.monitors);
  WindowLog la(p.ownWindows), lb(p.ownWindows);
  DialogTemplate centred = mainTemplate(0);
  centred.style |= DS_CENTER;
  const Hwnd a = p.dialogs.createDialog(centred, {}, &la);
  Rect rect;
  p.windows.getWindowRect(a, rect);
  PORT_EXPECT(std::abs(rect.left - (work.left + (work.width() - rect.width()) / 2)) <= 1);
  PORT_EXPECT(std::abs(rect.top - (work.top + (work.height() - rect.height()) / 2)) <= 1);

  DialogTemplate offScreen = mainTemplate(0);
  offScreen.x = 3000;  // out on the right
  offScreen.y = -50;   // and above
  const Hwnd b = p.dialogs.createDialog(offScreen, {}, &lb);
  Rect placed;
  p.windows.getWindowRect(b, placed);
  // At the right edge (Wine 8 leaves up to a frame's width between them).
  PORT_EXPECT(placed.right <= work.right && placed.right >= work.right - 4);
  PORT_EXPECT_EQ(placed.top, work.top);
  PORT_EXPECT_EQ(placed.width(), rect.width());
  p.ownWindows.destroyWindow(a);
  p.ownWindows.destroyWindow(b);
}

// A window with WS_SYSMENU has a system menu the program can add to; one without has none.
PORT_CASE(SystemMenuOnlyForOwnWindowsThatHaveOne) {
  Platform& p = fixture.platform();
  WindowLog la(p.ownWindows), lb(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(mainTemplate(0), {}, &la);
  PORT_EXPECT(p.ownWindows.hasSystemMenu(dialog));
  PORT_EXPECT(p.ownWindows.appendSystemMenu(dialog, MF_SEPARATOR, 0, ""));
  PORT_EXPECT(p.ownWindows.appendSystemMenu(dialog, MF_STRING, 0x110, "情報"));
  DialogTemplate plain = mainTemplate(0);
  plain.style &= ~WS_SYSMENU;
  const Hwnd without = p.dialogs.createDialog(plain, {}, &lb);
  PORT_EXPECT(!p.ownWindows.hasSystemMenu(without));
  PORT_EXPECT(!p.ownWindows.appendSystemMenu(without, MF_STRING, 1, "x"));
  const Hwnd other = fixture.otherProgramWindow("他", {300, 200, 600, 400});
  PORT_EXPECT(!p.ownWindows.hasSystemMenu(other));
  p.ownWindows.destroyWindow(dialog);
  p.ownWindows.destroyWindow(without);
}

// A modal dialog: its owner takes no input until endDialog gives it back at once, with the
// dialog hidden; the dialog is shown once its loop runs, unless its handler keeps it hidden,
// and is gone when runModalDialog returns the result.
PORT_CASE(ModalDialogHoldsItsOwnerUntilEnded) {
  Platform& p = fixture.platform();
  WindowLog ownerLog(p.ownWindows);
  const Hwnd owner = p.dialogs.createDialog(mainTemplate(0), {}, &ownerLog);
  for (const bool keepHidden : {false, true}) {
    WindowLog box(p.ownWindows);
    Hwnd seen;
    std::string posted;
    std::string states;  // visible, owner enabled: before endDialog, then after it
    auto note = [&](Hwnd h) {
      states += p.windows.isWindowVisible(h) ? "1" : "0";
      states += p.windows.isWindowEnabled(owner) ? "1" : "0";
    };
    box.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam lParam) -> std::optional<LResult> {
      if (message == WM_INITDIALOG) {
        seen = h;
        p.messages.setTimer(h, 1, 100);
        p.messages.postMessage(h, WM_APP, 0, 0);
      }
      if (message == WM_APP) posted += p.windows.isWindowVisible(h) ? "1" : "0";
      if (message == WM_WINDOWPOSCHANGING && keepHidden) {
        reinterpret_cast<WindowPos*>(lParam)->flags &= ~SWP_SHOWWINDOW;
      }
      // Its timer ends it; on the simulated desktop, a dialog no script drives is closed first.
      const bool cancel = message == WM_COMMAND && (wParam & 0xFFFF) == WParam{IDCANCEL};
      if ((message != WM_TIMER && !cancel) || !states.empty()) return std::nullopt;
      note(h);
      p.dialogs.endDialog(h, 42);
      note(h);
      return LResult{0};
    };
    PORT_EXPECT_EQ(p.dialogs.runModalDialog(mainTemplate(0), owner, &box), intptr_t{42});
    PORT_EXPECT_EQ(states, std::string(keepHidden ? "0001" : "1001"));
    PORT_EXPECT_EQ(posted, std::string("0"));
    PORT_EXPECT(!p.windows.isWindow(seen));
    PORT_EXPECT(!box.log.empty() && box.log.back().message == WM_NCDESTROY);
    PORT_EXPECT(p.windows.isWindowEnabled(owner));
  }
  p.ownWindows.destroyWindow(owner);
}
