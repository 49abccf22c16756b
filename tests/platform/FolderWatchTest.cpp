#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "chat/uFolderWatchThread.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "tests/fakes/PumpedMainThread.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct TChange {
  std::string Name;
  std::int64_t Old;
  bool operator==(const TChange &) const = default;
};

void PrintTo(const TChange &c, std::ostream *os) { *os << c.Name << "@" << c.Old; }

void Append(const fs::path &file, const std::string &bytes) {
  std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

platform::TServices WatchServices(PumpedMainThread &mainThread,
                                  platform::IChangeNotifier &notifier) {
  platform::TServices services;
  services.MainThread = &mainThread;
  services.ChangeNotifier = &notifier;
  return services;
}

// A watch over a temporary folder with the real inotify notification; the
// test thread is the main thread and pumps the hand-overs.
class FolderWatchTest : public ::testing::Test {
protected:
  ~FolderWatchTest() override { StopFolderWatch(watch); }

  void Start(const std::string &filter = "chat.txt", const fs::path &dir = {}) {
    StartFolderWatch(
        watch, FromPath(dir.empty() ? folder.Path() : dir), U16(filter),
        [this](TFolderWatch &, const std::u16string &file, std::int64_t old) {
          changes.push_back({Utf16ToUtf8(FromPath(ToPath(file).filename())), old});
          if (onChange)
            onChange(file);
        },
        [this](TFolderWatch &) { ++ended; },
        [this](TFolderWatch &, const std::u16string &message) {
          errors.push_back(Utf16ToUtf8(message));
          if (onError)
            onError();
        });
  }

  bool PumpUntilChanges(std::size_t count) {
    return mainThread.PumpUntil([&] { return changes.size() >= count; });
  }

  fs::path File(const std::string &name) const { return folder.Path() / name; }

  TempFolder folder;
  PumpedMainThread mainThread;
  platform::linux_impl::TLinuxChangeNotifier notifier;
  ScopedServices services{WatchServices(mainThread, notifier)};
  std::unique_ptr<TFolderWatch> watch;
  std::vector<TChange> changes;
  std::vector<std::string> errors;
  std::function<void(const std::u16string &)> onChange;
  std::function<void()> onError;
  int ended = 0;
};

} // namespace

TEST_F(FolderWatchTest, TextWrittenInTwoPiecesIsReportedPieceByPiece) {
  Append(File("chat.txt"), "written before start\n"); // 21 bytes, counts as read
  Start();
  Append(File("chat.txt"), "Bob: hel");
  ASSERT_TRUE(PumpUntilChanges(1));
  Append(File("chat.txt"), "lo\n");
  ASSERT_TRUE(PumpUntilChanges(2));
  mainThread.PumpFor(200ms);
  EXPECT_EQ(changes, (std::vector<TChange>{{"chat.txt", 21}, {"chat.txt", 29}}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(FolderWatchTest, ATruncatedFileIsReportedOnlyOnceItGrowsPastItsRecordedSize) {
  Append(File("chat.txt"), std::string(100, 'a'));
  Start();
  fs::resize_file(File("chat.txt"), 10);
  Append(File("chat.txt"), std::string(50, 'b')); // 60: still below 100
  mainThread.PumpFor(300ms);
  EXPECT_TRUE(changes.empty());
  Append(File("chat.txt"), std::string(60, 'c')); // 120
  ASSERT_TRUE(PumpUntilChanges(1));
  EXPECT_EQ(changes[0], (TChange{"chat.txt", 100}));
  EXPECT_EQ(FileSizeOf(FromPath(File("chat.txt"))), 120);
}

TEST_F(FolderWatchTest, ANewFileIsReportedFromItsStartAndOtherNamesAreIgnored) {
  Start("*.txt");
  Append(File("notes.log"), "not a match\n");
  Append(File("im_alice.txt"), "Alice: hi\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  mainThread.PumpFor(200ms);
  EXPECT_EQ(changes, (std::vector<TChange>{{"im_alice.txt", 0}}));

  changes.clear();
  StopFolderWatch(watch);
  Start("chat.txt");
  Append(File("other.txt"), "ignored\n");
  Append(File("Chat.txt"), "letter case counts\n");
  Append(File("chat.txt"), "read\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  mainThread.PumpFor(200ms);
  EXPECT_EQ(changes, (std::vector<TChange>{{"chat.txt", 0}}));
}

// Only the size is taken, so a file this program may read but not write is
// watched like any other.
TEST_F(FolderWatchTest, AReadOnlyFileIsReportedEachTimeItGrows) {
  Append(File("chat.txt"), "first\n");
  std::ofstream writer(File("chat.txt"), std::ios::binary | std::ios::app);
  fs::permissions(File("chat.txt"), fs::perms::owner_read | fs::perms::group_read);
  Start();
  writer << "second\n" << std::flush;
  ASSERT_TRUE(PumpUntilChanges(1));
  writer << "third\n" << std::flush;
  ASSERT_TRUE(PumpUntilChanges(2));
  EXPECT_EQ(changes, (std::vector<TChange>{{"chat.txt", 6}, {"chat.txt", 13}}));
}

TEST_F(FolderWatchTest, FilesOfTwoGibibytesAndMoreAreMeasuredIn64Bits) {
  constexpr std::int64_t big = 3LL << 30; // sparse: takes no disk space
  Append(File("chat.txt"), "");
  fs::resize_file(File("chat.txt"), big);
  EXPECT_EQ(FileSizeOf(FromPath(File("chat.txt"))), big);
  Start();
  Append(File("chat.txt"), "Bob: still here\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  EXPECT_EQ(changes[0], (TChange{"chat.txt", big}));
}

TEST_F(FolderWatchTest, AnErrorOfTheHandlerIsReportedAndTheWatchGoesOn) {
  onChange = [&](const std::u16string &) {
    if (changes.size() == 1)
      throw std::runtime_error("Cannot open file");
  };
  Start();
  Append(File("chat.txt"), "one\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  Append(File("chat.txt"), "two\n");
  ASSERT_TRUE(PumpUntilChanges(2));
  EXPECT_EQ(changes[1], (TChange{"chat.txt", 4}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Cannot open file"), std::string::npos);
}

TEST_F(FolderWatchTest, AVanishedFolderIsReportedAndWatchedAgainOnceItIsBack) {
  const auto logs = folder.Path() / "logs";
  fs::create_directory(logs);
  Start("chat.txt", logs);
  fs::remove(logs);
  ASSERT_TRUE(mainThread.PumpUntil([&] { return !errors.empty(); }));
  EXPECT_NE(errors[0].find("logs"), std::string::npos);
  fs::create_directory(logs);
  Append(logs / "chat.txt", "back\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  EXPECT_EQ(changes[0], (TChange{"chat.txt", 0}));
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(FolderWatchTest, AFolderMissingAtStartIsReportedAndWatchedOnceItExists) {
  const auto logs = folder.Path() / "later";
  Start("*.txt", logs);
  ASSERT_TRUE(mainThread.PumpUntil([&] { return !errors.empty(); }));
  fs::create_directory(logs);
  Append(logs / "chat.txt", "first words\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  EXPECT_EQ(changes[0], (TChange{"chat.txt", 0}));
}

// The thread is blocked handing over its file check while Stop waits for it:
// Stop runs that check (it may still read and speak) and then the thread ends.
TEST_F(FolderWatchTest, StopWhileAHandOverIsPendingServesItAndReturns) {
  Start();
  Append(File("chat.txt"), "last words\n");
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (mainThread.PendingCount() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  ASSERT_EQ(mainThread.PendingCount(), 1u);
  const auto start = std::chrono::steady_clock::now();
  StopFolderWatch(watch);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(watch, nullptr);
  EXPECT_EQ(changes, (std::vector<TChange>{{"chat.txt", 0}}));
  EXPECT_EQ(ended, 1);
}

TEST_F(FolderWatchTest, StopWhileWaitingReturnsWithinTheWaitTime) {
  Start();
  mainThread.PumpFor(50ms);
  const auto start = std::chrono::steady_clock::now();
  StopFolderWatch(watch);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s); // 100 ms plus a loaded machine
  EXPECT_EQ(ended, 1);
  StopFolderWatch(watch); // none: nothing
}

// A handler that stops reading stops its own watch: the thread waits for that
// very handler, so Stop must not wait for the thread.
TEST_F(FolderWatchTest, StopFromInsideTheHandlerDoesNotDeadlock) {
  onChange = [&](const std::u16string &) { StopFolderWatch(watch); };
  Start("*.txt");
  Append(File("a.txt"), "one\n");
  Append(File("b.txt"), "two\n");
  ASSERT_TRUE(PumpUntilChanges(1));
  EXPECT_EQ(watch, nullptr);
  mainThread.PumpFor(300ms); // the thread ends on its own
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(FolderWatchTest, StopFromInsideTheErrorHandlerDoesNotDeadlock) {
  onError = [&] { StopFolderWatch(watch); };
  Start("chat.txt", folder.Path() / "missing");
  ASSERT_TRUE(mainThread.PumpUntil([&] { return !errors.empty(); }));
  EXPECT_EQ(watch, nullptr);
  mainThread.PumpFor(300ms);
  EXPECT_EQ(errors.size(), 1u);
}
