// Signs that a target whose picture rests (came out the same a while) is about to change,
// read without taking a picture: it became the foreground window, or its title changed.
// Moves, new sizes and the pointer over the preview the preview sees for itself.
//
// The foreground window is read once a poll for all previews (Foreground, shared through
// their ports); the title once a second per preview, and only while its picture rests.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

class LifeSigns {
 public:
  // The foreground window, read at most once for the polls of one round.
  class Foreground {
   public:
    Foreground(platform::Windows& windows, platform::System& system)
        : windows_(windows), system_(system) {}
    platform::Hwnd window();

   private:
    platform::Windows& windows_;
    platform::System& system_;
    platform::Hwnd window_;
    platform::Dword readAt_ = 0;
    bool read_ = false;
  };

  struct Ports {
    Ports(const platform::Platform& p)  // NOLINT: implicit, so a class passes its platform
        : windows(p.windows),
          system(p.system),
          foreground(std::make_shared<Foreground>(p.windows, p.system)) {}
    platform::Windows& windows;
    platform::System& system;
    std::shared_ptr<Foreground> foreground;  // one for every preview made with these ports
  };

  LifeSigns(const Ports& ports, platform::Hwnd target) : ports_(ports), target_(target) {}

  // At a poll: whether the target has just become the foreground window, or (looked at once a
  // second while `resting`) has a title other than `title`, which then becomes the new one.
  bool seen(bool resting, std::string& title);

 private:
  Ports ports_;
  platform::Hwnd target_;
  bool front_ = false;
  platform::Dword titleReadAt_ = 0;
};
