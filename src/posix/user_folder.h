// Where QLOK works when the desktop's menu starts it: a folder of the user's own, so that the
// server list, the history and the help text are always in the same writable place.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qlok::posix {

// The first argument of the desktop entry's command; a start from a shell does not have it.
inline constexpr std::string_view kMenuStartArgument = "--from-menu";

// Takes the menu-start argument out of the command line when it is the first argument (argv
// stays ended by a null pointer), so that the window logic never sees it; true when it was there.
bool TakeMenuStartArgument(int& argc, char** argv);

// $XDG_DATA_HOME/qlok when XDG_DATA_HOME is an absolute path, else $HOME/.local/share/qlok;
// empty when HOME is not an absolute path either.
std::filesystem::path UserFolder(const char* xdgDataHome, const char* home);

// The installed help text, found from the running program's own path.
std::filesystem::path InstalledHelpFile();

// Creates `folder`, copies `helpFile` into it unless a file of that name is there already, and
// makes it the working directory. Returns the reason when the folder cannot be used (the
// working directory is then unchanged); a help text that cannot be copied is no such reason.
std::string EnterUserFolder(const std::filesystem::path& folder,
                            const std::filesystem::path& helpFile);

}  // namespace qlok::posix
