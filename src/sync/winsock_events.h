// The Winsock control's events as every front end wires them.
#pragma once

#include "app/qlokfrm.h"
#include "sync/socket_attempt.h"

namespace qlok {

// Each event raised into the form's handler. The form may still be under construction when a
// front end makes its socket: the events come only later.
SocketEvents WinsockEvents(QLOKfrm& form);

}  // namespace qlok
