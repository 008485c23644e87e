#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
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

// Why a path that opened is no file to use, in the words the window lists.
constexpr const char* kFolder = "it is a folder";
constexpr const char* kNotRegular = "it is not a regular file";

// Opens without waiting (a FIFO or a device would block open() until a peer came) and keeps
// only a regular file; -1 with the reason otherwise.
int OpenRegular(const std::string& path, int flags, std::string& error, bool* missing = nullptr) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int failure = errno;
        if (missing != nullptr) {
            *missing = failure == ENOENT;
        }
        error = failure == EISDIR ? kFolder : failure == ENXIO ? kNotRegular : ErrorText(failure);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? kFolder : kNotRegular;
        ::close(fd);
        return -1;
    }
    return fd;
}

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
        const int failure = errno;
        ::flock(fd_, LOCK_UN);
        if (n < 0) {
            lastError_ = ErrorText(failure);
            return false;
        }
        if (static_cast<std::size_t>(n) < text.size()) {
            // The fragment stays: cutting it off could cut another writer's line behind it.
            // The next append ends it.
            lastError_ = "only " + std::to_string(n) + " of " + std::to_string(text.size()) +
                         " bytes written";
            return false;
        }
        return true;
    }
    std::string LastError() const override { return lastError_; }
    bool EndsMidLine() override {
        // Other instances wait (for one write) so that no fragment comes between look and write.
        ::flock(fd_, LOCK_EX);
        struct stat info {};
        char last = '\n';
        return ::fstat(fd_, &info) == 0 && info.st_size > 0 &&
               ::pread(fd_, &last, 1, info.st_size - 1) == 1 && last != '\n';
    }

  private:
    int fd_;
    std::string lastError_;
};

}  // namespace

PosixFileSystem::PosixFileSystem() {
    // A write past the file size limit then fails with EFBIG instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool PosixFileSystem::FileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ReadResult PosixFileSystem::ReadAll(const std::string& path) const {
    return ReadTail(path, std::numeric_limits<std::size_t>::max());
}

ReadResult PosixFileSystem::ReadTail(const std::string& path, std::size_t maxBytes) const {
    ReadResult result;
    const int fd = OpenRegular(path, O_RDONLY, result.error, &result.missing);
    if (fd < 0) {
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
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
    // Read as well as write: EndsMidLine looks at the last byte.
    const int fd = OpenRegular(path, O_RDWR | O_APPEND | O_CREAT, error);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixAppendFile>(fd);
}

}  // namespace qlok::posix
