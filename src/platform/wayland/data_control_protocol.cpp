// SPDX-License-Identifier: GPL-3.0-or-later
// The data-control protocol's interface tables that wayland-scanner made, as
// C++. The client header comes first: it declares every table with C
// linkage, which a C++ const definition would otherwise not have.
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include "wlr-data-control-unstable-v1-protocol.c"
