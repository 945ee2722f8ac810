// A small modal dialog that edits one whole number with an edit box and its spin control. It
// only edits the value the caller puts in and reads back after OK: the spin's position, which
// keeps the last whole number within the range that the field held. A value outside the range
// is shown as its nearest end and comes back as it was unless the user changed the field.
#pragma once

#include "ui/dialog.h"
#include "ui/spin_button.h"

class NumberDialog : public ui::Dialog {
 public:
  // The framework's services only.
  using Ports = ui::DialogPorts;

 protected:
  struct Field {
    int32_t spinId;
    int32_t editId;
    int32_t lowest;
    int32_t highest;
  };
  // `value` is the derived dialog's member that the caller sets and reads.
  NumberDialog(const Ports& ports, const platform::DialogTemplate& dialogTemplate, Field field,
               int32_t& value)
      : ui::Dialog(ports, dialogTemplate), field_(field), value_(value) {}

  bool onInitDialog() override;
  void onOK() override;

 private:
  Field field_;
  int32_t& value_;
  ui::SpinButton spin_;
};
