// The control page, which is also the thumbnail controller: it keeps the roster of
// previews in grid order, admits and closes previews as windows come and go, moves and
// excludes them, arranges the grid, runs the hover hot-key mode, and shows the settings.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/platform_checks.h"
#include "controller/admission.h"
#include "controls/image_list_cash_smoll.h"
#include "detect/window_entry.h"
#include "display/display_environment.h"
#include "settings/settings.h"
#include "thumbnail/thumbnail.h"
#include "thumbnail/thumbnail_listener.h"
#include "ui/brush.h"
#include "ui/dialog.h"
#include "ui/list_view.h"

class CLimitDlg;

// One cell of the grid and what occupies it. A slot is in use exactly while it holds a
// preview; the window record is kept only while it does.
struct ThumbnailSlot {
  ui::Owned<Cthumbnail> thumbnail;
  platform::Rect slotRect;
  WindowEntry window;  // the watched window: handle, process id, title, process name

  bool inUse() const { return thumbnail != nullptr; }
};

class CControlDlg : public ui::Dialog, public CthumbnailListener {
 public:
  static constexpr int32_t kHoverHotKey = 1000;
  static constexpr uintptr_t kHoverTimer = 107;
  // Every preview's look at its target, all at once, while there are previews.
  static constexpr uintptr_t kPollTimer = 112;
  static constexpr uint32_t kPollPeriod = 500;

  // The framework's services; the list view and its icons, drawing, the settings file and
  // the registry, the hover hot-key, message boxes, process images, the desktop window, the
  // version checks; and what its previews use.
  struct Ports : ui::DialogPorts {
    Ports(const platform::Platform& p, PlatformChecks& c)
        : DialogPorts(p),
          listViews(p.listViews),
          icons(p.icons),
          shell(p.shell),
          drawing(p.drawing),
          system(p.system),
          profile(p.profile),
          input(p.input),
          messageBoxes(p.messageBoxes),
          processes(p.processes),
          screen(p.screen),
          files(p.files),
          checks(c),
          preview(p, c) {}
    platform::ListViews& listViews;
    platform::Icons& icons;
    platform::Shell& shell;
    platform::Drawing& drawing;
    platform::System& system;
    platform::ProfileFiles& profile;
    platform::Input& input;
    platform::MessageBoxes& messageBoxes;
    platform::Processes& processes;
    platform::Screen& screen;
    platform::Files& files;
    PlatformChecks& checks;
    Cthumbnail::Ports preview;
  };

  CControlDlg(const Ports& ports, DisplayEnvironment& environment);
  // Previews still open (the page's window outlived by its object) are closed too.
  ~CControlDlg() override { closeAll(); }

  void setLimitPage(CLimitDlg* page) { limitPage_ = page; }
  CLimitDlg* limitPage() const { return limitPage_; }
  // Closes every preview, putting each kept window back (at the end of the session).
  void closeAll();

  // The detector's reports, forwarded by the main panel. A refusal is logged with its reason,
  // once per window until the window goes.
  Admission entryWindow(const WindowEntry& record);
  void removeWindow(const WindowEntry& record);

  // Order and exclusion; moves return the new index or -1.
  int32_t moveForward(platform::Hwnd hwnd);
  int32_t moveBackward(platform::Hwnd hwnd);
  void moveToHead(platform::Hwnd hwnd);
  void moveToTail(platform::Hwnd hwnd);
  void swapSlots(size_t i, size_t j);
  void excludeRow(int32_t row);
  // After a change of the rules: the windows they kept from a preview (and that have not gone
  // since) that they would now let through; these are forgotten here, the others kept.
  std::vector<platform::Hwnd> takeWindowsNowAllowed();
  void refreshList();
  platform::Hwnd rowHandle(int32_t row) const;
  void arrange();

  // Settings shown on the page.
  void showSettings();
  void showTransparency();
  bool isCompositionOn();
  std::string statusCode();

  // CthumbnailListener.
  void onArrange() override { arrange(); }
  void onMoveHead(platform::Hwnd target) override { moveToHead(target); }
  void onMoveForward(platform::Hwnd target) override { moveForward(target); }
  void onMoveBackward(platform::Hwnd target) override { moveBackward(target); }
  void onMoveTail(platform::Hwnd target) override { moveToTail(target); }
  void onExclude(platform::Hwnd target) override;
  void onThumbnailGone(Cthumbnail* thumbnail) override;

  SettingsRecord settings;
  const std::string& settingsPath() const { return settingsPath_; }
  const std::vector<ThumbnailSlot>& roster() const { return roster_; }
  int32_t hoverCountdown() const { return hoverCountdown_; }

 protected:
  bool onInitDialog() override;
  void onOK() override {}      // a page is never ended by Enter
  void onCancel() override {}  // ... or Escape
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
  void onTimer(uintptr_t id) override;
  void onHotKey(uintptr_t id) override;
  void onDestroy() override;
  platform::BrushHandle onCtlColor(platform::DeviceContext dc, platform::Hwnd control,
                                   ui::CtlColor kind, platform::BrushHandle base) override;
  void postNcDestroy() override;

 private:
  // Frees the slot, then closes its preview for `reason` and lets it go.
  void closeThumbnail(ThumbnailSlot& slot, ThumbState reason);
  void pollPreviews();
  int32_t slotsInUse() const;
  int32_t findSlot(platform::Hwnd hwnd) const;
  void noteExcluded(const WindowEntry& window);
  // Logs a refusal unless this window was refused for the same reason last time; `rule` is
  // the matching rule's index for Excluded.
  Admission refuse(const WindowEntry& record, Admission why, int32_t rule = -1);
  int32_t rowOf(platform::Hwnd hwnd) const;
  // False, after telling the user, when the key could not be registered.
  bool registerHoverKey(const char* failureText);
  void onHotKey();
  void setHover(bool on);
  // The move buttons' row, or -1 after telling the user to choose one.
  int32_t selectedRow(const char* prompt);
  void onHeadButton();
  void onUpButton();
  void onDownButton();
  void onTailButton();
  void onExcludeButton();
  // The two "変更" buttons: the property and the transparency dialogs.
  void onChangeProperties();
  void onChangeTransparency();
  void saveSettings();

  platform::ListViews& listViews_;
  platform::Drawing& drawing_;
  platform::System& system_;
  platform::ProfileFiles& profile_;
  platform::Input& input_;
  platform::MessageBoxes& messageBoxes_;
  platform::Processes& processes_;
  platform::Screen& screen_;
  SettingsFilePorts settingsFile_;
  ui::DialogPorts dialogPorts_;
  PlatformChecks& checks_;
  Cthumbnail::Ports previewPorts_;
  DisplayEnvironment& environment_;
  std::string settingsPath_;
  CLimitDlg* limitPage_ = nullptr;
  std::vector<WindowEntry> excluded_;  // as the rules judged them: handle, title, process
  std::vector<ThumbnailSlot> roster_;
  struct Refusal {
    platform::Hwnd hwnd;
    Admission why = Admission::Admitted;
    int32_t rule = -1;
    bool operator==(const Refusal&) const = default;
  };
  std::vector<Refusal> refusals_;  // the last refusal of each window not yet gone
  ui::ListView listView_;
  CImageListCashSmoll icons_;
  ui::Brush valueBrush_;
  ui::Brush pageBrush_;
  int32_t hoverCountdown_ = 0;
  bool polling_ = false;
};
