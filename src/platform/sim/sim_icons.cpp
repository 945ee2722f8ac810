// The simulated window manager: icons the program owns and image lists of small icons.
#include <cstdio>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kLvsShareImageLists = 0x0040;  // LVS_SHAREIMAGELISTS
constexpr uint64_t kResourceIcons = 0x0C000000u;  // loadIcon's handles
constexpr uint64_t kResourceIconsEnd = 0x0C010000u;

std::string handleText(const char* prefix, uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%s%llx", prefix, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

IconHandle SimWindowManager::newIcon() {
  nextIcon_ += 4;
  icons_.insert(nextIcon_);
  return IconHandle{nextIcon_};
}

void SimWindowManager::destroyIcon(IconHandle icon) {
  ++portCalls;
  if (icons_.erase(icon.value) != 0) {
    actions_.push_back("destroy icon " + handleText("i", icon.value));
  } else {
    // Shared icons (errorIcon, resources) and icons already destroyed.
    actions_.push_back("destroy unknown icon " + handleText("i", icon.value));
  }
}

bool SimWindowManager::usableIcon(IconHandle icon) const {
  return icon == kErrorIcon || icons_.count(icon.value) != 0 ||
         (icon.value >= kResourceIcons && icon.value < kResourceIconsEnd);
}

ImageListHandle SimWindowManager::createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t,
                                                  int32_t) {
  ++portCalls;
  nextImageList_ += 4;
  SimImageList& list = imageLists_[nextImageList_];
  list.cx = cx;
  list.cy = cy;
  list.flags = flags;
  actions_.push_back("image list create " + handleText("il", nextImageList_) + " " +
                     std::to_string(cx) + "x" + std::to_string(cy));
  return ImageListHandle{nextImageList_};
}

void SimWindowManager::destroyImageList(ImageListHandle list) {
  ++portCalls;
  if (imageLists_.erase(list.value) != 0) {
    actions_.push_back("image list destroy " + handleText("il", list.value));
  } else if (list.value != 0) {
    actions_.push_back("destroy unknown image list " + handleText("il", list.value));
  }
}

void SimWindowManager::setImageListBkColor(ImageListHandle list, ColorRef color) {
  ++portCalls;
  auto found = imageLists_.find(list.value);
  if (found != imageLists_.end()) found->second.bkColor = color;
}

int32_t SimWindowManager::imageListAddIcon(ImageListHandle list, IconHandle icon) {
  ++portCalls;
  auto found = imageLists_.find(list.value);
  if (found == imageLists_.end() || !usableIcon(icon)) return -1;
  if (failImageListAdds > 0) {
    --failImageListAdds;
    return -1;
  }
  found->second.icons.push_back(icon);
  return static_cast<int32_t>(found->second.icons.size() - 1);
}

const SimImageList* SimWindowManager::imageList(ImageListHandle list) const {
  auto found = imageLists_.find(list.value);
  return found == imageLists_.end() ? nullptr : &found->second;
}

void SimWindowManager::listViewSetImageList(Hwnd list, ImageListHandle images, uint32_t which) {
  ++portCalls;
  if (ListViewModel* m = ownList(list)) m->imageLists[which] = images;
}

void SimWindowManager::releaseListImages(Window& list) {
  if (!list.control || list.control->controlClass != ControlClass::ListView ||
      (list.style & kLvsShareImageLists) != 0) {
    return;
  }
  for (const auto& [which, images] : list.control->list.imageLists) {
    if (imageLists_.erase(images.value) != 0) {
      actions_.push_back("image list destroy " + handleText("il", images.value) +
                         " with list view " + handleText("h", list.handle.value));
    }
  }
}

}  // namespace sim
