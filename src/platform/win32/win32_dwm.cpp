#include "platform/win32/win32_platform.h"  // before <dwmapi.h>: the port's names first

#include <dwmapi.h>

namespace win32 {

using namespace platform;

// dwmapi.dll is bound on the first call, so the program starts where it does not exist.
struct Win32Dwm::Entry {
  HMODULE library = nullptr;
  HRESULT(WINAPI* isCompositionEnabled)(BOOL*) = nullptr;
  HRESULT(WINAPI* getWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
  HRESULT(WINAPI* registerThumbnail)(HWND, HWND, PVOID*) = nullptr;
  HRESULT(WINAPI* unregisterThumbnail)(PVOID) = nullptr;
  HRESULT(WINAPI* updateThumbnailProperties)(PVOID, const void*) = nullptr;
  HRESULT(WINAPI* querySourceSize)(PVOID, SIZE*) = nullptr;
  HRESULT(WINAPI* extendFrameIntoClientArea)(HWND, const void*) = nullptr;
};

namespace {

constexpr HResult kMissing = static_cast<HResult>(0x8007007Fu);  // ERROR_PROC_NOT_FOUND

RECT toRect(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

Win32Dwm::Win32Dwm() = default;

Win32Dwm::~Win32Dwm() {
  if (entry_ && entry_->library) FreeLibrary(entry_->library);
}

const Win32Dwm::Entry& Win32Dwm::bind() {
  if (!entry_) {
    entry_ = std::make_unique<Entry>();
    HMODULE library = loadSystemLibrary(L"dwmapi.dll");
    entry_->library = library;
    resolve(library, "DwmIsCompositionEnabled", entry_->isCompositionEnabled);
    resolve(library, "DwmGetWindowAttribute", entry_->getWindowAttribute);
    resolve(library, "DwmRegisterThumbnail", entry_->registerThumbnail);
    resolve(library, "DwmUnregisterThumbnail", entry_->unregisterThumbnail);
    resolve(library, "DwmUpdateThumbnailProperties", entry_->updateThumbnailProperties);
    resolve(library, "DwmQueryThumbnailSourceSize", entry_->querySourceSize);
    resolve(library, "DwmExtendFrameIntoClientArea", entry_->extendFrameIntoClientArea);
  }
  return *entry_;
}

HResult Win32Dwm::isCompositionEnabled(bool* enabled) {
  const Entry& e = bind();
  if (!e.isCompositionEnabled) return kMissing;
  BOOL on = FALSE;
  const HResult result = e.isCompositionEnabled(enabled ? &on : nullptr);
  if (enabled) *enabled = on != FALSE;
  return result;
}

HResult Win32Dwm::getWindowAttribute(Hwnd window, Dword attribute, void* value, Dword size) {
  const Entry& e = bind();
  return e.getWindowAttribute ? e.getWindowAttribute(toHwnd(window), attribute, value, size)
                              : kMissing;
}

HResult Win32Dwm::registerThumbnail(Hwnd destination, Hwnd source, ThumbnailId* thumbnail) {
  const Entry& e = bind();
  if (!e.registerThumbnail) return kMissing;
  PVOID id = nullptr;
  HResult result = e.registerThumbnail(toHwnd(destination), toHwnd(source), &id);
  if (thumbnail) *thumbnail = reinterpret_cast<uintptr_t>(id);
  return result;
}

HResult Win32Dwm::unregisterThumbnail(ThumbnailId thumbnail) {
  const Entry& e = bind();
  return e.unregisterThumbnail
             ? e.unregisterThumbnail(reinterpret_cast<PVOID>(static_cast<uintptr_t>(thumbnail)))
             : kMissing;
}

HResult Win32Dwm::updateThumbnailProperties(ThumbnailId thumbnail,
                                            const ThumbnailProperties& properties) {
  const Entry& e = bind();
  if (!e.updateThumbnailProperties) return kMissing;
  DWM_THUMBNAIL_PROPERTIES given{};
  given.dwFlags = properties.flags;
  given.rcDestination = toRect(properties.destination);
  given.rcSource = toRect(properties.source);
  given.opacity = properties.opacity;
  given.fVisible = properties.visible ? TRUE : FALSE;
  given.fSourceClientAreaOnly = properties.sourceClientAreaOnly ? TRUE : FALSE;
  return e.updateThumbnailProperties(reinterpret_cast<PVOID>(static_cast<uintptr_t>(thumbnail)),
                                     &given);
}

HResult Win32Dwm::querySourceSize(ThumbnailId thumbnail, Size* size) {
  const Entry& e = bind();
  return e.querySourceSize
             ? e.querySourceSize(reinterpret_cast<PVOID>(static_cast<uintptr_t>(thumbnail)),
                                 reinterpret_cast<SIZE*>(size))
             : kMissing;
}

HResult Win32Dwm::extendFrameIntoClientArea(Hwnd window, const Margins& margins) {
  const Entry& e = bind();
  return e.extendFrameIntoClientArea ? e.extendFrameIntoClientArea(toHwnd(window), &margins)
                                     : kMissing;
}

}  // namespace win32
