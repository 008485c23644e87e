// qlok-sync.exe: the clock set from Daytime servers, without a window, for Task Scheduler and
// scripts. Run elevated (highest privileges, or as SYSTEM) it sets the clock; otherwise it
// says which rights it needs and ends with 1: it never asks for consent.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "console/headless.h"
#include "console/sync_command.h"
#include "sync/unattended_run.h"
#include "sync/winsock_events.h"
#include "win32/win32_services.h"
#include "win32/win32_socket.h"

namespace qlok::win32 {

namespace {

using console::HeadlessControls;

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

// Timers on the message-only window beside the socket's (2 and 3).
enum : UINT_PTR { kRequestDelayId = 4, kWakeDelayId, kRunNextId, kRunLimitId };

// The window logic on controls that draw nothing, the Winsock control on the message-only
// window, and the clock with nobody to ask for consent; the servers in turn, or with once the
// one the argument names.
class SyncFrontEnd {
  public:
    SyncFrontEnd(std::string serverArgument, bool once)
        : socket_(messages_.Handle(), clock_, WinsockEvents(form_)),
          platform_(controls_.With(socket_.Control(), clock_, regional_, files_, log_,
                                   requestDelay_, wakeDelay_)),
          form_(platform_, once ? serverArgument : std::string()),
          serverArgument_(std::move(serverArgument)),
          once_(once) {
        messages_.handler = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_TIMER || message == kPostedMessage) {
                for (Win32OneShotTimer* timer : {&requestDelay_, &runNext_, &runLimit_}) {
                    if (timer->Fire(message, wParam, lParam)) {
                        return true;
                    }
                }
            }
            return socket_.HandleMessage(message, wParam, lParam);
        };
    }
    ~SyncFrontEnd() { messages_.handler = nullptr; }
    SyncFrontEnd(const SyncFrontEnd&) = delete;
    SyncFrontEnd& operator=(const SyncFrontEnd&) = delete;

    // Loads the window, starts the run and handles messages until it has ended; its exit
    // status.
    int Run() {
        form_.Form_Load();
        if (!once_) {
            run_.Start(serverArgument_);
        }
        MSG message{};
        while (!Finished() && GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        return once_ ? console::ExitStatus(form_.Outcome()) : run_.ExitStatus();
    }

  private:
    MessageWindow messages_;
    HeadlessControls controls_;
    Win32Clock clock_;  // no owner: nobody is asked for consent
    Win32Socket socket_;
    Win32Regional regional_;
    Win32FileSystem files_;
    console::StdoutLog log_;
    Win32OneShotTimer requestDelay_{messages_.Handle(), kRequestDelayId};
    Win32OneShotTimer wakeDelay_{messages_.Handle(), kWakeDelayId};  // no sleep is watched here
    Win32OneShotTimer runNext_{messages_.Handle(), kRunNextId};
    Win32OneShotTimer runLimit_{messages_.Handle(), kRunLimitId};
    Platform platform_;
    QLOKfrm form_;
    UnattendedRun run_{form_, runNext_, runLimit_};
    std::string serverArgument_;
    bool once_;

    bool Finished() const {
        return once_ ? form_.Outcome() != SyncOutcome::Running : run_.Finished();
    }
};

}  // namespace

}  // namespace qlok::win32

int main(int argc, char** argv) {
    return qlok::console::RunSyncCommand(argc, argv, [](std::string server, bool once) {
        qlok::win32::SyncFrontEnd frontEnd(std::move(server), once);
        return frontEnd.Run();
    });
}
