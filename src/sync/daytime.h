// Rules for the Daytime reply and the clock comparison.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace qlok {

// A reply in the NIST layout is exactly this long.
inline constexpr std::size_t kReplyLength = 51;

// "20" + the 8 bytes from position 8 + " " + the 8 bytes from position 17 (positions from 1);
// pieces beyond the end are empty, pieces that run past it are cut short.
std::string RewriteReply(std::string_view raw);

// Whether an offset counts as in step: under two seconds in total, whole days included.
bool IsInStep(DateValue offset);

}  // namespace qlok
