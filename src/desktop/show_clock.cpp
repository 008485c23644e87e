// The Show Clock button.

#include "app/qlokfrm.h"
#include "app/texts.h"
#include "platform/winapi_values.h"

namespace qlok {

void QLOKfrm::Command2_Click() {
    if (!platform_.shell.OpenDateTimeSettings()) {
        // A button that silently does nothing helps nobody.
        platform_.messageBoxes.Show(std::string(text::kNoDateTimeSettings),
                                    std::string(text::kShowClock),
                                    win::kMbOk | win::kMbIconInformation);
    }
}

}  // namespace qlok
