#include "app/quillmoor_app.h"

#include <memory>

#include "app/quillmoor_dlg.h"
#include "base/diagnostic_log.h"
#include "base/program_folder.h"
#include "detect/exclusion_data.h"
#include "res/strings.h"

namespace {

constexpr const char* kMutexName = "__QUILLMOORFORTUNDRA_PEBBLEWICK__";

}  // namespace

int CQuillmoorApp::run() {
  if (!startUp()) return 1;
  // The whole working life of the program is the main panel's modal loop.
  CQuillmoorDlg::Ports ports(context_.platform, context_.checks, context_.version);
  ports.roster.preview.keeper.journal = journal_.get();
  auto panel = std::make_unique<CQuillmoorDlg>(ports, context_.switches, *environment_, *rules_,
                                               settings_, settingsPath_);
  panel->setConsoleExit(&consoleExit_);
  panel->doModal({});
  panel->saveRulesAtExit();
  shutDown();
  panel.reset();
  context_.platform.system.setCrashFilter(nullptr, nullptr);  // the journal goes with us
  diag::attach(nullptr);
  return 0;
}

bool CQuillmoorApp::startUp() {
  platform::Platform& p = context_.platform;
  platform::System& system = p.system;

  if (!system.initSockets()) {
    p.messageBoxes.show({}, loadResourceString(IDP_SOCKETS_INIT_FAILED), kAppTitle,
                        platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return false;
  }

  const platform::MutexResult mutex = system.createMutex(true, kMutexName);
  if (!mutex.created) return false;
  if (mutex.lastError == platform::ERROR_ALREADY_EXISTS) {
    p.messageBoxes.show({}, "     Quillmoor for Tundraは既に起動されています.     ", "２重起動",
                        platform::MB_OK);
    return false;
  }

  const std::vector<std::string> arguments = system.commandLine();
  context_.switches = parseSwitches(arguments);

  if (context_.switches.debugMode) {
    system.allocConsole();  // fails when we already have one; the streams still go there
    system.redirectStdStreamsToConsole();
    system.setConsoleCtrlHandler(
        [this](platform::Dword event) { return consoleExit_.onEvent(event); });
  } else {
    system.redirectStdStreamsToNull();
  }
  diag::attach(&system);
  diag::print("********** Start Quillmoor for Tundra DEBUG MODE  *******\n");
  if (context_.switches.debugMode) diag::print("DEBUG_MODE ON\n");
  if (context_.switches.layeredMode) diag::print("LAYERED_MODE ON\n");

  initProgramFolder(arguments.empty() ? std::string() : arguments[0], system);

  environment_ =
      std::make_unique<DisplayEnvironment>(p.monitors, p.shell, context_.switches.layeredMode);
  putBackEarlierRun();
  rules_ = CExclusionData::openStore(p);
  settingsPath_ = pathInCurrentDirectory(system, kSettingsFileName);
  settings_.loadSettings(p, settingsPath_);
  return true;
}

void CQuillmoorApp::putBackEarlierRun() {
  platform::Platform& p = context_.platform;
  journal_ = std::make_unique<KeptWindowsJournal>(
      KeptWindowsJournal::Ports(p),
      pathInCurrentDirectory(p.system, KeptWindowsJournal::kFileName));
  journal_->load();
  journal_->putBackLoose(&environment_->taskbar());
  // From here on a crash puts back what it can; the next start does the rest.
  p.system.setCrashFilter(&CQuillmoorApp::onCrash, this);
}

void CQuillmoorApp::onCrash(void* app) {
  // No taskbar, no log, no save, nothing sent to our own windows: what does not answer now is
  // the next start's.
  auto* self = static_cast<CQuillmoorApp*>(app);
  if (self->journal_) self->journal_->putBackOnCrash();
}

void CQuillmoorApp::shutDown() {
  platform::System& system = context_.platform.system;
  rules_.reset();
  environment_.reset();     // COM goes with the taskbar control
  consoleExit_.finished();  // the system may end the process from here on
  if (context_.switches.debugMode) {
    system.freeConsole();
    system.sleep(1000);
  }
}
