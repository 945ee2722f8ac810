// The edit field in which the user types a hot-key. Unlike the standard hot-key control it
// also takes combinations with the Windows keys and keys the system would act on: while it
// has the focus it holds the desktop's keyboard (KeyboardCapture) and builds its value from
// the key events (HotKeyValue). It paints the value as the layout's key names joined by
// " + ", and keeps the same text as its window text for screen readers. The user leaves it
// with the mouse: Tab, Escape and Enter are keys like any other here.
#pragma once

#include <string>

#include "controls/hot_key_value.h"
#include "controls/keyboard_capture.h"
#include "ui/dialog.h"

class CHotKeyExCtrl : public ui::Window {
 public:
  struct Ports : ui::WindowPorts {
    Ports(const ui::WindowPorts& w, platform::Input& i, platform::Drawing& g)
        : WindowPorts(w), input(i), drawing(g) {}
    explicit Ports(const platform::Platform& p) : Ports(ui::WindowPorts(p), p.input, p.drawing) {}
    platform::Input& input;
    platform::Drawing& drawing;
  };

  explicit CHotKeyExCtrl(const Ports& ports);

  // Takes over the dialog's standard hot-key control `id`.
  bool subclassDlgItem(ui::Dialog& dialog, int32_t id);
  // Modifiers in RegisterHotKey form, in and out.
  void setHotKey(uint16_t virtualKey, uint32_t modifiers);
  void getHotKey(uint16_t& virtualKey, uint16_t& modifiers) const {
    value_.get(virtualKey, modifiers);
  }
  std::string text() const;

 protected:
  ui::Answer onSetFocus() override;
  ui::Answer onKillFocus() override;
  void onDestroy() override;
  ui::Answer onPaint() override;
  ui::Answer onOtherMessage(uint32_t message, ui::WParam wParam, ui::LParam lParam) override;

 private:
  void redraw();
  void paint();

  platform::Input& input_;
  platform::Drawing& drawing_;
  HotKeyValue value_;
  KeyboardCapture capture_;  // members go before the base class destroys the window
};
