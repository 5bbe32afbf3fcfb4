#include "frame/sound.h"

#include "file_fixture.h"

namespace {
// The smallest honest files of each kind: 8-bit mono PCM with four samples, and a MIDI song
// whose one track holds nothing but its end.
const bytes WAV{'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',  //
                'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,    // PCM, one channel
                0x40, 0x1F, 0,   0,   0x40, 0x1F, 0, 0, 1,   0,   8,   0,    // 8000 Hz, 1 byte a frame, 8 bits
                'd',  'a',  't', 'a', 4,    0,    0, 0, 128, 200, 128, 50};
const bytes MID{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0,    0,    1, 0, 96,  // format 0, one track, 96 ticks a beat
                'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
}  // namespace

// Without a system driver the library still has its "none" sound drivers, so loading really
// loads; playing a song would need the timer, which is not installed here.
using soundTest = fileTest;

TEST_F(soundTest, loadChoosesByTheFilesEndingAndReleasesWhatItHeld) {
  for (const char *name : {"x.wav", "x.WAV", "x.mp3"}) writeFile(name, WAV);
  for (const char *name : {"x.mid", "x.midi", "x.MID", "mid"}) writeFile(name, MID);
  // Every load starts from a song already loaded, which it releases. The dot is no part of an
  // ending; x.mp3, x.MID and x.WAV hold loadable sounds but are refused by name.
  const struct {
    const char *name;
    int kind;
  } cases[] = {
      {"x.wav", soundSample},        {"x.mid", soundMidi},          {"x.midi", soundMidi},   {"mid", soundMidi},
      {"x.mp3", soundNothing},       {"x.MID", soundNothing},       {"x.WAV", soundNothing}, {"id", soundNothing},
      {"missing.wav", soundNothing}, {"missing.mid", soundNothing}, {"", soundNothing}};
  sound s;
  for (auto c : cases) {
    ASSERT_TRUE(s.load("x.mid", false));
    EXPECT_EQ(s.load(c.name, true), c.kind != soundNothing) << c.name;
    EXPECT_EQ(s.isActive(), c.kind) << c.name;
    EXPECT_EQ(s.sample != nullptr, c.kind == soundSample) << c.name;
    EXPECT_EQ(s.midi != nullptr, c.kind == soundMidi) << c.name;
  }
  s.destroy();
  EXPECT_EQ(s.isActive(), soundNothing);
  EXPECT_EQ(s.midi, nullptr);
  // Released, the song is not played, adjusted or stopped any more.
  s.play(0, 255, 128, 1000);
  s.adjust(1, 128, 0, 2000);
  s.stop();
  s.poll();
  EXPECT_EQ(s.isActive(), soundNothing);
}
