// The program's own windows' messages: posted ones and timers waiting for the message loop,
// destruction, and the default processing of a dialog.
#include <optional>
#include <string>

#include "port_case.h"
#include "window_log.h"

namespace {

using namespace platform;
using port_test::WindowLog;

const DialogTemplate kMain = port_test::panelTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU);

// The WM_APP wParams and WM_TIMER ids in the order they came, as "a1 t2 ...".
std::string arrivals(const WindowLog& log) {
  std::string out;
  for (const port_test::Seen& s : log.log) {
    if (s.message == WM_APP) out.append("a").append(std::to_string(s.wParam)).append(" ");
    if (s.message == WM_TIMER) out.append("t").append(std::to_string(s.wParam)).append(" ");
  }
  return out;
}

}  // namespace

// What is posted waits for the message loop and comes in the order posted, also what a
// handler posts meanwhile; a window is painted once nothing else waits; what was posted to
// a window that went away reaches no one.
PORT_CASE(PostedMessagesWaitForTheLoopInOrder) {
  Platform& p = fixture.platform();
  WindowLog log(p.ownWindows);
  log.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_APP && wParam == 1) p.messages.postMessage(h, WM_APP, 3, 0);
    return std::nullopt;
  };
  const Hwnd window = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 60, 60}}, &log);
  p.windows.showWindow(window, SW_SHOWNOACTIVATE);
  PORT_EXPECT(p.messages.postMessage(window, WM_APP, 1, 0));
  PORT_EXPECT(p.messages.postMessage(window, WM_APP, 2, 0));
  PORT_EXPECT_EQ(log.count(WM_APP), size_t{0});
  fixture.pumpMessages(100);
  PORT_EXPECT_EQ(arrivals(log), std::string("a1 a2 a3 "));
  // Painted after the last of them.
  size_t lastPosted = 0, firstPaint = 0;
  for (size_t i = 0; i < log.log.size(); ++i) {
    if (log.log[i].message == WM_APP) lastPosted = i;
    if (log.log[i].message == WM_PAINT && firstPaint == 0) firstPaint = i;
  }
  PORT_EXPECT(firstPaint > lastPosted);

  PORT_EXPECT(p.messages.postMessage(window, WM_APP, 4, 0));
  p.ownWindows.destroyWindow(window);
  PORT_EXPECT(!p.messages.postMessage(window, WM_APP, 5, 0));
  fixture.pumpMessages(50);
  PORT_EXPECT_EQ(arrivals(log), std::string("a1 a2 a3 "));
}

// Timers tick at their periods while the loop runs, the shorter one first; one set again
// restarts, one killed stops (a second kill fails); a handler may kill its own timer (a
// one-shot) and what it posts comes before the next tick. A thread that slept through many
// periods gets one tick for them.
PORT_CASE(TimersTickAtTheirPeriods) {
  Platform& p = fixture.platform();
  WindowLog log(p.ownWindows);
  std::vector<Dword> longTicks;
  Dword start = 0;
  log.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message != WM_TIMER) return std::nullopt;
    if (wParam == 2) longTicks.push_back(p.system.tickCount() - start);
    if (wParam == 3) p.messages.killTimer(h, 3);
    if (wParam == 1) p.messages.postMessage(h, WM_APP, 1, 0);
    return LResult{0};
  };
  const Hwnd window = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 60, 60}}, &log);
  start = p.system.tickCount();
  PORT_EXPECT(p.messages.setTimer(window, 1, 50));
  PORT_EXPECT(p.messages.setTimer(window, 2, 400));
  PORT_EXPECT(p.messages.setTimer(window, 3, 30));
  fixture.pumpMessages(1000);
  const std::string seen = arrivals(log);
  PORT_EXPECT(log.count(WM_TIMER) - longTicks.size() - 1 >= 8);
  PORT_EXPECT(log.count(WM_TIMER) - longTicks.size() - 1 <= 20);
  PORT_EXPECT(longTicks.size() >= 1 && longTicks.size() <= 2);
  PORT_EXPECT(longTicks.empty() || longTicks[0] >= 380);
  // The one-shot first, then the short timer several times before the long one.
  PORT_EXPECT(seen.rfind("t3 t1 a1 t1 a1 t1 a1 ", 0) == 0);
  PORT_EXPECT_EQ(seen.find("t1 t"), std::string::npos);  // every tick's post before the next

  PORT_EXPECT(p.messages.killTimer(window, 1));
  PORT_EXPECT(!p.messages.killTimer(window, 1));
  PORT_EXPECT(!p.messages.killTimer(window, 3));
  PORT_EXPECT(p.messages.setTimer(window, 2, 100));  // the same timer, now every 100 ms
  log.log.clear();
  fixture.pumpMessages(450);
  PORT_EXPECT(log.count(WM_TIMER) >= 2 && log.count(WM_TIMER) <= 4);
  PORT_EXPECT_EQ(arrivals(log).find("t1"), std::string::npos);

  // Asleep through five periods, then one tick.
  PORT_EXPECT(p.messages.setTimer(window, 2, 200));
  p.system.sleep(1050);
  log.log.clear();
  fixture.pumpMessages(60);
  PORT_EXPECT_EQ(log.count(WM_TIMER), size_t{1});
  p.ownWindows.destroyWindow(window);
  PORT_EXPECT(!p.messages.killTimer(window, 2));  // went with its window
}

// Destruction: owned windows first, then WM_DESTROY from the window down to its children and
// WM_NCDESTROY from the children up; nothing reaches the handler after that, not even a
// timer, and the handle is dead. A handler may destroy its own window: it is destroyed once,
// whatever the handler asks again on its way out.
PORT_CASE(DestroyGoesDownThenNcDestroyUp) {
  Platform& p = fixture.platform();
  std::string order, answers;
  // Windows refuses to start a destruction already under way; Wine 8 starts it again from
  // WM_DESTROY, which recurses (64 times WM_DESTROY, no WM_NCDESTROY to the handler).
  const bool againInDestroy = !fixture.underWine();
  auto track = [&](const char* name) {
    return [&, name](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
      if (message == WM_COMMAND && wParam == static_cast<WParam>(IDOK)) {
        answers += p.ownWindows.destroyWindow(h) ? "1" : "0";
        answers += p.ownWindows.destroyWindow(h) ? "1" : "0";
        return LResult{0};
      }
      if (message == WM_DESTROY) order += std::string("destroy ") + name + " ";
      if (message == WM_NCDESTROY) order += std::string("ncdestroy ") + name + " ";
      if (message == WM_DESTROY && againInDestroy) p.ownWindows.destroyWindow(h);
      return std::nullopt;
    };
  };
  WindowLog main(p.ownWindows), page(p.ownWindows), popup(p.ownWindows);
  main.on = track("main");
  page.on = track("page");
  popup.on = track("popup");
  const Hwnd dialog = p.dialogs.createDialog(kMain, {}, &main);
  const Hwnd child = p.dialogs.createDialog(
      port_test::pageTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL), dialog, &page);
  const Hwnd owned = p.dialogs.createDialog(port_test::pageTemplate(WS_POPUP), dialog, &popup);
  PORT_EXPECT(dialog && child && owned);
  const Hwnd ok = p.dialogs.getDlgItem(dialog, IDOK);
  PORT_EXPECT(p.messages.setTimer(dialog, 1, 20));

  p.messages.sendMessage(dialog, WM_COMMAND, static_cast<WParam>(IDOK), 0);
  PORT_EXPECT_EQ(answers, std::string("10"));
  PORT_EXPECT_EQ(order, std::string("destroy popup ncdestroy popup destroy main destroy page "
                                    "ncdestroy page ncdestroy main "));
  PORT_EXPECT_EQ(main.count(WM_DESTROY), size_t{1});
  PORT_EXPECT_EQ(main.count(WM_NCDESTROY), size_t{1});
  PORT_EXPECT(!main.log.empty() && main.log.back().message == WM_NCDESTROY);
  for (Hwnd h : {dialog, child, owned, ok}) PORT_EXPECT(!p.windows.isWindow(h));

  const size_t seen = main.log.size();
  p.messages.sendMessage(dialog, WM_APP, 0, 0);
  PORT_EXPECT(!p.messages.postMessage(dialog, WM_APP, 0, 0));
  fixture.pumpMessages(100);
  PORT_EXPECT_EQ(main.log.size(), seen);
  PORT_EXPECT(!p.ownWindows.destroyWindow(dialog));
}

// A dialog's default processing: a brush for its static controls and itself, its client
// area hit as such, and the close box as Cancel (posted, while Cancel is enabled), which
// leaves the dialog to its handler.
PORT_CASE(DialogDefaultProcessing) {
  Platform& p = fixture.platform();
  WindowLog log(p.ownWindows);
  const Hwnd dialog = p.dialogs.createDialog(kMain, {}, &log);
  const Hwnd cancel = p.dialogs.getDlgItem(dialog, IDCANCEL);
  const LResult staticBrush = p.messages.sendMessage(dialog, WM_CTLCOLORSTATIC, 0x55, 0);
  const LResult dialogBrush = p.messages.sendMessage(dialog, WM_CTLCOLORDLG, 0x55, 0);
  PORT_EXPECT(staticBrush != 0);
  PORT_EXPECT_EQ(dialogBrush, staticBrush);  // the face colour's
  PORT_EXPECT(p.messages.sendMessage(dialog, WM_CTLCOLOREDIT, 0x55, 0) != staticBrush);
  p.windows.showWindow(dialog, SW_SHOWNOACTIVATE);
  Rect rect, client;
  p.windows.getWindowRect(dialog, rect);
  p.windows.getClientRect(dialog, client);
  const int32_t x = rect.right - client.width() / 2, y = rect.bottom - client.height() / 2;
  PORT_EXPECT_EQ(p.messages.sendMessage(dialog, WM_NCHITTEST, 0,
                                        static_cast<LParam>((y & 0xFFFF) << 16 | (x & 0xFFFF))),
                 LResult{HTCLIENT});

  log.log.clear();
  p.messages.sendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  PORT_EXPECT_EQ(log.only({WM_SYSCOMMAND, WM_CLOSE, WM_COMMAND}),
                 WindowLog::names({WM_SYSCOMMAND, WM_CLOSE}));
  fixture.pumpMessages(50);
  PORT_EXPECT_EQ(log.count(WM_COMMAND), size_t{1});
  if (const port_test::Seen* command = log.last(WM_COMMAND)) {
    PORT_EXPECT_EQ(command->wParam & 0xFFFF, static_cast<WParam>(IDCANCEL));
    PORT_EXPECT_EQ(command->lParam, static_cast<LParam>(cancel.value));
  }
  PORT_EXPECT(p.windows.isWindow(dialog));

  // Windows beeps instead while Cancel is disabled; Wine 8 posts it all the same.
  if (!fixture.underWine()) {
    p.windows.enableWindow(cancel, false);
    log.log.clear();
    p.messages.sendMessage(dialog, WM_CLOSE, 0, 0);
    fixture.pumpMessages(50);
    PORT_EXPECT_EQ(log.count(WM_COMMAND), size_t{0});
  }
  p.ownWindows.destroyWindow(dialog);
}
