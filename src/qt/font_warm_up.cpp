#include "qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace qlok::qt {

FontWarmUp::FontWarmUp() {
    try {
        thread_ = std::thread([] { FcInit(); });  // the toolkit's own FcInit then finds it done
    } catch (const std::system_error&) {
        // No thread: the toolkit loads the configuration when it first needs it, as without us.
    }
}

void FontWarmUp::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace qlok::qt
