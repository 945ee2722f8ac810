#include "dialogs/number_dialog.h"

bool NumberDialog::onInitDialog() {
  ui::Dialog::onInitDialog();
  spin_.attach(*this, field_.spinId, field_.editId);
  spin_.setRange(field_.lowest, field_.highest);
  spin_.setPosition(value_);
  return true;
}

void NumberDialog::onOK() {
  value_ = spin_.positionFor(value_);  // a value outside the range, untouched, stays
  endDialog(platform::IDOK);
}
