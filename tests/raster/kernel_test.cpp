// Pixel results of the rasteriser's write kernels, one pixel at a time
// through the public entry: copy, alpha blend, add, subtract and multiply on
// 32-bit and 16-bit targets.
#include "raster/raster_test_util.h"

namespace {

uint32_t Channel(uint32_t px, int c) { return (px >> (8 * c)) & 0xFF; }

}  // namespace

TEST(RasterCopy32, AlphaTextureOpaqueTexelDependsOnTransparency) {
  OnePixel p;
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  p.target = 0x00000000;
  EXPECT_EQ(p.Draw(), 0x00FEFEFEu);  // alpha copy falls one step short, byte 3 kept
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0xFFFFFFFFu);  // opaque: whole texel, byte 3 too
  p.texel = 0x00FFFFFF;              // alpha 0
  p.target = 0x11223344;
  EXPECT_EQ(p.Draw(), 0x11223344u);  // rejected
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0x11223344u);  // alpha copy with a = 0 leaves the colour
}

TEST(RasterCopy32, GraphAndAlphaForms) {
  OnePixel p;
  p.graphWeight = 255;
  p.texel = 0x00FFFFFF;
  EXPECT_EQ(p.Draw() & 0xFFFFFF, 0xFEFEFEu);
  p.texel = 0;
  p.target = 0xAAFFFFFF;
  EXPECT_EQ(p.Draw(), 0xAA000000u);
  p.graphWeight = 0;
  p.target = 0x12345678;
  EXPECT_EQ(p.Draw(), 0x12345678u);
  // Graph and alpha together, g = a = 255.
  p.graphWeight = 255;
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  p.target = 0;
  EXPECT_EQ(p.Draw(), 0x00FDFDFDu);
  p.texel = 0xFF000000;
  p.target = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0x00010101u);
}

TEST(RasterCopy32, ModulationByVertexAndBright) {
  OnePixel p;
  p.vertex = true;
  p.texel = 0x77FFFF00;
  p.target = 0x5A000000;
  EXPECT_EQ(p.Draw(), 0x5AFEFE00u);  // 255 -> 254, 0 stays, byte 3 of the target kept
  p.vertex = false;
  p.bright = 0x00FFFFFF;  // white whatever the fourth byte
  EXPECT_EQ(p.Draw(), 0x77FFFF00u);
  p.bright = 0xFF80FF40;  // blue 0x40, green 0xFF, red 0x80
  p.texel = 0x33FFFFFF;
  EXPECT_EQ(p.Draw(), 0x5A80FF40u);
}

TEST(RasterCopy32, ColourKeys) {
  OnePixel p;
  p.transparent = true;
  p.texel = 0x00123456;
  p.key = 0x00123456;
  p.target = 0x01010101;
  EXPECT_EQ(p.Draw(), 0x01010101u);
  p.key = 0xFF123456;  // differs only in byte 3: drawn
  EXPECT_EQ(p.Draw(), 0x00123456u);
  p.palette = true;
  p.key = 0;  // index 0 is the texel's
  EXPECT_EQ(p.Draw(), 0x01010101u);
  p.key = 256;  // no index ever matches
  EXPECT_EQ(p.Draw(), 0x00123456u);
}

TEST(RasterAlpha32, PlainGraphAndAlphaForms) {
  OnePixel p;
  p.mode = 1;
  p.param = 128;
  p.texel = 0x00010101;
  p.target = 0x00010101;
  EXPECT_EQ(p.Draw(), 0x00010101u);  // no halving shortcut
  p.texel = 0x00FFFFFF;
  p.target = 0;
  EXPECT_EQ(p.Draw(), 0x007F7F7Fu);
  p.texel = 0;
  p.target = 0x33FFFFFF;
  EXPECT_EQ(p.Draw(), 0x337F7F7Fu);  // byte 3 never written
  p.param = 254;
  p.graphWeight = 255;
  p.texel = 0x00FFFFFF;
  p.target = 0;
  EXPECT_EQ(Channel(p.Draw(), 0), 252u);
  p.graphWeight = -1;
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  p.transparent = true;
  EXPECT_EQ(Channel(p.Draw(), 1), 253u);  // opaque texel: plain form
  p.transparent = false;
  EXPECT_EQ(Channel(p.Draw(), 1), 252u);  // alpha form
}

TEST(RasterAlpha32, ParameterEndsAndVertexAlpha) {
  OnePixel p;
  p.mode = 1;
  p.param = 0;
  p.texel = 0x00FFFFFF;
  p.target = 0x12345678;
  EXPECT_EQ(p.Draw(), 0x12345678u);  // state-coloured parameter 0 draws nothing
  p.param = 255;
  EXPECT_EQ(p.Draw(), 0x00FFFFFFu);  // parameter 255 is the copy, byte 3 included
  p.vertex = true;
  p.vertexColour = 0x00FFFFFF;  // vertex alpha 0
  EXPECT_EQ(p.Draw(), 0x12345678u);
  // Graph and alpha form, vertex-coloured, g = a = F = 255: d = 255, S = 0 gives 2.
  p.vertexColour = 0xFFFFFFFF;
  p.graphWeight = 255;
  p.alphaTexture = true;
  p.texel = 0xFF000000;
  p.target = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0x00020202u);
}

TEST(RasterCopy16, FieldsNeverWidened) {
  OnePixel p;
  p.kind = ColorKind16;
  p.palette = true;
  p.texel = 0xFFFF;
  p.bright = 0xFFFFFF80;  // red 255, green 255, blue 128
  EXPECT_EQ(p.Draw(), 0xFFEFu);  // blue 31 -> 15
  p.palette = false;
  p.bright = 0xFFFFFFFF;
  p.vertex = true;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  p.vertex = false;
  p.graphWeight = 255;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  p.graphWeight = -1;
  p.transparent = true;
  p.texel = 0xF81F;
  p.key = 0xF81F;
  p.target = 0x1234;
  EXPECT_EQ(p.Draw(), 0x1234u);
  p.key = 0xF81FF81F;  // high bits set: never matches
  EXPECT_EQ(p.Draw(), 0xF81Fu);
}

TEST(RasterCopy16, PaletteWordsCopiedWhole) {
  OnePixel p;
  p.kind = ColorKind16;
  p.palette = true;
  p.texel = 0x8631;
  p.target = 0x1111;
  EXPECT_EQ(p.Draw(), 0x8631u);
  p.mode = 1;  // parameter 255: the copy
  EXPECT_EQ(p.Draw(), 0x8631u);
  p.param = 0;  // parameter 0: nothing
  EXPECT_EQ(p.Draw(), 0x1111u);
}

TEST(RasterCopy16, AlphaTexture) {
  OnePixel p;
  p.kind = ColorKind16;
  p.alphaTexture = true;
  p.texel = 0xFFFF;
  p.texelAlpha = 255;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0xFFFFu);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  p.texelAlpha = 0;
  p.target = 0x4321;
  EXPECT_EQ(p.Draw(), 0x4321u);
}

TEST(RasterAlpha16, TableGraphAlphaAndVertexForms) {
  OnePixel p;
  p.kind = ColorKind16;
  p.mode = 1;
  p.param = 128;
  p.texel = 0xFFFF;
  EXPECT_EQ(p.Draw(), 0x7BEFu);
  p.texel = 0;
  p.target = 0xFFFF;
  EXPECT_EQ(p.Draw(), 0x8410u);
  p.param = 254;
  p.graphWeight = 255;
  p.texel = 0xFFFF;
  p.target = 0;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  // Alpha texture with a = 255, green 63 over... target green 63, source 0.
  p.graphWeight = -1;
  p.alphaTexture = true;
  p.texel = 0;
  p.texelAlpha = 255;
  p.target = 63 << 5;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 1u << 5);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0u);
  // Graph and alpha, g = a = 255, p = 254.
  p.graphWeight = 255;
  p.texel = 63 << 5;
  p.target = 0;
  EXPECT_EQ(p.Draw(), 62u << 5);
  p.texel = 0;
  p.target = 63 << 5;
  EXPECT_EQ(p.Draw(), 0u);
  // Vertex-coloured plain form with A = 128.
  OnePixel v;
  v.kind = ColorKind16;
  v.mode = 1;
  v.vertex = true;
  v.vertexColour = 0x80FFFFFF;
  v.texel = 31 << 11;  // modulated to 30
  EXPECT_EQ(v.Draw(), 15u << 11);
  v.texel = 0;
  v.target = 31 << 11;
  EXPECT_EQ(v.Draw(), 15u << 11);
}

TEST(RasterAdd32, PackedSaturatingAdd) {
  OnePixel p;
  p.mode = 2;
  p.texel = 0;
  p.target = 0xFF102030;
  EXPECT_EQ(p.Draw(), 0x00102030u);  // byte 3 becomes red's carry
  p.texel = 0x808080;
  p.target = 0x00808080;
  EXPECT_EQ(p.Draw(), 0x01FFFFFFu);
  p.texel = 0x010101;
  p.target = 0x00010101;
  EXPECT_EQ(p.Draw(), 0x00010102u);
  p.texel = 0x000001;
  p.target = 0x000000FF;
  EXPECT_EQ(p.Draw(), 0x000001FFu);
  p.palette = true;
  p.texel = 0x000000FF;
  p.target = 0;
  EXPECT_EQ(p.Draw(), 0x000000FFu);
}

TEST(RasterAdd32, AddedValueRows) {
  OnePixel p;
  p.mode = 2;
  p.param = 128;
  p.texel = 0x0001FF;
  EXPECT_EQ(p.Draw(), 0x00000080u);  // 255 adds 128, 1 adds 0
  p.param = 255;
  p.bright = 0xFF808080;
  p.texel = 0xFFFFFF;
  EXPECT_EQ(p.Draw(), 0x00808080u);
  p.bright = 0xFFFFFFFF;
  p.graphWeight = 255;
  EXPECT_EQ(p.Draw(), 0x00FDFDFDu);  // row 3
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  EXPECT_EQ(p.Draw(), 0x00FCFCFCu);  // row 4
  p.graphWeight = -1;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0x00FFFFFFu);  // alpha 255 opaque: row 1
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0x00FDFDFDu);  // row 2
  p.texel = 0x00FFFFFF;  // alpha 0: adds nothing, still clears byte 3
  p.target = 0x7F102030;
  EXPECT_EQ(p.Draw(), 0x00102030u);
  p.param = 0;  // state-coloured parameter 0 draws nothing
  EXPECT_EQ(p.Draw(), 0x7F102030u);
}

TEST(RasterAdd32, VertexRows) {
  OnePixel p;
  p.mode = 2;
  p.vertex = true;
  p.param = 0;  // not read by vertex-coloured loops
  p.texel = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0x00FDFDFDu);  // row 5
  p.graphWeight = 255;
  EXPECT_EQ(p.Draw(), 0x00FCFCFCu);  // row 7
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  EXPECT_EQ(p.Draw(), 0x00FBFBFBu);  // row 8
  p.graphWeight = -1;
  EXPECT_EQ(p.Draw(), 0x00FCFCFCu);  // row 6
}

TEST(RasterAdd16, PackedSaturatingAddAndRows) {
  OnePixel p;
  p.kind = ColorKind16;
  p.mode = 2;
  const uint32_t cases[][3] = {{0x0400, 0x0400, 0x0FC0}, {0x8410, 0x8410, 0xFFFF},
                               {0x0021, 0x0021, 0x0022}, {0x001F, 0x0001, 0x003F}};
  for (const auto& c : cases) {
    p.target = c[0];
    p.texel = c[1];
    EXPECT_EQ(p.Draw(), c[2]) << std::hex << c[0] << " + " << c[1];
  }
  p.target = 0;
  p.texel = 0xFFFF;
  p.graphWeight = 255;
  EXPECT_EQ(p.Draw(), (30u << 11) | (62u << 5) | 30u);  // row 3
  p.graphWeight = -1;
  p.alphaTexture = true;
  p.texelAlpha = 255;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0xFFFFu);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), (30u << 11) | (62u << 5) | 30u);
  OnePixel v = p;
  v.vertex = true;
  v.alphaTexture = false;
  EXPECT_EQ(v.Draw(), (30u << 11) | (62u << 5) | 30u);  // row 5
  v.alphaTexture = true;
  v.graphWeight = 255;
  EXPECT_EQ(v.Draw(), (29u << 11) | (61u << 5) | 29u);  // row 8
}

TEST(RasterSub32, BorrowGuardSubtract) {
  OnePixel p;
  p.mode = 3;
  const uint32_t cases[][3] = {{0x00646464, 0x1E1E1E, 0x00474746},
                               {0x00646464, 0x010101, 0x00656563},
                               {0x00000000, 0x010101, 0x00010000},
                               {0x00646464, 0x1E1E70, 0x00474600}};
  for (const auto& c : cases) {
    p.target = c[0];
    p.texel = c[1];
    EXPECT_EQ(p.Draw(), c[2]) << std::hex << c[0] << " - " << c[1];
  }
  p.graphWeight = 255;
  p.texel = 0xFFFFFF;
  p.target = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0x00030302u);  // graph subtrahend 253
  p.graphWeight = -1;
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0x00010100u);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0x00030302u);
}

TEST(RasterSub32, ParameterZero) {
  OnePixel p;
  p.mode = 3;
  p.param = 0;
  p.texel = 0x808080;
  p.target = 0xFF646464;
  EXPECT_EQ(p.Draw(), 0xFF646464u);  // direct texture: nothing drawn
  p.palette = true;
  EXPECT_EQ(p.Draw(), 0x00656564u);  // palette: rewritten with a zero subtrahend
  p.kind = ColorKind16;
  p.texel = 0x8410;
  p.target = 0xFFFF;
  EXPECT_EQ(p.Draw(), 0xFFDFu);
  p.vertex = true;  // vertex alpha 0 gives a zero subtrahend too
  p.palette = false;
  p.vertexColour = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0xFFDFu);
}

TEST(RasterSub16, BorrowGuardSubtract) {
  OnePixel p;
  p.kind = ColorKind16;
  p.mode = 3;
  p.target = 0xA514;
  p.texel = 0x2945;
  EXPECT_EQ(p.Draw(), 0x8BCFu);
  p.target = 0;
  p.texel = 0x0821;
  EXPECT_EQ(p.Draw(), 0x0800u);
  p.target = 0xFFFF;
  p.texel = 0xFFFF;
  p.graphWeight = 255;
  // Subtrahend red 30, green 62, blue 30.
  EXPECT_EQ(p.Draw(), (1u << 11) | (0u << 5) | 1u);
  p.graphWeight = -1;
  p.alphaTexture = true;
  p.texelAlpha = 255;
  p.transparent = true;
  p.target = 31u << 11;
  p.texel = 31u << 11;
  EXPECT_EQ(p.Draw() >> 11, 1u);  // subtrahend 31: red (31 | 1) - 30 = 1
  p.transparent = false;
  EXPECT_EQ(p.Draw() >> 11, 1u);  // subtrahend 30: (31 | 1) - 30 = 1 as well
}

TEST(RasterMul32, Products) {
  OnePixel p;
  p.mode = 4;
  p.param = 0;  // never read
  p.texel = 0x004080C8;  // red 64, green 128, blue 200
  p.target = 0x80646464;
  EXPECT_EQ(p.Draw(), 0x8019324Eu);
  p.texel = 0x00FFFFFF;
  p.target = 0x12FF0164;
  EXPECT_EQ(p.Draw(), 0x12FE0063u);
  p.bright = 0xFF00FF80;  // red 0, green 255, blue 128
  p.target = 0x00C8C8C8;
  EXPECT_EQ(p.Draw(), 0x0000C764u);
  p.bright = 0xFFFFFFFF;
  p.alphaTexture = true;
  p.texel = 0x00FFFFFF;  // alpha 0: not rejected, channels become 0
  p.target = 0x55FFFFFF;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0x55000000u);
  p.texel = 0xFFFFFFFF;
  EXPECT_EQ(p.Draw(), 0x55FEFEFEu);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), 0x55FDFDFDu);
}

TEST(RasterMul32, VertexProducts) {
  OnePixel p;
  p.mode = 4;
  p.vertex = true;
  p.texel = 0x00FFFFFF;
  p.target = 0x00FFFFFF;
  EXPECT_EQ(p.Draw(), 0x00FDFDFDu);
  p.vertexColour = 0xFF000000;
  EXPECT_EQ(p.Draw(), 0u);
  p.vertexColour = 0xFFFFFFFF;
  p.graphWeight = 255;
  p.alphaTexture = true;
  p.texel = 0xFFFFFFFF;
  EXPECT_EQ(p.Draw(), 0x00FBFBFBu);
  p.texel = 0xFF030303;
  p.vertexColour = 0xFF646464;
  EXPECT_EQ(p.Draw(), 0u);  // (3 * 100) >> 8 = 1 before the other factors
}

TEST(RasterMul16, Products) {
  OnePixel p;
  p.kind = ColorKind16;
  p.mode = 4;
  p.texel = 0x8410;
  p.target = 0xA514;
  EXPECT_EQ(p.Draw(), 0x528Au);
  p.texel = 0xFFFF;
  p.target = 0xFFFF;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  p.alphaTexture = true;
  p.texelAlpha = 255;
  p.transparent = true;
  EXPECT_EQ(p.Draw(), 0xF7DEu);
  p.transparent = false;
  EXPECT_EQ(p.Draw(), (29u << 11) | (61u << 5) | 29u);
}

TEST(RasterMul16, NegativeVertexColourKeepsTheSignOfTheUnmaskedBlue) {
  // A sliver's colour plane can run below 0 at a pixel centre. The blue field
  // of a 16-bit multiply is not masked, so the arithmetic shift of the signed
  // product sets every bit of the word: (31 * -2 * 255 * 31) >> 21 = -1.
  ResetState(1, 1);
  Image target(1, 1, ColorKind16);
  target.Set16(0, 0, 0x001F);
  Image tex(1, 1, ColorKind16, 0, 1);
  tex.Set16(0, 0, 0x001F);
  tex.Row(0)[2] = 255;
  RasterFrame f{};
  f.rowCount = 1;
  SpanTable[0] = SpanEntry{0, 1};
  f.rhw.r = 1 << 26;
  f.blue.r = -2 * 16384;
  f.green.r = 255 * 16384;
  f.red.r = 255 * 16384;
  f.targetRow = target.Row(0);
  f.targetPitch = target.m.pitch;
  f.texPixels = tex.m.pixels;
  f.texPitch = tex.m.pitch;
  f.texWidth = 1;
  f.texHeight = 1;
  f.paramRow = ScaleTable[255];
  f.signedParamRow = SignedScaleTable[255] + 255;
  for (auto& row : f.brightRow) row = ScaleTable[255];
  RasterVariant v{};
  v.mode = 4;
  v.vertexColour = true;
  v.alphaTexture = true;
  RasterRunSpans16(f, v);
  EXPECT_EQ(target.Get16(0, 0), 0xFFFFu);  // a logical shift would give 0x07FF
}
