// The file rules every desktop shares, over the fake's files.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

// Of a long file a head keeps its first bytes and says whether more follow; a tail keeps its
// last bytes and says how many came before. Reads cross the chunks they are made of.
TEST(RegularFiles, AHeadOrATailOfALongFileSaysWhatWasLeftOut) {
    fake::FakeFiles files;
    files.files["long"] = std::string(70'000, 'a') + std::string(70'000, 'b');
    // A read's first and last byte, size, bytes before it, and whether more follow.
    const auto seen = [](const ReadResult& read) {
        return read.data.front() + std::string(1, read.data.back()) + " " +
               std::to_string(read.data.size()) + " " + std::to_string(read.skipped) +
               (read.more ? " more" : "");
    };
    EXPECT_EQ(seen(files.ReadHead("long", 70'001)), "ab 70001 0 more");
    EXPECT_EQ(seen(files.ReadHead("long", 140'000)), "ab 140000 0");
    EXPECT_EQ(seen(files.ReadTail("long", 70'001)), "ab 70001 69999");
}

}  // namespace
}  // namespace qlok
