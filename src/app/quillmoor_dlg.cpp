#include "app/quillmoor_dlg.h"

#include <utility>

#include "app/about_dlg.h"
#include "base/diagnostic_log.h"
#include "base/guarded_dwm.h"
#include "display/dpi.h"
#include "res/dialogs.h"
#include "res/resource.h"
#include "res/strings.h"

using namespace platform;

namespace {

constexpr Margins kGlass{9, 8, 23, 14};  // left, right, top, bottom, at 96 dpi

}  // namespace

CQuillmoorDlg::CQuillmoorDlg(const Ports& ports, const Switches& switches,
                             DisplayEnvironment& environment, CExclusionData& rules,
                             SettingsRecord& settings, std::string settingsPath)
    : HomeLinkDialog(ports, res::mainPanelDialog()),
      dwm_(ports.dwm),
      input_(ports.input),
      drawing_(ports.drawing),
      screen_(ports.screen),
      messageBoxes_(ports.messageBoxes),
      aboutPorts_(ports.about),
      switches_(switches),
      appIcon_(ports.icons.loadIcon(IDR_MAINFRAME)),
      trayIcon_(ports.icons.loadIcon(IDR_MAINFRAME)),
      roster_(ports.roster, environment, settings, rules, *this),
      detector_(ports.detector, *this),
      winListPage_(ports.winListPage, detector_),
      controlPage_(ports.controller, roster_, environment, std::move(settingsPath)),
      limitPage_(ports.exclusions, rules),
      tray_(ports.shell),
      journal_(ports.roster.preview.keeper.journal),
      environment_(environment) {
  roster_.addObserver(this);
  detector_.listeners.push_back(this);
}

bool CQuillmoorDlg::registerRosterHotKey(int32_t id, uint32_t modifiers, uint32_t key) {
  return input_.registerHotKey(hwnd(), id, modifiers, key);
}

void CQuillmoorDlg::unregisterRosterHotKey(int32_t id) {
  input_.unregisterHotKey(hwnd(), id);
}

void CQuillmoorDlg::saveRulesAtExit() {
  if (rulesSavedAtExit_) return;
  rulesSavedAtExit_ = true;
  limitPage_.store().saveFile();
}

bool CQuillmoorDlg::onInitDialog() {
  // Registered here rather than at WM_CREATE, which a dialog's own procedure never sees.
  taskbarCreatedMessage_ = messages().registerWindowMessage("TaskbarCreated");
  ui::Dialog::onInitDialog();

  const std::string aboutItem = loadResourceString(IDS_ABOUTBOX);
  if (ownWindows().hasSystemMenu(hwnd()) && !aboutItem.empty()) {
    ownWindows().appendSystemMenu(hwnd(), MF_SEPARATOR, 0, "");
    ownWindows().appendSystemMenu(hwnd(), MF_STRING, res::IDM_ABOUTBOX, aboutItem);
  }
  sendMessage(WM_SETICON, ICON_BIG, static_cast<LParam>(appIcon_.value));
  sendMessage(WM_SETICON, ICON_SMALL, static_cast<LParam>(appIcon_.value));
  ownWindows().setWindowText(hwnd(), "Quillmoor for Tundra [メインパネル]");

  // The icon first: the pages are hidden until the panel is shown, and their dozens of
  // controls are most of start-up. The icon's clicks are dropped until they exist (a message
  // box of the control page's start-up delivers messages meanwhile).
  tray_.init(hwnd(), trayIcon_, kTrayMessage, "Quillmoor for Tundra");
  tray_.add();

  if (!roster_.start()) {
    messageBoxes_.show(hwnd(), "HOVERキーの登録が重複しています.他のキーに変更してください.",
                       kAppTitle, MB_OK);
  }
  controlPage_.create(hwnd());
  controlPage_.showWindow(SW_SHOW);
  limitPage_.create(hwnd());
  limitPage_.showWindow(SW_SHOW);
  limitPage_.setListener(this);

  winListPage_.create(hwnd());
  detector_.start();
  pagesMade_ = true;
  if (displaysChangedEarly_) displaysChanged();  // while the start-up box was up

  setPanelVisible(false);
  dwm_.isCompositionEnabled(&composition_);
  updateGlass();
  setTimer(kWatchdogTimer, 1000);
  if (consoleExit_ != nullptr) consoleExit_->setPanel(hwnd());
  return true;
}

ui::Answer CQuillmoorDlg::onOtherMessage(uint32_t message, WParam wParam, LParam lParam) {
  if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
    tray_.add();  // the shell came back: our icon is gone
    return ui::kDefault;
  }
  switch (message) {
    case kTrayMessage:
      return onTrayNotify(wParam, lParam);
    case WM_DPICHANGED:
      // The dialog manager (Windows 10 1703 on) moves the panel to the suggested rectangle
      // and scales the pages' controls and fonts; before it, the panel takes the size alone.
      defaultProcessing();
      if (const auto* suggested = reinterpret_cast<const Rect*>(lParam);
          suggested != nullptr && windowRect() != *suggested) {
        setWindowPos({}, suggested->left, suggested->top, suggested->width(), suggested->height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      updateGlass();
      displaysChanged();
      return 0;
    case WM_DISPLAYCHANGE:
      displaysChanged();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) displaysChanged();
      break;
    default:
      break;
  }
  return ui::kDefault;
}

ui::Answer CQuillmoorDlg::onEndSession(WParam wParam, LParam lParam) {
  if (wParam != 0 || (static_cast<uint64_t>(lParam) & ENDSESSION_LOGOFF) != 0) {
    // The process may be ended as soon as this returns, and a box of ours may hold the
    // modal loop open meanwhile: kept windows go back and the rules are saved here, and
    // no new preview is made after.
    closePreviews();
    detector_.stop();
    saveRulesAtExit();
    if (consoleExit_ != nullptr) consoleExit_->finished();
    ui::Dialog::onOK();  // the framework's: ends the modal loop
  }
  return 0;
}

void CQuillmoorDlg::onPowerBroadcast(WParam event) {
  if (event == PBT_APMSUSPEND) {
    detector_.goSuspend();
  } else if (event == PBT_APMRESUMESUSPEND && composition_) {
    detector_.returnSuspend();
  }
}

ui::Answer CQuillmoorDlg::onSysCommand(WParam command) {
  if ((command & 0xFFF0) == res::IDM_ABOUTBOX) {
    CAboutDlg about(aboutPorts_);
    about.doModal(hwnd());
    return 0;
  }
  return ui::kDefault;
}

ui::Answer CQuillmoorDlg::onPaint() {
  if (windows().isIconic(hwnd())) {
    paintMinimised();
    return 0;
  }
  return ui::kDefault;
}

ui::Answer CQuillmoorDlg::onQueryDragIcon() {
  return static_cast<LResult>(appIcon_.value);
}

ui::Answer CQuillmoorDlg::onWindowPosChanging(WindowPos* position) {
  LResult result = defaultProcessing();
  // The modal dialog's template is visible: only panelShown may show the panel. Hidden,
  // it must not take the keyboard either (the modal loop shows it at start-up).
  if (position != nullptr) {
    if (panelShown_ && !hiddenInPlace_) {
      position->flags |= SWP_SHOWWINDOW;
    } else {
      position->flags = (position->flags & ~SWP_SHOWWINDOW) | SWP_NOACTIVATE;
    }
  }
  return result;
}

ui::Answer CQuillmoorDlg::onMove() {
  LResult result = defaultProcessing();
  placeWinListPage();
  return result;
}

void CQuillmoorDlg::onCompositionChanged() {
  dwm_.isCompositionEnabled(&composition_);
  updateGlass();
  if (composition_) {
    detector_.returnSuspend();
  } else {
    detector_.goSuspend();
  }
}

void CQuillmoorDlg::displaysChanged() {
  if (!pagesMade_) {
    displaysChangedEarly_ = true;
    return;
  }
  // Dragging the panel to another monitor changes nothing the previews are laid out by.
  if (!environment_.refresh()) return;
  roster_.displaysChanged();
  controlPage_.showSettings();  // one monitor or more: the status code says which method
}

LResult CQuillmoorDlg::onTrayNotify(WParam wParam, LParam lParam) {
  if (!pagesMade_) return 0;
  switch (static_cast<uint32_t>(lParam) & 0xFFFF) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      return 0;
    case WM_LBUTTONDBLCLK:
      showPanel();
      return 0;
    case WM_RBUTTONUP:
      windows().setForegroundWindow(hwnd());
      ownWindows().trackPopupMenu(res::trayMenu(), 0, input_.getCursorPos(), hwnd());
      return 0;
    default:
      return defaultProc(kTrayMessage, wParam, lParam);
  }
}

void CQuillmoorDlg::onOK() {
  setPanelVisible(false);
}

void CQuillmoorDlg::onCancel() {
  // Until MainPanel shows it again where it is, no move (a new scaling's) may show it.
  hiddenInPlace_ = true;
  showWindow(SW_HIDE);
}

bool CQuillmoorDlg::onCommand(uint32_t id, uint32_t, Hwnd) {
  if (id == res::ID_TRAY_MAIN_PANEL) {
    showPanel();
    return true;
  }
  if (id == res::ID_TRAY_EXIT) {
    onExit();
    return true;
  }
  return false;
}

void CQuillmoorDlg::onTimer(uintptr_t id) {
  if (id == WindowDetector::kTimerId) {
    detector_.onTimer(id);
    return;
  }
  if (id != kWatchdogTimer) {
    roster_.onTimer(id);
    return;
  }
  tray_.watch();
  // A window that did not answer when it was to be put back goes back once it answers.
  if (journal_ != nullptr) journal_->putBackLoose(&environment_.taskbar());
}

BrushHandle CQuillmoorDlg::onCtlColor(DeviceContext dc, Hwnd, ui::CtlColor, BrushHandle base) {
  if (!composition_) return base;
  // Under glass, every control draws on a black, transparent background.
  drawing_.setBkMode(dc, TRANSPARENT);
  return drawing_.blackBrush();
}

void CQuillmoorDlg::onHotKey(uintptr_t id) {
  if (id == static_cast<uintptr_t>(PreviewRoster::kHoverHotKey)) roster_.onHotKey();
}

void CQuillmoorDlg::onDestroy() {
  detector_.stop();
  roster_.stop();
}

void CQuillmoorDlg::closePreviews() {
  roster_.closeAll();
  // Slow windows are waited for together, a few seconds at most: the system ends a program
  // that takes longer at a log-off or a closed console.
  // Once: the end of the session and the panel's end both come here.
  constexpr uint32_t kExitBudgetMs = 4000;
  if (journal_ == nullptr || exitPutBackDone_) return;
  exitPutBackDone_ = true;
  journal_->putBackAtExit(&environment_.taskbar(), kExitBudgetMs);
}

void CQuillmoorDlg::postNcDestroy() {
  closePreviews();
  tray_.remove();
}

void CQuillmoorDlg::AddWindow(const std::vector<WindowEntry>* list) {
  if (list == nullptr) return;
  for (const WindowEntry& entry : *list) {
    diag::print("AddWindow() title=%s, exe=%s\n", entry.title.c_str(), entry.processName.c_str());
    roster_.entryWindow(entry);
  }
}

void CQuillmoorDlg::DelWindow(const std::vector<WindowEntry>* list) {
  if (list == nullptr) return;
  for (const WindowEntry& entry : *list) {
    diag::print("DelWindow() title=%s, exe=%s\n", entry.title.c_str(), entry.processName.c_str());
    roster_.removeWindow(entry);
  }
}

void CQuillmoorDlg::rulesChanged() {
  detector_.forget(roster_.takeWindowsNowAllowed());
}

void CQuillmoorDlg::showPanel() {
  if (!panelShown_) {
    const Rect window = windowRect();
    Rect frame = window;
    Rect visible;
    if (getExtendedFrameBounds(dwm_, hwnd(), &visible) >= 0) frame = visible;
    Rect work;
    screen_.getWorkArea(work);
    // The visible frame touches the bottom-right corner of the work area.
    const int32_t x = work.right - frame.width() + (frame.width() - window.width()) / 2;
    const int32_t y = work.bottom - frame.height() + (frame.height() - window.height()) / 2;
    setWindowPos(kHwndTop, x, y, 0, 0, SWP_NOSIZE);
    setPanelVisible(true);
  } else if (!isVisible()) {
    // Hidden by Escape or the close box: shown again where it was. Activation alone does
    // not show a hidden window everywhere (Wine leaves it hidden).
    hiddenInPlace_ = false;
    showWindow(SW_SHOW);
  }
  if (windows().isIconic(hwnd())) showWindow(SW_SHOWNORMAL);
  windows().setForegroundWindow(hwnd());
}

void CQuillmoorDlg::setPanelVisible(bool shown) {
  panelShown_ = shown;
  hiddenInPlace_ = false;
  showWindow(shown ? SW_SHOW : SW_HIDE);
  if (!shown) {
    winListPage_.showWindow(SW_HIDE);
    return;
  }
  showWindow(SW_SHOWNORMAL);
  if (switches_.debugMode) {
    winListPage_.showWindow(SW_SHOW);
    placeWinListPage();  // at the panel's side from the start, not only after a move
  }
}

void CQuillmoorDlg::updateGlass() {
  if (composition_) {
    // In pixels of the monitor the panel lies on, so the glass keeps its size there.
    const uint32_t dpi = environment_.dpiAt(windowRect());
    auto px = [dpi](int32_t v) { return static_cast<int32_t>(dpi::scale(v, dpi)); };
    const Margins glass{px(kGlass.left), px(kGlass.right), px(kGlass.top), px(kGlass.bottom)};
    if (dwm_.extendFrameIntoClientArea(hwnd(), glass) >= 0) glassMargins_ = glass;
  }
  ownWindows().invalidateRect(hwnd(), true);
}

void CQuillmoorDlg::placeWinListPage() {
  if (!winListPage_.isWindow() || !winListPage_.isVisible()) return;
  const Rect panel = windowRect();
  const Rect page = winListPage_.windowRect();
  const int32_t caption = screen_.getSystemMetrics(SM_CYCAPTION);
  winListPage_.setWindowPos(kHwndNotopmost, panel.left - page.width(), panel.top + caption, 0, 0,
                            SWP_NOSIZE | SWP_NOACTIVATE);
}

void CQuillmoorDlg::onExit() {
  setPanelVisible(false);
  sendMessage(WM_ENDSESSION, 1, 0);
}

void CQuillmoorDlg::paintMinimised() {
  const Rect client = clientRect();
  const int32_t x = (client.width() - screen_.getSystemMetrics(SM_CXICON) + 1) / 2;
  const int32_t y = (client.height() - screen_.getSystemMetrics(SM_CYICON) + 1) / 2;
  drawing_.paintIcon(hwnd(), appIcon_, x, y);
}
