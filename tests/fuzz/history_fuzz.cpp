// The history viewer's reader on any bytes, the end of a longer file or a whole one: it keeps
// every whole line as it is, CR ends none, a first line tells of anything left out, and lists
// show each line without control bytes but tabs, cut after 1,000 characters.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "runtime/text_lines.h"
#include "sync/history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qlok;
    FuzzedDataProvider in(data, size);
    const std::uint64_t skipped = in.ConsumeBool() ? in.ConsumeIntegral<std::uint32_t>() + 1ULL : 0;
    const std::string tail = in.ConsumeRemainingBytesAsString();
    const TextLines lines = HistoryView(tail, skipped);
    std::vector<std::string> whole = SplitLines(tail);
    if (skipped > 0 && !whole.empty()) {
        whole.erase(whole.begin());  // the read began inside it
    }
    const std::size_t heading = skipped > 0 ? 1 : 0;
    bool ok = lines.size() == whole.size() + heading;
    for (std::size_t i = 0; ok && i < lines.size(); ++i) {
        const std::string shown = ShownLine(lines[i]);
        ok = shown.size() == ShownLength(lines[i]) && shown.size() <= kShownLineChars + 3 &&
             std::none_of(shown.begin(), shown.end(),
                          [](char c) { return (c >= 0 && c < ' ' && c != '\t') || c == 0x7f; }) &&
             (i < heading ? lines[i].starts_with("QLOK.log") : lines[i] == whole[i - heading]);
    }
    if (!ok) {
        std::abort();
    }
    return 0;
}
