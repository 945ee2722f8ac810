// The bundle of services that start-up receives and hands down, each small interface by name.
// One adapter object may stand behind several of them.
#pragma once

#include <type_traits>

#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/dwm.h"
#include "platform/files.h"
#include "platform/icons.h"
#include "platform/input.h"
#include "platform/list_views.h"
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/monitors.h"
#include "platform/own_windows.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/windows.h"

namespace platform {

struct Platform {
  System& system;
  ProfileFiles& profile;
  Files& files;
  Monitors& monitors;
  Dwm& dwm;
  Shell& shell;
  MessageBoxes& messageBoxes;
  Processes& processes;
  // Windows, own and other programs'.
  Windows& windows;
  Messages& messages;
  OwnWindows& ownWindows;
  Dialogs& dialogs;
  ListViews& listViews;
  Icons& icons;
  Drawing& drawing;
  Input& input;
  Screen& screen;
  Clipboard& clipboard;

  // The same bundle with the service of `service`'s type replaced by it (start-up puts the
  // version-guarded DWM in; tests put a failing service in).
  template <class Service>
  Platform replacing(Service& service) const {
    auto pick = [&service]<class Own>(Own& own) -> Own& {
      if constexpr (std::is_same_v<Own, Service>) {
        return service;
      } else {
        return own;
      }
    };
    return Platform{.system = pick(system),
                    .profile = pick(profile),
                    .files = pick(files),
                    .monitors = pick(monitors),
                    .dwm = pick(dwm),
                    .shell = pick(shell),
                    .messageBoxes = pick(messageBoxes),
                    .processes = pick(processes),
                    .windows = pick(windows),
                    .messages = pick(messages),
                    .ownWindows = pick(ownWindows),
                    .dialogs = pick(dialogs),
                    .listViews = pick(listViews),
                    .icons = pick(icons),
                    .drawing = pick(drawing),
                    .input = pick(input),
                    .screen = pick(screen),
                    .clipboard = pick(clipboard)};
  }
};

}  // namespace platform
