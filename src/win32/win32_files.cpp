#include <windows.h>

#include "win32/win32_services.h"

namespace qlok::win32 {

namespace {

// Readers and writers never lock each other out: the history may be viewed while another
// instance appends to it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Win32AppendFile final : public AppendFile {
  public:
    explicit Win32AppendFile(HANDLE file) : file_(file) {}
    ~Win32AppendFile() override { CloseHandle(file_); }
    Win32AppendFile(const Win32AppendFile&) = delete;
    Win32AppendFile& operator=(const Win32AppendFile&) = delete;

    bool Append(std::string_view text) override {
        // One write: a handle with FILE_APPEND_DATA only puts each write whole at the end.
        DWORD written = 0;
        if (!WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            lastError_ = SystemText(GetLastError());
            return false;
        }
        if (written < text.size()) {
            lastError_ = "only " + std::to_string(written) + " of " + std::to_string(text.size()) +
                         " bytes written";
            // End the fragment, so that the next line starts on a line of its own.
            WriteFile(file_, "\r\n", 2, &written, nullptr);
            return false;
        }
        return true;
    }
    std::string LastError() const override { return lastError_; }

  private:
    HANDLE file_;
    std::string lastError_;
};

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ReadResult Win32FileSystem::ReadAll(const std::string& path) const {
    ReadResult result;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.error = SystemText(GetLastError());
        return result;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        result.data.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[1 << 16];
    DWORD read = 0;
    while (true) {
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
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
    result.ok = true;
    return result;
}

std::unique_ptr<AppendFile> Win32FileSystem::OpenAppend(const std::string& path,
                                                        std::string& error) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = SystemText(GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32AppendFile>(file);
}

}  // namespace qlok::win32
