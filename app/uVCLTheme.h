#pragma once

#include <functional>

#include <QString>

class QWidget;

// The program's light/dark choice and its two application-wide styles.
// The light flag is module state, written only by RefreshLightMode on the
// main thread.

QString LightStyleName(); // "Windows11 Modern Light"
QString DarkStyleName();  // "Windows11 Modern Dark"

bool IsLightTheme();

// Re-reads the desktop's preference; no readable preference counts as light.
void RefreshLightMode();

// Calls RefreshLightMode and then applyTheme whenever the desktop's preference
// may have changed; an empty function stops following.
void FollowThemeChanges(std::function<void()> applyTheme);

// Makes the named style the application's style. false for a name that is not
// one of the two styles or when no QApplication exists; the old style stays.
bool TrySetStyle(const QString &name);

// TrySetStyle, with a failure reported to the user in a message box.
void ApplyStyle(const QString &name, QWidget *parent);

// The name of the style in use; empty when it is none of the two.
QString ActiveStyleName();
