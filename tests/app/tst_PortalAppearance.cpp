// The desktop appearance service against a real D-Bus daemon of the test's
// own, with a stand-in settings portal on it.
#include <atomic>

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "app/uPortalAppearance.h"

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace

// The portal's Settings interface; runs in a thread of its own, so the
// service's blocking calls from the test thread get their answers.
class StandInPortal : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
  std::atomic<uint> Scheme{2};
  std::atomic<bool> KnowsReadOne{true};
  std::atomic<int> Calls{0};

public Q_SLOTS:
  QDBusVariant ReadOne(const QString &nameSpace, const QString &key) {
    ++Calls;
    if (!KnowsReadOne) {
      sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("no ReadOne here"));
      return {};
    }
    return Value(nameSpace, key);
  }
  // The first portal version wraps the value in one more variant.
  QDBusVariant Read(const QString &nameSpace, const QString &key) {
    ++Calls;
    return QDBusVariant(QVariant::fromValue(Value(nameSpace, key)));
  }
  void Announce(const QString &nameSpace, const QString &key, uint value) {
    Q_EMIT SettingChanged(nameSpace, key, QDBusVariant(value));
  }

Q_SIGNALS:
  void SettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
  QDBusVariant Value(const QString &nameSpace, const QString &key) {
    if (nameSpace != QLatin1String("org.freedesktop.appearance") ||
        key != QLatin1String("color-scheme")) {
      sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                     QStringLiteral("Requested setting not found"));
      return {};
    }
    return QDBusVariant(Scheme.load());
  }
};

class TestPortalAppearance : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void initTestCase();
  void cleanupTestCase();
  void valueMapping_data();
  void valueMapping();
  void readsThePortal_data();
  void readsThePortal();
  void followsChanges();
  void noBusAnswersQuickly();
  void withoutPortalGnomeChangesAreFollowed();

private:
  QProcess FDaemon;
  QString FAddress;
  QThread FPortalThread;
  StandInPortal *FPortal = nullptr;
};

void TestPortalAppearance::initTestCase() {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (daemon.isEmpty())
    QSKIP("dbus-daemon is not installed");
  FDaemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--print-address")});
  QVERIFY(FDaemon.waitForStarted(5000));
  QTRY_VERIFY_WITH_TIMEOUT(FDaemon.canReadLine(), 5000);
  FAddress = QString::fromUtf8(FDaemon.readLine()).trimmed();
  QVERIFY(!FAddress.isEmpty());

  // The stand-in's own introspection describes its QDBusVariant signal.
  qDBusRegisterMetaType<QDBusVariant>();
  FPortal = new StandInPortal;
  FPortal->moveToThread(&FPortalThread);
  connect(&FPortalThread, &QThread::finished, FPortal, &QObject::deleteLater);
  FPortalThread.start();
  // The stand-in is registered from its own thread, which owns it.
  bool registered = false;
  const QString address = FAddress;
  StandInPortal *portal = FPortal;
  QMetaObject::invokeMethod(
      FPortal,
      [&registered, address, portal] {
        QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("portal"));
        registered = service.isConnected() &&
                     service.registerObject(PortalPath, portal,
                                            QDBusConnection::ExportAllSlots |
                                                QDBusConnection::ExportAllSignals) &&
                     service.registerService(PortalService);
      },
      Qt::BlockingQueuedConnection);
  QVERIFY(registered);
}

void TestPortalAppearance::cleanupTestCase() {
  QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
  QDBusConnection::disconnectFromBus(QStringLiteral("client"));
  FPortalThread.quit();
  FPortalThread.wait();
  FDaemon.terminate();
  FDaemon.waitForFinished(5000);
}

void TestPortalAppearance::valueMapping_data() {
  QTest::addColumn<QString>("source");
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("second");
  QTest::addColumn<int>("expected"); // 1 light, 0 dark, -1 none
  QTest::newRow("portal no preference") << "portal"
                                        << "0"
                                        << "" << -1;
  QTest::newRow("portal dark") << "portal"
                               << "1"
                               << "" << 0;
  QTest::newRow("portal light") << "portal"
                                << "2"
                                << "" << 1;
  QTest::newRow("portal unknown value") << "portal"
                                        << "7"
                                        << "" << -1;
  QTest::newRow("gnome prefer-dark") << "gnome"
                                     << "prefer-dark"
                                     << "Adwaita" << 0;
  QTest::newRow("gnome prefer-light") << "gnome"
                                      << "prefer-light"
                                      << "Adwaita-dark" << 1;
  QTest::newRow("gnome default, dark theme") << "gnome"
                                             << "default"
                                             << "Adwaita-dark" << 0;
  QTest::newRow("gnome default, Dark theme") << "gnome"
                                             << "default"
                                             << "Yaru-Dark" << 0;
  QTest::newRow("gnome default, light theme") << "gnome"
                                              << "default"
                                              << "Adwaita" << -1;
  QTest::newRow("gnome nothing") << "gnome"
                                 << ""
                                 << "" << -1;
}

void TestPortalAppearance::valueMapping() {
  QFETCH(QString, source);
  QFETCH(QString, first);
  QFETCH(QString, second);
  QFETCH(int, expected);
  const std::optional<bool> light = source == QLatin1String("portal")
                                        ? TPortalAppearance::FromPortalScheme(first.toUInt())
                                        : TPortalAppearance::FromGnomeSettings(first, second);
  QCOMPARE(light.has_value() ? int(*light) : -1, expected);
}

void TestPortalAppearance::readsThePortal_data() {
  QTest::addColumn<uint>("scheme");
  QTest::addColumn<bool>("knowsReadOne");
  QTest::addColumn<bool>("light");
  QTest::newRow("light") << 2u << true << true;
  QTest::newRow("dark") << 1u << true << false;
  QTest::newRow("dark, old portal with Read only") << 1u << false << false;
  QTest::newRow("light, old portal with Read only") << 2u << false << true;
}

void TestPortalAppearance::readsThePortal() {
  QFETCH(uint, scheme);
  QFETCH(bool, knowsReadOne);
  QFETCH(bool, light);
  FPortal->Scheme = scheme;
  FPortal->KnowsReadOne = knowsReadOne;
  TPortalAppearance appearance(QDBusConnection::connectToBus(FAddress, QStringLiteral("client")));
  const std::optional<bool> answer = appearance.PrefersLight();
  QVERIFY(answer.has_value());
  QCOMPARE(*answer, light);
}

void TestPortalAppearance::followsChanges() {
  FPortal->Scheme = 2;
  FPortal->KnowsReadOne = true;
  TPortalAppearance appearance(QDBusConnection::connectToBus(FAddress, QStringLiteral("client")));
  int changes = 0;
  appearance.SetChangedHandler([&changes] { ++changes; });
  QCOMPARE(appearance.PrefersLight(), std::optional<bool>(true));

  FPortal->Scheme = 1;
  // Other settings change too; only the colour scheme is news.
  QMetaObject::invokeMethod(FPortal, "Announce",
                            Q_ARG(QString, QStringLiteral("org.gnome.desktop.interface")),
                            Q_ARG(QString, QStringLiteral("font-name")), Q_ARG(uint, 0u));
  QMetaObject::invokeMethod(FPortal, "Announce",
                            Q_ARG(QString, QStringLiteral("org.freedesktop.appearance")),
                            Q_ARG(QString, QStringLiteral("color-scheme")), Q_ARG(uint, 1u));
  QTRY_COMPARE(changes, 1);
  QTest::qWait(100);
  QCOMPARE(changes, 1);
  QCOMPARE(appearance.PrefersLight(), std::optional<bool>(false));

  appearance.SetChangedHandler({});
  QMetaObject::invokeMethod(FPortal, "Announce",
                            Q_ARG(QString, QStringLiteral("org.freedesktop.appearance")),
                            Q_ARG(QString, QStringLiteral("color-scheme")), Q_ARG(uint, 2u));
  QTest::qWait(200);
  QCOMPARE(changes, 1);
}

void TestPortalAppearance::noBusAnswersQuickly() {
  // A CI runner has no session bus: the service falls back to gsettings (or
  // nothing) and still answers within its timeouts.
  TPortalAppearance appearance(QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/murmelo-bus"), QStringLiteral("none")));
  QElapsedTimer clock;
  clock.start();
  appearance.PrefersLight();
  appearance.SetChangedHandler([] {});
  QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

void TestPortalAppearance::withoutPortalGnomeChangesAreFollowed() {
  // A stand-in gsettings first on PATH: "get" answers dark, "monitor" reports
  // one change and then keeps watching, as the real one does.
  QTemporaryDir bin;
  QFile script(bin.filePath(QStringLiteral("gsettings")));
  QVERIFY(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\n"
               "case \"$1\" in\n"
               "  get) echo \"'prefer-dark'\" ;;\n"
               "  monitor) echo \"color-scheme: 'prefer-dark'\"; exec sleep 30 ;;\n"
               "esac\n");
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.path().toUtf8() + ':' + path);

  int changes = 0;
  {
    TPortalAppearance appearance(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/murmelo-bus"), QStringLiteral("none-gnome")));
    QCOMPARE(appearance.PrefersLight(), std::optional<bool>(false));
    appearance.SetChangedHandler([&changes] { ++changes; });
    QTRY_COMPARE(changes, 1);
  } // the monitor ends with the service
  qputenv("PATH", path);
}

QTEST_MAIN(TestPortalAppearance)
#include "tst_PortalAppearance.moc"
