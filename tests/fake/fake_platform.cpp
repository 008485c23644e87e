#include "fake_platform.h"

#include <cstdio>

#include "desktop/module_state.h"

namespace qlok::fake {

namespace {

class FakeAppendFile final : public AppendFile {
  public:
    FakeAppendFile(FakeFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~FakeAppendFile() override { ++files_.closes; }
    FakeAppendFile(const FakeAppendFile&) = delete;
    FakeAppendFile& operator=(const FakeAppendFile&) = delete;

    bool Append(std::string_view text) override {
        if (files_.diskFull) {
            return false;
        }
        files_.files[path_] += text;
        return true;
    }
    std::string LastError() const override {
        return files_.diskFull ? "No space left on device" : "";
    }

  private:
    FakeFiles& files_;
    std::string path_;
};

}  // namespace

std::unique_ptr<AppendFile> FakeFiles::OpenAppend(const std::string& path, std::string& error) {
    if (readOnly || folders.contains(path)) {
        error = "Permission denied";
        return nullptr;
    }
    ++opens;
    files.try_emplace(path);
    return std::make_unique<FakeAppendFile>(*this, path);
}

FakeApp::FakeApp(std::string commandLine)
    : winsock1(SocketEvents{[this] { form.Winsock1_Connect(); },
                            [this](std::int32_t count) { form.Winsock1_DataArrival(count); },
                            [this] { form.Winsock1_Close(); },
                            [this](std::int16_t number, const std::string& description) {
                                form.Winsock1_Error(number, description);
                            }}),
      platform{window,    combo1,       list1,    command1,   command2, command3,
               countDown, timer1,       winsock1, clock,      regional, files,
               shell,     messageBoxes, tray,     windowMenu, log},
      form(platform, std::move(commandLine)) {
    window.onResize = [this] { form.Form_Resize(); };
    ResetModuleState();
}

FakeApp::~FakeApp() {
    ResetModuleState();
}

void FakeApp::Connected() {
    winsock1.attempt.Connected();
    winsock1.Deliver();
}

void FakeApp::Receive(const std::string& bytes) {
    winsock1.attempt.Received(bytes);
    winsock1.Deliver();
}

void FakeApp::ServerCloses() {
    winsock1.attempt.PeerClosed();
    winsock1.Deliver();
}

void FakeApp::Exchange(const std::string& reply) {
    form.Command1_Click();
    Connected();
    Receive(reply);
    ServerCloses();
}

std::string FakeApp::History() const {
    const auto it = files.files.find("QLOK.log");
    return it == files.files.end() ? std::string() : it->second;
}

std::string NistReply(int yy, int month, int day, int hour, int minute, int second) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer,
                  "\n61014 %02d-%02d-%02d %02d:%02d:%02d 00 0 0 752.6 UTC(NIST) * \n", yy, month,
                  day, hour, minute, second);
    return buffer;
}

}  // namespace qlok::fake
