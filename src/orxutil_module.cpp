// The shared library's own translation unit. Its contents are the subsystem
// libraries linked in whole; this file only anchors the target.
#include "orxutil/orxutil.h"
