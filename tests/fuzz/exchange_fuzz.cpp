// The whole exchange on the fake front end: whatever a server sends, in whatever pieces, under
// any local clock, zone and regional pictures, the clock is set only from a valid reply (the NIST
// layout, a real date and time, healthy, its bytes within one second), to its exact second.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "fake/fake_platform.h"
#include "runtime/datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qlok;
    FuzzedDataProvider in(data, size);
    fake::FakeApp app;
    app.combo1.text = "127.0.0.1";
    app.clock.now = {in.ConsumeIntegralInRange(1901, 9990), in.ConsumeIntegralInRange(1, 12),
                     in.ConsumeIntegralInRange(1, 28),      in.ConsumeIntegralInRange(0, 23),
                     in.ConsumeIntegralInRange(0, 59),      in.ConsumeIntegralInRange(0, 59)};
    app.clock.utcOffset = in.ConsumeIntegralInRange(-14 * 3600, 14 * 3600);
    app.clock.refuse = in.ConsumeBool();
    app.files.readOnly = in.ConsumeBool();
    RegionalFormats& f = app.regional.formats;
    for (std::string* text : {&f.shortDate, &f.longTime, &f.am, &f.pm}) {
        *text = in.ConsumeRandomLengthString(20);
    }
    std::string reply;              // the bytes of the current attempt
    long long first = 0, last = 0;  // the local second its first and its last piece came
    bool open = false;
    while (in.remaining_bytes() > 0) {
        const std::size_t sets = app.clock.setCalls.size();
        const long long now = TotalSeconds(*MakeDate(app.clock.now));
        const std::string piece = in.ConsumeRandomLengthString(60);
        const int event = in.ConsumeIntegralInRange(1, 4);
        if (event == 1) {  // Resync
            app.form.Command1_Click();
            reply.clear();
            open = true;
        } else if (event == 2 && open && !piece.empty()) {
            first = reply.empty() ? now : first;
            last = now;
            reply += piece;
            app.Receive(piece);
        } else if (event == 3 && std::exchange(open, false)) {
            app.ServerCloses();
        } else if (event == 4) {  // time passes
            app.clock.now = SplitDate(*MakeDate(app.clock.now) +
                                      FromSeconds(in.ConsumeIntegralInRange(0, 100)));
        }
        if (app.clock.setCalls.size() == sets) {
            continue;
        }
        // The reply's date and time as the clock was set: bytes 8 to 15 and 17 to 24.
        const auto& t = app.clock.setCalls.back();
        char set[64];
        std::snprintf(set, sizeof set, "%02d-%02d-%02d%02d:%02d:%02d", t.wYear - 2000, t.wMonth,
                      t.wDay, t.wHour, t.wMinute, t.wSecond);
        const bool healthy = reply.size() == 51 && (reply[30] < '1' || reply[30] > '9');
        if (app.clock.setCalls.size() > sets + 1 || !healthy || last - first > 1 ||
            reply.substr(7, 8) + reply.substr(16, 8) != set ||
            !MakeDate({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond})) {
            std::fprintf(stderr, "clock set to %s from %zu bytes over %lld s: %s\n", set,
                         reply.size(), last - first, reply.c_str());
            std::abort();
        }
    }
    return 0;
}
