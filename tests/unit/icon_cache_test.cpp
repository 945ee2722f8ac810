#include <gtest/gtest.h>

#include <algorithm>

#include "controls/image_list_cash_smoll.h"
#include "platform/sim/sim_desktop.h"
#include "support/log_capture.h"

TEST(IconCache, EachPathIsLoadedOnceAndKeysStayInStepWithImages) {
  auto desk = sim::SimDesktop::singleMonitor();
  LogCapture log(*desk);
  desk->shell.fileIcons = {"C:\\Apps\\ed.exe", "C:\\Apps\\Ed.exe"};
  CImageListCashSmoll cache(desk->platform().icons, desk->platform().shell);
  const sim::SimImageList* images = desk->icons.imageList(cache.imageList());
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->bkColor, platform::rgb(255, 255, 255));

  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\ed.exe"), 0);
  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\ed.exe"), 0);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "file icon C:\\Apps\\ed.exe"),
            1);
  EXPECT_EQ(desk->icons.liveIcons(), 0u);  // copied into the list, then released

  // A missing file gets the error icon, logged once; an empty path is an ordinary key.
  EXPECT_EQ(cache.getIconIndex("C:\\Gone\\x.exe"), 1);
  EXPECT_EQ(cache.getIconIndex("C:\\Gone\\x.exe"), 1);
  EXPECT_EQ(log.text(), "ICON get fail path =C:\\Gone\\x.exe\n");
  EXPECT_EQ(images->icons.back(), sim::SimIcons::kErrorIcon);
  EXPECT_EQ(cache.getIconIndex(""), 2);

  // A refused image leaves no key behind, so later paths keep matching their images, and
  // is remembered: asked again, the path is neither extracted nor logged once more.
  desk->icons.failImageListAdds = 1;
  EXPECT_EQ(cache.getIconIndex("C:\\Gone\\y.exe"), -1);
  EXPECT_EQ(cache.getIconIndex("C:\\Gone\\y.exe"), -1);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "file icon C:\\Gone\\y.exe"), 1);
  EXPECT_EQ(log.text(),
            "ICON get fail path =C:\\Gone\\x.exe\nICON get fail path =\nICON get fail path "
            "=C:\\Gone\\y.exe\n");
  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\Ed.exe"), 3);  // letter case makes another key
  EXPECT_EQ(images->icons.size(), 4u);
}
