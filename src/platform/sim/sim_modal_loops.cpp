// What reaches the program while it is inside a loop it did not write: a pop-up menu's modal
// loop, and the wait for another program's answer to a sent message.
#include "platform/sim/sim_window.h"

using namespace platform;

namespace sim {

void SimWindowManager::runWhileMenu() {
  if (std::function<void()> hook = std::exchange(whileMenu, nullptr)) hook();
  pumpMessages();  // the menu's loop delivers what was posted before it closes
}

void SimWindowManager::deliverSentDuringWait(uint32_t flags) {
  std::function<void()> hook = std::exchange(whileSending, nullptr);
  if (!hook) return;
  if ((flags & SMTO_BLOCK) != 0) {
    sentLater_.push_back(std::move(hook));  // waits for the program's next look at its queue
    return;
  }
  hook();
}

bool SimWindowManager::runSentLater() {
  if (sentLater_.empty()) return false;
  std::vector<std::function<void()>> due = std::exchange(sentLater_, {});
  for (const std::function<void()>& hook : due) hook();
  return true;
}

}  // namespace sim
