#include "app/uQtText.h"

QString ToQString(const std::u16string &text) { return QString::fromStdU16String(text); }

std::u16string ToU16(const QString &text) { return text.toStdU16String(); }
