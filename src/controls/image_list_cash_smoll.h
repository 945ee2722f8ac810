// Small icons of executables for list views, each loaded once, by path.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/icons.h"
#include "platform/shell.h"

class CImageListCashSmoll {
 public:
  CImageListCashSmoll(platform::Icons& icons, platform::Shell& shell);
  virtual ~CImageListCashSmoll();
  CImageListCashSmoll(const CImageListCashSmoll&) = delete;
  CImageListCashSmoll& operator=(const CImageListCashSmoll&) = delete;

  // The image index for the path (byte-wise, case-sensitive key), or -1 when the image list
  // took no image. A refused path stays refused: it is neither extracted nor logged again.
  int32_t getIconIndex(const std::string& path);
  platform::ImageListHandle imageList() const { return imageList_; }

 private:
  platform::Icons& icons_;
  platform::Shell& shell_;
  platform::ImageListHandle imageList_;
  std::vector<std::string> paths_;  // the key of image i is paths_[i]
  std::set<std::string> refused_;   // paths whose image the list did not take
};
