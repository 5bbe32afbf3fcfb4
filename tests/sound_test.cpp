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
class soundTest : public fileTest {
 protected:
  void SetUp() override {
    fileTest::SetUp();
    for (const char *name : {"x.wav", "x.WAV", "x.mp3"}) writeFile(name, WAV);
    for (const char *name : {"x.mid", "x.midi", "x.MID", "mid"}) writeFile(name, MID);
  }
};

TEST_F(soundTest, loadChoosesByTheFilesEnding) {
  sound s;
  EXPECT_EQ(s.isActive(), soundNothing);

  EXPECT_TRUE(s.load("x.wav", false));
  EXPECT_EQ(s.isActive(), soundSample);
  EXPECT_NE(s.sample, nullptr);
  EXPECT_EQ(s.midi, nullptr);

  EXPECT_TRUE(s.load("x.mid", false));
  EXPECT_EQ(s.isActive(), soundMidi);
  EXPECT_EQ(s.sample, nullptr);
  EXPECT_NE(s.midi, nullptr);

  // A sample loaded over a song releases the song first.
  EXPECT_TRUE(s.load("x.wav", true));
  EXPECT_EQ(s.isActive(), soundSample);
  EXPECT_EQ(s.midi, nullptr);

  EXPECT_TRUE(s.load("x.midi", true));
  EXPECT_EQ(s.isActive(), soundMidi);
  EXPECT_TRUE(s.load("mid", false));  // the dot is not part of the ending
  EXPECT_EQ(s.isActive(), soundMidi);

  // Refused names leave the object empty, whatever it held; these files are all loadable.
  for (const char *refused : {"x.mp3", "x.MID", "x.WAV", "missing.wav", "missing.mid", "id", ""}) {
    EXPECT_TRUE(s.load("x.wav", false));
    EXPECT_FALSE(s.load(refused, false)) << refused;
    EXPECT_EQ(s.isActive(), soundNothing) << refused;
    EXPECT_EQ(s.sample, nullptr) << refused;
    EXPECT_EQ(s.midi, nullptr) << refused;
  }
}

TEST_F(soundTest, emptyObjectIgnoresPlayAdjustAndStop) {
  sound s;
  s.play(1, 255, 128, 1000);
  s.adjust(1, 128, 0, 2000);
  s.stop();
  s.poll();
  EXPECT_EQ(s.isActive(), soundNothing);
  EXPECT_FALSE(s.load("x.mp3", false));
  s.play(0, 255, 128, 1000);
  s.stop();
  EXPECT_EQ(s.isActive(), soundNothing);

  EXPECT_TRUE(s.load("x.mid", false));
  s.destroy();
  EXPECT_EQ(s.isActive(), soundNothing);
  EXPECT_EQ(s.midi, nullptr);
  s.play(0, 255, 128, 1000);  // would need the timer if the song were still there
}
