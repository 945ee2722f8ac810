#include "app/tray_icon.h"

#include "base/diagnostic_log.h"

using namespace platform;

void TrayIcon::init(Hwnd window, IconHandle icon, uint32_t callbackMessage,
                    const std::string& tip) {
  data_ = TrayIconData{};
  data_.window = window;
  data_.id = 0;
  data_.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.callbackMessage = callbackMessage;
  data_.icon = icon;
  data_.tip = tip.substr(0, 127);
  placed_ = true;
}

void TrayIcon::add() {
  shownIn_ = {};
  const Hwnd tray = shell_.trayWindow();
  const ShellResult result = shell_.notifyIcon(NIM_ADD, data_);
  if (result.ok) {
    busyLogged_ = false;
    shown(tray);
    return;
  }
  if (result.lastError != ERROR_TIMEOUT) {
    diag::print("通知領域にアイコンを登録できませんでした。 err=%d\n",
                static_cast<int>(result.lastError));
    return;
  }
  // A busy shell may have added it after all. If not, the watchdog asks again in a second:
  // waiting here would freeze the program for as long as the shell stays busy.
  if (shell_.notifyIcon(NIM_MODIFY, data_).ok) {
    shown(tray);
    return;
  }
  if (!busyLogged_) {
    diag::print("通知領域にアイコンを登録できませんでした。 err=%d\n",
                static_cast<int>(result.lastError));
    busyLogged_ = true;
  }
}

void TrayIcon::shown(Hwnd tray) {
  shownIn_ = tray;
  quietSeconds_ = 0;
}

void TrayIcon::watch() {
  if (!placed_) return;
  const Hwnd tray = shell_.trayWindow();
  if (tray && tray == shownIn_ && ++quietSeconds_ < kSecondsBetweenFullChecks) return;
  if (shell_.notifyIcon(NIM_MODIFY, data_).ok) {
    shown(tray);
  } else {
    add();
  }
}

void TrayIcon::remove() {
  if (!placed_) return;
  placed_ = false;
  TrayIconData gone;  // the shell knows the entry by its window and id alone
  gone.window = data_.window;
  gone.id = 0;
  shell_.notifyIcon(NIM_DELETE, gone);
}
