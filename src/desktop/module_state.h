// The module-level state of Menu and Systray: MainForm, InTrayMode, TrayIconData and
// PreviousWndProc are defined together here and start afresh together.
#pragma once

namespace qlok {

// Puts the module-level state back as it is when the process starts; the main window calls it
// as it goes, so that nothing refers to a window that no longer exists.
void ResetModuleState();

}  // namespace qlok
