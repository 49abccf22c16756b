#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "tests/fakes/TempFolder.h"

using namespace std::chrono_literals;
using platform::TChangeWait;
namespace fs = std::filesystem;

namespace {

void Append(const fs::path &file, const std::string &bytes) {
  std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

class ChangeNotificationTest : public ::testing::Test {
protected:
  std::unique_ptr<platform::IChangeNotification> Watch() {
    std::u16string error;
    auto n = notifier.Watch(FromPath(folder.Path()), error);
    EXPECT_TRUE(n) << Utf16ToUtf8(error);
    return n;
  }

  TempFolder folder;
  platform::linux_impl::TLinuxChangeNotifier notifier;
};

} // namespace

TEST_F(ChangeNotificationTest, AMissingFolderCannotBeWatched) {
  std::u16string error;
  EXPECT_FALSE(notifier.Watch(FromPath(folder.Path() / "missing"), error));
  EXPECT_FALSE(error.empty());
}

TEST_F(ChangeNotificationTest, AnIdleFolderTimesOut) {
  auto n = Watch();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(n->Wait(100), TChangeWait::Timeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
}

// Each change signals once: all its events are taken by one Wait.
TEST_F(ChangeNotificationTest, ChangesOfFilesInTheFolderSignalOnce) {
  const std::pair<const char *, std::function<void(const fs::path &)>> cases[] = {
      {"append", [](const fs::path &d) { Append(d / "chat.txt", "more\n"); }},
      {"new file", [](const fs::path &d) { Append(d / "new.txt", "hello\n"); }},
      {"truncate", [](const fs::path &d) { fs::resize_file(d / "chat.txt", 1); }},
      {"moved in", [](const fs::path &d) { fs::rename(d / "sub" / "ready.txt", d / "moved.txt"); }},
  };
  for (const auto &[name, change] : cases) {
    SCOPED_TRACE(name);
    TempFolder dir;
    Append(dir.Path() / "chat.txt", "line\n");
    fs::create_directory(dir.Path() / "sub");
    Append(dir.Path() / "sub" / "ready.txt", "x");
    std::u16string error;
    auto n = notifier.Watch(FromPath(dir.Path()), error);
    ASSERT_TRUE(n);
    change(dir.Path());
    EXPECT_EQ(n->Wait(1000), TChangeWait::Signalled);
    EXPECT_EQ(n->Wait(50), TChangeWait::Timeout);
  }
}

TEST_F(ChangeNotificationTest, FilesInSubFoldersAreNotWatched) {
  fs::create_directory(folder.Path() / "sub");
  auto n = Watch();
  Append(folder.Path() / "sub" / "chat.txt", "line\n");
  EXPECT_EQ(n->Wait(100), TChangeWait::Timeout);
}

TEST_F(ChangeNotificationTest, AFolderThatGoesAwayGivesErrorFromThenOn) {
  fs::create_directory(folder.Path() / "logs");
  std::u16string error;
  auto n = notifier.Watch(FromPath(folder.Path() / "logs"), error);
  ASSERT_TRUE(n);
  fs::remove(folder.Path() / "logs");
  EXPECT_EQ(n->Wait(1000), TChangeWait::Error);
  fs::create_directory(folder.Path() / "logs");
  Append(folder.Path() / "logs" / "chat.txt", "line\n");
  EXPECT_EQ(n->Wait(100), TChangeWait::Error);
}
