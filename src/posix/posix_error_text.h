// The system's words for an error number on POSIX.
#pragma once

#include <string>

namespace qlok::posix {

// The platform's words for an errno value.
std::string ErrorText(int error);

}  // namespace qlok::posix
