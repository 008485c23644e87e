#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "posix/posix_error_text.h"
#include "posix/posix_services.h"

namespace qlok::posix {

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
    PosixAppendFile(int fd, std::function<void()> whileWaiting)
        : fd_(fd), whileWaiting_(std::move(whileWaiting)) {}
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
    bool Lock(int waitMs) override {
        // Another program may hold the lock for as long as it likes (a backup, an editor,
        // flock(1)): asked again every few milliseconds, never waited for without a limit.
        constexpr int kPollMs = 20;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                return true;
            }
            if ((errno != EWOULDBLOCK && errno != EINTR) ||
                std::chrono::steady_clock::now() >= until) {
                return false;
            }
            if (whileWaiting_) {
                whileWaiting_();
            }
            ::poll(nullptr, 0, kPollMs);
        }
    }
    bool EndsMidLine() override {
        struct stat info {};
        char last = '\n';
        return ::fstat(fd_, &info) == 0 && info.st_size > 0 &&
               ::pread(fd_, &last, 1, info.st_size - 1) == 1 && last != '\n';
    }

  private:
    int fd_;
    std::function<void()> whileWaiting_;
    std::string lastError_;
};

}  // namespace

PosixFileSystem::PosixFileSystem(std::function<void()> whileWaiting)
    : whileWaiting_(std::move(whileWaiting)) {
    // A write past the file size limit then fails with EFBIG instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool PosixFileSystem::FileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ReadResult PosixFileSystem::ReadHead(const std::string& path, std::size_t maxBytes) const {
    return Read(path, maxBytes, false);
}

ReadResult PosixFileSystem::ReadTail(const std::string& path, std::size_t maxBytes) const {
    return Read(path, maxBytes, true);
}

ReadResult PosixFileSystem::Read(const std::string& path, std::size_t maxBytes, bool tail) {
    ReadResult result;
    const int fd = OpenRegular(path, O_RDONLY, result.error, &result.missing);
    if (fd < 0) {
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        const auto size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
        if (tail && size > maxBytes &&
            ::lseek(fd, static_cast<off_t>(size - maxBytes), SEEK_SET) >= 0) {
            result.skipped = size - maxBytes;
        }
        result.data.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes)));
    }
    char buffer[1 << 16];
    // Of a head, one byte more tells whether anything follows.
    const std::size_t limit =
        tail || maxBytes == std::numeric_limits<std::size_t>::max() ? maxBytes : maxBytes + 1;
    while (result.data.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - result.data.size()));
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
    if (result.data.size() > maxBytes) {
        result.data.resize(maxBytes);
        result.more = true;
    }
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
    return std::make_unique<PosixAppendFile>(fd, whileWaiting_);
}

}  // namespace qlok::posix
