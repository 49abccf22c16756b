#pragma once

#include <string>

#include <QString>

// The one crossing between the core's UTF-16 texts and Qt's.
QString ToQString(const std::u16string &text);
std::u16string ToU16(const QString &text);
