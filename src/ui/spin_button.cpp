#include "ui/spin_button.h"

#include <algorithm>
#include <optional>

namespace ui {

using namespace platform;

namespace {

// Leading blanks, an optional minus, then digits only.
std::optional<int32_t> wholeNumber(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (negative) ++i;
  if (i == text.size() || text.size() - i > 9) return std::nullopt;
  int32_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

void SpinButton::attach(Dialog& dialog, int32_t spinId, int32_t buddyId) {
  dialog_ = &dialog;
  spin_ = dialog.item(spinId);
  buddyId_ = buddyId;
}

void SpinButton::setRange(int32_t low, int32_t high) {
  low_ = low;
  high_ = high;
  dialog_->messages().sendMessage(spin_, UDM_SETRANGE32, static_cast<WParam>(low),
                                  static_cast<LParam>(high));
}

void SpinButton::setPosition(int32_t position) {
  const int32_t shown = std::clamp(position, low_, high_);
  dialog_->messages().sendMessage(spin_, UDM_SETPOS32, 0, static_cast<LParam>(shown));
}

int32_t SpinButton::positionFor(int32_t value) {
  const int32_t now = position();
  return now == std::clamp(value, low_, high_) ? value : now;
}

int32_t SpinButton::position() {
  const std::string text = dialog_->itemText(buddyId_);
  const std::optional<int32_t> typed = wholeNumber(text);
  const bool valid = typed && *typed >= low_ && *typed <= high_;
  // The control itself takes some texts that are no whole number (an empty field as 0, "1,0"
  // as 10): it is shown one it refuses, so that it answers with its last position.
  if (!valid) dialog_->setItemText(buddyId_, "-");
  const LResult answer = dialog_->messages().sendMessage(spin_, UDM_GETPOS, 0, 0);
  if (!valid) dialog_->setItemText(buddyId_, text);
  return static_cast<int16_t>(answer & 0xFFFF);
}

}  // namespace ui
