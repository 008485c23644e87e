#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "posix_services.h"

namespace qlok::posix {

std::string ErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

namespace {

class PosixAppendFile final : public AppendFile {
  public:
    explicit PosixAppendFile(int fd) : fd_(fd) {}
    ~PosixAppendFile() override { ::close(fd_); }
    PosixAppendFile(const PosixAppendFile&) = delete;
    PosixAppendFile& operator=(const PosixAppendFile&) = delete;

    bool Append(std::string_view text) override {
        // One write: with O_APPEND the kernel places it whole at the end, so lines of
        // concurrent writers never interleave. A second write for a remainder could.
        ssize_t n = 0;
        do {
            n = ::write(fd_, text.data(), text.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            lastError_ = ErrorText(errno);
            return false;
        }
        if (static_cast<std::size_t>(n) < text.size()) {
            lastError_ = "only " + std::to_string(n) + " of " + std::to_string(text.size()) +
                         " bytes written";
            // End the fragment, so that the next line starts on a line of its own.
            if (::write(fd_, "\r\n", 2) < 0) {
                lastError_ += ": " + ErrorText(errno);
            }
            return false;
        }
        return true;
    }
    std::string LastError() const override { return lastError_; }

  private:
    int fd_;
    std::string lastError_;
};

}  // namespace

bool PosixFileSystem::FileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ReadResult PosixFileSystem::ReadAll(const std::string& path) const {
    return ReadTail(path, std::numeric_limits<std::size_t>::max());
}

ReadResult PosixFileSystem::ReadTail(const std::string& path, std::size_t maxBytes) const {
    ReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = ErrorText(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            ::close(fd);
            result.error = ErrorText(EISDIR);
            return result;
        }
        const auto size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
        if (size > maxBytes && ::lseek(fd, static_cast<off_t>(size - maxBytes), SEEK_SET) >= 0) {
            result.skipped = size - maxBytes;
        }
        result.data.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes)));
    }
    char buffer[1 << 16];
    while (result.data.size() < maxBytes) {
        const ssize_t n =
            ::read(fd, buffer, std::min(sizeof buffer, maxBytes - result.data.size()));
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = ErrorText(errno);
            result.data.clear();
            ::close(fd);
            return result;
        }
        result.data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.ok = true;
    return result;
}

std::unique_ptr<AppendFile> PosixFileSystem::OpenAppend(const std::string& path,
                                                        std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = ErrorText(errno);
        return nullptr;
    }
    return std::make_unique<PosixAppendFile>(fd);
}

}  // namespace qlok::posix
