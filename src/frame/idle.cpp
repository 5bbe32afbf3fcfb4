#include "frame/idle.h"

#include <allegro.h>

namespace {
// rest(0) hands back almost nothing on Unix; one millisecond keeps a waiting screen near idle.
void restOneMillisecond() { rest(1); }
}  // namespace

void (*global::idle)() = restOneMillisecond;
