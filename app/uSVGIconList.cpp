#include "app/uSVGIconList.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resources live in a static library: registering them from a function
// the program calls makes the linker keep them, in the program and the tests.
static void InitIconResources() { Q_INIT_RESOURCE(murmelo); }

static void EnsureIconResources() {
  static const bool registered = (InitIconResources(), true);
  Q_UNUSED(registered);
}

namespace {

const QLatin1String DisabledSuffix("_Disabled");

QStringList BaseNames() {
  return {QStringLiteral("Read Aloud"),  QStringLiteral("Read Stop"), QStringLiteral("Read Skip"),
          QStringLiteral("Time Signal"), QStringLiteral("Setting"),   QStringLiteral("Link")};
}

// "Read Aloud" -> ":/icons/read-aloud.svg"
QString ResourceOf(const QString &baseName) {
  return QStringLiteral(":/icons/%1.svg")
      .arg(baseName.toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
}

QPixmap Render(const QString &baseName, const QColor &colour, qreal ratio) {
  QFile file(ResourceOf(baseName));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QByteArray svg = file.readAll();
  svg.replace("currentColor", colour.name(QColor::HexRgb).toLatin1());
  QSvgRenderer renderer(svg);
  if (!renderer.isValid())
    return {};
  const int side = qRound(TSVGIconList::IconSize * ratio);
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

} // namespace

TSVGIconList::TSVGIconList(const QColor &colour) : FColour(colour) {
  EnsureIconResources();
  const QStringList bases = BaseNames();
  FNames = bases;
  for (const QString &name : bases)
    FNames.append(name + DisabledSuffix);
}

QColor TSVGIconList::DisabledColour() { return QColor(0x88, 0x88, 0x88); }

QPixmap TSVGIconList::Pixmap(const QString &name, qreal devicePixelRatio) const {
  if (!FNames.contains(name))
    return {};
  if (name.endsWith(DisabledSuffix))
    return Render(name.chopped(DisabledSuffix.size()), DisabledColour(), devicePixelRatio);
  return Render(name, FColour, devicePixelRatio);
}

QIcon TSVGIconList::Icon(const QString &name) const {
  if (name.endsWith(DisabledSuffix) || !FNames.contains(name))
    return {};
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(Pixmap(name, ratio), QIcon::Normal);
    icon.addPixmap(Pixmap(name + DisabledSuffix, ratio), QIcon::Disabled);
  }
  return icon;
}

QIcon TSVGIconList::AppIcon() {
  EnsureIconResources();
  return QIcon(QStringLiteral(":/icons/murmelo.svg"));
}
