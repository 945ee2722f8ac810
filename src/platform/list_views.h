// List view controls in report view.
#pragma once

#include <string>

#include "platform/window_types.h"

namespace platform {

class ListViews {
 public:
  virtual ~ListViews() = default;
  virtual void listViewSetExtendedStyle(Hwnd list, uint32_t style) = 0;
  virtual void listViewInsertColumn(Hwnd list, int32_t index, const std::string& heading,
                                    int32_t width) = 0;
  // A row with the image of that index from the small image list, or none when it is negative.
  virtual int32_t listViewInsertItem(Hwnd list, int32_t row, const std::string& text,
                                     int32_t image) = 0;
  virtual void listViewSetItemText(Hwnd list, int32_t row, int32_t column,
                                   const std::string& text) = 0;
  virtual std::string listViewGetItemText(Hwnd list, int32_t row, int32_t column) = 0;
  virtual int32_t listViewItemCount(Hwnd list) = 0;
  virtual void listViewDeleteAllItems(Hwnd list) = 0;
  virtual int32_t listViewGetSelectionMark(Hwnd list) = 0;
  // Selection mark, selected and focused state, hot item, scrolled into view.
  virtual void listViewSelectRow(Hwnd list, int32_t row) = 0;
  // Without LVS_SHAREIMAGELISTS the list view owns the image list from now on.
  virtual void listViewSetImageList(Hwnd list, ImageListHandle images, uint32_t which) = 0;
};

}  // namespace platform
