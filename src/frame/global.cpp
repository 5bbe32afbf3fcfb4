#include "frame/global.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cstdlib>
#include <ctime>

#include "frame/devices.h"
#include "frame/error.h"
#include "frame/idle.h"
#include "frame/sound.h"

namespace {
constexpr int WIDTH = 640, HEIGHT = 480;  // the back buffer, whatever the size of the window

constexpr unsigned long relaxedSlack = 9000000;  // nanoseconds of timer slack

// Timer slack is Linux's own; elsewhere the sleeps stay as the system makes them.
#ifdef __linux__
unsigned long timerSlack() { return static_cast<unsigned long>(prctl(PR_GET_TIMERSLACK)); }
void setTimerSlack(unsigned long nanoseconds) { prctl(PR_SET_TIMERSLACK, nanoseconds); }
#else
unsigned long timerSlack() { return 0; }
void setTimerSlack(unsigned long) {}
#endif
}  // namespace

BITMAP *global::dbuffer = nullptr;
std::atomic<int> timerCounter{0};
std::atomic<unsigned> global::ticks{0};

void timerCounterUpdater() {
  ++timerCounter;
  ++global::ticks;
  global::wake();
}
END_OF_FUNCTION(timerCounterUpdater)

int (*global::installInterrupt)(void (*)(), long) = install_int_ex;

void startFrameClock() {
  LOCK_VARIABLE(timerCounter);
  LOCK_VARIABLE(global::ticks);
  LOCK_FUNCTION(timerCounterUpdater);
  global::installInterrupt(timerCounterUpdater, BPS_TO_TIMER(global::FPS));
}

void uninit() { destroy_bitmap(global::dbuffer); }

void init(const options &opts) {
  // The library sleeps a millisecond at a time in its input thread (started by allegro_init) and
  // in its own waits on this thread (the retrace), but looks at the display's events only every
  // 10 ms. Timer slack lets the kernel stretch those sleeps to about that long: an eighth of the
  // wake-ups, and input is seen as soon as before. Threads take the slack of the thread that
  // starts them, so the frame clock's thread, started by install_timer, keeps the precise default.
  const unsigned long preciseSlack = timerSlack();
  setTimerSlack(relaxedSlack);
  // With no display the library has no system driver, and the next call would crash in it.
  const bool started = allegro_init() == 0;
  setTimerSlack(preciseSlack);
  if (!started) error::fatal("Error000: Allegro could not be initialised (no display?)");
  if (install_timer() < 0) error::timer();
  setTimerSlack(relaxedSlack);
  if (install_keyboard() < 0) error::keyboard();
  keyboard_lowlevel_callback = devices::keyEvent;
  devices::install();
  quietSoundLibrary();
  if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) < 0) error::soundDriver();
  set_window_title("Mirvanes - Quillmark");
  setMode(opts);
  global::dbuffer = create_bitmap(WIDTH, HEIGHT);
  if (!global::dbuffer) error::create();
  clear_bitmap(global::dbuffer);
  textout_centre_ex(global::dbuffer, font, "Loading engine, please wait...", WIDTH / 2, HEIGHT / 2,
                    makecol(255, 255, 255), -1);
  show();
  startFrameClock();
  set_uformat(U_ASCII);
  // The seed wraps in 32-bit arithmetic, so two starts within one second play the same game.
  srand(static_cast<unsigned>(time(nullptr)) * 0xABCDEu);
}
