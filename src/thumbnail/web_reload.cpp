#include "thumbnail/web_reload.h"

#include "base/diagnostic_log.h"
#include "dialogs/update_interval_dlg.h"
#include "keeping/answers.h"
#include "thumbnail/browsers.h"

using namespace platform;

namespace {

constexpr uint32_t kFirstReloadMs = 1000;
// Internet Explorer takes no key while disabled: how long a hidden one is enabled for it.
constexpr uint32_t kExplorerWaitMs = 100;

}  // namespace

WebReload::WebReload(const Ports& ports, const ui::Window& preview, Hwnd target,
                     const std::string& exeName)
    : windows_(ports.windows),
      messages_(ports.messages),
      system_(ports.system),
      dialogPorts_(ports.dialogs),
      preview_(preview),
      target_(target),
      browser_(browserOf(exeName)) {}

WebReload::Browser WebReload::browserOf(const std::string& exeName) {
  if (exeName == browsers::kExplorer) return Browser::Explorer;
  if (exeName == browsers::kFirefox) return Browser::Firefox;
  if (exeName == browsers::kChrome) return Browser::Chrome;
  return Browser::None;
}

bool WebReload::supports(const std::string& exeName) {
  return browserOf(exeName) != Browser::None;
}

void WebReload::restart(uint32_t milliseconds) {
  messages_.killTimer(preview_.hwnd(), kTimer);
  messages_.setTimer(preview_.hwnd(), kTimer, milliseconds);
}

void WebReload::switchOn() {
  on_ = true;
  restart(kFirstReloadMs);
}

bool WebReload::answers() {
  if (::answers(messages_, target_)) return true;
  diag::print("target 0x%08x does not answer: no reload\n", target_.value);
  return false;
}

void WebReload::switchOff(ThumbState state) {
  on_ = false;
  messages_.killTimer(preview_.hwnd(), kTimer);
  if (state != ThumbState::Hidden) return;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  // A target that does not answer stays disabled until its preview puts it back.
  if ((style & WS_DISABLED) != 0 && answers()) {
    windows_.setWindowLong(target_, GWL_STYLE, style & ~WS_DISABLED);
  }
}

void WebReload::editInterval() {
  CUpdateIntervalDlg dialog(dialogPorts_);
  dialog.interval = interval_;
  const intptr_t result = dialog.doModal(preview_.hwnd());
  // Closed meanwhile (its target went, say): the preview, and this object in it, live on
  // until the command that opened the dialog returns, with nothing left to reload.
  if (result != IDOK || !preview_.isWindow()) return;
  interval_ = dialog.interval;
  if (on_) restart(kFirstReloadMs);
}

void WebReload::onTimer() {
  messages_.killTimer(preview_.hwnd(), kTimer);
  if (on_ && windows_.isWindow(target_)) {
    switch (browser_) {
      case Browser::Explorer:
        reloadExplorer();
        break;
      case Browser::Firefox:
        reloadFirefox();
        break;
      case Browser::Chrome:
        reloadChrome();
        break;
      case Browser::None:
        break;
    }
  }
  messages_.setTimer(preview_.hwnd(), kTimer, static_cast<uint32_t>(interval_) * 1000);
}

void WebReload::postF5(Hwnd receiver) {
  // Posted, never sent: a busy browser cannot block the preview.
  messages_.postMessage(receiver, WM_KEYDOWN, static_cast<WParam>(VK_F5), 0);
}

void WebReload::reloadExplorer() {
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  const bool disabled = (style & WS_DISABLED) != 0;  // a hidden target is kept disabled
  if (disabled) {
    // Not enabled for a key it would not read now; the wait is only for one that answers.
    if (!answers()) return;
    if (windows_.setWindowLong(target_, GWL_STYLE, style & ~WS_DISABLED) == 0 &&
        messages_.lastError() == ERROR_TIMEOUT) {
      diag::print("target 0x%08x is busy: no reload\n", target_.value);
      return;
    }
  }
  postF5(target_);
  system_.sleep(kExplorerWaitMs);
  // Only the bit taken away goes back: the browser may have changed its style meanwhile.
  if (disabled && windows_.isWindow(target_)) {
    windows_.setWindowLong(target_, GWL_STYLE,
                           windows_.getWindowLong(target_, GWL_STYLE) | WS_DISABLED);
  }
  diag::print("KEY SEND EVENT\n");
}

void WebReload::reloadFirefox() {
  const Hwnd child = windows_.findWindowEx(target_, {}, "");
  if (child) {
    postF5(child);
  } else {
    diag::print("FindWindowEx Error\n");
  }
}

void WebReload::reloadChrome() {
  const Hwnd container = windows_.findWindowEx(target_, {}, "Chrome_ContainerWin_0");
  if (!container) {
    diag::print("FindWindowEx Error\n");
    return;
  }
  const Hwnd page = windows_.findWindowEx(container, {}, "Chrome_RenderWidgetHostHWND");
  if (page) {
    postF5(page);
  } else {
    diag::print("FindWindowEx Error2\n");
  }
}
