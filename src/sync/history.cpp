#include "sync/history.h"

#include "app/qlokfrm.h"
#include "app/text_lines.h"
#include "app/texts.h"

namespace qlok {

std::string HistoryLine(std::string_view arrival, std::string_view offset,
                        std::string_view direction, bool clockSet) {
    std::string line;
    line.reserve(arrival.size() + offset.size() + direction.size() + 12);
    line += arrival;
    line += ' ';
    line += offset;
    line += direction;
    line += clockSet ? text::kHistoryOk : text::kHistoryFailed;
    line += "\r\n";
    return line;
}

void QLOKfrm::Form_DblClick() {
    const std::string path(text::kHistoryFile);
    if (!platform_.files.FileExists(path)) {
        platform_.messageBoxes.Show(
            "No clock correction has been recorded yet: " + path + " does not exist.", "History",
            kMbOk | kMbIconInformation);
        return;
    }
    ReadResult file = platform_.files.ReadAll(path);
    if (!file.ok) {
        platform_.messageBoxes.Show(
            "The history file " + path + " could not be read: " + file.error, "History",
            kMbOk | kMbIconInformation);
        return;
    }
    List1.Clear();
    List1.SetItems(SplitLines(file.data));
}

void QLOKfrm::List1_Click() {
    Form_DblClick();
}

}  // namespace qlok
