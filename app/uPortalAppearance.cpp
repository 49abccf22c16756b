#include "app/uPortalAppearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalSettings = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString ColorSchemeKey = QStringLiteral("color-scheme");
constexpr int DBusTimeoutMs = 500;
constexpr int GsettingsTimeoutMs = 1000;

// Unwraps the variants the portal nests (Read wraps its value twice).
QVariant Unwrap(QVariant value) {
  while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
    value = value.value<QDBusVariant>().variant();
  return value;
}

std::optional<QString> Gsettings(const QString &program, const QString &key) {
  QProcess process;
  process.start(program,
                {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), key});
  if (!process.waitForFinished(GsettingsTimeoutMs)) {
    process.kill();
    process.waitForFinished(GsettingsTimeoutMs);
    return std::nullopt;
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return std::nullopt;
  QString text = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\'')))
    text = text.mid(1, text.size() - 2);
  return text;
}

} // namespace

TPortalAppearance::TPortalAppearance(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), FBus(bus) {}

TPortalAppearance::~TPortalAppearance() {
  if (FMonitor) {
    FMonitor->kill();
    FMonitor->waitForFinished(GsettingsTimeoutMs);
  }
}

std::optional<bool> TPortalAppearance::FromPortalScheme(uint scheme) {
  if (scheme == 1)
    return false;
  if (scheme == 2)
    return true;
  return std::nullopt;
}

std::optional<bool> TPortalAppearance::FromGnomeSettings(const QString &colorScheme,
                                                         const QString &gtkTheme) {
  if (colorScheme == QLatin1String("prefer-dark"))
    return false;
  if (colorScheme == QLatin1String("prefer-light"))
    return true;
  if (gtkTheme.endsWith(QLatin1String("-dark"), Qt::CaseInsensitive))
    return false;
  return std::nullopt;
}

std::optional<bool> TPortalAppearance::PrefersLight() {
  if (std::optional<uint> scheme = ReadPortalScheme()) {
    Subscribe();
    if (std::optional<bool> light = FromPortalScheme(*scheme))
      return light;
  }
  return ReadGnome();
}

void TPortalAppearance::SetChangedHandler(std::function<void()> handler) {
  FHandler = std::move(handler);
  if (!FHandler)
    return;
  Subscribe();
  if (!ReadPortalScheme())
    MonitorGnome();
}

void TPortalAppearance::MonitorGnome() {
  if (FMonitor)
    return;
  const QString program = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
  if (program.isEmpty())
    return;
  FMonitor = std::make_unique<QProcess>();
  connect(FMonitor.get(), &QProcess::readyReadStandardOutput, this, [this] {
    FMonitor->readAllStandardOutput();
    if (FHandler)
      FHandler();
  });
  FMonitor->start(program, {QStringLiteral("monitor"),
                            QStringLiteral("org.gnome.desktop.interface"), ColorSchemeKey});
}

std::optional<uint> TPortalAppearance::ReadPortalScheme() {
  if (!FBus.isConnected())
    return std::nullopt;
  // Plain method calls with a timeout: a proxy object would first introspect
  // the portal without one.
  const auto call = [this](const QString &method) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(PortalService, PortalPath, PortalSettings, method);
    message << AppearanceNamespace << ColorSchemeKey;
    return FBus.call(message, QDBus::Block, DBusTimeoutMs);
  };
  QDBusMessage reply = call(QStringLiteral("ReadOne"));
  // Portals older than version 2 know only Read.
  if (reply.type() != QDBusMessage::ReplyMessage)
    reply = call(QStringLiteral("Read"));
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
    return std::nullopt;
  const QVariant value = Unwrap(reply.arguments().constFirst());
  bool ok = false;
  const uint scheme = value.toUInt(&ok);
  if (!ok)
    return std::nullopt;
  return scheme;
}

std::optional<bool> TPortalAppearance::ReadGnome() {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
  if (program.isEmpty())
    return std::nullopt;
  const std::optional<QString> scheme = Gsettings(program, ColorSchemeKey);
  if (!scheme)
    return std::nullopt;
  if (std::optional<bool> light = FromGnomeSettings(*scheme, QString()))
    return light;
  const std::optional<QString> theme = Gsettings(program, QStringLiteral("gtk-theme"));
  return FromGnomeSettings(*scheme, theme.value_or(QString()));
}

void TPortalAppearance::Subscribe() {
  if (FSubscribed)
    return;
  if (!FBus.isConnected())
    return;
  FSubscribed =
      FBus.connect(PortalService, PortalPath, PortalSettings, QStringLiteral("SettingChanged"),
                   this, SLOT(SettingChanged(QString, QString, QDBusVariant)));
}

void TPortalAppearance::SettingChanged(const QString &nameSpace, const QString &key,
                                       const QDBusVariant &) {
  if (nameSpace == AppearanceNamespace && key == ColorSchemeKey && FHandler)
    FHandler();
}
