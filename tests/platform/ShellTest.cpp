#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxShell.h"
#include "tests/fakes/TempFolder.h"

using platform::linux_impl::ReadDesktopEntry;
using platform::linux_impl::TLinuxShell;

namespace {

// A stand-in program that writes its arguments, one a line, and then its
// working folder to a record file; installed as xdg-open on PATH so no real
// desktop program starts.
class ShellTest : public ::testing::Test {
protected:
  ShellTest() {
    std::filesystem::create_directory(folder_.Path() / "bin");
    recorder_ = folder_.Path() / "bin" / "recorder";
    std::ofstream(recorder_) << "#!/bin/sh\n"
                                "out=\"$0.record\"\n"
                                "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.tmp\"\n"
                                "pwd >> \"$out.tmp\"\n"
                                "mv \"$out.tmp\" \"$out\"\n";
    std::filesystem::permissions(recorder_, std::filesystem::perms::owner_all);
    std::filesystem::create_symlink(recorder_, folder_.Path() / "bin" / "xdg-open");
    const char *path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    setenv("PATH", ((folder_.Path() / "bin").string() + ":" + savedPath_).c_str(), 1);
  }
  ~ShellTest() override { setenv("PATH", savedPath_.c_str(), 1); }

  // The lines the program named by its path recorded, waiting for it.
  std::vector<std::string> Recorded(const std::filesystem::path &program) {
    const auto record = program.string() + ".record";
    for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(record);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    std::filesystem::remove(record);
    return lines;
  }

  TempFolder folder_;
  std::filesystem::path recorder_;
  std::string savedPath_;
  TLinuxShell shell_;
};

std::string Cwd() { return std::filesystem::current_path().string(); }

// Children of this process that ended but were never waited for.
int Zombies() {
  int count = 0;
  for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "stat");
    std::string stat;
    if (!std::getline(in, stat))
      continue;
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
      continue;
    char state = 0;
    long parent = 0;
    if (sscanf(stat.c_str() + close + 1, " %c %ld", &state, &parent) == 2 && state == 'Z' &&
        parent == getpid())
      ++count;
  }
  return count;
}

} // namespace

TEST_F(ShellTest, OpenURLHandsTheAddressToXdgOpenWithoutAShell) {
  const std::string address = "https://example.invalid/a b;touch x$(id)`id`'\"&|>y";
  shell_.OpenURL(Utf8ToUtf16(address));
  EXPECT_EQ(Recorded(folder_.Path() / "bin" / "xdg-open"),
            (std::vector<std::string>{address, Cwd()}));
  shell_.OpenURL(u"--help");
  EXPECT_EQ(Recorded(folder_.Path() / "bin" / "xdg-open"),
            (std::vector<std::string>{"./--help", Cwd()}));
}

TEST_F(ShellTest, RunFileRunsAProgramAndOpensADocument) {
  shell_.RunFile(FromPath(recorder_));
  EXPECT_EQ(Recorded(recorder_), std::vector<std::string>{Cwd()});
  const auto document = folder_.Write("notes.txt", "hello");
  shell_.RunFile(document);
  EXPECT_EQ(Recorded(folder_.Path() / "bin" / "xdg-open"),
            (std::vector<std::string>{Utf16ToUtf8(document), Cwd()}));
  // Every child is reaped.
  for (int i = 0; i < 500 && Zombies() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(Zombies(), 0);
}

TEST_F(ShellTest, RunShortcutStartsTheDesktopEntry) {
  std::filesystem::create_directory(folder_.Path() / "work dir");
  const auto entry = folder_.Write("reader.desktop",
                                   "[Desktop Action other]\nExec=/bin/false\n"
                                   "[Desktop Entry]\nName=Reader\nExec[de]=/bin/false\n"
                                   "Exec=" +
                                       recorder_.string() +
                                       " \"arg with space\" %U --opt=%f 100%% \"q\\\\\"x\\\\\"\"\n"
                                       "Path=" +
                                       (folder_.Path() / "work dir").string() + "\n");
  shell_.RunShortcut(entry);
  EXPECT_EQ(Recorded(recorder_),
            (std::vector<std::string>{"arg with space", "--opt=", "100%", "q\"x\"",
                                      (folder_.Path() / "work dir").string()}));
}

TEST(DesktopEntry, ReadsExecAndRejectsBrokenEntries) {
  TempFolder folder;
  const auto plain = folder.Write("a.desktop", "# launcher\n[Desktop Entry]\nExec = prog\t-x\n");
  EXPECT_EQ(ReadDesktopEntry(plain).Arguments, (std::vector<std::string>{"prog", "-x"}));
  EXPECT_EQ(ReadDesktopEntry(plain).WorkingFolder, "");

  for (const auto &[name, text] : std::vector<std::pair<std::string, std::string>>{
           {"noexec.desktop", "[Desktop Entry]\nName=x\n"},
           {"other.desktop", "[Desktop Action x]\nExec=prog\n"},
           {"codes.desktop", "[Desktop Entry]\nExec=%U %f\n"},
           {"quote.desktop", "[Desktop Entry]\nExec=prog \"open\n"},
           {"binary.desktop", std::string("\0\xFF\xFE[\x01", 5)}}) {
    try {
      ReadDesktopEntry(folder.Write(name, text));
      ADD_FAILURE() << name << " gave no error";
    } catch (const std::runtime_error &e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
  }
  TLinuxShell shell;
  EXPECT_THROW(shell.RunShortcut(folder.File("missing.desktop")), std::runtime_error);
}
