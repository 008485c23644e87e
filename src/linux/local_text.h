// Text crosses between the logic (bytes in the locale's charset) and Qt here.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qlok::qt {

// The locale's bytes as Qt text.
QString FromLocal(std::string_view text);
// Qt text as the locale's bytes.
std::string ToLocal(const QString& text);

}  // namespace qlok::qt
