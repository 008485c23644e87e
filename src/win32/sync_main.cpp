// qlok-sync.exe: one synchronisation with a Daytime server, without a window, for Task Scheduler
// and scripts. Run elevated (highest privileges, or as SYSTEM) it sets the clock; otherwise it
// says which rights it needs and ends with 1: it never asks for consent.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "console/headless.h"
#include "console/sync_command.h"
#include "desktop/module_state.h"
#include "desktop/systray.h"
#include "win32/win32_services.h"
#include "win32/win32_socket.h"

namespace qlok::win32 {

namespace {

using console::HeadlessCombo;
using console::HeadlessDesktop;
using console::HeadlessList;
using console::HeadlessText;
using console::HeadlessTimer;
using console::HeadlessWindow;

// A message-only window: where the asynchronous Winsock calls and the socket's timers report.
class MessageWindow {
  public:
    MessageWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QLOKsync";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageWindow() { DestroyWindow(window_); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return window_; }
    // A message for the window; true when it was handled.
    std::function<bool(UINT, WPARAM, LPARAM)> handler;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto* self =
            reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && self->handler && self->handler(message, wParam, lParam)) {
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

// The window logic on controls that draw nothing, the Winsock control on the message-only
// window, and the clock with nobody to ask for consent.
class SyncFrontEnd {
  public:
    explicit SyncFrontEnd(std::string serverArgument)
        : socket_(messages_.Handle(),
                  SocketEvents{
                      [this] { form_.Winsock1_Connect(); },
                      [this](std::int32_t bytesTotal) { form_.Winsock1_DataArrival(bytesTotal); },
                      [this] { form_.Winsock1_Close(); },
                      [this](std::int16_t number, const std::string& description) {
                          form_.Winsock1_Error(number, description);
                      },
                  }),
          platform_{window_,   combo1_,    list1_,   command1_,         command2_,
                    command3_, countDown_, timer1_,  socket_.Control(), clock_,
                    regional_, files_,     desktop_, desktop_,          desktop_,
                    desktop_,  log_},
          form_(platform_, std::move(serverArgument)) {
        messages_.handler = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            return socket_.HandleMessage(message, wParam, lParam);
        };
    }
    ~SyncFrontEnd() {
        messages_.handler = nullptr;
        if (Systray::MainForm == &form_) {
            ResetModuleState();
        }
    }
    SyncFrontEnd(const SyncFrontEnd&) = delete;
    SyncFrontEnd& operator=(const SyncFrontEnd&) = delete;

    // Loads the window, which starts the synchronisation, and handles messages until it has
    // ended; its exit status.
    int Run() {
        form_.Form_Load();
        MSG message{};
        while (form_.Outcome() == SyncOutcome::Running &&
               GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        return console::ExitStatus(form_.Outcome());
    }

  private:
    MessageWindow messages_;
    HeadlessWindow window_;
    HeadlessCombo combo1_;
    HeadlessList list1_;
    HeadlessText command1_{text::kResync};
    HeadlessText command2_{text::kShowClock};
    HeadlessText command3_{text::kRepeat};
    HeadlessText countDown_{text::kCountDownDefault};
    HeadlessTimer timer1_;
    Win32Socket socket_;
    Win32Clock clock_;  // no owner: nobody is asked for consent
    Win32Regional regional_;
    Win32FileSystem files_;
    HeadlessDesktop desktop_;
    console::StdoutLog log_;
    Platform platform_;
    QLOKfrm form_;
};

}  // namespace

}  // namespace qlok::win32

int main(int argc, char** argv) {
    return qlok::console::RunSyncCommand(argc, argv, [](std::string server) {
        qlok::win32::SyncFrontEnd frontEnd(std::move(server));
        return frontEnd.Run();
    });
}
