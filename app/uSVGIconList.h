#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

// A list of the toolbar's 20 x 20 icons in one colour. Every name has a
// "<name>_Disabled" entry drawn in grey, which the icon of a name shows while
// its button is disabled. The drawings come from the program's resources,
// with "currentColor" replaced by the list's colour.
class TSVGIconList {
public:
  explicit TSVGIconList(const QColor &colour);

  // "Read Aloud", "Read Stop", "Read Skip", "Time Signal", "Setting", "Link",
  // then each of them with "_Disabled" appended.
  const QStringList &Names() const { return FNames; }
  const QColor &Colour() const { return FColour; }

  // The drawing of one entry of Names(); a null pixmap for an unknown name.
  QPixmap Pixmap(const QString &name, qreal devicePixelRatio = 1.0) const;

  // The icon of a base name: its own drawing for the normal look and the
  // "_Disabled" drawing for the disabled look. A null icon for an unknown name.
  QIcon Icon(const QString &name) const;

  static constexpr int IconSize = 20;
  static QColor DisabledColour();
  // The application's own icon (for the window and the desktop entry).
  static QIcon AppIcon();

private:
  QColor FColour;
  QStringList FNames;
};
