// The servers file: any bytes give entries that hold no CR, are no comment, and come in file order.
#include <cstdlib>

#include "app/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t from = 0;
    for (const std::string& entry : qlok::ParseServerList(bytes)) {
        from = bytes.find(entry, from);
        if (entry.find('\r') != std::string::npos || entry.starts_with(';') ||
            from == std::string_view::npos) {
            std::abort();
        }
        from += entry.size();
    }
    return 0;
}
