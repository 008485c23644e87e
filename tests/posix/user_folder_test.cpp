// The folder of a start from the menu, and the mark that asks for it (the package test starts
// the program both ways).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "posix/user_folder.h"

namespace qlok {
namespace {

namespace fs = std::filesystem;

TEST(UserFolder, FollowsTheBaseDirectoryRules) {
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/data", "/home/u", "/data/qlok"},
        {"data", "/home/u", "/home/u/.local/share/qlok"},  // relative: ignored
        {"", "/home/u", "/home/u/.local/share/qlok"},
        {nullptr, "home/u", ""},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(posix::UserFolder(c.xdgDataHome, c.home), fs::path(c.folder)) << c.folder;
    }
}

TEST(UserFolder, MarkIsTakenOutOfTheEnvironmentWhateverItsValue) {
    for (const char* value : {"1", "0", "", "yes"}) {
        setenv(posix::kMenuStartVariable, value, 1);
        EXPECT_EQ(posix::TakeMenuStartMark(), std::string(value) == "1") << value;
        EXPECT_EQ(std::getenv(posix::kMenuStartVariable), nullptr) << value;
    }
    EXPECT_FALSE(posix::TakeMenuStartMark());
}

}  // namespace
}  // namespace qlok
