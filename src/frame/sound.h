#pragma once

#include <allegro.h>

#include <string>

// Hands the system's sound library (ALSA) a handler that drops its messages, so that a machine
// without a sound card starts quietly; call it before install_sound. Without that library it does nothing.
void quietSoundLibrary();

constexpr int soundNothing = 0;
constexpr int soundSample = 1;
constexpr int soundMidi = 2;

// One piece of sound, a digital sample or a MIDI song, behind one interface. It owns what it
// has loaded and releases it before loading anew and when it goes.
class sound {
 public:
  int kind = soundNothing;
  SAMPLE *sample = nullptr;
  MIDI *midi = nullptr;

  sound() = default;
  ~sound() { destroy(); }
  sound(const sound &) = delete;
  sound &operator=(const sound &) = delete;

  // Chooses by the file's ending, case-sensitively: "wav" a sample, "mid" or "midi" a song;
  // anything else (mp3 included) is refused. The flag has no effect.
  bool load(std::string file, bool);
  // The loop flag comes first for both kinds; a song uses only that.
  void play(int loop, int vol, int pan, int freq);
  void adjust(int loop, int vol, int pan, int freq);
  void stop();
  void destroy();
  int isActive() const { return kind; }
  void poll() {}
};
