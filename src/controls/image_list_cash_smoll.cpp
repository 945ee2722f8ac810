#include "controls/image_list_cash_smoll.h"

#include "base/diagnostic_log.h"

using namespace platform;

CImageListCashSmoll::CImageListCashSmoll(Icons& icons, Shell& shell)
    : icons_(icons), shell_(shell), imageList_(icons.createImageList(16, 16, ILC_COLORDDB, 0, 50)) {
  icons_.setImageListBkColor(imageList_, rgb(255, 255, 255));
}

CImageListCashSmoll::~CImageListCashSmoll() {
  icons_.destroyImageList(imageList_);
}

int32_t CImageListCashSmoll::getIconIndex(const std::string& path) {
  for (size_t i = 0; i < paths_.size(); ++i) {
    if (paths_[i] == path) return static_cast<int32_t>(i);
  }
  // The list refreshes often; asking again would extract and log the same icon each time.
  if (refused_.count(path) != 0) return -1;
  std::optional<IconHandle> icon = shell_.fileSmallIcon(path);
  const bool own = icon.has_value();
  if (!own) {
    diag::print("ICON get fail path =%s\n", path.c_str());
    icon = icons_.errorIcon();
  }
  const int32_t index = icons_.imageListAddIcon(imageList_, *icon);
  if (own) icons_.destroyIcon(*icon);
  // Keys and images stay in step: a path whose image was refused gets no key.
  if (index >= 0) {
    paths_.push_back(path);
  } else {
    refused_.insert(path);
  }
  return index;
}
