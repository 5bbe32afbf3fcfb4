// A game pad for the end-to-end test, preloaded into the game: the test machines have no /dev/input,
// yet the joystick library's own Linux driver should run. With MIRVANES_FAKE_PAD naming a FIFO,
// opening /dev/input/js0 opens that FIFO instead, and the driver's ioctls on it describe an 8-axis,
// 11-button pad; the test writes struct js_event records into the FIFO. Without the variable it does nothing.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {
using openFunction = int (*)(const char *, int, ...);
int padFd = -1;

template <class Function> Function real(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Read-write, so the game holds a writer itself: an empty FIFO reads as "no event yet" and never as
// end of file, and the open does not wait for the test to open its end.
int openPad(const char *name, const char *path, int flags, va_list rest) {
  const char *fifo = std::getenv("MIRVANES_FAKE_PAD");
  if (fifo && std::strcmp(path, "/dev/input/js0") == 0)
    return padFd = real<openFunction>(name)(fifo, (flags & ~O_ACCMODE) | O_RDWR);
  mode_t mode = __OPEN_NEEDS_MODE(flags) ? va_arg(rest, mode_t) : 0;
  return real<openFunction>(name)(path, flags, mode);
}

template <class Count> int answer(void *result, Count value) {
  std::memcpy(result, &value, sizeof value);
  return 0;
}
}  // namespace

extern "C" int open(const char *path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  int fd = openPad("open", path, flags, rest);
  va_end(rest);
  return fd;
}

extern "C" int open64(const char *path, int flags, ...) {
  va_list rest;
  va_start(rest, flags);
  int fd = openPad("open64", path, flags, rest);
  va_end(rest);
  return fd;
}

// The driver asks these three and gives up without the first; anything else goes on to the kernel.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list rest;
  va_start(rest, request);
  void *result = va_arg(rest, void *);
  va_end(rest);
  if (fd == padFd && request == JSIOCGVERSION) return answer<__u32>(result, JS_VERSION);
  if (fd == padFd && request == JSIOCGAXES) return answer<__u8>(result, 8);
  if (fd == padFd && request == JSIOCGBUTTONS) return answer<__u8>(result, 11);
  return real<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, result);
}
