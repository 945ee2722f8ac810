#include "platform/sim/sim_dwm.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

// A top-level window with a sizing or dialog frame, which Windows 10 draws as a thin line
// with the rest of the frame invisible.
bool hasSystemFrame(SimWindows& wm, Hwnd window) {
  constexpr uint32_t kDialogFrame = WS_CAPTION & ~WS_BORDER;
  const uint32_t style = wm.getWindowLong(window, GWL_STYLE);
  if ((style & WS_CHILD) != 0) return false;
  return (style & (WS_THICKFRAME | kDialogFrame)) != 0 ||
         (wm.getWindowLong(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
}

std::string hex(uint64_t value) {
  char text[24];
  snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

constexpr HResult kCompositionDisabled = static_cast<HResult>(0x80263001u);  // DWM_E_...
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);           // E_INVALIDARG
constexpr HResult kInvalidHandle = static_cast<HResult>(0x80070006u);        // E_HANDLE

}  // namespace

void SimDwm::bindDwm(const char* call) {
  ++windows_.portCalls;
  ++dwmCalls;
  dwmLoaded = true;
  windows_.clock().actions.push_back(std::string("dwm ") + call);
}

HResult SimDwm::isCompositionEnabled(bool* enabled) {
  bindDwm("composition?");
  if (compositionQueryResult >= 0 && enabled != nullptr) {
    *enabled = compositionEnabled;
  }
  return compositionQueryResult;
}

HResult SimDwm::getWindowAttribute(Hwnd window, Dword attribute, void* value, Dword size) {
  bindDwm(("attribute h" + hex(window.value) + " " + std::to_string(attribute)).c_str());
  SimWindows& wm = windows_;
  if (!wm.isWindow(window)) return kInvalidHandle;
  if (attribute == DWMWA_EXTENDED_FRAME_BOUNDS) {
    if (value == nullptr || size != sizeof(Rect)) return kInvalidArg;
    if (!compositionEnabled) return kCompositionDisabled;
    Rect r;
    wm.getWindowRect(window, r);
    if (wm.getWindowProcessId(window) != wm.ownProcessId || hasSystemFrame(wm, window)) {
      const Rect& in = frameInset;
      r = {r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
    }
    memcpy(value, &r, sizeof r);
    return S_OK;
  }
  const bool windows8 = system_.version.majorVersion > 6 ||
                        (system_.version.majorVersion == 6 && system_.version.minorVersion >= 2);
  if (attribute == DWMWA_CLOAKED && windows8) {
    if (value == nullptr || size != sizeof(Dword)) return kInvalidArg;
    auto found = cloaked.find(window.value);
    const Dword state = found == cloaked.end() ? 0 : found->second;
    memcpy(value, &state, sizeof state);
    return S_OK;
  }
  return kInvalidArg;  // an attribute this system does not know
}

HResult SimDwm::registerThumbnail(Hwnd destination, Hwnd source, ThumbnailId* thumbnail) {
  bindDwm(("thumbnail register h" + hex(source.value) + " -> h" + hex(destination.value)).c_str());
  if (!compositionEnabled) return kCompositionDisabled;
  SimWindows& wm = windows_;
  auto topLevel = [&wm](Hwnd w) {
    return wm.isWindow(w) && (wm.getWindowLong(w, GWL_STYLE) & WS_CHILD) == 0;
  };
  if (thumbnail == nullptr || !topLevel(destination) || !topLevel(source) ||
      wm.getWindowProcessId(destination) != wm.ownProcessId ||
      thumbnailsRefused.count(source.value) != 0) {
    return kInvalidArg;
  }
  *thumbnail = ++nextThumbnail_;
  thumbnails[*thumbnail] = {destination, source, {}};
  return S_OK;
}

HResult SimDwm::unregisterThumbnail(ThumbnailId thumbnail) {
  bindDwm(("thumbnail unregister t" + hex(thumbnail)).c_str());
  return thumbnails.erase(thumbnail) != 0 ? S_OK : kInvalidArg;
}

HResult SimDwm::updateThumbnailProperties(ThumbnailId thumbnail, const ThumbnailProperties& given) {
  const Dword flags = given.flags;
  std::string text = "thumbnail properties t" + hex(thumbnail) + " flags=" + hex(flags);
  if ((flags & DWM_TNP_RECTDESTINATION) != 0) text += " dest=" + rectText(Rect{given.destination});
  if ((flags & DWM_TNP_RECTSOURCE) != 0) text += " src=" + rectText(Rect{given.source});
  if ((flags & DWM_TNP_OPACITY) != 0) text += " opacity=" + std::to_string(given.opacity);
  if ((flags & DWM_TNP_VISIBLE) != 0) text += " visible=" + std::to_string(given.visible);
  if ((flags & DWM_TNP_SOURCECLIENTAREAONLY) != 0) {
    text += " clientonly=" + std::to_string(given.sourceClientAreaOnly);
  }
  bindDwm(text.c_str());
  ++thumbnailPropertyUpdates;
  auto found = thumbnails.find(thumbnail);
  if (found == thumbnails.end()) return kInvalidArg;
  if (!compositionEnabled) return kCompositionDisabled;
  if (thumbnailUpdatesRefused.count(found->second.source.value) != 0) return kInvalidArg;
  ThumbnailProperties& p = found->second.properties;
  if ((flags & DWM_TNP_RECTDESTINATION) != 0) p.destination = given.destination;
  if ((flags & DWM_TNP_RECTSOURCE) != 0) p.source = given.source;
  if ((flags & DWM_TNP_OPACITY) != 0) p.opacity = given.opacity;
  if ((flags & DWM_TNP_VISIBLE) != 0) p.visible = given.visible;
  if ((flags & DWM_TNP_SOURCECLIENTAREAONLY) != 0) {
    p.sourceClientAreaOnly = given.sourceClientAreaOnly;
  }
  p.flags |= flags;
  return S_OK;
}

HResult SimDwm::querySourceSize(ThumbnailId thumbnail, Size* size) {
  bindDwm(("thumbnail source size t" + hex(thumbnail)).c_str());
  auto found = thumbnails.find(thumbnail);
  Rect r;
  if (found == thumbnails.end() || size == nullptr ||
      !windows_.getWindowRect(found->second.source, r)) {
    return kInvalidArg;
  }
  if (!compositionEnabled) return kCompositionDisabled;
  *size = {r.width(), r.height()};
  return S_OK;
}

HResult SimDwm::extendFrameIntoClientArea(Hwnd window, const Margins& margins) {
  bindDwm(("extend frame w" + hex(window.value) + " " +
           rectText({margins.left, margins.top, margins.right, margins.bottom}))
              .c_str());
  if (!compositionEnabled) return kCompositionDisabled;
  glassFrames[window.value] = margins;
  return S_OK;
}

}  // namespace sim
