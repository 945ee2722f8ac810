// The simulated dialog manager: list views in report view, and their image lists.
#include <algorithm>

#include "platform/sim/sim_dialogs.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kLvsShareImageLists = 0x0040;  // LVS_SHAREIMAGELISTS

}  // namespace

ListViewModel* SimDialogs::ownList(Hwnd list) {
  ControlModel* m = model(list);
  return m == nullptr || m->controlClass != ControlClass::ListView ? nullptr : &m->list;
}

void SimDialogs::selectRow(ListViewModel& list, bool exclusive, int32_t row) {
  list.selectionMark = row;
  if (row < 0 || row >= static_cast<int32_t>(list.rows.size())) return;
  for (ListViewRow& r : list.rows) {
    if (exclusive) r.selected = false;
    r.focused = false;
  }
  list.rows[static_cast<size_t>(row)].selected = true;
  list.rows[static_cast<size_t>(row)].focused = true;
}

void SimDialogs::listViewSetExtendedStyle(Hwnd list, uint32_t style) {
  ++windows_.portCalls;
  if (ListViewModel* m = ownList(list)) m->extendedStyle = style;
}

void SimDialogs::listViewInsertColumn(Hwnd list, int32_t index, const std::string& heading,
                                      int32_t width) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || index < 0) return;
  const size_t at = std::min(static_cast<size_t>(index), m->columns.size());
  m->columns.insert(m->columns.begin() + static_cast<ptrdiff_t>(at), {heading, width});
}

int32_t SimDialogs::listViewInsertItem(Hwnd list, int32_t row, const std::string& text,
                                       int32_t image) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0) return -1;
  const int32_t at = std::min(row, static_cast<int32_t>(m->rows.size()));
  ListViewRow added;
  added.cells.push_back({text});
  added.image = image;
  m->rows.insert(m->rows.begin() + at, added);
  // The selection mark follows its row.
  if (m->selectionMark >= at) ++m->selectionMark;
  return at;
}

void SimDialogs::listViewSetItemText(Hwnd list, int32_t row, int32_t column,
                                     const std::string& text) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0 || row >= static_cast<int32_t>(m->rows.size()) || column < 0) {
    return;
  }
  // Text for a column that does not exist is never shown; keep it out of the model.
  if (column > 0 && column >= static_cast<int32_t>(m->columns.size())) return;
  auto& cells = m->rows[static_cast<size_t>(row)].cells;
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = {text};
}

std::string SimDialogs::listViewGetItemText(Hwnd list, int32_t row, int32_t column) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0 || column < 0) return {};
  return m->text(static_cast<size_t>(row), static_cast<size_t>(column));
}

int32_t SimDialogs::listViewItemCount(Hwnd list) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  return m == nullptr ? 0 : static_cast<int32_t>(m->rows.size());
}

void SimDialogs::listViewDeleteAllItems(Hwnd list) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr) return;
  m->rows.clear();
  m->selectionMark = -1;
  m->hotItem = -1;
}

int32_t SimDialogs::listViewGetSelectionMark(Hwnd list) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  return m == nullptr ? -1 : m->selectionMark;
}

void SimDialogs::listViewSelectRow(Hwnd list, int32_t row) {
  ++windows_.portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr) return;
  selectRow(*m, (windows_.live(list)->style & LVS_SINGLESEL) != 0, row);
  m->hotItem = row;
  if (row >= 0 && row < static_cast<int32_t>(m->rows.size())) m->ensuredVisible = row;
}

void SimDialogs::listViewSetImageList(Hwnd list, ImageListHandle images, uint32_t which) {
  ++windows_.portCalls;
  if (ListViewModel* m = ownList(list)) m->imageLists[which] = images;
}

void SimDialogs::freed(Hwnd window) {
  const SimWindow* list = windows_.live(window);
  const ListViewModel* m = ownList(window);
  if (list == nullptr || m == nullptr || (list->style & kLvsShareImageLists) != 0) return;
  for (const auto& [which, images] : m->imageLists) icons_.destroyedWithList(images, window);
}

}  // namespace sim
