// The folder of a start from the menu, and the mark that asks for it (the package test starts
// the program both ways).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "posix/user_folder.h"

using qlok::posix::kMenuStartVariable;

TEST(UserFolder, FollowsTheBaseDirectoryRules) {
    // XDG_DATA_HOME, HOME, the folder
    const char* const cases[][3] = {
        {"/data", "/home/u", "/data/qlok"},
        {"data", "/home/u", "/home/u/.local/share/qlok"},  // relative: ignored
        {"", "/home/u", "/home/u/.local/share/qlok"},
        {nullptr, "home/u", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qlok::posix::UserFolder(c[0], c[1]), std::filesystem::path(c[2])) << c[2];
    }
}

TEST(UserFolder, MarkIsTakenOutOfTheEnvironmentWhateverItsValue) {
    for (const char* value : {"1", "0", "", "yes"}) {
        setenv(kMenuStartVariable, value, 1);
        EXPECT_EQ(qlok::posix::TakeMenuStartMark(), std::string(value) == "1") << value;
        EXPECT_EQ(std::getenv(kMenuStartVariable), nullptr) << value;
    }
    EXPECT_FALSE(qlok::posix::TakeMenuStartMark());
}
