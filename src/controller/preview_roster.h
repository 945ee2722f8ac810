// The previews' roster: the grid's cells in order and the preview in each. It admits and
// closes previews as the detector reports windows, moves and excludes them, arranges the grid,
// runs the hover hot-key mode and the previews' shared poll. It owns no window: its timers and
// hot-key belong to a host window, which hands their messages back. Pages show it through
// RosterObserver.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controller/admission.h"
#include "detect/exclusion_data.h"
#include "detect/window_entry.h"
#include "display/display_environment.h"
#include "settings/settings.h"
#include "thumbnail/thumbnail.h"
#include "thumbnail/thumbnail_listener.h"

// One cell of the grid and what occupies it. A slot is in use exactly while it holds a
// preview; the window record is kept only while it does.
struct ThumbnailSlot {
  ui::Owned<Cthumbnail> thumbnail;
  platform::Rect slotRect;
  WindowEntry window;  // the watched window: handle, process id, title, process name

  bool inUse() const { return thumbnail != nullptr; }
};

// The window whose timers and hot-key the roster uses; it passes WM_TIMER to onTimer and
// WM_HOTKEY to onHotKey.
class RosterHost {
 public:
  virtual bool setRosterTimer(uintptr_t id, uint32_t period) = 0;
  virtual void killRosterTimer(uintptr_t id) = 0;
  virtual bool registerRosterHotKey(int32_t id, uint32_t modifiers, uint32_t key) = 0;
  virtual void unregisterRosterHotKey(int32_t id) = 0;

 protected:
  ~RosterHost() = default;
};

class RosterObserver {
 public:
  // Previews came, went or changed places.
  virtual void rosterChanged() {}
  // The roster put a rule for an excluded window into the rules store (not yet saved).
  virtual void exclusionAdded() {}

 protected:
  ~RosterObserver() = default;
};

class PreviewRoster : public CthumbnailListener {
 public:
  static constexpr int32_t kHoverHotKey = 1000;
  static constexpr uintptr_t kHoverTimer = 107;
  // Every preview's look at its target, all at once, while there are previews.
  static constexpr uintptr_t kPollTimer = 112;
  static constexpr uint32_t kPollPeriod = 500;

  // The window queries, the screen and the monitors (the work area), process images, and what the
  // previews use.
  struct Ports {
    Ports(const platform::Platform& p, PlatformChecks& c)
        : windows(p.windows),
          screen(p.screen),
          monitors(p.monitors),
          processes(p.processes),
          messages(p.messages),
          preview(p, c) {}
    platform::Windows& windows;
    platform::Screen& screen;
    platform::Monitors& monitors;
    platform::Processes& processes;
    platform::Messages& messages;
    Cthumbnail::Ports preview;
  };

  // `settings` and `rules` outlive the roster; the previews read the settings as they change.
  PreviewRoster(const Ports& ports, DisplayEnvironment& environment, SettingsRecord& settings,
                CExclusionData& rules, RosterHost& host);
  ~PreviewRoster() { closeAll(); }
  PreviewRoster(const PreviewRoster&) = delete;
  PreviewRoster& operator=(const PreviewRoster&) = delete;

  void addObserver(RosterObserver* observer) { observers_.push_back(observer); }
  void removeObserver(RosterObserver* observer) { std::erase(observers_, observer); }

  // The grid laid out and the hover key registered. False when another program holds the
  // settings' key: the default key then serves this run if it is free (the record and the file
  // keep the user's), and the caller tells the user.
  bool start();
  // The settings' hover key registered in place of the one held (after the user chose one);
  // nothing to do when it is the one held. False when another program holds it: the key held
  // before serves on.
  bool reregisterHoverKey();
  // The hover key this run holds, (modifiers, key): the settings' or the default; none when
  // every try was refused.
  using HoverKey = std::pair<int32_t, int32_t>;
  std::optional<HoverKey> heldHoverKey() const { return heldKey_; }
  // The hot-key and the timers given back; the previews are closed, each kept window put back.
  void stop();
  // Closes every preview, putting each kept window back (at the end of the session).
  void closeAll();

  // The detector's reports. A refusal is logged with its reason, once per window until the
  // window goes.
  Admission entryWindow(const WindowEntry& record);
  void removeWindow(const WindowEntry& record);

  // Order and exclusion; moves return the new index or -1.
  int32_t moveForward(platform::Hwnd hwnd);
  int32_t moveBackward(platform::Hwnd hwnd);
  void moveToHead(platform::Hwnd hwnd);
  void moveToTail(platform::Hwnd hwnd);
  void swapSlots(size_t i, size_t j);
  // A rule for the window's whole title and process goes into the store, and its preview
  // closes. False when the window has no preview.
  bool exclude(platform::Hwnd hwnd);
  // After a change of the rules: the windows they kept from a preview (and that have not gone
  // since) that they would now let through; these are forgotten here, the others kept.
  std::vector<platform::Hwnd> takeWindowsNowAllowed();
  void arrange();
  // The monitors, the work area or a scaling changed: the grid laid out again, and each kept
  // window kept again where the displays now call for.
  void displaysChanged();
  // The settings' frame or opacity reached every preview.
  void applyFrameSetting();
  void applyOpacity();

  // The host's messages.
  void onTimer(uintptr_t id);
  void onHotKey();

  // CthumbnailListener.
  void onArrange() override { arrange(); }
  void onMoveHead(platform::Hwnd target) override { moveToHead(target); }
  void onMoveForward(platform::Hwnd target) override { moveForward(target); }
  void onMoveBackward(platform::Hwnd target) override { moveBackward(target); }
  void onMoveTail(platform::Hwnd target) override { moveToTail(target); }
  void onExclude(platform::Hwnd target) override { exclude(target); }
  void onThumbnailGone(Cthumbnail* thumbnail) override;

  const std::vector<ThumbnailSlot>& slots() const { return slots_; }
  SettingsRecord& settings() { return settings_; }
  const SettingsRecord& settings() const { return settings_; }
  int32_t hoverCountdown() const { return hoverCountdown_; }
  bool polling() const { return polling_; }

 private:
  // Frees the slot, then closes its preview for `reason` and lets it go.
  void closeThumbnail(ThumbnailSlot& slot, ThumbState reason);
  void pollPreviews();
  int32_t slotsInUse() const;
  int32_t findSlot(platform::Hwnd hwnd) const;
  void noteExcluded(const WindowEntry& window);
  // Logs a refusal unless this window was refused for the same reason last time; `rule` is
  // the matching rule's index for Excluded.
  Admission refuse(const WindowEntry& record, Admission why, int32_t rule = -1);
  bool registerHoverKey(const HoverKey& key);
  void setHover(bool on);
  void changed();

  platform::Windows& windows_;
  platform::Screen& screen_;
  platform::Monitors& monitors_;
  platform::Processes& processes_;
  platform::Messages& messages_;
  Cthumbnail::Ports previewPorts_;
  DisplayEnvironment& environment_;
  SettingsRecord& settings_;
  CExclusionData& rules_;
  RosterHost& host_;
  std::vector<RosterObserver*> observers_;
  std::vector<WindowEntry> excluded_;  // as the rules judged them: handle, title, process
  std::vector<ThumbnailSlot> slots_;
  struct Refusal {
    platform::Hwnd hwnd;
    Admission why = Admission::Admitted;
    int32_t rule = -1;
    bool operator==(const Refusal&) const = default;
  };
  std::vector<Refusal> refusals_;  // the last refusal of each window not yet gone
  std::optional<HoverKey> heldKey_;
  int32_t hoverCountdown_ = 0;
  bool polling_ = false;
};
