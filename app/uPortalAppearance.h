#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "platform/Appearance.h"

class QDBusVariant;
class QProcess;

// The desktop's light/dark preference on Linux: the freedesktop settings
// portal first (org.freedesktop.appearance color-scheme), then GNOME's own
// settings through gsettings. Every look-up is bounded by a short timeout, so
// a desktop without a session bus (a CI runner) answers at once.
class TPortalAppearance final : public QObject, public platform::IAppearance {
  Q_OBJECT

public:
  // bus: where the portal is looked for; the session bus for the program.
  explicit TPortalAppearance(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                             QObject *parent = nullptr);
  ~TPortalAppearance() override;

  std::optional<bool> PrefersLight() override;
  void SetChangedHandler(std::function<void()> handler) override;

  // The portal's color-scheme value: 1 dark, 2 light, anything else none.
  static std::optional<bool> FromPortalScheme(uint scheme);
  // GNOME's color-scheme and gtk-theme values as gsettings prints them.
  static std::optional<bool> FromGnomeSettings(const QString &colorScheme, const QString &gtkTheme);

private Q_SLOTS:
  void SettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
  std::optional<uint> ReadPortalScheme();
  std::optional<bool> ReadGnome();
  void Subscribe();
  // Without the portal, GNOME's setting is followed through
  // "gsettings monitor"; every line it prints is a change.
  void MonitorGnome();

  QDBusConnection FBus;
  std::function<void()> FHandler;
  bool FSubscribed = false;
  std::unique_ptr<QProcess> FMonitor;
};
