// A list view in report view, as the program's pages use it.
#pragma once

#include <string>

#include "platform/windows.h"

namespace ui {

class ListView {
 public:
  ListView() = default;
  void attach(platform::Windows& windows, platform::Hwnd list) {
    windows_ = &windows;
    hwnd_ = list;
  }
  platform::Hwnd hwnd() const { return hwnd_; }
  bool attached() const { return windows_ != nullptr && hwnd_; }

  void setExtendedStyle(uint32_t style) { windows_->listViewSetExtendedStyle(hwnd_, style); }
  void insertColumn(int32_t index, const std::string& heading, int32_t width) {
    windows_->listViewInsertColumn(hwnd_, index, heading, width);
  }
  // Appends a row, with no image when `image` is negative; its index, or -1.
  int32_t appendRow(const std::string& text, int32_t image = -1) {
    return windows_->listViewInsertItem(hwnd_, itemCount(), text, image);
  }
  void setItemText(int32_t row, int32_t column, const std::string& text) {
    windows_->listViewSetItemText(hwnd_, row, column, text);
  }
  std::string itemText(int32_t row, int32_t column) const {
    return windows_->listViewGetItemText(hwnd_, row, column);
  }
  int32_t itemCount() const { return windows_->listViewItemCount(hwnd_); }
  void deleteAllItems() { windows_->listViewDeleteAllItems(hwnd_); }
  int32_t selectionMark() const { return windows_->listViewGetSelectionMark(hwnd_); }
  void selectRow(int32_t row) { windows_->listViewSelectRow(hwnd_, row); }
  void setRedraw(bool on) {
    windows_->sendMessage(hwnd_, platform::WM_SETREDRAW, on ? 1 : 0, 0);
  }

 private:
  platform::Windows* windows_ = nullptr;
  platform::Hwnd hwnd_;
};

}  // namespace ui
