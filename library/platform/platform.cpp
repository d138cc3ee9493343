// The platform layer's dispatch between the SDL2 and headless back ends, the
// headless back end itself, and the clock.
#include "platform/platform.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "core/log.h"
#include "core/report.h"
#include "core/sjis.h"
#include "platform/platform_sdl.h"

namespace {

std::atomic<PlatformBackend> g_backend{PlatformBackend::Sdl};
std::atomic<int> g_started{0};
std::atomic<int> g_hasWindow{0};
std::thread::id g_eventThread;

// ---- headless state ---------------------------------------------------------------
struct HeadlessState {
  std::mutex mutex;
  uint8_t keys[256] = {};
  int padCount = 0;
  uint32_t padBits[16] = {};
  std::atomic<int> closed{0};
  std::deque<int> answers;
  int defaultAnswer = 1;
  int boxesFail = 0;
  int boxCount = 0;
  std::string lastBoxText;
  std::atomic<uint32_t> clock{0};
  int frameRate = 0;
  uint64_t frameClockRemainder = 0;  // thousandths carried between frames
  int presented = 0;
  HeadlessFrame lastFrame;
};
HeadlessState g_headless;

bool Headless() { return g_backend.load() == PlatformBackend::Headless; }

}  // namespace

int PlatformUseBackend(PlatformBackend backend) {
  if (g_started.load()) return -1;
  g_backend = backend;
  return 0;
}

PlatformBackend PlatformCurrentBackend() { return g_backend.load(); }

int PlatformStart() {
  if (g_started.load()) return 0;
  g_eventThread = std::this_thread::get_id();
  if (!Headless() && sdl_backend::Start() != 0) return -1;
  if (Headless()) g_headless.closed = 0;
  g_started = 1;
  return 0;
}

void PlatformEnd() {
  if (!g_started.load()) return;
  PlatformDestroyWindow();
  if (!Headless()) sdl_backend::End();
  g_started = 0;
}

int PlatformStarted() { return g_started.load(); }

int PlatformCreateWindow(const char* titleCp932, int width, int height, int windowed,
                         int iconResource) {
  if (!g_started.load()) return -1;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return -1;
  g_eventThread = std::this_thread::get_id();
  if (!Headless()) {
    const std::string title = Cp932ToUtf8(titleCp932 ? titleCp932 : "");
    if (sdl_backend::CreateWindow(title.c_str(), width, height, windowed, iconResource) != 0) return -1;
  } else {
    g_headless.closed = 0;
  }
  g_hasWindow = 1;
  return 0;
}

void PlatformDestroyWindow() {
  if (!g_hasWindow.load()) return;
  if (!Headless()) sdl_backend::DestroyWindow();
  g_hasWindow = 0;
}

int PlatformHasWindow() { return g_hasWindow.load(); }

int PlatformSetWindowTitle(const char* titleCp932) {
  if (Headless() || !g_hasWindow.load()) return 0;
  const std::string title = Cp932ToUtf8(titleCp932 ? titleCp932 : "");
  return sdl_backend::SetWindowTitle(title.c_str());
}

int PlatformSetWindowed(int windowed) {
  if (Headless() || !g_hasWindow.load()) return 0;
  return sdl_backend::SetWindowed(windowed);
}

int PlatformPumpEvents() {
  if (!g_started.load()) return -1;
  if (Headless()) return g_headless.closed.load() ? -1 : 0;
  return sdl_backend::PumpEvents();
}

int PlatformWindowGone() {
  if (Headless()) return g_headless.closed.load();
  return sdl_backend::WindowGone();
}

bool PlatformIsEventThread() { return std::this_thread::get_id() == g_eventThread; }

void* PlatformWindowHandle() { return Headless() ? nullptr : sdl_backend::WindowHandle(); }

int PlatformIsKeyDown(int scanCode) {
  if (scanCode < 0 || scanCode > 255) return 0;
  if (Headless()) {
    std::lock_guard<std::mutex> hold(g_headless.mutex);
    return g_headless.keys[scanCode] ? 1 : 0;
  }
  return sdl_backend::IsKeyDown(scanCode, PlatformIsEventThread());
}

int PlatformPadCount() {
  if (Headless()) {
    std::lock_guard<std::mutex> hold(g_headless.mutex);
    return g_headless.padCount;
  }
  return g_started.load() ? sdl_backend::PadCount() : 0;
}

uint32_t PlatformPadBits(int pad) {
  if (Headless()) {
    std::lock_guard<std::mutex> hold(g_headless.mutex);
    if (pad < 0 || pad >= g_headless.padCount) return 0;
    return g_headless.padBits[pad];
  }
  return g_started.load() ? sdl_backend::PadBits(pad) : 0;
}

int PlatformMessageBoxYesNo(const char* textCp932, const char* captionCp932) {
  int answer = -1;
  if (Headless()) {
    std::lock_guard<std::mutex> hold(g_headless.mutex);
    if (!g_headless.boxesFail) {
      ++g_headless.boxCount;
      g_headless.lastBoxText = textCp932 ? textCp932 : "";
      if (g_headless.answers.empty()) {
        answer = g_headless.defaultAnswer;
      } else {
        answer = g_headless.answers.front();
        g_headless.answers.pop_front();
      }
    }
  } else {
    const std::string text = Cp932ToUtf8(textCp932 ? textCp932 : "");
    const std::string caption = Cp932ToUtf8(captionCp932 ? captionCp932 : "");
    answer = sdl_backend::MessageBoxYesNo(text.c_str(), caption.c_str());
  }
  if (answer >= 0) return answer == 1 ? 1 : 0;
  // Nobody saw the question: say on standard error what was asked and taken.
  std::string question = Cp932ToUtf8(textCp932 ? textCp932 : "");
  for (char& c : question)
    if (c == '\n' || c == '\r') c = ' ';
  ReportToUser("cannot show the question \"%s\"; taking the answer No", question.c_str());
  return 0;
}

uint32_t PlatformMilliseconds() {
  if (Headless()) return g_headless.clock.load();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void PlatformSleep(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (Headless()) {
    g_headless.clock.fetch_add(static_cast<uint32_t>(milliseconds));
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int PlatformPresentFrame(const void* pixels, int width, int height, int pitch, int bits) {
  if (!pixels || width <= 0 || height <= 0 || width > 16384 || height > 16384 ||
      (bits != 16 && bits != 32))
    return -1;
  const int rowBytes = width * (bits / 8);
  if (pitch < rowBytes) return -1;
  if (!Headless()) return g_hasWindow.load() ? sdl_backend::PresentFrame(pixels, width, height, pitch, bits) : -1;
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  HeadlessFrame& f = g_headless.lastFrame;
  f.width = width;
  f.height = height;
  f.bits = bits;
  f.pixels.resize(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(f.pixels.data() + static_cast<size_t>(y) * rowBytes,
                static_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * pitch,
                static_cast<size_t>(rowBytes));
  ++g_headless.presented;
  if (g_headless.frameRate > 0) {
    const uint64_t total = g_headless.frameClockRemainder + 1000;
    g_headless.clock.fetch_add(static_cast<uint32_t>(total / static_cast<uint64_t>(g_headless.frameRate)));
    g_headless.frameClockRemainder = total % static_cast<uint64_t>(g_headless.frameRate);
  }
  return 0;
}

// ---- headless controls -----------------------------------------------------------------

void HeadlessReset() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  std::memset(g_headless.keys, 0, sizeof g_headless.keys);
  g_headless.padCount = 0;
  std::memset(g_headless.padBits, 0, sizeof g_headless.padBits);
  g_headless.closed = 0;
  g_headless.answers.clear();
  g_headless.defaultAnswer = 1;
  g_headless.boxesFail = 0;
  g_headless.boxCount = 0;
  g_headless.lastBoxText.clear();
  g_headless.clock = 0;
  g_headless.frameRate = 0;
  g_headless.frameClockRemainder = 0;
  g_headless.presented = 0;
  g_headless.lastFrame = HeadlessFrame();
}

void HeadlessSetKey(int scanCode, int down) {
  if (scanCode < 0 || scanCode > 255) return;
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.keys[scanCode] = down ? 1 : 0;
}

void HeadlessClearKeys() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  std::memset(g_headless.keys, 0, sizeof g_headless.keys);
}

void HeadlessSetPadCount(int count) {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.padCount = count < 0 ? 0 : (count > 16 ? 16 : count);
}

void HeadlessSetPadBits(int pad, uint32_t bits) {
  if (pad < 0 || pad >= 16) return;
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.padBits[pad] = bits;
}

void HeadlessInjectClose() { g_headless.closed = 1; }

void HeadlessQueueMessageBoxAnswer(int yes) {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.answers.push_back(yes ? 1 : 0);
}

void HeadlessSetDefaultMessageBoxAnswer(int yes) {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.defaultAnswer = yes ? 1 : 0;
}

void HeadlessSetMessageBoxesFail(int fail) {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.boxesFail = fail ? 1 : 0;
}

int HeadlessMessageBoxCount() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  return g_headless.boxCount;
}

const char* HeadlessLastMessageBoxText() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  return g_headless.lastBoxText.c_str();
}

void HeadlessAdvanceClock(uint32_t milliseconds) { g_headless.clock.fetch_add(milliseconds); }
void HeadlessSetClock(uint32_t milliseconds) { g_headless.clock = milliseconds; }

void HeadlessSetFrameClockRate(int framesPerSecond) {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  g_headless.frameRate = framesPerSecond < 0 ? 0 : framesPerSecond;
  g_headless.frameClockRemainder = 0;
}

int HeadlessPresentedFrameCount() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  return g_headless.presented;
}

HeadlessFrame HeadlessLastFrame() {
  std::lock_guard<std::mutex> hold(g_headless.mutex);
  return g_headless.lastFrame;
}
