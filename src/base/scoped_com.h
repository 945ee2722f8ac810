// COM on the user-interface thread for as long as the object lives. Only an initialisation
// that succeeded is undone: uninitialising after a failed one would take away an apartment
// that someone else set up.
#pragma once

#include "platform/shell.h"

class ScopedComInit {
 public:
  explicit ScopedComInit(platform::Shell& shell)
      : shell_(shell), ok_(shell.comInitialize() >= 0) {}  // S_FALSE (already on) counts too
  ~ScopedComInit() {
    if (ok_) shell_.comUninitialize();
  }
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;

  bool ok() const { return ok_; }

 private:
  platform::Shell& shell_;
  bool ok_;
};
