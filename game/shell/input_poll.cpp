// Polling of the keyboard and joypads through the library.
#include "library/tesra.h"
#include "shell/input.h"

void Input::Poll() {
  for (int p = 0; p < 4; ++p) {
    for (int b = 0; b < 16; ++b) {
      previous[p][b] = pressed[p][b];
      int bitsNow = ApiGetPadInputBits(p + 1);
      uint32_t bits = bitsNow < 0 ? 0u : static_cast<uint32_t>(bitsNow);
      bool down = (padBits[p][b] & bits) != 0;
      if (!down && keyCode[p][b] >= 0) down = ApiIsKeyDown(keyCode[p][b]) > 0;
      if (down) {
        if (hold[p][b] < 0x7FFFFFFF) ++hold[p][b];
        pressed[p][b] = 1;
      } else {
        hold[p][b] = 0;
        pressed[p][b] = 0;
      }
    }
  }
}
