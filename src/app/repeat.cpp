// Repeat mode: a resync every N steps of 59 one-second ticks, counted down in the caption.
#include "app/layout.h"
#include "app/qlokfrm.h"
#include "app/repeat_rules.h"
#include "app/texts.h"
#include "desktop/systray.h"
#include "runtime/numbers.h"

namespace qlok {

std::string CaptionWithCountdown(std::string_view caption, std::string_view count) {
    const std::size_t suffix = caption.find(text::kSyncIn);
    std::string out(caption.substr(0, suffix));
    out += text::kSyncIn;
    out += count;
    out += text::kMinsSuffix;
    return out;
}

void QLOKfrm::Command3_Click() {
    if (Command3.Caption() != text::kStopRepeat) {
        RepeatMinutesSaved = CountDown.Text();
        Timer1.SetInterval(layout::kTimerInterval);
        Timer1.SetEnabled(true);
        SecondsToNextMinute = 60;
        Command3.SetCaption(std::string(text::kStopRepeat));
    } else {
        Command3.SetCaption(std::string(text::kRepeat));
        CountDown.SetText(RepeatMinutesSaved);
        SecondsToNextMinute = 60;
        Timer1.SetEnabled(false);
    }
}

void QLOKfrm::Timer1_Timer() {
    // A tick kept during a correction still counts, unless what ran before it stopped the timer.
    if (DeferDuringCorrection([this] {
            if (Timer1.Enabled()) {
                Timer1_Timer();
            }
        })) {
        return;
    }
    --SecondsToNextMinute;
    if (SecondsToNextMinute > 1) {
        return;
    }
    SecondsToNextMinute = 60;

    const std::string separator = Formats().decimalSeparator;
    const std::string countText = CountDown.Text();
    const auto count = ParseNumber(countText, separator);
    if (!count) {
        AddLine("repeat stopped: the minutes box holds no number (\"" + countText + "\")");
        Command3_Click();
        return;
    }
    CountDown.SetText(NumberToText(*count - 1, separator));
    Me.SetCaption(CaptionWithCountdown(Me.Caption(), CountDown.Text()));
    if (Systray::InTrayMode != Systray::kFalse) {
        Nid_Refresh();
    }
    const auto left = ParseNumber(CountDown.Text(), separator);
    if (left && *left <= 0) {
        ResyncAndCountAgain();
    }
}

void QLOKfrm::Resumed() {
    // The network is seldom back at once; a second wake before the resync changes nothing.
    if (Command3.Caption() != text::kStopRepeat || wakeResyncPending_) {
        return;
    }
    wakeResyncPending_ = true;
    platform_.wakeDelay.Start(kWakeResyncDelayMs, [this] { WakeResync(); });
}

void QLOKfrm::WakeResync() {
    if (DeferDuringCorrection([this] { WakeResync(); })) {
        return;
    }
    wakeResyncPending_ = false;
    if (Command3.Caption() == text::kStopRepeat) {  // unless repeat mode ended meanwhile
        SecondsToNextMinute = 60;
        ResyncAndCountAgain();
    }
}

void QLOKfrm::ResyncAndCountAgain() {
    CountDown.SetText(RepeatMinutesSaved);
    Timer1.SetEnabled(false);
    Command1_Click();
    Timer1.SetEnabled(true);
}

}  // namespace qlok
