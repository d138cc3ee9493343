// Loading pictures into graph handles: the file layer, the decoder chain and
// the conversion to the screens' colour kind; split loads and blank graphs.
#include <cstring>

#include "core/fileio.h"
#include "core/library.h"
#include "core/log.h"
#include "core/report.h"
#include "core/sjis.h"
#include "graphics/graph_ops.h"
#include "graphics/graph_registry.h"
#include "graphics/image_convert.h"
#include "graphics/screen.h"

int LoadGraphImageFile(const char* fileName, GraphImage* image) {
  if (!fileName) return -1;
  const StreamHandle file = FileOpen(fileName, 0, 1);
  if (!file) {
    LogFormatLine("画像ファイルが開けませんでした: %s", fileName);
    ReportToUser("cannot load the picture %s: %s", Cp932ToUtf8(fileName).c_str(),
                 FileOpenFailureReason());
    return -1;
  }
  // The file layer's handles go with the file stream set.
  ImageStream stream{GetFileStreamFunctions(), file};
  const int result = DecodeImageStream(&stream, image);
  FileClose(file);
  if (result != 0) {
    LogFormatLine("画像ファイルの読み込みに失敗しました: %s", fileName);
    ReportToUser("cannot load the picture %s: it is damaged or not a picture format this program reads",
                 Cp932ToUtf8(fileName).c_str());
  }
  return result;
}

// The depth of new graphs: the screens', or before they exist the depth the
// library start will give them.
static int NewGraphBits() {
  if (ScreensExist()) return g_screenSettings.bits;
  return g_librarySettings.colorBits == 32 ? 32 : 16;
}

static int GraphFromImage(GraphImage* image, int renderTarget) {
  MEMIMG memimg;
  std::memset(&memimg, 0, sizeof memimg);
  const int converted = ConvertGraphImageToMemImg(image, NewGraphBits(), &memimg);
  ReleaseGraphImage(image);
  if (converted != 0) {
    LogFormatLine("画像の変換に失敗しました");
    return -1;
  }
  const int handle = AddGraphFromMemImg(&memimg, renderTarget);
  if (handle < 0) {
    FreeMemImg(&memimg);
    LogFormatLine("グラフィックハンドルの作成に失敗しました");
  }
  return handle;
}

int LoadGraphInner(const char* fileName) {
  GraphImage image{};
  if (LoadGraphImageFile(fileName, &image) != 0) return -1;
  return GraphFromImage(&image, g_screenSettings.renderTargetCreation);
}

int LoadGraphFromMemoryInner(const void* data, size_t size) {
  GraphImage image{};
  if (DecodeImageMemory(data, size, &image) != 0) return -1;
  return GraphFromImage(&image, g_screenSettings.renderTargetCreation);
}

int SplitGraphInner(int graph, int count, int across, int down, int pieceWidth, int pieceHeight,
                    int* handles) {
  const GraphRecord* record = GetGraphRecord(graph);
  if (!record || !handles || count <= 0 || across <= 0 || down <= 0 || pieceWidth <= 0 ||
      pieceHeight <= 0)
    return -1;
  if (count > static_cast<int64_t>(across) * down ||
      static_cast<int64_t>(across) * pieceWidth > record->width ||
      static_cast<int64_t>((count + across - 1) / across) * pieceHeight > record->height)
    return -1;
  for (int i = 0; i < count; ++i) {
    const int column = i % across;
    const int row = i / across;
    handles[i] = DeriveGraph(column * pieceWidth, row * pieceHeight, pieceWidth, pieceHeight, graph);
    if (handles[i] < 0) {
      for (int j = 0; j < i; ++j) {
        DeleteGraph(handles[j]);
        handles[j] = -1;
      }
      return -1;
    }
  }
  return 0;
}

int LoadGraphSplitInner(const char* fileName, int count, int across, int down, int pieceWidth,
                        int pieceHeight, int* handles) {
  const int whole = LoadGraphInner(fileName);
  if (whole < 0) return -1;
  const int result = SplitGraphInner(whole, count, across, down, pieceWidth, pieceHeight, handles);
  if (result != 0) LogFormatLine("画像の分割に失敗しました: %s", fileName);
  DeleteGraph(whole);  // the pieces keep the pixels alive
  return result;
}

int CreateBlankGraphInner(int width, int height) {
  if (width <= 0 || height <= 0 || width > MaxImageSide || height > MaxImageSide) return -1;
  MEMIMG memimg;
  std::memset(&memimg, 0, sizeof memimg);
  const uint32_t kind = NewGraphBits() == 32 ? ColorKind32 : ColorKind16;
  if (CreateMemImg(&memimg, width, height, -1, 0, kind, 0, 0, 0) != 0) return -1;
  std::memset(memimg.pixels, 0, static_cast<size_t>(memimg.pitch) * height);
  const int handle = AddGraphFromMemImg(&memimg, g_screenSettings.renderTargetCreation);
  if (handle < 0) FreeMemImg(&memimg);
  return handle;
}
