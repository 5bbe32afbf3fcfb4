#include "frame/sound.h"

#include <dlfcn.h>

// The library's ALSA driver prints nine lines to standard error when it finds no card, and then
// falls back to no sound. The game plays no sound, so those lines tell a player nothing. ALSA is
// opened here by name, not linked, so the game needs no ALSA headers to build and runs without it;
// the driver loads the same shared copy later and finds the handler in place. The handle stays
// open for the life of the process.
namespace {
void dropMessage(const char *, int, const char *, int, const char *, ...) {}
}  // namespace

void quietSoundLibrary() {
  void *alsa = dlopen("libasound.so.2", RTLD_NOW);
  if (!alsa) return;
  using setHandler = int (*)(decltype(&dropMessage));
  const auto set = reinterpret_cast<setHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set) set(dropMessage);
}

bool sound::load(std::string file, bool) {
  destroy();
  if (file.ends_with("wav")) {
    sample = load_sample(file.c_str());
    if (!sample) return false;
    kind = soundSample;
    return true;
  }
  if (file.ends_with("mid") || file.ends_with("midi")) {
    midi = load_midi(file.c_str());
    if (!midi) return false;
    kind = soundMidi;
    return true;
  }
  return false;
}

void sound::play(int loop, int vol, int pan, int freq) {
  if (kind == soundSample) play_sample(sample, vol, pan, freq, loop);
  if (kind == soundMidi) play_midi(midi, loop);
}

void sound::adjust(int loop, int vol, int pan, int freq) {
  if (kind == soundSample) adjust_sample(sample, vol, pan, freq, loop);
}

void sound::stop() {
  if (kind == soundSample) stop_sample(sample);
  if (kind == soundMidi) stop_midi();
}

void sound::destroy() {
  if (sample) {
    destroy_sample(sample);
    sample = nullptr;
  }
  if (midi) {
    destroy_midi(midi);
    midi = nullptr;
  }
  kind = soundNothing;
}
