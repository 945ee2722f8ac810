// "プロパティ設定": the edge, size, margins, limit, frame and hover key of the previews. It
// only edits the ten values the caller puts in and reads back after OK; the one thing it
// does besides is to register a hot-key for a moment, to learn whether another program
// holds it. A number outside a field's range is shown as the range's nearest end, and a frame
// other than 0 or 1 as checked; each comes back as it was unless the user changed its field.
// A hover key without a key (modifiers alone) is refused.
#pragma once

#include "controls/hot_key_ex_ctrl.h"
#include "settings/setting_ranges.h"
#include "ui/dialog.h"
#include "ui/spin_button.h"

class CLocationSettingDlg : public ui::Dialog {
 public:
  static constexpr int32_t kTestHotKeyId = 111;

  // The framework's services, hot-keys (the test registration and the hot-key control's
  // keyboard), message boxes and drawing (the hot-key control).
  struct Ports : ui::DialogPorts {
    Ports(const ui::DialogPorts& d, platform::Input& i, platform::MessageBoxes& m,
          platform::Drawing& g)
        : DialogPorts(d), input(i), messageBoxes(m), drawing(g) {}
    explicit Ports(const platform::Platform& p)
        : Ports(ui::DialogPorts(p), p.input, p.messageBoxes, p.drawing) {}
    platform::Input& input;
    platform::MessageBoxes& messageBoxes;
    platform::Drawing& drawing;
  };

  explicit CLocationSettingDlg(const Ports& ports);

  // True when nobody holds the combination: it is registered on this dialog and let go at once.
  // The key the program holds itself is free for it, without a registration.
  bool testHotKey(int32_t modifiers, int32_t key);

  int32_t location = -1;  // Location; -1: no button set
  int32_t size = -1;      // SizeClass; -1: no button set
  int32_t frame = 0;
  int32_t topMargin = 0;
  int32_t leftMargin = 0;
  int32_t rightMargin = 0;
  int32_t bottomMargin = 0;
  int32_t limit = 0;
  int32_t hoverKey = setting::kHoverKey;
  int32_t hoverModifiers = setting::kHoverModifiers;
  // The hover key the program holds now (a default the run fell back on, say); 0: none.
  int32_t heldKey = 0;
  int32_t heldModifiers = 0;

 protected:
  bool onInitDialog() override;
  void doDataExchange(ui::DataExchange& exchange) override;
  void onOK() override;
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;

 private:
  void checkHotKey();
  // The key typed into the hot-key control, modifiers in RegisterHotKey form.
  void typedHotKey(int32_t& key, int32_t& modifiers) const;
  void tell(const char* text);

  platform::Input& input_;
  platform::MessageBoxes& messageBoxes_;
  ui::SpinButton topSpin_;
  ui::SpinButton leftSpin_;
  ui::SpinButton rightSpin_;
  ui::SpinButton bottomSpin_;
  ui::SpinButton limitSpin_;
  CHotKeyExCtrl hotKey_;
};
