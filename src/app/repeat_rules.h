// Rules of repeat mode.
#pragma once

#include <string>
#include <string_view>

namespace qlok {

// The caption up to its first " Sync in " (or whole), then " Sync in " + count + " Mins".
std::string CaptionWithCountdown(std::string_view caption, std::string_view count);

}  // namespace qlok
