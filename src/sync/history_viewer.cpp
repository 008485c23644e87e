// The history viewer: the history file shown in the activity list.

#include <utility>

#include "app/qlokfrm.h"
#include "app/texts.h"
#include "platform/winapi_values.h"
#include "sync/history.h"

namespace qlok {

void QLOKfrm::Form_DblClick() {
    const std::string path(text::kHistoryFile);
    if (!platform_.files.FileExists(path)) {
        platform_.messageBoxes.Show(
            "No clock correction has been recorded yet: " + path + " does not exist.", "History",
            win::kMbOk | win::kMbIconInformation);
        return;
    }
    ReadResult file = platform_.files.ReadTail(path, kHistoryShownBytes);
    if (!file.ok) {
        platform_.messageBoxes.Show(
            "The history file " + path + " could not be read: " + file.error, "History",
            win::kMbOk | win::kMbIconInformation);
        return;
    }
    List1.Clear();
    List1.SetItems(HistoryView(std::move(file.data), file.skipped));
}

void QLOKfrm::List1_Click() {
    Form_DblClick();
}

}  // namespace qlok
