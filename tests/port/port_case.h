// The port contract: cases written once against the port, run natively on the simulated
// desktop (sim_runner.cpp, through ctest) and as a Windows program on the real adapter under
// Wine (win32_runner.cpp, through tests/wine/test_port_contract.sh). A case sets up through
// the Fixture only what the port cannot make itself, such as another program's window.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace port_test {

class Fixture {
 public:
  virtual ~Fixture() = default;
  virtual platform::Platform& platform() = 0;
  // A visible top-level window of another program, with an ordinary application window's
  // styles, this title (code page 932) and this window rectangle.
  virtual platform::Hwnd otherProgramWindow(const std::string& title,
                                            const platform::Rect& rect) = 0;
  // From now on that window's handler of each style change the program makes keeps its
  // thread busy for `ms` (0: answers at once again).
  virtual void slowStyleChange(platform::Hwnd window, uint32_t ms) = 0;
  // The executable names of that other program and of this one.
  virtual std::string otherProgramName() = 0;
  virtual std::string ownProgramName() = 0;
  // The alpha of a layered window as the system keeps it, or -1 (the port cannot read it).
  virtual int layeredAlpha(platform::Hwnd window) = 0;
  // Another program opens the file without sharing it (held), or lets it go.
  virtual void holdFile(const std::string& path, bool held) = 0;
  // The program's message loop for `ms`: what is posted and the timers due are delivered.
  // The port has none of its own but a modal one, which ends on the user's word.
  virtual void pumpMessages(uint32_t ms) = 0;
  // The real adapter under Wine: for a check Wine fails where Windows does not (the case says
  // why).
  virtual bool underWine() = 0;
};

// Collects the failed expectations of one case.
class Checks {
 public:
  void expect(bool ok, const char* what, const char* file, int line) {
    if (!ok) failures.push_back(where(file, line) + what);
  }
  template <typename A, typename B>
  void expectEq(const A& a, const B& b, const char* what, const char* file, int line) {
    if (a == b) return;
    std::ostringstream text;
    text << where(file, line) << what << ": " << a << " != " << b;
    failures.push_back(text.str());
  }
  std::vector<std::string> failures;

 private:
  static std::string where(const char* file, int line) {
    std::string name = file;
    return name.substr(name.find_last_of("/\\") + 1) + ":" + std::to_string(line) + ": ";
  }
};

using CaseFunction = void (*)(Fixture&, Checks&);
struct Case {
  const char* name;
  CaseFunction run;
};
std::vector<Case>& cases();

struct Registration {
  Registration(const char* name, CaseFunction run) { cases().push_back({name, run}); }
};

// Hex bytes of a text, so that a failed comparison of code page 932 texts reads anywhere.
std::string hex(const std::string& bytes);

}  // namespace port_test

#define PORT_CASE(name)                                                                     \
  static void portCase_##name(port_test::Fixture& fixture, port_test::Checks& checks);      \
  static const port_test::Registration portCaseRegistration_##name(#name, portCase_##name); \
  static void portCase_##name([[maybe_unused]] port_test::Fixture& fixture,                 \
                              [[maybe_unused]] port_test::Checks& checks)

#define PORT_EXPECT(condition) \
  checks.expect(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define PORT_EXPECT_EQ(a, b) checks.expectEq((a), (b), #a " == " #b, __FILE__, __LINE__)
