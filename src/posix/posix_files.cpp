#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <utility>

#include "posix/posix_error_text.h"
#include "posix/posix_services.h"

namespace qlok::posix {

namespace {

class PosixFile final : public RegularFile {
  public:
    PosixFile(int fd, std::function<void()> whileWaiting)
        : fd_(fd), whileWaiting_(std::move(whileWaiting)) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::optional<std::uint64_t> Size() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
    }
    std::int64_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size,
                        std::string& error) override {
        ssize_t n = 0;
        do {
            n = ::pread(fd_, buffer, size, static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            error = ErrorText(errno);
        }
        return n;
    }
    std::int64_t Append(std::string_view text, std::string& error) override {
        // With O_APPEND the kernel places the write whole at the end, so lines of concurrent
        // writers never interleave.
        ssize_t n = 0;
        do {
            n = ::write(fd_, text.data(), text.size());
        } while (n < 0 && errno == EINTR);
        const int failure = errno;
        ::flock(fd_, LOCK_UN);
        if (n < 0) {
            error = ErrorText(failure);
        }
        return n;
    }
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

  private:
    int fd_;
    std::function<void()> whileWaiting_;
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

OpenedFile PosixFileSystem::Open(const std::string& path, OpenFor purpose) const {
    // O_NONBLOCK: a FIFO or a device would block open() until a peer came. Appending reads as
    // well: EndsMidLine looks at the last byte.
    const int flags = purpose == OpenFor::kReading ? O_RDONLY : O_RDWR | O_APPEND | O_CREAT;
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int failure = errno;
        return {failure == ENOENT   ? OpenFailure::kMissing
                : failure == EISDIR ? OpenFailure::kFolder
                : failure == ENXIO  ? OpenFailure::kNotRegular
                                    : OpenFailure::kOther,
                ErrorText(failure)};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {S_ISDIR(info.st_mode) ? OpenFailure::kFolder : OpenFailure::kNotRegular};
    }
    return {std::make_unique<PosixFile>(fd, whileWaiting_)};
}

}  // namespace qlok::posix
