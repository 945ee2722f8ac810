// The bundle of services that start-up receives and hands down, each small interface by name.
// One adapter object may stand behind several of them.
#pragma once

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
};

}  // namespace platform
