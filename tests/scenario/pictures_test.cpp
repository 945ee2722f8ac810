// Previews without a thumbnail drawn by the system: pictures the program takes of its targets.
#include <functional>
#include <utility>

#include "scenario/preview_fixture.h"

namespace scenario {
namespace {

using platform::rgb;

class PicturesTest : public PreviewTest {
 protected:
  // One detection tick: the preview it made, the program's window not there before.
  Hwnd detectOne() {
    const std::vector<Hwnd> before = desk->windows.enumWindows();
    detect(1);
    for (const Hwnd h : desk->windows.enumWindows()) {
      if (std::find(before.begin(), before.end(), h) == before.end() &&
          desk->windows.getWindowProcessId(h) == desk->windows.ownProcessId) {
        return h;
      }
    }
    return {};
  }
  std::string shown(Hwnd preview) {
    const auto* b = desk->drawing.paintedBitmap(preview);
    return b == nullptr ? "label " + desk->drawing.paintedText(preview) : b->picture;
  }
  platform::ColorRef shownColor(Hwnd preview) {
    const auto* b = desk->drawing.paintedBitmap(preview);
    return b == nullptr ? 0xFFFFFFFFu : b->color;
  }
};

constexpr platform::ColorRef kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0), kBlue = rgb(0, 0, 255),
                             kYellow = rgb(255, 255, 0), kWhite = rgb(255, 255, 255);

TEST_F(PicturesTest, WithoutCompositionPreviewsShowPicturesOfTheirWindows) {
  desk = sim::SimDesktop::compositionOff();
  sim::ForeignWindow a;
  a.processId = desk->programs.addProcess("a.exe", "C:\\Apps\\a.exe");
  a.title = "Doc A";
  a.rect = kNormal;
  a.color = kRed;
  a.icon = platform::IconHandle{0x77710};
  const Hwnd target = desk->windows.addWindow(a);
  run([&](Hwnd) {
    // A target that does not answer gets no picture: its preview shows its icon and title.
    desk->programs.setHung(target, true);
    const Hwnd preview = detectOne();
    ASSERT_TRUE(preview);
    EXPECT_EQ(shown(preview), "label Doc A");
    desk->programs.setHung(target, false);
    addAppWindow(*desk, "B", "b.exe", {1000, 100, 1400, 400});
    const Hwnd second = detectOne();
    ASSERT_TRUE(second);
    desk->advance(3000);
    // PrintWindow with full content, of the whole window (no invisible borders without
    // composition), at the preview's size; each window in its own colour.
    EXPECT_EQ(shown(preview), hex("print h", target) + " flags 2 part 0,0,800,400 of 800x400");
    EXPECT_EQ(shownColor(preview), kRed);
    EXPECT_NE(shownColor(second), kRed);
    EXPECT_EQ(desk->drawing.paintedBitmap(preview)->size, (platform::Size{160, 80}));
    EXPECT_EQ(desk->drawing.paintedText(preview), "") << "the label has gone";

    // Taken at the preview's size into two bitmaps it keeps (the one shown, the next one).
    EXPECT_EQ(desk->drawing.picturesCreated,
              (std::vector<platform::Size>{{160, 80}, {160, 80}, {160, 120}, {160, 120}}));

    // A window that changes all the time is seen every second.
    const auto prints = [&] { return desk->drawing.printsOf(target); };
    for (const platform::ColorRef colour : {kGreen, kBlue, kGreen, kBlue}) {
      desk->drawing.setColor(target, colour);
      desk->advance(1000);
      EXPECT_EQ(shownColor(preview), colour);
    }
    // One that stands still is printed ever less often, down to every 2.5 s, and a picture
    // that came out the same is not drawn again.
    uint64_t printed = prints();
    const uint64_t painted = desk->drawing.bitmapsPainted;
    desk->advance(7000);
    EXPECT_EQ(prints() - printed, 4u) << "1, 1.5, 2 and 2.5 s apart";
    printed = prints();
    desk->advance(40000);
    EXPECT_EQ(prints() - printed, 16u);
    EXPECT_EQ(desk->drawing.bitmapsPainted, painted);
    // Still for most of a minute, it changes: its preview shows it within 3 s.
    desk->drawing.setColor(target, kGreen);
    desk->advance(3000);
    EXPECT_EQ(shownColor(preview), kGreen);
    EXPECT_EQ(desk->drawing.bitmapsPainted, painted + 1);

    // At rest, any sign of life brings the next picture a second after the last.
    const Rect at = rectOf(preview);
    const std::vector<std::pair<const char*, std::function<void()>>> signs = {
        {"moved", [&] { desk->windows.moveWindow(target, 110, 100, 800, 400, true); }},
        {"retitled", [&] { desk->windows.setTitle(target, "Doc A (2)"); }},
        {"activated", [&] { desk->windows.activateByUser(target); }},
        {"pointed at",
         [&] {
           desk->input.moveCursor({at.left + 10, at.top + 10});
         }},
    };
    platform::ColorRef colour = kGreen;
    for (const auto& [sign, happen] : signs) {
      desk->advance(10000);
      // Just after a picture, the next not due for 2.5 s.
      for (printed = prints(); prints() == printed;) desk->advance(500);
      colour = colour == kGreen ? kBlue : kGreen;
      desk->drawing.setColor(target, colour);
      happen();
      desk->advance(1000);
      EXPECT_EQ(shownColor(preview), colour) << sign;
    }
    // The pointer over its preview: every second while it stays.
    desk->input.moveCursor({at.left + 10, at.top + 10});
    desk->advance(1000);
    printed = prints();
    desk->advance(10000);
    EXPECT_EQ(prints() - printed, 10u);
    desk->input.cursor = {5, 1000};
    desk->windows.moveWindow(target, kNormal.left, kNormal.top, 800, 400, true);
    desk->advance(1000);

    // Zoomed, the picture is of the part a thumbnail would show, at the next poll.
    desk->input.moveCursor({at.left + 10, at.top + 10});
    for (int i = 0; i < 10; ++i) desk->input.wheel(120);
    desk->advance(500);
    EXPECT_EQ(shown(preview), hex("print h", target) + " flags 2 part 40,20,760,380 of 800x400");
    desk->input.cursor = {5, 1000};
    desk->advance(500);
    for (int i = 0; i < 10; ++i) desk->input.wheel(-120);  // not over it: stays zoomed

    // Printing gives black (Wine, for another process's window): the screen where it lies.
    desk->drawing.winePrintsOthersBlack = true;
    desk->drawing.setColor(target, kYellow);
    desk->advance(1000);
    EXPECT_EQ(shown(preview).rfind("screen 140,120,860,480", 0), 0u) << shown(preview);
    EXPECT_EQ(shownColor(preview), kYellow);
    EXPECT_TRUE(logged("picture of 0x000" + hex("", target) + ": the screen\n"));

    // Hovered, the preview comes to the top, here over the part of its window it shows (as
    // under Wine, the screen holds the program's layered windows): no copy, the last stays.
    desk->drawing.screenHoldsLayered = true;
    const platform::Point middle{(at.left + at.right) / 2, (at.top + at.bottom) / 2};
    const uint64_t copies = desk->drawing.screenCopies;
    desk->input.moveCursor(middle);
    desk->windows.moveWindow(target, middle.x - 400, middle.y - 200, 800, 400, true);
    desk->advance(3000);
    EXPECT_LE(desk->drawing.screenCopies - copies, 2u) << "the other window's, at rest";
    EXPECT_EQ(shownColor(preview), kYellow);
    desk->input.cursor = {5, 1000};
    desk->windows.moveWindow(target, kNormal.left, kNormal.top, 800, 400, true);
    desk->advance(1000);
    desk->drawing.screenHoldsLayered = false;

    // Copy gives the picture shown, at the client's size.
    desk->ownWindows.menuAnswers.push_back(res::ID_THUMB_COPY);
    desk->input.rightClick({at.left + 10, at.top + 10});
    desk->windows.pumpMessages();
    const auto* copied = desk->drawing.bitmap(desk->drawing.clipboardData[platform::CF_BITMAP]);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->picture, shown(preview) + " at 0,0,160,80");
    EXPECT_EQ(copied->color, kYellow);

    // Minimised and kept live out of sight: no fresh picture can be taken, the last stays.
    minimiseAndPoll(target);
    desk->drawing.setColor(target, kWhite);
    const uint64_t printedHidden = desk->drawing.printWindows;
    desk->advance(10000);
    EXPECT_EQ(shownColor(preview), kYellow);
    // Prints known to come back black are tried again only now and then: both windows' in
    // ten seconds, not two a second for the hidden one.
    EXPECT_LE(desk->drawing.printWindows - printedHidden, 4u);
    // Where it prints, the window kept live is seen as it changes, from the next retry on.
    desk->drawing.winePrintsOthersBlack = false;
    desk->advance(10000);
    EXPECT_EQ(shownColor(preview), kWhite);

    // A window marked hung is not asked (nor waited for): only the other is printed.
    desk->programs.setHung(target, true);
    desk->clock.elapse(6000);
    const uint64_t beforeHung = desk->drawing.printWindows;
    const uint32_t start = desk->now;
    desk->advance(10000);
    EXPECT_LE(desk->drawing.printWindows - beforeHung, 11u) << "the other's, one a second";
    EXPECT_EQ(desk->now - start, 10000u);
    desk->programs.setHung(target, false);
    desk->advance(1000);

    // One that answers and then takes 15 s to print holds the program a second, not a second
    // per way of printing.
    desk->programs.slowHandler(target, platform::WM_PRINT, 15000);
    const uint32_t slowFrom = desk->now;
    desk->advance(1000);
    EXPECT_LE(desk->now - slowFrom, 2000u);
  });
}

TEST_F(PicturesTest, AWindowKeptLiveTransparentInPlaceIsNotCopiedFromTheScreen) {
  desk = sim::SimDesktop::compositionOff();
  desk->drawing.winePrintsOthersBlack = true;
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  desk->drawing.setColor(target, kRed);
  run(
      [&](Hwnd) {
        const Hwnd preview = detectOne();
        desk->advance(1000);
        ASSERT_EQ(shownColor(preview), kRed);
        // Kept live at alpha 0 where it was: the screen there shows what lies below it.
        minimiseAndPoll(target);
        ASSERT_EQ(desk->windows.layeredAlpha(target), 0);
        desk->advance(3000);
        EXPECT_EQ(shownColor(preview), kRed);
      },
      {kExe, "-K527", "-LAYERED"});
}

TEST_F(PicturesTest, APreviewWithoutAThumbnailShowsPicturesAndComesBackWithOne) {
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  desk->dwm.thumbnailsRefused.insert(target.value);
  run([&](Hwnd panel) {
    const Hwnd preview = detectOne();
    ASSERT_TRUE(preview);
    desk->advance(1000);
    // Under composition the source leaves out the invisible borders, as a thumbnail's does.
    EXPECT_EQ(shown(preview), hex("print h", target) + " flags 2 part 7,0,793,393 of 800x400");

    // Composition off and on: the previews close, and come back with thumbnails.
    desk->dwm.thumbnailsRefused.clear();
    desk->dwm.compositionEnabled = 0;
    desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_FALSE(desk->windows.isWindow(preview));
    desk->dwm.compositionEnabled = 1;
    desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
    detect(2);
    ASSERT_TRUE(previewOf(target));
    const uint64_t printed = desk->drawing.printWindows;
    desk->advance(5000);
    EXPECT_EQ(desk->drawing.printWindows, printed) << "a thumbnail needs no picture";

    // Registered, but its first properties refused: pictures, and the registration let go.
    const Hwnd other = addAppWindow(*desk, "C", "c.exe", {1000, 100, 1400, 400});
    desk->dwm.thumbnailUpdatesRefused.insert(other.value);
    const Hwnd third = detectOne();
    ASSERT_TRUE(third);
    desk->advance(1000);
    EXPECT_EQ(shown(third).rfind(hex("print h", other), 0), 0u) << shown(third);
    for (const auto& [id, registration] : desk->dwm.thumbnails)
      EXPECT_NE(registration.source, other);
    EXPECT_TRUE(logged("thumbnail of 0x000" + hex("", other) + " refused its properties\n"));
  });
}

}  // namespace
}  // namespace scenario
