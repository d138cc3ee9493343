// How the library core reaches the graphics and sound subsystems without a link
// dependency on them: each subsystem fills its entries from a namespace-scope
// registrar object in the file that defines its Api* entry points, so a program
// that uses a subsystem gets it started and ended by the core in order, and a
// program that does not (a core-only test) runs without it.
#pragma once

struct LibraryHooks {
  // Sound: started after the window and input devices; a failed start is
  // ignored (the library runs silent and every sound call answers -1).
  int (*initializeSoundSystem)();   // 0 ok, -1 failed
  void (*endCurrentMusic)();        // first step of the library end
  void (*terminateSoundSystem)();   // before the graphics end
  void (*refillStreamSounds)();     // every ProcessMessage pass, under the lock
  void (*pollMusicPlayState)();     // every ProcessMessage pass, under the lock
  // Graphics: the display devices and screens, started last; a failed start
  // fails the library start.
  int (*initializeGraphicsSystem)();  // 0 ok, -1 failed
  void (*terminateFontSystem)();      // first of the graphics-side ends
  void (*terminateGraphicsSystem)();
};

// Zero-initialised (no dynamic initialiser), so registrars may fill it from
// any static initialiser.
extern LibraryHooks g_libraryHooks;
