/* Another program on the same X display whose windows come and go without
 * pause, as other tests' game windows and a desktop's pop-ups do: it makes
 * eight small windows, then replaces one of them every hundred microseconds
 * for SECONDS. A tool that walks the display's windows meanwhile meets windows
 * that are gone by the time it asks about them.
 * Usage: window_churn SECONDS (the display from DISPLAY). Returns once the
 * windows stand, printing the process id of the churn, which goes on in the
 * background. Exit 1 without a display. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

enum { kWindows = 8, kPauseUs = 100 };

static Window MakeWindow(Display* display) {
  return XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
}

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? atof(argv[1]) : 1.0;
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "window_churn: no display could be opened\n");
    return 1;
  }
  Window windows[kWindows];
  for (int i = 0; i < kWindows; ++i) windows[i] = MakeWindow(display);
  XSync(display, False);
  const pid_t child = fork();
  if (child != 0) {
    printf("%d\n", (int)child);
    fflush(stdout);
    _exit(child < 0);
  }
  /* Standard output is the caller's pipe: let it close now. */
  if (!freopen("/dev/null", "w", stdout)) return 1;
  struct timespec start, now;
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (unsigned n = 0;; ++n) {
    Window* w = &windows[n % kWindows];
    XDestroyWindow(display, *w);
    *w = MakeWindow(display);
    XSync(display, False);
    clock_gettime(CLOCK_MONOTONIC, &now);
    if ((double)(now.tv_sec - start.tv_sec) + (now.tv_nsec - start.tv_nsec) / 1e9 >= seconds) break;
    usleep(kPauseUs);
  }
  XCloseDisplay(display);
  return 0;
}
