// The history viewer: the history file shown in the activity list.

#include <utility>

#include "app/qlokfrm.h"
#include "app/texts.h"
#include "platform/winapi_values.h"
#include "sync/history.h"

namespace qlok {

void QLOKfrm::Form_DblClick() {
    const std::string path(text::kHistoryFile);
    ReadResult file = platform_.files.ReadTail(path, kHistoryShownBytes);
    if (file.missing) {
        // Normal before the first correction: said once in the list, no box to dismiss.
        if (!historyNoticeListed_) {
            AddLine("no history yet: " + path + " is written at the first clock correction");
            historyNoticeListed_ = true;
        }
        return;
    }
    if (!file.ok) {
        platform_.messageBoxes.Show(
            "The history file " + path + " could not be read: " + file.error, "History",
            win::kMbOk | win::kMbIconInformation);
        return;
    }
    List1.Clear();
    List1.SetItems(HistoryView(std::move(file.data), file.skipped));
    historyNoticeListed_ = false;
}

void QLOKfrm::List1_Click() {
    Form_DblClick();
}

}  // namespace qlok
