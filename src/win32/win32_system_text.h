// The system's words for an error number on Windows.
#pragma once

#include <string>

namespace qlok::win32 {

// The system's text for an error number (Win32 or Winsock), without the trailing line end.
std::string SystemText(unsigned long error);

}  // namespace qlok::win32
