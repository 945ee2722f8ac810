// A list view in report view, as the program's pages use it.
#pragma once

#include <string>

#include "platform/list_views.h"
#include "platform/messages.h"

namespace ui {

class ListView {
 public:
  ListView() = default;
  void attach(platform::ListViews& lists, platform::Messages& messages, platform::Hwnd list) {
    lists_ = &lists;
    messages_ = &messages;
    hwnd_ = list;
  }
  platform::Hwnd hwnd() const { return hwnd_; }
  bool attached() const { return lists_ != nullptr && hwnd_; }

  void setExtendedStyle(uint32_t style) { lists_->listViewSetExtendedStyle(hwnd_, style); }
  void insertColumn(int32_t index, const std::string& heading, int32_t width) {
    lists_->listViewInsertColumn(hwnd_, index, heading, width);
  }
  // Appends a row, with no image when `image` is negative; its index, or -1.
  int32_t appendRow(const std::string& text, int32_t image = -1) {
    return lists_->listViewInsertItem(hwnd_, itemCount(), text, image);
  }
  void setItemText(int32_t row, int32_t column, const std::string& text) {
    lists_->listViewSetItemText(hwnd_, row, column, text);
  }
  std::string itemText(int32_t row, int32_t column) const {
    return lists_->listViewGetItemText(hwnd_, row, column);
  }
  int32_t itemCount() const { return lists_->listViewItemCount(hwnd_); }
  void deleteAllItems() { lists_->listViewDeleteAllItems(hwnd_); }
  int32_t selectionMark() const { return lists_->listViewGetSelectionMark(hwnd_); }
  void selectRow(int32_t row) { lists_->listViewSelectRow(hwnd_, row); }
  void setRedraw(bool on) { messages_->sendMessage(hwnd_, platform::WM_SETREDRAW, on ? 1 : 0, 0); }

 private:
  platform::ListViews* lists_ = nullptr;
  platform::Messages* messages_ = nullptr;
  platform::Hwnd hwnd_;
};

}  // namespace ui
