#include "frame/global.h"

#include <sys/prctl.h>

#include <cstdlib>
#include <ctime>

#include "frame/error.h"
#include "frame/idle.h"

namespace {
constexpr unsigned long relaxedSlack = 9000000;  // nanoseconds of timer slack
}  // namespace

BITMAP *global::dbuffer = nullptr;
std::atomic<int> timerCounter{0};

void timerCounterUpdater() {
  ++timerCounter;
  global::wake();
}
END_OF_FUNCTION(timerCounterUpdater)

// Without a graphics driver there is no screen, and the library's blit would crash on it.
void show() {
  if (screen) blit(global::dbuffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
}

void uninit() { destroy_bitmap(global::dbuffer); }

void init() {
  // The library sleeps a millisecond at a time in its input thread (started by allegro_init) and
  // in its own waits on this thread (the quit dialog, the retrace), but looks at the display's
  // events only every 10 ms. Timer slack lets the kernel stretch those sleeps to about that long:
  // an eighth of the wake-ups, and input is seen as soon as before. Threads take the slack of the
  // thread that starts them, so the frame clock's thread, started by install_timer, keeps the
  // precise default.
  const int preciseSlack = prctl(PR_GET_TIMERSLACK);
  prctl(PR_SET_TIMERSLACK, relaxedSlack);
  // With no display the library has no system driver, and the next call would crash in it.
  const bool started = allegro_init() == 0;
  prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(preciseSlack));
  if (!started) error::fatal("Error000: Allegro could not be initialised (no display?)");
  if (install_timer() < 0) error::timer();
  prctl(PR_SET_TIMERSLACK, relaxedSlack);
  if (install_keyboard() < 0) error::keyboard();
  keyboard_lowlevel_callback = global::wakeOnKey;
  if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) < 0) error::soundDriver();
  set_window_title("Mirvanes - Quillmark");
  set_color_depth(16);
  if (set_gfx_mode(GFX_AUTODETECT, 640, 480, 0, 0) < 0) error::graphicMode();
  global::dbuffer = create_bitmap(SCREEN_W, SCREEN_H);
  if (!global::dbuffer) error::create();
  clear_bitmap(global::dbuffer);
  textout_centre_ex(global::dbuffer, font, "Loading engine, please wait...", SCREEN_W / 2, SCREEN_H / 2,
                    makecol(255, 255, 255), -1);
  show();
  LOCK_VARIABLE(timerCounter);
  LOCK_FUNCTION(timerCounterUpdater);
  install_int_ex(timerCounterUpdater, BPS_TO_TIMER(global::FPS));
  set_uformat(U_ASCII);
  // The seed wraps in 32-bit arithmetic, so two starts within one second play the same game.
  srand(static_cast<unsigned>(time(nullptr)) * 0xABCDEu);
  gui_bg_color = makecol(221, 221, 221);
}
