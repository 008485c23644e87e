// The file rules written once over the few calls in which the desktops differ: each OS opens a
// regular file and reads, appends to and locks it; reading the head or the tail of a file, the
// words for what is no file to use and the handling of a write cut short are the same on all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/files.h"

namespace qlok {

// A regular file the OS opened; closed when destroyed.
class RegularFile {
  public:
    virtual ~RegularFile() = default;
    // The file's size in bytes, or nothing when the OS cannot tell.
    virtual std::optional<std::uint64_t> Size() = 0;
    // Reads at most size bytes from offset on: the count read, 0 at the end of the file, or -1
    // with the system's reason in error.
    virtual std::int64_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size,
                                std::string& error) = 0;
    // Writes text at the end of the file in one call, which places it whole there whoever else
    // appends, and ends a Lock: the count written (fewer when the write was cut short), or -1
    // with the system's reason in error.
    virtual std::int64_t Append(std::string_view text, std::string& error) = 0;
    // As AppendFile::Lock.
    virtual bool Lock(int waitMs) = 0;
};

// Why a path gave no regular file.
enum class OpenFailure { kNone, kMissing, kFolder, kNotRegular, kOther };

// The file, or why there is none; an Open returns either.
struct OpenedFile {
    OpenedFile(std::unique_ptr<RegularFile> opened) : file(std::move(opened)) {}
    OpenedFile(OpenFailure why, std::string reason = {}) : failure(why), error(std::move(reason)) {}

    std::unique_ptr<RegularFile> file;  // null when it did not open
    OpenFailure failure = OpenFailure::kNone;
    std::string error;  // the system's reason, for kMissing and kOther
};

// A FileSystem over an OS's regular files.
class RegularFileSystem : public FileSystem {
  public:
    enum class OpenFor {
        kReading,
        kAppending,  // creating a missing file; reading too, for EndsMidLine
    };

    ReadResult ReadHead(const std::string& path, std::size_t maxBytes) const override {
        return Read(path, maxBytes, false);
    }
    ReadResult ReadTail(const std::string& path, std::size_t maxBytes) const override {
        return Read(path, maxBytes, true);
    }
    std::unique_ptr<AppendFile> OpenAppend(const std::string& path, std::string& error) final;

  protected:
    // Opens the file at path without waiting (a FIFO or a device could block an open until a
    // peer came) and keeps it only when it is a regular file.
    virtual OpenedFile Open(const std::string& path, OpenFor purpose) const = 0;

  private:
    ReadResult Read(const std::string& path, std::size_t maxBytes, bool tail) const;
};

}  // namespace qlok
