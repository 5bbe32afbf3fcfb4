#include "frame/sound.h"

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
