#include <windows.h>

#include "win32/win32_services.h"
#include "win32/win32_system_text.h"

namespace qlok::win32 {

namespace {

// Readers and writers never lock each other out: the history may be viewed while another
// instance appends to it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Win32File final : public RegularFile {
  public:
    explicit Win32File(HANDLE file) : file_(file) {}
    ~Win32File() override { CloseHandle(file_); }
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    std::optional<std::uint64_t> Size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_, &size)) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }
    std::int64_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size,
                        std::string& error) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &read, &at)) {
            const DWORD failure = GetLastError();
            if (failure == ERROR_HANDLE_EOF) {  // a read at an offset from the end on
                return 0;
            }
            error = SystemText(failure);
            return -1;
        }
        return read;
    }
    std::int64_t Append(std::string_view text, std::string& error) override {
        // One write: a handle without FILE_WRITE_DATA puts each write whole at the end.
        DWORD written = 0;
        if (!WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            error = SystemText(GetLastError());
            return -1;
        }
        return written;
    }
    // Nothing to wait for: every handle shares the file and each append lands whole.
    bool Lock(int) override { return true; }

  private:
    HANDLE file_;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

OpenedFile Win32FileSystem::Open(const std::string& path, OpenFor purpose) const {
    // Appending reads as well: EndsMidLine looks at the last byte.
    const bool reading = purpose == OpenFor::kReading;
    const HANDLE file = CreateFileA(
        path.c_str(), reading ? GENERIC_READ : FILE_APPEND_DATA | FILE_READ_DATA, kShareAll,
        nullptr, reading ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD failure = GetLastError();
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return {OpenFailure::kFolder};
        }
        return {failure == ERROR_FILE_NOT_FOUND ? OpenFailure::kMissing : OpenFailure::kOther,
                SystemText(failure)};
    }
    // Only a file on a disk: no console, pipe or device.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return {OpenFailure::kNotRegular};
    }
    return {std::make_unique<Win32File>(file)};
}

}  // namespace qlok::win32
