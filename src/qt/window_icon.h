// The window icon, read straight from the icon file built into the program.
#pragma once

#include <QIcon>

namespace qlok::qt {

// The 32-bit images of the built-in icon file, one per size; a null icon without the file.
// Taken as they are, without the image plugins: finding and loading those, and decoding all
// fifteen images of the file, cost a good part of the time to the first frame.
QIcon BuiltInWindowIcon();

}  // namespace qlok::qt
