#include "app/uProductPage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

QString ProductPageAddress(bool japanese) {
  const QString fileName =
      japanese ? QStringLiteral("murmelo-ja.html") : QStringLiteral("murmelo-en.html");
  const QString installed = QStringLiteral(MURMELO_INSTALL_DATADIR "/murmelo/") + fileName;
  QStringList candidates;
  if (QCoreApplication::instance() != nullptr)
    candidates << QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
  candidates << installed;
  for (const QString &path : candidates)
    if (QFileInfo::exists(path))
      return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
  return QUrl::fromLocalFile(installed).toString();
}
