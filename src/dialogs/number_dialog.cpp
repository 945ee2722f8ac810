#include "dialogs/number_dialog.h"

#include <algorithm>

bool NumberDialog::onInitDialog() {
  ui::Dialog::onInitDialog();
  spin_.attach(*this, field_.spinId, field_.editId);
  spin_.setRange(field_.lowest, field_.highest);
  spin_.setPosition(value_);
  return true;
}

void NumberDialog::onOK() {
  value_ = std::clamp(spin_.position(), field_.lowest, field_.highest);
  endDialog(platform::IDOK);
}
