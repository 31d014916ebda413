#include "orxutil/orxutil.h"
