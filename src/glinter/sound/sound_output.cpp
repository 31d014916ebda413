// The sound output's tables. (Placeholder until the output is built: no
// default table, so tracks are dropped at open.)
#include "glinter/sound_hook.h"

namespace glint::glinter {

const SoundSystem* default_sound_system() { return nullptr; }

}  // namespace glint::glinter
