#include "platform/audio.h"

#include "platform/platform.h"

namespace glint::platform {

const AudioDriver& audio() { return *backend().audio; }

}  // namespace glint::platform
