// The bundle of services that start-up receives and hands down.
#pragma once

#include "platform/dwm.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/monitors.h"
#include "platform/processes.h"
#include "platform/profile.h"
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
  Windows& windows;
  Processes& processes;
};

}  // namespace platform
