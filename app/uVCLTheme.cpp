#include "app/uVCLTheme.h"

#include <optional>

#include <QApplication>
#include <QMessageBox>

#include "app/uModernStyle.h"
#include "platform/Appearance.h"
#include "platform/Platform.h"

namespace {

bool FLightMode = true;

} // namespace

QString LightStyleName() { return QStringLiteral("Windows11 Modern Light"); }

QString DarkStyleName() { return QStringLiteral("Windows11 Modern Dark"); }

bool IsLightTheme() { return FLightMode; }

void RefreshLightMode() {
  const std::optional<bool> light = platform::Appearance().PrefersLight();
  FLightMode = light.value_or(true);
}

void FollowThemeChanges(std::function<void()> applyTheme) {
  if (!applyTheme) {
    platform::Appearance().SetChangedHandler({});
    return;
  }
  platform::Appearance().SetChangedHandler([applyTheme = std::move(applyTheme)] {
    RefreshLightMode();
    applyTheme();
  });
}

bool TrySetStyle(const QString &name) {
  if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
    return false;
  if (name != LightStyleName() && name != DarkStyleName())
    return false;
  if (ActiveStyleName() == name)
    return true;
  QApplication::setStyle(new TModernStyle(name == DarkStyleName()));
  return true;
}

void ApplyStyle(const QString &name, QWidget *parent) {
  if (!TrySetStyle(name))
    QMessageBox::critical(parent, QStringLiteral("Error"),
                          QStringLiteral("Style \"%1\" cannot be applied.").arg(name));
}

QString ActiveStyleName() {
  if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr)
    return {};
  const auto *style = qobject_cast<const TModernStyle *>(QApplication::style());
  return style != nullptr ? style->objectName() : QString();
}
