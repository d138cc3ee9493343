// The built title on a 16-bit screen: nothing of the loading picture shows
// through the backdrop, which is drawn opaque every frame over the last one.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver.h"
#include "graphics/graph_registry.h"
#include "graphics/screen.h"
#include "library/tesra.h"
#include "scenes/title.h"
#include "shell/savefile.h"

TEST(TitleScreen, NoGhostOfTheLoadingPictureAtSixteenBits) {
  GameDriver driver;
  if (!driver.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  GameState& s = driver.State();
  s.screenMode = 0;  // window, no question
  s.color32 = 0;     // 16-bit colour
  s.bgmVolume = 0;
  s.seVolume = 0;
  uint8_t image[20];
  EncodeConfigFile(s, image);
  GameDriver::WriteFile("vko01.cfg", std::vector<uint8_t>(image, image + 20));
  std::memset(&s, 0, sizeof s);
  ASSERT_EQ(driver.Start(), StartUpResult::Ready);
  driver.Run(kTitleBuildUpFrames + 2);

  const MEMIMG* back = GetBackScreenMemImg();
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->colorKind, ColorKind16);
  const int title = ApiLoadGraphFromFile("vko01\\title.tga", 0);
  ASSERT_NE(title, -1);
  MEMIMG view;
  const MEMIMG* sheet = GraphHandleMemImg(title, &view);
  ASSERT_NE(sheet, nullptr);
  // Right of the banner and above the entries only the backdrop is drawn; the
  // loading labels were drawn there at start-up.
  int differing = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 400; x < 640; ++x) {
      uint16_t shown, want;
      std::memcpy(&shown, MemImgRow(back, y) + 2 * x, 2);
      std::memcpy(&want, MemImgRow(sheet, y) + sheet->format->bytesPerPixel * x, 2);
      differing += shown != want;
    }
  EXPECT_EQ(differing, 0);
  ApiFreeGraphHandle(title, 0);
}
