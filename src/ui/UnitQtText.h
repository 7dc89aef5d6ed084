// Text crossing between the core (UTF-16 std::u16string) and Qt (QString,
// UTF-16 as well): the code units are taken over unchanged, so a name that
// holds undecodable bytes comes back to the core exactly.
#pragma once

#include <QString>
#include <string>
#include <string_view>

inline QString ToQt(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQt(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}
