#include "platform/regular_file_system.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qlok {

namespace {

// A read asks the OS for at most this much at a time.
constexpr std::size_t kReadChunk = std::size_t{1} << 16;

// Why a path gave no file to use, in the words the window lists.
std::string FailureText(const OpenedFile& opened) {
    return opened.failure == OpenFailure::kFolder       ? "it is a folder"
           : opened.failure == OpenFailure::kNotRegular ? "it is not a regular file"
                                                        : opened.error;
}

class RulesAppendFile final : public AppendFile {
  public:
    explicit RulesAppendFile(std::unique_ptr<RegularFile> file) : file_(std::move(file)) {}

    bool Append(std::string_view text) override {
        const std::int64_t written = file_->Append(text, lastError_);
        if (written < 0) {
            return false;
        }
        if (static_cast<std::uint64_t>(written) < text.size()) {
            // The fragment stays: cutting it off could cut another writer's line behind it.
            // The next append ends it.
            lastError_ = "only " + std::to_string(written) + " of " + std::to_string(text.size()) +
                         " bytes written";
            return false;
        }
        return true;
    }
    std::string LastError() const override { return lastError_; }
    bool Lock(int waitMs) override { return file_->Lock(waitMs); }
    bool EndsMidLine() override {
        const std::optional<std::uint64_t> size = file_->Size();
        char last = '\n';
        std::string error;
        return size && *size > 0 && file_->ReadAt(*size - 1, &last, 1, error) == 1 && last != '\n';
    }

  private:
    std::unique_ptr<RegularFile> file_;
    std::string lastError_;
};

}  // namespace

ReadResult RegularFileSystem::Read(const std::string& path, std::size_t maxBytes, bool tail) const {
    ReadResult result;
    const OpenedFile opened = Open(path, OpenFor::kReading);
    if (!opened.file) {
        result.missing = opened.failure == OpenFailure::kMissing;
        result.error = FailureText(opened);
        return result;
    }
    if (const std::optional<std::uint64_t> size = opened.file->Size()) {
        if (tail && *size > maxBytes) {
            result.skipped = *size - maxBytes;
        }
        result.data.reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(*size - result.skipped, maxBytes)));
    }
    // Of a head, one byte more tells whether anything follows.
    const std::size_t limit =
        tail || maxBytes == std::numeric_limits<std::size_t>::max() ? maxBytes : maxBytes + 1;
    while (result.data.size() < limit) {
        const std::size_t have = result.data.size();
        const std::size_t want = std::min(kReadChunk, limit - have);
        result.data.resize(have + want);
        const std::int64_t n = opened.file->ReadAt(result.skipped + have, result.data.data() + have,
                                                   want, result.error);
        if (n < 0) {
            result.data.clear();
            return result;
        }
        result.data.resize(have + static_cast<std::size_t>(n));
        if (n == 0) {
            break;
        }
    }
    if (result.data.size() > maxBytes) {
        result.data.resize(maxBytes);
        result.more = true;
    }
    result.ok = true;
    return result;
}

std::unique_ptr<AppendFile> RegularFileSystem::OpenAppend(const std::string& path,
                                                          std::string& error) {
    OpenedFile opened = Open(path, OpenFor::kAppending);
    if (!opened.file) {
        error = FailureText(opened);
        return nullptr;
    }
    return std::make_unique<RulesAppendFile>(std::move(opened.file));
}

}  // namespace qlok
