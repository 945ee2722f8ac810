// The control page: a view of the previews' roster (one row per preview, in grid order) with
// the buttons that move and exclude them and arrange the grid, and the settings with their two
// "変更" buttons.
#pragma once

#include <string>
#include <vector>

#include "base/platform_checks.h"
#include "controller/preview_roster.h"
#include "controls/image_list_cash_smoll.h"
#include "display/display_environment.h"
#include "settings/settings.h"
#include "ui/brush.h"
#include "ui/dialog.h"
#include "ui/list_view.h"

class CControlDlg : public ui::Dialog, public RosterObserver {
 public:
  // The framework's services; the list view and its icons, drawing, the settings file and
  // the registry, the property dialog's keyboard, message boxes, the version checks.
  struct Ports : ui::DialogPorts {
    Ports(const platform::Platform& p, PlatformChecks& c)
        : DialogPorts(p),
          listViews(p.listViews),
          icons(p.icons),
          shell(p.shell),
          drawing(p.drawing),
          system(p.system),
          input(p.input),
          messageBoxes(p.messageBoxes),
          files(p.files),
          checks(c) {}
    platform::ListViews& listViews;
    platform::Icons& icons;
    platform::Shell& shell;
    platform::Drawing& drawing;
    platform::System& system;
    platform::Input& input;
    platform::MessageBoxes& messageBoxes;
    platform::Files& files;
    PlatformChecks& checks;
  };

  // The settings shown and changed are the roster's; they are saved to `settingsPath`.
  CControlDlg(const Ports& ports, PreviewRoster& roster, DisplayEnvironment& environment,
              std::string settingsPath);
  ~CControlDlg() override;

  // The row's preview goes and a rule keeps its window out.
  void excludeRow(int32_t row);
  void refreshList();
  // The window a row shows; none for a row that does not exist.
  platform::Hwnd rowWindow(int32_t row) const;

  // Settings shown on the page.
  void showSettings();
  void showTransparency();
  bool isCompositionOn();
  std::string statusCode();

  // RosterObserver.
  void rosterChanged() override { refreshList(); }

  const std::string& settingsPath() const { return settingsPath_; }

 protected:
  bool onInitDialog() override;
  void onOK() override {}      // a page is never ended by Enter
  void onCancel() override {}  // ... or Escape
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
  platform::BrushHandle onCtlColor(platform::DeviceContext dc, platform::Hwnd control,
                                   ui::CtlColor kind, platform::BrushHandle base) override;

 private:
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
  platform::Input& input_;
  platform::MessageBoxes& messageBoxes_;
  SettingsFilePorts settingsFile_;
  ui::DialogPorts dialogPorts_;
  PlatformChecks& checks_;
  PreviewRoster& roster_;
  SettingsRecord& settings_;
  DisplayEnvironment& environment_;
  std::string settingsPath_;
  std::vector<platform::Hwnd> rows_;  // the window each row shows, in row order
  ui::ListView listView_;
  CImageListCashSmoll icons_;
  ui::Brush valueBrush_;
  ui::Brush pageBrush_;
};
