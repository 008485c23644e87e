// The server's close: compare the clocks, correct the local one, keep the history.
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "app/qlokfrm.h"
#include "app/texts.h"
#include "runtime/datetime.h"
#include "sync/clock_step.h"
#include "sync/daytime.h"
#include "sync/history.h"
#include "sync/reason.h"

namespace qlok {

RegionalFormats QLOKfrm::Formats() const {
    return ComparisonFormats(platform_.regional.Formats());
}

bool QLOKfrm::InStep() const {
    return IsInStep(ClockOffset);
}

bool QLOKfrm::DeferDuringCorrection(std::function<void()> event) {
    if (!correcting_) {
        return false;
    }
    deferred_.push_back(std::move(event));
    return true;
}

void QLOKfrm::Winsock1_Close() {
    if (DeferDuringCorrection([this] { Winsock1_Close(); })) {
        return;
    }
    correcting_ = true;
    CompareAndCorrect();
    correcting_ = false;
    if (outcome_ == SyncOutcome::Running) {
        outcome_ = SyncOutcome::NotSet;  // no comparison, or no history to record a setting in
    }
    while (!deferred_.empty()) {
        const std::function<void()> event = std::move(deferred_.front());
        deferred_.pop_front();
        event();
    }
    if (SyncEnded && outcome_ != SyncOutcome::Running) {
        SyncEnded();
    }
}

void QLOKfrm::CompareAndCorrect() {
    const RegionalFormats formats = Formats();
    const int thisYear = platform_.clock.LocalNow().year;
    if (!replyRejected_ && !rawReply_.empty() && rawReply_.size() < kReplyLength) {
        // The server closed before a whole reply arrived.
        AddLine(std::string(text::kIncorrectData));
        ReceiveBuffer.clear();
    }
    AddLine(std::string(text::kClosingConnection));
    Winsock1.Close();
    AddLine(std::string(text::kSocketsClosed));
    if (ReceiveBuffer.empty()) {
        return;
    }

    // Only a reply in the exact layout is a reading; from anything else the clock would be set
    // to nonsense. The reply is read here once; the comparison goes through the local time's
    // text in the regional format, as the window shows it.
    const std::optional<DaytimeReading> reading = ReadReply(ReceiveBuffer, rawReply_);
    if (!reading) {
        AddLine("      reply holds no valid date and time: " + ReceiveBuffer);
        return;
    }
    const std::string serverLocalText = LocalTimeText(reading->utc);
    const auto serverLocal = TextToDate(serverLocalText, formats, thisYear);
    const auto arrival = TextToDate(ArrivalLocalTime, formats, thisYear);
    if (!serverLocal || !arrival) {
        AddLine("      local time cannot be read back in the regional format: " +
                (serverLocal ? ArrivalLocalTime : serverLocalText));
        return;
    }
    const long long local = TotalSeconds(*arrival);
    const long long server = TotalSeconds(*serverLocal);
    ClockOffset = FromSeconds(-std::llabs(local - server));
    OffsetDirection = std::string(local < server ? text::kSlow : text::kFast);

    const std::string serverText = DateToText(*serverLocal, formats);
    const std::string offsetText = DateToText(ClockOffset, formats);
    if (InStep()) {
        OffsetDirection.clear();
    } else {
        Me.SetCaption(std::string(text::kCaption) + " " + serverText + " " + offsetText +
                      OffsetDirection);
    }
    AddLine(std::string(text::kBeginning));
    AddLine(std::string(text::kNtpValue) + "\t" + serverText);
    AddLine(std::string(text::kSystemDate) + "\t" + ArrivalLocalTime);
    AddLine(std::string(text::kTimeDifference) + "\t\t   " + offsetText + OffsetDirection);
    if (reading->health != '0') {
        AddLine(std::string("      server reports itself unhealthy (health ") + reading->health +
                ") - clock not set");
        if (!InStep()) {
            Me.SetCaption(Me.Caption() + " not set");  // the offset above was not corrected
        }
        return;
    }
    if (HoldCorrection) {
        SystemTimeRecord utc;
        DateToSystemTime(reading->utc, utc);
        if (HoldCorrection({Combo1.Text(), ReceiveBuffer, UnixSeconds(utc), arrival_})) {
            outcome_ = SyncOutcome::Held;
            return;
        }
    }
    Correct(reading->utc);
}

void QLOKfrm::ApplyServerTime(std::string utcText) {
    if (const auto utc = ReadRewrittenReply(utcText)) {
        Correct(*utc);
    } else if (InStep()) {
        outcome_ = SyncOutcome::InStep;
    }
}

void QLOKfrm::Correct(DateValue utc) {
    if (InStep()) {
        outcome_ = SyncOutcome::InStep;
        return;
    }
    SystemTimeRecord record;
    DateToSystemTime(utc, record);

    // The clock is set also when the history cannot be kept; the list then says why.
    std::string error;
    std::unique_ptr<AppendFile> history =
        platform_.files.OpenAppend(std::string(text::kHistoryFile), error);
    const bool set = platform_.clock.SetSystemTime(record, arrival_) != 0;
    outcome_ = set ? SyncOutcome::Set : SyncOutcome::Refused;
    if (set) {
        AddLine(std::string(text::kSyncOk));
        List1.SetTopIndex(List1.NewIndex());
    } else {
        AddLine(std::string(text::kSyncFailed));
        for (const std::string& reason : ReasonLines(platform_.clock.LastError())) {
            AddLine(reason);
        }
        Me.SetCaption(Me.Caption() + std::string(text::kHistoryFailed));
    }
    const std::string line =
        HistoryLine(ArrivalLocalTime, DateToText(ClockOffset, Formats()), OffsetDirection, set);
    // Another program may hold the file for as long as it likes (a backup, an editor): after a
    // short wait the line goes in all the same, in its one write that no other writer tears.
    if (history) {
        history->Lock(kHistoryLockWaitMs);
    }
    // A fragment that an earlier failed write left is ended in the same write as the new line,
    // so that no line ever starts glued to it.
    if (!history || !history->Append(history->EndsMidLine() ? "\r\n" + line : line)) {
        AddLine("      the history line could not be written to " +
                std::string(text::kHistoryFile) + ": " + (history ? history->LastError() : error));
    }
    history.reset();  // closed, also after a failed write
}

std::string QLOKfrm::ToLocalTimeText(const std::string& utcText) const {
    const auto utc = ReadRewrittenReply(utcText);
    return utc ? LocalTimeText(*utc) : std::string();
}

std::string QLOKfrm::LocalTimeText(DateValue utc) const {
    SystemTimeRecord record;
    DateToSystemTime(utc, record);
    const long long local =
        TotalSeconds(SystemTimeToDate(record)) + platform_.clock.UtcOffsetSecondsNow();
    return DateToText(FromSeconds(local), Formats());
}

void QLOKfrm::DateToSystemTime(DateValue value, SystemTimeRecord& record) {
    const DateParts p = SplitDate(value);
    record.wYear = static_cast<std::uint16_t>(p.year);
    record.wMonth = static_cast<std::uint16_t>(p.month);
    record.wDay = static_cast<std::uint16_t>(p.day);
    record.wHour = static_cast<std::uint16_t>(p.hour);
    record.wMinute = static_cast<std::uint16_t>(p.minute);
    record.wSecond = static_cast<std::uint16_t>(p.second);
}

DateValue QLOKfrm::SystemTimeToDate(const SystemTimeRecord& record) {
    const DateParts p{record.wYear, record.wMonth,  record.wDay,
                      record.wHour, record.wMinute, record.wSecond};
    return MakeDate(p).value_or(0.0);
}

}  // namespace qlok
