#include "posix/posix_error_text.h"

#include <cstring>

namespace qlok::posix {

std::string ErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

}  // namespace qlok::posix
