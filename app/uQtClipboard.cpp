#include "app/uQtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/uQtText.h"

void TQtClipboard::SetText(const std::u16string &text) {
  if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
    return;
  QGuiApplication::clipboard()->setText(ToQString(text));
}

std::u16string TQtClipboard::GetText() {
  if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
    return {};
  return ToU16(QGuiApplication::clipboard()->text());
}
