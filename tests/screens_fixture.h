#pragma once

#include "allegro_fixture.h"

using screensTest = allegroTest;  // screen loops are fed through the fixture's script
