// The program's entry: the SDL back end under the game's own entry function.
#include "library/platform/platform.h"
#include "scenes/winmain.h"

int main() {
  PlatformUseBackend(PlatformBackend::Sdl);
  return WinMain(nullptr, nullptr, nullptr, 1);
}
