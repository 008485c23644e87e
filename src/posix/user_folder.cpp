#include "user_folder.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace qlok::posix {

namespace fs = std::filesystem;

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

bool TakeMenuStartArgument(int& argc, char** argv) {
    if (argc < 2 || argv[1] == nullptr || argv[1] != kMenuStartArgument) {
        return false;
    }
    std::copy(argv + 2, argv + argc + 1, argv + 1);  // the closing null pointer too
    --argc;
    return true;
}

fs::path UserFolder(const char* xdgDataHome, const char* home) {
    // The base directory rules: a relative XDG_DATA_HOME is invalid and ignored.
    if (IsAbsolute(xdgDataHome)) {
        return fs::path(xdgDataHome) / "qlok";
    }
    if (IsAbsolute(home)) {
        return fs::path(home) / ".local/share/qlok";
    }
    return {};
}

fs::path InstalledHelpFile() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return program.parent_path() / QLOK_DATA_FROM_BINARY / "QLOK instructions.txt";
}

std::string EnterUserFolder(const fs::path& folder, const fs::path& helpFile) {
    if (folder.empty()) {
        return "no home folder";
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error) {
        fs::current_path(folder, error);
    }
    if (error) {
        return error.message();
    }
    // Relative now: the folder's own copy, wherever the folder is.
    const fs::path copy = helpFile.filename();
    if (!helpFile.empty() && !fs::exists(fs::symlink_status(copy, error))) {
        fs::copy_file(helpFile, copy, error);  // without it Help says the file is missing
    }
    return {};
}

}  // namespace qlok::posix
