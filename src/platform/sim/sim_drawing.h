// The simulated drawing: what the program paints into its own windows, brushes and
// device-context settings, bitmaps of windows' pictures, the screen they are copied from, and
// the clipboard the program puts one of them on.
//
// What it models:
// - Painting calls: fillRect and paintFill are recorded, not drawn; paintText, paintLabel and
//   paintBitmap keep what the window shows last (paintText: 7 px per byte); drawBadge the badge
//   drawn over it since its last paint. Each of the painting calls validates the window
//   (BeginPaint / EndPaint, sim_windows.h). Brushes are tracked until deleted.
// - Bitmaps and the clipboard (sim_clipboard.cpp): bitmaps are a size and where their
//   picture came from, live until deleted; once the clipboard holds one, it is deleted when
//   the clipboard lets it go (emptied, or the format set anew). PrintWindow of a busy or
//   hung window waits for it a second at most, as a change to it does (sim_programs.h).
//   One window at a time opens the clipboard; data is set only while it is open.
// - Pictures of windows are one colour each (`color`); the screen (sim_pictures.cpp): each
//   top-level window draws its colour over its rectangle; a copy of an area is the colour of
//   the topmost visible, not minimised window over its centre (layered windows of the
//   program's are not copied, as BitBlt leaves them out without composition, unless
//   `screenHoldsLayered`), else the desktop's.
//
// What it does not model: pixels (windows draw one colour each; no WM_ERASEBKGND or
// WM_NCPAINT is sent; a layered window without attributes is not drawn on Windows, here
// nothing is drawn anyway), the mix of colours an area over several windows holds, what the
// program's windows painted. For the clipboard: formats the system derives (CF_DIB ...),
// delayed rendering, WM_DESTROYCLIPBOARD, the owner's going away, a clipboard left open by the
// program until another open; PrintWindow of a window that stops answering midway, flags other
// than PW_RENDERFULLCONTENT, and whether Windows 7 refuses that flag (a switch, unmeasured).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/drawing.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimDrawing : public platform::Drawing, public platform::Clipboard, SimWindowsListener {
 public:
  explicit SimDrawing(SimWindows& windows);

  // ===== Test API =====
  // The text a control painted last (paintText), and where.
  std::string paintedText(platform::Hwnd window) const;
  platform::Point paintedTextAt(platform::Hwnd window) const;
  // The badge drawn over the window since its last paint (drawBadge: 7 px per byte and 16 px
  // high at 96 dpi, a 3 px margin), and its box in client coordinates; "" and none without.
  std::string badge(platform::Hwnd window) const;
  platform::Rect badgeBox(platform::Hwnd window) const;

  // GDI.
  std::optional<platform::ColorRef> brushColor(platform::BrushHandle brush) const;
  size_t liveBrushes() const { return brushes_.size(); }
  std::optional<int32_t> bkMode(platform::DeviceContext dc) const;
  std::optional<platform::ColorRef> textColor(platform::DeviceContext dc) const;
  static constexpr platform::BrushHandle kBlackBrush{0x1900010};

  // Bitmaps and the clipboard (sim_clipboard.cpp). A bitmap's picture says where it came
  // from: "client h..." (what a window's own device context read back) or
  // "print h... flags F part l,t,r,b of WxH" (PrintWindow: the part, relative to the window
  // rectangle's top-left corner, of the whole window's W x H as it was then).
  // Pictures of windows are one colour each (`color`): the window's, black where PrintWindow
  // could not draw it; "screen l,t,r,b" is what the screen showed there; "blank" a picture
  // bitmap (createPicture) not drawn into yet. pixelHash hashes the picture and the colour.
  struct SimBitmap {
    platform::Size size;
    std::string picture;
    platform::ColorRef color = 0;
  };
  const SimBitmap* bitmap(platform::BitmapHandle bitmap) const;  // null once deleted
  size_t liveBitmaps() const { return bitmaps_.size(); }
  // PrintWindow fails always, or with PW_RENDERFULLCONTENT (as systems without it may).
  bool printWindowFails = false;
  bool printFullContentFails = false;
  // Wine's way: PrintWindow of another program's window succeeds and leaves it black.
  bool winePrintsOthersBlack = false;
  platform::ColorRef desktopColor = platform::rgb(0, 128, 128);
  // Wine's way (and composition's): the screen holds the program's layered windows too.
  bool screenHoldsLayered = false;
  void setColor(platform::Hwnd window, platform::ColorRef color);
  platform::ColorRef colorOf(platform::Hwnd window) const;
  // The bitmap a window painted last (paintBitmap), as it was then; null before any.
  const SimBitmap* paintedBitmap(platform::Hwnd window) const;
  uint64_t screenCopies = 0;                       // copyScreenInto calls
  uint64_t printWindows = 0;                       // printWindowPart and printWindowInto calls
  uint64_t printsOf(platform::Hwnd window) const;  // those for one window
  uint64_t bitmapsPainted = 0;                     // paintBitmap calls
  std::vector<platform::Size> picturesCreated;     // createPicture's sizes, in order
  // The clipboard's data by format (other programs' data as a null handle), its owner, and
  // another program keeping it open so that no one else can open it.
  std::map<uint32_t, platform::BitmapHandle> clipboardData;
  platform::Hwnd clipboardOwner;
  bool clipboardHeldElsewhere = false;

  // ===== platform::Drawing =====
  void fillRect(platform::DeviceContext dc, const platform::Rect& rect,
                platform::ColorRef color) override;
  void paintFill(platform::Hwnd window, platform::ColorRef color) override;
  void paintIcon(platform::Hwnd window, platform::IconHandle icon, int32_t x, int32_t y) override;
  int32_t paintText(platform::Hwnd window, const std::string& text, platform::Point at) override;
  platform::BrushHandle createSolidBrush(platform::ColorRef color) override;
  void deleteBrush(platform::BrushHandle brush) override;
  platform::BrushHandle blackBrush() override { return kBlackBrush; }
  void setBkMode(platform::DeviceContext dc, int32_t mode) override;
  void setTextColor(platform::DeviceContext dc, platform::ColorRef color) override;
  platform::BitmapHandle copyClientArea(platform::Hwnd window, platform::Size size) override;
  platform::BitmapHandle printWindowPart(platform::Hwnd window, const platform::Rect& source,
                                         platform::Size size, uint32_t flags) override;
  platform::BitmapHandle createPicture(platform::Size size) override;
  bool printWindowInto(platform::BitmapHandle picture, platform::Hwnd window,
                       const platform::Rect& source, uint32_t flags) override;
  bool copyScreenInto(platform::BitmapHandle picture, const platform::Rect& area) override;
  uint64_t pixelHash(platform::BitmapHandle bitmap) override;
  platform::BitmapHandle placeBitmap(platform::BitmapHandle part, const platform::Rect& at,
                                     platform::Size size, platform::ColorRef background) override;
  bool isBlack(platform::BitmapHandle bitmap) override;
  void deleteBitmap(platform::BitmapHandle bitmap) override;
  void paintBitmap(platform::Hwnd window, platform::BitmapHandle bitmap) override;
  void paintLabel(platform::Hwnd window, platform::IconHandle icon, const std::string& text,
                  platform::ColorRef background) override;
  platform::Size drawBadge(platform::Hwnd window, const std::string& text,
                           platform::Point bottomLeft, uint32_t dpi) override;

  // ===== platform::Clipboard =====
  bool open(platform::Hwnd owner) override;
  bool empty() override;
  bool setBitmap(platform::BitmapHandle bitmap) override;
  bool close() override;

 private:
  // What a window shows and how often it was printed.
  struct Drawn {
    std::optional<platform::ColorRef> color;  // other programs' windows; see ForeignWindow
    std::optional<SimBitmap> paintedBitmap;   // the last paintBitmap's, as it was
    std::string painted;        // the text of the last paintText (paintLabel: icon h... and text)
    platform::Point paintedAt;  // where paintText drew it
    std::string badge;          // drawBadge's text since the last BeginPaint, and its box
    platform::Rect badgeBox;
    uint64_t prints = 0;  // PrintWindow calls for it
  };
  const Drawn* drawn(platform::Hwnd window) const;  // of a live window; null without
  void recordMade(platform::Hwnd window) override { drawn_.erase(window.value); }
  void foreignAdded(platform::Hwnd window, const ForeignWindow& facts) override;
  void validated(platform::Hwnd window) override;
  // What PrintWindow would draw of `window` at `size`, counted as a print; none when it fails.
  std::optional<SimBitmap> print(platform::Hwnd window, const platform::Rect& source,
                                 platform::Size size, uint32_t flags);
  platform::BitmapHandle newBitmap(platform::Size size, std::string picture,
                                   platform::ColorRef color = 0);

  SimWindows& windows_;
  std::map<uint32_t, Drawn> drawn_;
  std::map<uint64_t, platform::ColorRef> brushes_;
  uint64_t nextBrush_ = 0x1A00010;
  std::map<uint64_t, int32_t> bkModes_;
  std::map<uint64_t, platform::ColorRef> textColors_;
  std::map<uint64_t, SimBitmap> bitmaps_;
  uint64_t nextBitmap_ = 0x05000010;
  std::optional<platform::Hwnd> clipboardOpenBy_;
};

}  // namespace sim
