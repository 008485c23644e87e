// Date and time text both ways: no picture, name or text crashes the writer or the reader, and
// under pictures that give every field unambiguously what is written reads back as that second.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qlok;
    FuzzedDataProvider in(data, size);
    const bool sane = in.ConsumeBool(), twelve = in.ConsumeBool();
    const int thisYear = in.ConsumeIntegralInRange(150, 9949);
    const std::string year = in.PickValueInArray({"y", "yy", "yyyy"});
    // The tokens in an order the input picks, each after a separator.
    auto picture = [&in](std::vector<std::string> tokens) {
        std::string text;
        while (!tokens.empty()) {
            const auto k = in.ConsumeIntegralInRange<std::size_t>(0, tokens.size() - 1);
            text +=
                in.PickValueInArray({"/", "-", ".", " ", ", ", ":", " 'de' ", "'h'"}) + tokens[k];
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(k));
        }
        return text;
    };
    RegionalFormats f;
    if (sane) {
        f.shortDate = in.PickValueInArray({"", "dddd, ", "ddd "}) +
                      picture({in.PickValueInArray({"d", "dd"}), year,
                               in.PickValueInArray({"M", "MM", "MMM", "MMMM"})});
        f.longTime = picture({twelve ? in.PickValueInArray({"h", "hh"}) : "HH",
                              in.PickValueInArray({"m", "mm"}), in.PickValueInArray({"s", "ss"})}) +
                     (twelve ? in.PickValueInArray({" tt", " t"}) : "");
        f.am = in.PickValueInArray({"AM", "a.m.", "vorm."});
        f.pm = in.PickValueInArray({"PM", "p.m.", "nachm."});
        for (std::size_t i = 0; i < 12; ++i) {  // names each a prefix of the next
            f.monthNames[i] = f.dayNames[i % 7] = std::string(i + 1, 'x');
            f.monthAbbreviations[i] = f.dayAbbreviations[i % 7] = "M" + std::to_string(i);
        }
    } else {
        for (std::string* text :
             {&f.shortDate, &f.longTime, &f.am, &f.pm, &f.monthNames[4], &f.dayNames[0]}) {
            *text = in.ConsumeRandomLengthString(16);
        }
    }
    f = ComparisonFormats(f);
    // Two-digit years are read in the century around this year.
    const bool shortYear = sane && year != "yyyy";
    const int from = shortYear ? thisYear - 50 : 100, to = shortYear ? thisYear + 49 : 9999;
    const DateParts p{in.ConsumeIntegralInRange(from, to), in.ConsumeIntegralInRange(1, 12),
                      in.ConsumeIntegralInRange(1, 31),    in.ConsumeIntegralInRange(0, 23),
                      in.ConsumeIntegralInRange(0, 59),    in.ConsumeIntegralInRange(0, 59)};
    (void)TextToDate(in.ConsumeRemainingBytesAsString(), f, thisYear);
    const auto value = MakeDate(p);
    if (!value || (p.year == 1899 && p.month == 12 && p.day == 30)) {  // the zero date: a time
        return 0;
    }
    const std::string text = DateToText(*value, f);
    const auto back = TextToDate(text, f, thisYear);
    if (sane && (!back || TotalSeconds(*back) != TotalSeconds(*value))) {
        std::fprintf(stderr, "\"%s\" in \"%s\" \"%s\" reads back wrong\n", text.c_str(),
                     f.shortDate.c_str(), f.longTime.c_str());
        std::abort();
    }
    return 0;
}
