// One Daytime exchange: Resync, and the socket's connect, data and error events.

#include <algorithm>
#include <cstdlib>

#include "app/qlokfrm.h"
#include "app/startup.h"
#include "app/texts.h"
#include "platform/winapi_values.h"
#include "runtime/datetime.h"
#include "sync/daytime.h"
#include "sync/winsock_events.h"

namespace qlok {

void QLOKfrm::Command1_Click() {
    outcome_ = SyncOutcome::Running;
    List1.Clear();
    AddLine(std::string(text::kTarget) + ShownServer(Combo1.Text()));
    AddLine(std::string(text::kOpening));
    ReceiveBuffer.clear();
    rawReply_.clear();
    replyBytes_ = 0;
    replyRejected_ = false;
    historyNoticeListed_ = false;
    if (Winsock1.State() != win::kSckClosed) {
        Winsock1.Close();
    }
    platform_.requestDelay.Stop();  // a request still held is replaced by this one
    Request(Combo1.Text());
}

void QLOKfrm::Request(const std::string& host) {
    const std::int64_t now = platform_.clock.PreciseNow().monotonicMicroseconds;
    const auto last = lastRequest_.find(host);
    const std::int64_t wait =
        last == lastRequest_.end()
            ? 0
            : std::clamp<std::int64_t>(last->second + kRequestSpacingMicroseconds - now, 0,
                                       kRequestSpacingMicroseconds);
    if (wait == 0) {
        Connect(host);
        return;
    }
    AddLine("   waiting " + std::to_string((wait + 999'999) / 1'000'000) +
            " s: time servers refuse requests less than 4 s apart");
    platform_.requestDelay.Start(static_cast<int>((wait + 999) / 1000),
                                 [this, host] { Connect(host); });
}

void QLOKfrm::Connect(const std::string& host) {
    lastRequest_[host] = platform_.clock.PreciseNow().monotonicMicroseconds;
    Winsock1.SetRemoteHost(host);
    Winsock1.SetRemotePort(text::kDaytimePort);
    if (const auto failure = Winsock1.Connect()) {
        Winsock1_Error(ErrorNumber16(failure->number), failure->description);
    }
}

bool QLOKfrm::Abandon() {
    if (outcome_ != SyncOutcome::Running || correcting_) {
        return false;
    }
    platform_.requestDelay.Stop();
    if (Winsock1.State() != win::kSckClosed) {
        Winsock1.Close();
    }
    outcome_ = SyncOutcome::NotSet;
    return true;
}

void QLOKfrm::Winsock1_Connect() {
    if (DeferDuringCorrection([this] { Winsock1_Connect(); })) {
        return;
    }
    AddLine(std::string(text::kConnectionMade));
}

void QLOKfrm::Winsock1_DataArrival(std::int32_t bytesTotal) {
    if (DeferDuringCorrection([this, bytesTotal] { Winsock1_DataArrival(bytesTotal); })) {
        return;
    }
    // TCP may deliver the reply in pieces: judge all bytes of the attempt, not one event.
    const bool firstBytes = rawReply_.empty();
    const std::string data = Winsock1.GetData();
    replyBytes_ += data.size();
    rawReply_ += data;
    if (firstBytes && !rawReply_.empty()) {
        arrival_ = platform_.clock.PreciseNow();  // what a late setting of the clock counts from
    }
    if (rawReply_.size() > kReplyLength + 1) {
        rawReply_.resize(kReplyLength + 1);  // too long already; the rest cannot matter
    }
    ReceiveBuffer = RewriteReply(rawReply_);
    // The reply tells the time of its first byte; one that dribbles in is no reading at all.
    bool spread = false;
    if (const auto now = MakeDate(platform_.clock.LocalNow())) {
        if (firstBytes && !rawReply_.empty()) {
            ArrivalLocalTime = DateToText(*now, Formats());
            firstByteSecond_ = TotalSeconds(*now);
        }
        spread = !rawReply_.empty() && std::llabs(TotalSeconds(*now) - firstByteSecond_) > 1;
    }
    AddLine(std::string(text::kDataReceived) + ReceiveBuffer + "    (" +
            std::to_string(bytesTotal) + " bytes)");
    const bool tooLong = rawReply_.size() > kReplyLength;
    if (replyRejected_ || tooLong || spread) {
        replyRejected_ = true;
        ReceiveBuffer.clear();
        AddLine(std::string(text::kIncorrectData));
    }
    if (tooLong) {
        // Nothing the server sends now can make a reply: a server that never stops would
        // otherwise keep the attempt, and add a line for every read, until the time-out.
        outcome_ = SyncOutcome::NotSet;
        AddLine("      reply too long (" + std::to_string(replyBytes_) + " bytes, a reply has " +
                std::to_string(kReplyLength) + ") - no more is read");
        AddLine(std::string(text::kClosingConnection));
        Winsock1.Close();
        AddLine(std::string(text::kSocketsClosed));
        if (SyncEnded) {
            SyncEnded();
        }
    }
}

void QLOKfrm::Winsock1_Error(std::int16_t number, const std::string& description) {
    if (DeferDuringCorrection(
            [this, number, description] { Winsock1_Error(number, description); })) {
        return;
    }
    outcome_ = SyncOutcome::NotSet;
    AddLine(std::string(text::kErrorReceived) + description);
    AddLine(std::string(text::kErrorReceived) + std::to_string(number));
    if (number > 0) {
        if (Winsock1.State() != win::kSckClosed) {
            Winsock1.Close();
        }
        AddLine(std::string(text::kSocketsClosedAfterError));
    }
    if (SyncEnded) {
        SyncEnded();
    }
}

SocketEvents WinsockEvents(QLOKfrm& form) {
    return {
        [&form] { form.Winsock1_Connect(); },
        [&form](std::int32_t bytesTotal) { form.Winsock1_DataArrival(bytesTotal); },
        [&form] { form.Winsock1_Close(); },
        [&form](std::int16_t number, const std::string& description) {
            form.Winsock1_Error(number, description);
        },
    };
}

}  // namespace qlok
