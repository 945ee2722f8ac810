#include <gtest/gtest.h>

#include <algorithm>

#include "controls/image_list_cash_smoll.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_programs.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_windows.h"
#include "support/log_capture.h"

namespace {

// Icons come from the icons fake and files' icons from the shell, on the window table; the
// log goes to the system's console.
struct IconsDesk {
  sim::SimClock clock;
  sim::SimFileSystem files;
  sim::SimSystem system{clock, files};
  sim::SimWindows windows{clock};
  sim::SimPrograms programs{windows};
  sim::SimIcons icons{windows};
  sim::SimShell shell{windows, programs, icons};
};

}  // namespace

TEST(IconCache, EachPathIsLoadedOnceAndKeysStayInStepWithImages) {
  auto desk = std::make_unique<IconsDesk>();
  LogCapture log(desk->system);
  desk->shell.fileIcons = {"C:\\Apps\\ed.exe", "C:\\Apps\\Ed.exe"};
  CImageListCashSmoll cache(desk->icons, desk->shell);
  const sim::SimImageList* images = desk->icons.imageList(cache.imageList());
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->bkColor, platform::rgb(255, 255, 255));

  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\ed.exe"), 0);
  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\ed.exe"), 0);
  EXPECT_EQ(std::count(desk->clock.actions.begin(), desk->clock.actions.end(),
                       "file icon C:\\Apps\\ed.exe"),
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
  EXPECT_EQ(std::count(desk->clock.actions.begin(), desk->clock.actions.end(),
                       "file icon C:\\Gone\\y.exe"),
            1);
  EXPECT_EQ(log.text(),
            "ICON get fail path =C:\\Gone\\x.exe\nICON get fail path =\nICON get fail path "
            "=C:\\Gone\\y.exe\n");
  EXPECT_EQ(cache.getIconIndex("C:\\Apps\\Ed.exe"), 3);  // letter case makes another key
  EXPECT_EQ(images->icons.size(), 4u);
}
