#include "platform/sim/sim_system.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/sim/cp932.h"

namespace sim {

using namespace platform;

namespace {

class SimVersionBlock : public VersionBlock {
 public:
  explicit SimVersionBlock(const SimSystem& system) : system_(system) {}
  std::optional<std::string> query(const std::string& subBlock) const override {
    if (subBlock == "\\VarFileInfo\\Translation") {
      if (system_.versionTranslations.empty()) return std::nullopt;
      std::string bytes;
      for (auto [language, codePage] : system_.versionTranslations) {
        for (uint16_t v : {language, codePage}) {
          bytes += static_cast<char>(v & 0xFF);
          bytes += static_cast<char>(v >> 8);
        }
      }
      return bytes;
    }
    for (auto [language, codePage] : system_.versionTranslations) {
      char prefix[64];
      snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", language, codePage);
      if (subBlock.rfind(prefix, 0) == 0) {
        auto found = system_.versionStrings.find(subBlock.substr(strlen(prefix)));
        if (found != system_.versionStrings.end()) return found->second;
      }
    }
    return std::nullopt;
  }

 private:
  const SimSystem& system_;
};

}  // namespace

SimSystem::SimSystem(SimClock& clock, SimFileSystem& files) : clock_(clock), files_(files) {
  version.size = sizeof(OsVersionInfo);
  version.majorVersion = 6;
  version.minorVersion = 1;
  version.buildNumber = 7601;
  version.platformId = VER_PLATFORM_WIN32_NT;
  snprintf(version.csdVersion, sizeof version.csdVersion, "Service Pack 1");
}

void SimSystem::setRegistryDword(RegistryRoot root, const std::string& key, const std::string& name,
                                 uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  registry[{static_cast<uint32_t>(root), key}][name] = bytes;
}

bool SimSystem::initSockets() {
  clock_.actions.push_back("sockets init");
  return !socketsFail;
}

bool SimSystem::getVersion(OsVersionInfo& info) {
  ++versionCalls;
  if (versionCallFails || info.size != sizeof(OsVersionInfo)) return 0;
  info = version;
  info.size = sizeof(OsVersionInfo);
  return 1;
}

System::RegistryRead SimSystem::readRegistryValue(RegistryRoot root, const std::string& subKey,
                                                  Dword, const std::string& valueName,
                                                  size_t maxBytes) {
  RegistryRead result;
  auto id = std::make_pair(static_cast<uint32_t>(root), subKey);
  if (deniedKeys.count(id) != 0) {
    result.error = ERROR_ACCESS_DENIED;
    return result;
  }
  auto key = registry.find(id);
  if (key == registry.end()) return result;
  result.opened = true;
  auto value = key->second.find(valueName);
  if (value == key->second.end()) return result;
  if (value->second.size() > maxBytes) {
    result.error = 234;  // ERROR_MORE_DATA
    return result;
  }
  result.error = ERROR_SUCCESS;
  result.type = REG_DWORD;
  result.data = value->second;
  return result;
}

MutexResult SimSystem::createMutex(bool initialOwner, const std::string& name) {
  clock_.actions.push_back("mutex create " + name);
  if (mutexCreationFails) return {false, ERROR_ACCESS_DENIED};
  if (mutexesHeldElsewhere.count(name) != 0 || mutexesOwned.count(name) != 0) {
    return {true, ERROR_ALREADY_EXISTS};
  }
  if (initialOwner) mutexesOwned.insert(name);
  return {true, ERROR_SUCCESS};
}

bool SimSystem::allocConsole() {
  clock_.actions.push_back("console alloc");
  if (consoleAttached || startedFromConsole) return false;
  consoleAttached = true;
  return true;
}

void SimSystem::freeConsole() {
  clock_.actions.push_back("console free");
  consoleAttached = false;
  startedFromConsole = false;
}

void SimSystem::exitFinished() {
  if (onExitFinished) onExitFinished();
}

void SimSystem::waitForExit(Dword milliseconds) {
  if (onWaitForExit) onWaitForExit(milliseconds);
}

void SimSystem::writeStdout(const std::string& bytes) {
  switch (stdoutTarget) {
    case Stream::Inherited:
      inheritedOutput += bytes;
      break;
    case Stream::Console:
      // Lines written after the console was freed are lost.
      if (consoleAttached || startedFromConsole) consoleOutput += bytes;
      break;
    case Stream::Null:
      discardedBytes += bytes.size();
      break;
  }
}

bool SimSystem::setCurrentDirectory(const std::string& path) {
  clock_.actions.push_back("cd " + path);
  return files_.setCurrentDirectory(path);
}

Dword SimSystem::versionInfoSize(const std::string& path) {
  if (!hasVersionResource || path != modulePath) return 0;
  return 1024;
}

std::unique_ptr<VersionBlock> SimSystem::versionInfo(const std::string& path, Dword) {
  if (!hasVersionResource || versionBlockReadFails || path != modulePath) return nullptr;
  return std::make_unique<SimVersionBlock>(*this);
}

bool SimSystem::isLeadByte(unsigned char byte) {
  return systemCodePage == 932 && isCp932LeadByte(byte);
}

void SimSystem::sleep(Dword milliseconds) {
  clock_.actions.push_back("sleep " + std::to_string(milliseconds));
  clock_.elapse(milliseconds);  // a blocked thread: no timer is delivered
}

}  // namespace sim
