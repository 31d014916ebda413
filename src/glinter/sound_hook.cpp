#include "glinter/sound_hook.h"

#include <atomic>

namespace glint::glinter {

namespace {
std::atomic<const SoundSystem*> g_sound_system{nullptr};
}  // namespace

const SoundSystem* sound_system() { return g_sound_system.load(); }

bool install_sound_system(const SoundSystem* table) {
  const SoundSystem* expected = nullptr;
  return table && g_sound_system.compare_exchange_strong(expected, table);
}

const SoundSystem* replace_sound_system_for_tests(const SoundSystem* table) {
  return g_sound_system.exchange(table);
}

void sound_service() {
  if (const SoundSystem* table = sound_system(); table && table->service) table->service();
}

}  // namespace glint::glinter
