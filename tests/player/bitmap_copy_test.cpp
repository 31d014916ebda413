// Copies between bitmaps: where they land, what each kind copies, cut to
// both bitmaps, and copies of a bitmap onto itself.
#include "player/bitmap_copy.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "bitmap_fixture.h"

namespace {

namespace p = glint::player;
using glint::player::CopyArea;

class BitmapCopy : public glint::test::BitmapTest {};

TEST(BitmapCopyPlacement, BothBranchesAndNegativePositions) {
  struct Case {
    int32_t dw, dh, sw, sh, x, y;
    std::optional<CopyArea> area;  // dest x, y, source x, y, width, rows
  };
  const Case cases[] = {
      // The destination holds the source: it goes in at (x, y), cut right and below.
      {320, 200, 100, 100, 300, 150, CopyArea{300, 150, 0, 0, 20, 50}},
      {320, 200, 100, 100, 0, 0, CopyArea{0, 0, 0, 0, 100, 100}},
      {100, 100, 100, 100, 99, 99, CopyArea{99, 99, 0, 0, 1, 1}},
      {320, 200, 100, 100, 320, 0, std::nullopt},
      {320, 200, 100, 100, 0, 200, std::nullopt},
      {320, 200, 100, 100, -1, 0, std::nullopt},  // no longer starts before the buffer
      {320, 200, 100, 100, 0, -50, std::nullopt},
      {320, 200, 100, 100, INT32_MIN, INT32_MIN, std::nullopt},
      // A smaller destination is filled from the source's area at (x, y).
      {100, 100, 320, 200, 10, 20, CopyArea{0, 0, 10, 20, 100, 100}},
      {100, 100, 320, 200, 300, 150, CopyArea{0, 0, 300, 150, 20, 50}},
      {100, 300, 320, 200, 0, 0, CopyArea{0, 0, 0, 0, 100, 200}},  // wider but lower source
      {100, 100, 320, 200, 320, 0, std::nullopt},
      {100, 100, 320, 200, -10, 5, std::nullopt},
      {100, 100, 320, 200, 5, -10, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto got = p::place_bitmap_copy(c.dw, c.dh, c.sw, c.sh, c.x, c.y);
    const std::string label = std::to_string(c.dw) + "x" + std::to_string(c.dh) + " <- " +
                              std::to_string(c.sw) + "x" + std::to_string(c.sh) + " at " +
                              std::to_string(c.x) + "," + std::to_string(c.y);
    ASSERT_EQ(got.has_value(), c.area.has_value()) << label;
    if (!got) continue;
    EXPECT_EQ(got->dest_x, c.area->dest_x) << label;
    EXPECT_EQ(got->dest_y, c.area->dest_y) << label;
    EXPECT_EQ(got->source_x, c.area->source_x) << label;
    EXPECT_EQ(got->source_y, c.area->source_y) << label;
    EXPECT_EQ(got->width, c.area->width) << label;
    EXPECT_EQ(got->rows, c.area->rows) << label;
  }
}

TEST(BitmapCopyPlacement, ScreenAreasStayOnTheScreen) {
  EXPECT_FALSE(p::place_on_screen(640, 480, 10, 10, -5, 0));
  EXPECT_FALSE(p::place_on_screen(640, 480, 10, 10, 0, 480));
  const auto cut = p::place_on_screen(640, 480, 100, 100, 600, 400);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->width, 40);
  EXPECT_EQ(cut->rows, 80);
  // From the screen: only the part inside it is read.
  const auto from = p::place_from_screen(640, 480, 100, 50, -30, 460);
  ASSERT_TRUE(from);
  EXPECT_EQ(from->source_x, 0);
  EXPECT_EQ(from->source_y, 460);
  EXPECT_EQ(from->dest_x, 30);
  EXPECT_EQ(from->dest_y, 0);
  EXPECT_EQ(from->width, 70);
  EXPECT_EQ(from->rows, 20);
  EXPECT_FALSE(p::place_from_screen(640, 480, 100, 50, -100, 0));
  EXPECT_FALSE(p::place_from_screen(640, 480, 100, 50, 0, int64_t{INT32_MAX} + 5));
}

// A w x h picture whose pixel (x, y) is first + x + w * y.
struct Picture {
  std::vector<uint8_t> pixels;
  glint::player::display::Target8 target;
  Picture(int32_t w, int32_t h, uint8_t first = 0) : pixels(size_t(w) * size_t(h)) {
    std::iota(pixels.begin(), pixels.end(), first);
    target = {pixels.data(), w, w, h};
  }
};

TEST(BitmapCopyKinds, EachKindTakesItsPixels) {
  const Picture source(4, 1, 10);  // 10 11 12 13
  Picture mask(4, 1);              // 0 1 2 3
  Picture second(4, 1, 100);       // 100 101 102 103
  struct Case {
    p::CopyKind kind;
    uint8_t key;
    std::vector<uint8_t> expected;  // over a destination of 0 1 2 3
  };
  const Case cases[] = {
      {p::CopyKind::kPlain, 0, {10, 11, 12, 13}},
      {p::CopyKind::kTransparent, 11, {10, 1, 12, 13}},
      {p::CopyKind::kMasked, 2, {10, 11, 2, 13}},
      {p::CopyKind::kMerged, 13, {10, 11, 12, 103}},
  };
  for (const Case& c : cases) {
    Picture dest(4, 1);
    const auto* extra = c.kind == p::CopyKind::kMasked   ? &mask.target
                        : c.kind == p::CopyKind::kMerged ? &second.target
                                                         : nullptr;
    p::copy_area(dest.target, source.target, extra, CopyArea{0, 0, 0, 0, 4, 1}, c.kind, c.key);
    EXPECT_EQ(dest.pixels, c.expected) << int(c.kind);
  }
  // Rows of 8 and more take the wide path; the result is the same.
  Picture wide_source(37, 3, 1), wide_dest(37, 3, 200);
  p::copy_area(wide_dest.target, wide_source.target, nullptr, CopyArea{0, 0, 0, 0, 37, 3},
               p::CopyKind::kTransparent, 20);
  for (size_t i = 0; i < wide_dest.pixels.size(); ++i)
    EXPECT_EQ(wide_dest.pixels[i], i + 1 == 20 ? uint8_t(200 + i) : uint8_t(i + 1)) << i;
}

TEST(BitmapCopyKinds, AreasOutsideAPictureCopyNothing) {
  Picture source(4, 4), dest(4, 4, 50);
  const std::vector<uint8_t> before = dest.pixels;
  for (const CopyArea& area : {CopyArea{1, 0, 0, 0, 4, 1}, CopyArea{0, 0, 0, 3, 1, 2},
                               CopyArea{-1, 0, 0, 0, 1, 1}, CopyArea{0, 0, 0, 0, 0, 1}})
    p::copy_area(dest.target, source.target, nullptr, area, p::CopyKind::kPlain, 0);
  EXPECT_EQ(dest.pixels, before);
}

TEST(BitmapCopyKinds, OverlappingCopiesWithinOnePicture) {
  // Every input is read before anything is written, whichever way the areas overlap.
  struct Case {
    CopyArea area;
    p::CopyKind kind;
  };
  const Case cases[] = {
      {{1, 1, 0, 0, 4, 4}, p::CopyKind::kPlain},       {{0, 0, 1, 1, 4, 4}, p::CopyKind::kPlain},
      {{2, 0, 0, 0, 3, 5}, p::CopyKind::kTransparent}, {{0, 1, 0, 0, 5, 4}, p::CopyKind::kMerged},
      {{0, 0, 0, 1, 5, 4}, p::CopyKind::kMasked},
  };
  for (const Case& c : cases) {
    Picture self(5, 5, 1);
    Picture copy(5, 5, 1);
    const Picture reference_source(5, 5, 1);
    p::copy_area(self.target, self.target, &self.target, c.area, c.kind, 7);
    p::copy_area(copy.target, reference_source.target, &reference_source.target, c.area, c.kind, 7);
    EXPECT_EQ(self.pixels, copy.pixels)
        << c.area.dest_x << "," << c.area.dest_y << " kind " << int(c.kind);
  }
}

TEST_F(BitmapCopy, ScriptsPlaceCutAndSkip) {
  const auto r =
      run("BITMAPALLOC D 320 200\nBITMAPALLOC S 100 100\nBITMAPCLEAR S 5\n"
          "BITMAPSETPIXEL S 19 49 6\nBITMAPTOBITMAP D S 300 150\n"
          "BITMAPGETPIXEL IN D 300 150\nBITMAPGETPIXEL CORNER D 319 199\nBITMAPGETPIXEL LEFT D 299 "
          "150\n"
          "BITMAPALLOC E 320 200\nBITMAPTOBITMAP E S -5 0\nBITMAPGETPIXEL NEG E 0 0\n"
          // The small destination is filled from the large source at (10, 20).
          "BITMAPALLOC SMALL 100 100\nBITMAPSETPIXEL D 309 169 9\nBITMAPTOBITMAP SMALL D 210 70\n"
          "BITMAPGETPIXEL FROM SMALL 99 99\nBITMAPGETPIXEL FROM0 SMALL 90 80\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("IN"), "5");
  EXPECT_EQ(r.var("CORNER"), "6");  // source (19, 49) at (319, 199): 20 x 50 copied
  EXPECT_EQ(r.var("LEFT"), "0");
  EXPECT_EQ(r.var("NEG"), "0");
  EXPECT_EQ(r.var("FROM"), "9");  // from (309, 169)
  EXPECT_EQ(r.var("FROM0"), "5");
}

TEST_F(BitmapCopy, MaskAndMergeNeedTheSourceSize) {
  const auto r = run(
      "BITMAPALLOC D 8 8\nBITMAPALLOC S 4 4\nBITMAPCLEAR S 3\nBITMAPALLOC M 4 5\n"
      "BITMAPALLOC OK 4 4\n"
      "BITMAPTOBITMAPMASK D S M 0 0 1\nBITMAPTOBITMAPMERGE D S M 0 0 1\nBITMAPGETPIXEL P0 D 0 0\n"
      "BITMAPTOBITMAPMASK D S OK 0 0 1\nBITMAPGETPIXEL P1 D 0 0\n"
      "BITMAPSETPIXEL OK 1 1 8\nBITMAPTOBITMAPMERGE D OK S 2 2 0\nBITMAPGETPIXEL P2 D 2 2\n"
      "BITMAPGETPIXEL P3 D 3 3\nBITMAPCLEAR D 9\nBITMAPTOBITMAPTRANS D OK 4 4 0\nBITMAPGETPIXEL P4 "
      "D 4 4\n"
      "BITMAPGETPIXEL P5 D 5 5\n");
  ASSERT_EQ(r.error(), "");
  EXPECT_EQ(r.var("P0"), "0");  // the 4 x 5 mask does not fit the 4 x 4 source
  EXPECT_EQ(r.var("P1"), "3");  // mask pixel 0 is not the key 1
  EXPECT_EQ(r.var("P2"), "3");  // OK's 0 is the key: the second source's 3
  EXPECT_EQ(r.var("P3"), "8");
  EXPECT_EQ(r.var("P4"), "9");  // the key 0 is not copied
  EXPECT_EQ(r.var("P5"), "8");
}

TEST_F(BitmapCopy, ABitmapOntoItself) {
  const auto r = run(
      "BITMAPALLOC A 5 1\nBITMAPSETPIXEL A 0 0 1\nBITMAPSETPIXEL A 1 0 2\nBITMAPSETPIXEL A 2 0 3\n"
      "BITMAPSETPIXEL A 3 0 4\nBITMAPSETPIXEL A 4 0 5\nBITMAPTOBITMAP A A 1 0\n");
  ASSERT_EQ(r.error(), "");
  const auto* bitmap = p::find_bitmap(r.player, 9000);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->pixels, (std::vector<uint8_t>{1, 1, 2, 3, 4}));
}

}  // namespace
