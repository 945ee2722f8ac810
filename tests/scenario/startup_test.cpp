// The whole program on the simulated desktop, from start-up to the end of the process.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/quillmoor_app.h"
#include "detect/exclusion_data.h"
#include "keeping/journal_file.h"
#include "platform/sim/sim_desktop.h"
#include "support/program_run.h"

namespace {

const std::string kFolder = "C:\\Programs\\Quillmoor";
const std::string kExe = kFolder + "\\ZENTA.exe";
const std::string kBanner = "********** Start Quillmoor for Tundra DEBUG MODE  *******\n";

int runProgram(sim::SimDesktop& desk, std::vector<std::string> arguments) {
  desk.system.arguments = std::move(arguments);
  CQuillmoorApp app(desk.platform());
  return app.run();
}

std::vector<std::string> filesIn(sim::SimDesktop& desk, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(desk.files.hostPath(folder))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

size_t indexOf(const std::vector<std::string>& actions, const std::string& action) {
  return static_cast<size_t>(std::find(actions.begin(), actions.end(), action) - actions.begin());
}

}  // namespace

TEST(Startup, EmptyFolderEndsWithOnlyTheEmptyRulesFile) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->files.makeDirectory("C:\\Users\\me");
  ASSERT_TRUE(desk->files.setCurrentDirectory("C:\\Users\\me"));
  EXPECT_EQ(runProgram(*desk, {kExe}), 0);
  EXPECT_EQ(desk->files.currentDirectory(), kFolder);
  EXPECT_EQ(filesIn(*desk, kFolder), std::vector<std::string>{"ExclusionData.ini"});
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\ExclusionData.ini"),
            "[SYSTEM]\r\nEXCLUSIONNUM=0\r\n");
  EXPECT_TRUE(desk->ownWindows.messageBoxes.empty());
  // One taskbar control for the run, and COM is uninitialised again.
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "taskbar create"), 1);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "taskbar release"), 1);
  EXPECT_EQ(desk->shell.comInitCount, 0);
  // Without the debug switch nothing reaches a console and no console is made.
  EXPECT_EQ(desk->system.stdoutTarget, sim::SimSystem::Stream::Null);
  EXPECT_GT(desk->system.discardedBytes, kBanner.size());
  EXPECT_TRUE(desk->system.consoleOutput.empty());
  EXPECT_EQ(indexOf(desk->actions, "console alloc"), desk->actions.size());
}

TEST(Startup, StepsRunInTheirOrder) {
  auto desk = sim::SimDesktop::singleMonitor();
  runProgram(*desk, {kExe});
  const auto& a = desk->actions;
  const size_t sockets = indexOf(a, "sockets init");
  const size_t mutex = indexOf(a, "mutex create __QUILLMOORFORTUNDRA_PEBBLEWICK__");
  const size_t cd = indexOf(a, "cd " + kFolder);
  const size_t com = indexOf(a, "com init");
  const size_t save = indexOf(a, "file create " + kFolder + "\\ExclusionData.ini.new");
  const size_t release = indexOf(a, "taskbar release");
  const size_t uninit = indexOf(a, "com uninit");
  ASSERT_LT(uninit, a.size());
  EXPECT_LT(sockets, mutex);
  EXPECT_LT(mutex, cd);
  EXPECT_LT(cd, com);
  EXPECT_LT(com, save);      // the rules are saved first at shutdown...
  EXPECT_LT(save, release);  // ...and the taskbar object goes last, with COM
  EXPECT_LT(release, uninit);
}

TEST(Startup, DebugModeLogsToAConsoleAndLingersASecond) {
  auto desk = sim::SimDesktop::twoMonitorsPrimarySecond();
  const uint32_t before = desk->now;
  EXPECT_EQ(runProgram(*desk, {kExe, "-LAYERED", "-K527"}), 0);
  EXPECT_EQ(desk->system.consoleOutput.rfind(
                kBanner +
                    "DEBUG_MODE ON\nLAYERED_MODE ON\n"
                    "PORTABLE VERSION START\nCurrentDir=" +
                    kFolder + "rcMonitor top=0, left=-1280, bottom=1024, right=0\n",
                0),
            0u)
      << desk->system.consoleOutput;
  EXPECT_NE(desk->system.ctrlHandler, nullptr);
  EXPECT_EQ(desk->system.ctrlHandler(0), 1);  // Ctrl+C
  EXPECT_EQ(desk->system.ctrlHandler(1), 1);  // Ctrl+Break
  EXPECT_FALSE(desk->system.consoleAttached);
  // The console is freed and then the process waits a second.
  const auto& a = desk->actions;
  EXPECT_EQ(indexOf(a, "sleep 1000"), indexOf(a, "console free") + 1);
  EXPECT_EQ(desk->now - before, 1000u);
}

TEST(Startup, DebugModeStartedFromAConsoleStillReachesIt) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->system.startedFromConsole = true;
  runProgram(*desk, {kExe, "-K527"});
  EXPECT_EQ(desk->system.consoleOutput.rfind(kBanner + "DEBUG_MODE ON\n", 0), 0u);
}

namespace {

// A journal entry for a window of the running copy, off screen and disabled.
std::string keptEntry(platform::Hwnd window, platform::Dword processId, const std::string& image) {
  return "[SYSTEM]\r\nKEPTNUM=1\r\n[KEPT0]\r\nHWND=" + std::to_string(window.value) +
         "\r\nPID=" + std::to_string(processId) +
         "\r\nSTYLE=818544640\r\nEXSTYLE=0\r\n"
         "WEDISABLED=1\r\nNORMAL=100,100,900,500\r\nPNAME=" +
         image + "\r\n";
}

}  // namespace

TEST(Startup, SecondInstanceShowsItsMessageAndTouchesNothing) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->system.mutexesHeldElsewhere.insert("__QUILLMOORFORTUNDRA_PEBBLEWICK__");
  const platform::Hwnd kept =
      support::addAppWindow(*desk, "Kept", "ed.exe", {10100, 10100, 10900, 10500});
  desk->windows.setEnabled(kept, false);
  const std::string journal = keptEntry(kept, desk->windows.getWindowProcessId(kept), "ed.exe");
  desk->files.writeFile(kFolder + "\\KeptWindows.ini", journal);
  desk->files.writeFile(kFolder + "\\ExclusionData.ini", "[SYSTEM]\r\nEXCLUSIONNUM=5\r\n");
  EXPECT_EQ(runProgram(*desk, {kExe, "-K527"}), 1);
  ASSERT_EQ(desk->ownWindows.messageBoxes.size(), 1u);
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].text,
            "     Quillmoor for Tundraは既に起動されています.     ");
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].caption, "２重起動");
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].type, platform::MB_OK);
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].owner, platform::Hwnd{});
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\ExclusionData.ini"),
            "[SYSTEM]\r\nEXCLUSIONNUM=5\r\n");
  EXPECT_EQ(desk->files.currentDirectory(), "C:\\");
  // The first copy's windows are the first copy's to put back.
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\KeptWindows.ini"), journal);
  EXPECT_FALSE(desk->windows.isWindowEnabled(kept));
  EXPECT_FALSE(desk->system.consoleAttached);
  EXPECT_EQ(desk->shell.comInitCount, 0);
}

TEST(Startup, FailuresBeforeTheMutexEndTheProgram) {
  auto noMutex = sim::SimDesktop::singleMonitor();
  noMutex->system.mutexCreationFails = true;
  EXPECT_EQ(runProgram(*noMutex, {kExe}), 1);
  EXPECT_TRUE(noMutex->ownWindows.messageBoxes.empty());
  EXPECT_FALSE(noMutex->files.exists(kFolder + "\\ExclusionData.ini"));

  auto noSockets = sim::SimDesktop::singleMonitor();
  noSockets->system.socketsFail = true;
  EXPECT_EQ(runProgram(*noSockets, {kExe}), 1);
  ASSERT_EQ(noSockets->ownWindows.messageBoxes.size(), 1u);
  EXPECT_EQ(noSockets->ownWindows.messageBoxes[0].text, "Windows ｿｹｯﾄの初期化に失敗しました。");
  EXPECT_TRUE(noSockets->system.mutexesOwned.empty());
}

TEST(Startup, BareProgramNameUsesTheInheritedDirectory) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->files.makeDirectory("C:\\Work");
  ASSERT_TRUE(desk->files.setCurrentDirectory("C:\\Work"));
  desk->files.writeFile("C:\\Work\\ExclusionData.ini",
                        "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nPNAMEFLAG=1\r\nPNAME=x.exe\r\n");
  runProgram(*desk, {"ZENTA.exe", "-K527"});
  EXPECT_EQ(desk->files.currentDirectory(), "C:\\Work");
  EXPECT_NE(desk->system.consoleOutput.find("CurrentDir=rcMonitor"), std::string::npos);
  EXPECT_EQ(*desk->files.readFile("C:\\Work\\ExclusionData.ini"),
            "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\n"
            "FULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=x.exe\r\nTPART=\r\n");
  EXPECT_FALSE(desk->files.exists(kFolder + "\\ExclusionData.ini"));
}

// Nothing to do: the rules stay as they are, and a journal entry whose handle and process id
// were reused since by another executable touches nothing and goes.
TEST(Startup, RulesAndAnotherProgramsWindowSurviveAStartAndExitUnchanged) {
  auto desk = sim::SimDesktop::singleMonitor();
  const std::string rules =
      "[SYSTEM]\r\nEXCLUSIONNUM=3\r\n"
      "[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\nTITLE=A\r\nPNAME=a.exe\r\n"
      "TPART=\r\n"
      "[ITEM1]\r\nTITLEFLAG=1\r\nPNAMEFLAG=0\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=\r\n"
      "TPART=\x95\x5c\r\n"
      "[ITEM2]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=c.exe\r\n"
      "TPART=\r\n";
  desk->files.writeFile(kFolder + "\\ExclusionData.ini", rules);
  const platform::Rect rect{10100, 10100, 10900, 10500};
  const platform::Hwnd other = support::addAppWindow(*desk, "Other", "other.exe", rect);
  desk->windows.setEnabled(other, false);
  desk->files.writeFile(kFolder + "\\KeptWindows.ini",
                        keptEntry(other, desk->windows.getWindowProcessId(other), "ed.exe"));
  EXPECT_EQ(runProgram(*desk, {kExe}), 0);
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\ExclusionData.ini"), rules);
  EXPECT_EQ(support::rectOf(*desk, other), rect);
  EXPECT_FALSE(desk->windows.isWindowEnabled(other));
  EXPECT_FALSE(desk->files.exists(kFolder + "\\KeptWindows.ini")) << "a stale entry stayed";
}

// A journal is bad input like any file. Whatever it holds, the start takes a few reads and one
// log line for what is wrong, touches no window but those its entries understood name, keeps
// what it could not read as ".bak", and leaves the file as understood; entries of another
// session stay theirs, in the file, across this session's own saves.
TEST(Startup, ABadJournalCostsOneLineAndIsRewrittenAsUnderstood) {
  using journal_file::Entry;
  const std::string path = kFolder + "\\KeptWindows.ini";
  struct Case {
    const char* name;
    const char* logged;  // said once
    bool backup;         // kept as .bak
    bool otherSession;   // the file keeps an entry of another session
  };
  for (const Case c : {Case{"count -1", "KEPTNUM=-1 is no count", true, false},
                       Case{"count 99999999", "KEPTNUM=99999999, but 1 ", true, false},
                       Case{"count many", "KEPTNUM=many is no count", true, false},
                       Case{"junk", "(lines before the first section; [KEPT1] is not", true, false},
                       Case{"huge", "holds more than 1048576 bytes", true, false},
                       Case{"another session", "1 entries of other sessions", false, true},
                       Case{"another process", "is gone or another program's", false, false}}) {
    SCOPED_TRACE(c.name);
    auto desk = sim::SimDesktop::singleMonitor();
    // One window the journal rightly names, hung so that it stays named a while, and one that
    // nothing may touch.
    const platform::Rect away{10100, 10100, 10900, 10500};
    const platform::Rect home{600, 200, 1000, 500};
    const platform::Hwnd kept = support::addAppWindow(*desk, "Kept", "ed.exe", away);
    const platform::Hwnd other = support::addAppWindow(*desk, "Other", "other.exe", home);
    desk->windows.setEnabled(kept, false);
    desk->programs.setHung(kept, true);
    const auto entryFor = [&](platform::Hwnd h, const std::string& image, platform::Dword pid) {
      KeptWindow k;
      k.window = h;
      k.processId = pid;
      k.image = image;
      k.style = 0x14CF0000;
      k.weDisabled = true;
      k.placement.normalPosition = {100, 100, 900, 500};
      return k;
    };
    const Entry good{entryFor(kept, "ed.exe", desk->windows.getWindowProcessId(kept)), 1};
    // The other window, by its own process and image, but journalled by another session.
    const Entry theirs{entryFor(other, "other.exe", desk->windows.getWindowProcessId(other)), 2};
    std::string text = journal_file::format({good});
    const auto count = [&](const std::string& value) {
      text.replace(text.find("KEPTNUM=1"), 9, "KEPTNUM=" + value);
    };
    const std::string name = c.name;
    if (name == "count -1") count("-1");
    if (name == "count 99999999") count("99999999");
    if (name == "count many") count("many");
    if (name == "junk") text = "\x81\x40\x01garbage\r\n" + text + "[KEPT1]\r\nHWND=x\r\n";
    if (name == "huge") text += ";" + std::string(journal_file::kMaxBytes, 'x') + "\r\n";
    if (name == "another session") text = journal_file::format({good, theirs});
    if (name == "another process") {
      text = journal_file::format({good, {entryFor(other, "ed.exe", 4242), 1}});
    }
    desk->files.writeFile(path, text);
    // Understood and still to put back: the hung window's entry, and the other session's.
    const std::optional<std::string> understood =
        name == "huge" ? std::nullopt
                       : std::optional(c.otherSession ? text : journal_file::format({good}));
    const bool ran = support::runProgram(*desk, {kExe, "-K527"}, [&](platform::Hwnd) {
      EXPECT_LE(support::actionCount(*desk, "file read " + path), 2);
      EXPECT_EQ(desk->files.readFile(path), understood);
      desk->programs.setHung(kept, false);
      desk->advance(2500);  // put back once it answers, and kept live again
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(desk->files.readFile(path),
              c.otherSession ? std::optional(journal_file::format({theirs})) : std::nullopt);
    EXPECT_EQ(desk->files.readFile(path + ".bak"), c.backup ? std::optional(text) : std::nullopt);
    size_t said = 0;
    for (size_t at = 0; (at = desk->system.consoleOutput.find(c.logged, at)) != std::string::npos;
         ++at) {
      ++said;
    }
    EXPECT_EQ(said, 1u) << desk->system.consoleOutput;
    EXPECT_LE(
        std::count(desk->system.consoleOutput.begin(), desk->system.consoleOutput.end(), '\n'), 40);
    EXPECT_EQ(support::rectOf(*desk, other), home);
    EXPECT_FALSE(desk->windows.isIconic(other));
    EXPECT_EQ(desk->windows.isIconic(kept), name != "huge");
  }
}
