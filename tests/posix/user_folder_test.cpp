// The folder of a start from the menu: where it is, the mark that asks for it, and a folder
// that cannot be made.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

TEST(UserFolder, KeepsTheUsersHelpAndStaysPutWhenTheFolderCannotBeMade) {
    std::string pattern = (fs::temp_directory_path() / "qlok-folder-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path scratch = pattern;
    const fs::path start = fs::current_path();
    std::ofstream(scratch / "help.txt") << "installed";
    fs::create_directories(scratch / "user");
    std::ofstream(scratch / "user/help.txt") << "edited";
    std::ofstream(scratch / "file") << "";

    EXPECT_EQ(posix::EnterUserFolder(scratch / "file/qlok", scratch / "help.txt").empty(), false);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(posix::EnterUserFolder(scratch / "user", scratch / "help.txt"), "");
    EXPECT_EQ(fs::current_path(), fs::canonical(scratch / "user"));
    EXPECT_EQ(fs::file_size("help.txt"), 6u);  // "edited", not overwritten

    fs::current_path(start);
    fs::remove_all(scratch);
}

}  // namespace
}  // namespace qlok
