// The program's own services: installed for the life of TPlatformSetup, and a
// worker's hand-over served by the Qt event loop on the main thread.
#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QThread>
#include <QtTest>

#include "app/uPlatformSetup.h"
#include "platform/Clipboard.h"
#include "platform/MainThread.h"
#include "platform/Platform.h"

class TestPlatformSetup : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void installsAndRemovesServices();
  void handOverRunsOnTheEventLoop();
};

void TestPlatformSetup::installsAndRemovesServices() {
  {
    TPlatformSetup setup;
    const platform::TServices &s = platform::Services;
    for (const void *service :
         {static_cast<const void *>(s.AppInfo), static_cast<const void *>(s.Appearance),
          static_cast<const void *>(s.ChangeNotifier), static_cast<const void *>(s.Clipboard),
          static_cast<const void *>(s.Clock), static_cast<const void *>(s.DataProtection),
          static_cast<const void *>(s.Locale), static_cast<const void *>(s.MainThread),
          static_cast<const void *>(s.Shell)})
      QVERIFY(service != nullptr);
    platform::Clipboard().SetText(u"MURMELO clipboard check");
    QCOMPARE(platform::Clipboard().GetText(), std::u16string(u"MURMELO clipboard check"));
  }
  QVERIFY(platform::Services.MainThread == nullptr);
  QVERIFY(platform::Services.Appearance == nullptr);
}

void TestPlatformSetup::handOverRunsOnTheEventLoop() {
  TPlatformSetup setup;
  platform::IMainThread &mainThread = platform::MainThread();
  std::atomic<bool> ranOnMain{false};
  std::atomic<int> result{-1};
  QThread *const main = QThread::currentThread();
  std::thread worker([&] {
    result = mainThread.RunAndWait([&] { ranOnMain = QThread::currentThread() == main; }) ? 1 : 0;
  });
  // Only the event loop serves the call: nothing here pumps the queue itself.
  QTRY_VERIFY_WITH_TIMEOUT(result.load() != -1, 5000);
  worker.join();
  QCOMPARE(result.load(), 1);
  QVERIFY(ranOnMain);
}

QTEST_MAIN(TestPlatformSetup)
#include "tst_PlatformSetup.moc"
