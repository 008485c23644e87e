// Resource identifiers shared by the resource script and the program.
#pragma once

#define QLOK_ICON 1
