#include "platform/video.h"

#include "platform/platform.h"

namespace glint::platform {

const VideoDriver& video() { return *backend().video; }

}  // namespace glint::platform
