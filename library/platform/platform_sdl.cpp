// The SDL2 back end: window, renderer with a streaming texture, events,
// keyboard, joysticks, message boxes and 60 Hz pacing.
#include "platform/platform_sdl.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>
#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#define TESRA_HAVE_XLIB 1
#endif

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "core/log.h"
#include "core/report.h"
#include "platform/keymap.h"
#include "platform/pacer.h"

namespace sdl_backend {
namespace {

constexpr int kMaxPads = 16;

SDL_Window* g_window = nullptr;
SDL_Renderer* g_renderer = nullptr;
SDL_Texture* g_texture = nullptr;
int g_textureWidth = 0, g_textureHeight = 0, g_textureBits = 0;
int g_logicalWidth = 640, g_logicalHeight = 480;
bool g_vsync = false;
bool g_started = false;
std::atomic<int> g_gone{0};
std::mutex g_padMutex;
std::vector<SDL_Joystick*> g_pads;
std::atomic<uint8_t> g_keys[256];
// Keys pressed since the last event pump, so that a tap shorter than one pump
// interval is still seen down for one frame. Event thread only.
uint8_t g_tapped[256];
uint32_t g_lastKeyPump = 0;
int g_diToSdl[256];
FramePacer g_pacer;

void BuildReverseKeyTable() {
  for (int& v : g_diToSdl) v = -1;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const int di = SdlScancodeToDirectInput(sc);
    if (di >= 0 && di < 256 && g_diToSdl[di] < 0) g_diToSdl[di] = sc;
  }
}

void SnapshotKeys() {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int di = 0; di < 256; ++di) {
    const int sc = g_diToSdl[di];
    const bool held = sc >= 0 && sc < count && state[sc];
    g_keys[di].store(held || g_tapped[di] ? 1 : 0, std::memory_order_relaxed);
  }
}

void OpenPad(int deviceIndex) {
  SDL_Joystick* j = SDL_JoystickOpen(deviceIndex);
  if (!j) return;
  std::lock_guard<std::mutex> hold(g_padMutex);
  for (SDL_Joystick* p : g_pads)
    if (p == j) return;
  if (static_cast<int>(g_pads.size()) < kMaxPads) g_pads.push_back(j);
  else SDL_JoystickClose(j);
}

void ClosePad(SDL_JoystickID id) {
  std::lock_guard<std::mutex> hold(g_padMutex);
  for (size_t i = 0; i < g_pads.size(); ++i) {
    if (SDL_JoystickInstanceID(g_pads[i]) == id) {
      SDL_JoystickClose(g_pads[i]);
      g_pads.erase(g_pads.begin() + static_cast<long>(i));
      return;
    }
  }
}

// ---- A lost display ----------------------------------------------------------------
// Xlib ends the process with exit() when the connection to the X server breaks
// (xkill, a dying server, a logout) or a request fails. The game instead says
// why on standard error and ends through exit() itself, whose steps the library
// registered (see library.cpp) stop the sound device and the pump thread
// before anything they use is destroyed. SDL loads libX11 itself; the handlers
// are set through the copy it loaded, so the library needs no link to it.

std::atomic<int> g_displayLost{0};

[[noreturn]] void EndForLostDisplay(const char* what) {
  if (g_displayLost.exchange(1) != 0) _exit(1);  // lost again while ending
  ReportToUser("the display was lost (%s); ending", what);
  std::exit(1);
}

#ifdef TESRA_HAVE_XLIB
int OnXIOError(Display*) { EndForLostDisplay("the connection to the X server closed"); }

int OnXError(Display*, XErrorEvent* event) {
  const int code = event ? event->error_code : 0;
  char what[96];
  if (code == BadWindow || code == BadDrawable)
    std::snprintf(what, sizeof what, "another program destroyed the window");
  else
    std::snprintf(what, sizeof what, "the X server refused request %d with error %d",
                  event ? event->request_code : 0, code);
  EndForLostDisplay(what);
}
#endif

void WatchX11Display() {
#ifdef TESRA_HAVE_XLIB
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!x11) return;
  using SetIOHandler = XIOErrorHandler (*)(XIOErrorHandler);
  using SetHandler = XErrorHandler (*)(XErrorHandler);
  auto setIO = reinterpret_cast<SetIOHandler>(dlsym(x11, "XSetIOErrorHandler"));
  auto set = reinterpret_cast<SetHandler>(dlsym(x11, "XSetErrorHandler"));
  if (setIO) setIO(OnXIOError);
  if (set) set(OnXError);
  dlclose(x11);  // still loaded by SDL
#endif
}

// A small generated window icon (the program carries no resources).
void SetIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  auto* px = static_cast<uint32_t*>(icon->pixels);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int dx = x - 16, dy = y - 16;
      const bool ring = dx * dx + dy * dy < 225 && dx * dx + dy * dy > 64;
      px[y * (icon->pitch / 4) + x] = ring ? 0xFFE0B040u : (dx * dx + dy * dy <= 64 ? 0xFF3060C0u : 0);
    }
  }
  SDL_SetWindowIcon(g_window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace

int Start() {
  if (g_started) return 0;
  BuildReverseKeyTable();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS) != 0) {
    LogFormatLine("SDL の初期化に失敗しました: %s", SDL_GetError());
    ReportToUser("no display could be opened (%s); is DISPLAY set?", SDL_GetError());
    return -1;
  }
  // Without a display SDL quietly falls back to a driver that shows nothing;
  // a game nobody can see must not run on forever.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
      !SDL_getenv("SDL_VIDEODRIVER")) {
    LogFormatLine("表示できるディスプレイがありません (%s)", driver);
    ReportToUser("no display could be opened (SDL found only its \"%s\" driver); is DISPLAY set?",
                 driver);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS);
    return -1;
  }
  WatchX11Display();
  g_started = true;
  g_gone = 0;
  std::memset(g_tapped, 0, sizeof g_tapped);
  for (auto& k : g_keys) k.store(0);
  for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenPad(i);
  return 0;
}

void End() {
  if (!g_started) return;
  DestroyWindow();
  {
    std::lock_guard<std::mutex> hold(g_padMutex);
    for (SDL_Joystick* j : g_pads) SDL_JoystickClose(j);
    g_pads.clear();
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS);
  g_started = false;
}

int CreateWindow(const char* titleUtf8, int width, int height, int windowed, int iconResource) {
  if (g_window) return 0;
  Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
  SDL_Rect desktop;
  if (!windowed) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // Made at the desktop's size and place from the start: without a window
    // manager nobody resizes a full-screen window, and SDL would scale the
    // picture for a desktop-sized window that stayed 640 x 480 (magnified
    // and cropped).
    if (SDL_GetDisplayBounds(0, &desktop) == 0) {
      x = desktop.x;
      y = desktop.y;
      w = desktop.w;
      h = desktop.h;
    }
  }
  g_window = SDL_CreateWindow(titleUtf8, x, y, w, h, flags);
  if (!g_window) {
    LogFormatLine("ウインドウの作成に失敗しました: %s", SDL_GetError());
    return -1;
  }
  if (iconResource) SetIcon();
  // Vsync only where the display runs at 60 Hz; elsewhere PresentFrame sleeps.
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(g_window);
  g_vsync = SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 &&
            mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
  g_renderer = SDL_CreateRenderer(g_window, -1, g_vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
  if (!g_renderer) {
    g_vsync = false;
    g_renderer = SDL_CreateRenderer(g_window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!g_renderer) {
    LogFormatLine("描画先の作成に失敗しました: %s", SDL_GetError());
    SDL_DestroyWindow(g_window);
    g_window = nullptr;
    return -1;
  }
  g_logicalWidth = width;
  g_logicalHeight = height;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_RenderSetLogicalSize(g_renderer, width, height);  // scaled to fit, letterboxed
  SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_renderer);
  SDL_RenderPresent(g_renderer);
  g_gone = 0;
  g_pacer = FramePacer();
  g_pacer.vsync60 = g_vsync;
  return 0;
}

void DestroyWindow() {
  if (g_texture) SDL_DestroyTexture(g_texture);
  if (g_renderer) SDL_DestroyRenderer(g_renderer);
  if (g_window) SDL_DestroyWindow(g_window);
  g_texture = nullptr;
  g_renderer = nullptr;
  g_window = nullptr;
  g_textureWidth = g_textureHeight = g_textureBits = 0;
}

int HasWindow() { return g_window ? 1 : 0; }

int SetWindowTitle(const char* titleUtf8) {
  if (g_window) SDL_SetWindowTitle(g_window, titleUtf8);
  return 0;
}

int SetWindowed(int windowed) {
  if (!g_window) return 0;
  if (!windowed) {
    // As in CreateWindow: cover the desktop first, for a desktop with no
    // window manager.
    SDL_Rect desktop;
    const int display = SDL_GetWindowDisplayIndex(g_window);
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &desktop) == 0) {
      SDL_SetWindowPosition(g_window, desktop.x, desktop.y);
      SDL_SetWindowSize(g_window, desktop.w, desktop.h);
    }
  }
  const int r = SDL_SetWindowFullscreen(g_window, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (windowed) {
    SDL_SetWindowSize(g_window, g_logicalWidth, g_logicalHeight);
    SDL_SetWindowPosition(g_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  return r == 0 ? 0 : -1;
}

int PumpEvents() {
  if (!g_started) return -1;
  SDL_Event e;
  std::memset(g_tapped, 0, sizeof g_tapped);
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT: g_gone = 1; break;
      case SDL_KEYDOWN: {
        const int di = SdlScancodeToDirectInput(e.key.keysym.scancode);
        if (di >= 0 && di < 256) g_tapped[di] = 1;
        break;
      }
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) g_gone = 1;
        break;
      case SDL_JOYDEVICEADDED: OpenPad(e.jdevice.which); break;
      case SDL_JOYDEVICEREMOVED: ClosePad(e.jdevice.which); break;
      default: break;
    }
  }
  SnapshotKeys();
  g_lastKeyPump = SDL_GetTicks();
  return g_gone ? -1 : 0;
}

int WindowGone() { return g_gone.load(); }

int IsKeyDown(int scanCode, bool onEventThread) {
  if (scanCode < 0 || scanCode > 255 || !g_started) return 0;
  if (onEventThread && SDL_GetTicks() != g_lastKeyPump) {
    SDL_PumpEvents();  // events stay queued for the next message pump
    SnapshotKeys();
    g_lastKeyPump = SDL_GetTicks();
  }
  return g_keys[scanCode].load(std::memory_order_relaxed);
}

int PadCount() {
  std::lock_guard<std::mutex> hold(g_padMutex);
  return static_cast<int>(g_pads.size());
}

uint32_t PadBits(int pad) {
  std::lock_guard<std::mutex> hold(g_padMutex);
  if (pad < 0 || pad >= static_cast<int>(g_pads.size())) return 0;
  SDL_Joystick* j = g_pads[static_cast<size_t>(pad)];
  const int axes = SDL_JoystickNumAxes(j);
  const int x = axes > 0 ? SDL_JoystickGetAxis(j, 0) : 0;
  const int y = axes > 1 ? SDL_JoystickGetAxis(j, 1) : 0;
  const int hat = SDL_JoystickNumHats(j) > 0 ? SDL_JoystickGetHat(j, 0) : 0;
  uint32_t buttons = 0;
  const int count = SDL_JoystickNumButtons(j);
  for (int k = 0; k < count && k < 24; ++k)
    if (SDL_JoystickGetButton(j, k)) buttons |= 1u << k;
  return PadBitsFromState(x, y, hat, buttons);
}

int MessageBoxYesNo(const char* textUtf8, const char* captionUtf8) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "はい"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "いいえ"},
  };
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_WARNING;
  data.window = g_window;
  data.title = captionUtf8;
  data.message = textUtf8;
  data.numbuttons = 2;
  data.buttons = buttons;
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
    LogFormatLine("メッセージボックスを表示できません: %s", SDL_GetError());
    return -1;
  }
  return pressed == 1 ? 1 : 0;
}

int PresentFrame(const void* pixels, int width, int height, int pitch, int bits) {
  if (!g_renderer) return -1;
  // 32-bit screens are bytes B, G, R and a fourth byte outside the colour:
  // XRGB, so that byte never makes the picture translucent.
  const Uint32 format = bits == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  if (!g_texture || width != g_textureWidth || height != g_textureHeight || bits != g_textureBits) {
    if (g_texture) SDL_DestroyTexture(g_texture);
    g_texture = SDL_CreateTexture(g_renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!g_texture) {
      LogFormatLine("テクスチャの作成に失敗しました: %s", SDL_GetError());
      return -1;
    }
    SDL_SetTextureBlendMode(g_texture, SDL_BLENDMODE_NONE);
    g_textureWidth = width;
    g_textureHeight = height;
    g_textureBits = bits;
    if (width != g_logicalWidth || height != g_logicalHeight) {
      g_logicalWidth = width;
      g_logicalHeight = height;
      SDL_RenderSetLogicalSize(g_renderer, width, height);
    }
  }
  SDL_UpdateTexture(g_texture, nullptr, pixels, pitch);
  SDL_RenderClear(g_renderer);
  SDL_RenderCopy(g_renderer, g_texture, nullptr, nullptr);
  SDL_RenderPresent(g_renderer);

  // Pacing: 60 frames a second whatever the display does.
  const auto now = std::chrono::steady_clock::now();
  const int64_t nowNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
  const int64_t until = FramePacerAfterPresent(&g_pacer, nowNs);
  if (until > nowNs) std::this_thread::sleep_for(std::chrono::nanoseconds(until - nowNs));
  return 0;
}

void* WindowHandle() { return g_window; }

}  // namespace sdl_backend
