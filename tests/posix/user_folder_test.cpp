// The folder of a start from the menu, and the argument that asks for it (the package test
// starts the program both ways).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "posix/user_folder.h"

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

TEST(UserFolder, MenuMarkIsTakenOutOfTheCommandLineOnlyAsTheFirstArgument) {
    using Arguments = std::vector<std::string>;
    for (auto [arguments, left] :
         {std::pair<Arguments, Arguments>{{"qlok", "--from-menu", "2"}, {"qlok", "2"}},
          {{"qlok", "2", "--from-menu"}, {"qlok", "2", "--from-menu"}},
          {{"qlok", "--from-menu=1"}, {"qlok", "--from-menu=1"}}}) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int argc = static_cast<int>(arguments.size());
        EXPECT_EQ(qlok::posix::TakeMenuStartArgument(argc, argv.data()), left != arguments);
        EXPECT_EQ(Arguments(argv.begin(), argv.begin() + argc), left);
        EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
    }
}
