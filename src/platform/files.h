// Files in the working directory, opened and closed within one handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace qlok {

// A file opened for appending; closed when destroyed.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    // Appends the text with one write, so concurrent writers never tear it; false on failure.
    virtual bool Append(std::string_view text) = 0;
    // Why the last Append failed, in the platform's words.
    virtual std::string LastError() const = 0;
    // Keeps other writers out until the next Append has written, waiting at most waitMs for
    // one that holds the file (the window stays alive meanwhile); false when it still does,
    // and the file is then not locked.
    virtual bool Lock(int waitMs) = 0;
    // True when the file's last byte is not a line feed: a write cut short left a fragment.
    virtual bool EndsMidLine() = 0;
};

struct ReadResult {
    bool ok = false;
    std::string data;           // the file, or the part that was read, when ok
    std::string error;          // the platform's reason otherwise
    bool missing = false;       // there is nothing at the path
    std::uint64_t skipped = 0;  // bytes before data that were not read
    bool more = false;          // bytes after data were not read
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // True when the path names an existing file (a folder is not a file).
    virtual bool FileExists(const std::string& path) const = 0;
    // Reads the file, or of a longer one only its first maxBytes bytes. Only a regular file is
    // read, and opening never waits (a FIFO, a device): anything else fails with "it is a
    // folder" or "it is not a regular file".
    virtual ReadResult ReadHead(const std::string& path, std::size_t maxBytes) const = 0;
    // Reads the file, or of a longer one only its last maxBytes bytes.
    virtual ReadResult ReadTail(const std::string& path, std::size_t maxBytes) const = 0;
    // Reads the whole file, however long.
    ReadResult ReadAll(const std::string& path) const {
        return ReadHead(path, std::numeric_limits<std::size_t>::max());
    }
    // Opens the file for appending, creating it when missing; null with the reason on failure.
    // As for ReadHead, only a regular file is opened, without waiting.
    virtual std::unique_ptr<AppendFile> OpenAppend(const std::string& path, std::string& error) = 0;
};

}  // namespace qlok
