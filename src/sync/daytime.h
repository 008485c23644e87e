// Rules for the Daytime reply and the clock comparison.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace qlok {

// A reply in the NIST layout is exactly this long.
inline constexpr std::size_t kReplyLength = 51;

// "20" + the 8 bytes from position 8 + " " + the 8 bytes from position 17 (positions from 1);
// pieces beyond the end are empty, pieces that run past it are cut short.
std::string RewriteReply(std::string_view raw);

// The rewritten reply read as a UTC date and time: exactly YYYY-MM-DD HH:MM:SS, digits where
// digits belong, a real date and time; nullopt for anything else.
std::optional<DateValue> ReadRewrittenReply(std::string_view text);

// The health digit the server puts at position 31: '0' healthy, any other digit unwell. A reply
// without a digit there counts as healthy.
char ServerHealth(std::string_view raw);

// A reply read: the server's date and time in UTC and the health it reports.
struct DaytimeReading {
    DateValue utc = 0;
    char health = '0';
};

// The reading of a reply from its rewritten text (as ReadRewrittenReply takes it) and its raw
// bytes (for the health digit); nullopt when the text holds no date and time.
std::optional<DaytimeReading> ReadReply(std::string_view rewritten, std::string_view raw);

// Whether an offset counts as in step: under two seconds in total, whole days included.
bool IsInStep(DateValue offset);

}  // namespace qlok
