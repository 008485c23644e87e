#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "win32/win32_services.h"
#include "win32/win32_system_text.h"

namespace qlok::win32 {

namespace {

// Readers and writers never lock each other out: the history may be viewed while another
// instance appends to it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens only a file on a disk (no console, pipe or device); INVALID_HANDLE_VALUE with the
// reason otherwise.
HANDLE OpenRegular(const std::string& path, DWORD access, DWORD disposition, std::string& error,
                   bool* missing = nullptr) {
    const HANDLE file = CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD failure = GetLastError();
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (missing != nullptr) {
            *missing = failure == ERROR_FILE_NOT_FOUND;
        }
        error = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                    ? "it is a folder"
                    : SystemText(failure);
        return INVALID_HANDLE_VALUE;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        error = "it is not a regular file";
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

class Win32AppendFile final : public AppendFile {
  public:
    explicit Win32AppendFile(HANDLE file) : file_(file) {}
    ~Win32AppendFile() override { CloseHandle(file_); }
    Win32AppendFile(const Win32AppendFile&) = delete;
    Win32AppendFile& operator=(const Win32AppendFile&) = delete;

    bool Append(std::string_view text) override {
        // One write: a handle without FILE_WRITE_DATA puts each write whole at the end.
        DWORD written = 0;
        if (!WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            lastError_ = SystemText(GetLastError());
            return false;
        }
        if (written < text.size()) {
            // The fragment stays (cutting it could cut another writer's line); the next
            // append ends it.
            lastError_ = "only " + std::to_string(written) + " of " + std::to_string(text.size()) +
                         " bytes written";
            return false;
        }
        return true;
    }
    std::string LastError() const override { return lastError_; }
    // Nothing to wait for: every handle shares the file and each append lands whole.
    bool Lock(int) override { return true; }
    bool EndsMidLine() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_, &size) || size.QuadPart == 0) {
            return false;
        }
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(size.QuadPart - 1);
        at.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
        char last = '\n';
        DWORD read = 0;
        return ReadFile(file_, &last, 1, &read, &at) && read == 1 && last != '\n';
    }

  private:
    HANDLE file_;
    std::string lastError_;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ReadResult Win32FileSystem::ReadHead(const std::string& path, std::size_t maxBytes) const {
    return Read(path, maxBytes, false);
}

ReadResult Win32FileSystem::ReadTail(const std::string& path, std::size_t maxBytes) const {
    return Read(path, maxBytes, true);
}

ReadResult Win32FileSystem::Read(const std::string& path, std::size_t maxBytes, bool tail) {
    ReadResult result;
    const HANDLE file =
        OpenRegular(path, GENERIC_READ, OPEN_EXISTING, result.error, &result.missing);
    if (file == INVALID_HANDLE_VALUE) {
        return result;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        const auto bytes = static_cast<std::uint64_t>(size.QuadPart);
        LARGE_INTEGER start{};
        start.QuadPart =
            tail ? static_cast<LONGLONG>(bytes - std::min<std::uint64_t>(bytes, maxBytes)) : 0;
        if (start.QuadPart > 0 && SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
            result.skipped = static_cast<std::uint64_t>(start.QuadPart);
        }
        result.data.reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(bytes - result.skipped, maxBytes)));
    }
    // Of a head, one byte more tells whether anything follows.
    const std::size_t limit =
        tail || maxBytes == std::numeric_limits<std::size_t>::max() ? maxBytes : maxBytes + 1;
    char buffer[1 << 16];
    DWORD read = 0;
    while (result.data.size() < limit) {
        const auto want = static_cast<DWORD>(std::min(sizeof buffer, limit - result.data.size()));
        if (!ReadFile(file, buffer, want, &read, nullptr)) {
            result.error = SystemText(GetLastError());
            result.data.clear();
            CloseHandle(file);
            return result;
        }
        if (read == 0) {
            break;
        }
        result.data.append(buffer, read);
    }
    CloseHandle(file);
    if (result.data.size() > maxBytes) {
        result.data.resize(maxBytes);
        result.more = true;
    }
    result.ok = true;
    return result;
}

std::unique_ptr<AppendFile> Win32FileSystem::OpenAppend(const std::string& path,
                                                        std::string& error) {
    // Read as well: EndsMidLine looks at the last byte.
    const HANDLE file = OpenRegular(path, FILE_APPEND_DATA | FILE_READ_DATA, OPEN_ALWAYS, error);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<Win32AppendFile>(file);
}

}  // namespace qlok::win32
