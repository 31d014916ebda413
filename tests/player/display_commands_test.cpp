// The SCREEN and TEXT commands end to end, on the headless display, with the
// pixels read back by the script and from the snapshot left at the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "display_fixture.h"
#include "player/font.h"
#include "script_runner.h"
#include "support/temp_dir.h"

namespace t = glint::player::test;

namespace {

class ScreenCommands : public glint::test::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    setenv("GLINT_SNAPSHOT_DIR", dir.path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("GLINT_SNAPSHOT_DIR");
    DisplayTest::TearDown();
  }
  // The last snapshot as (width, height, pixels).
  std::string last_snapshot() const {
    return dir.read(glint::platform::headless::last_snapshot().substr(dir.path().size() + 1));
  }
  glint::test::TempDir dir;
};

TEST_F(ScreenCommands, WindowSizesAndInfo) {
  const auto run = t::run_script_text(
      "SCREENWIDTH w0\nSCREENHEIGHT h0\nSCREENINFO i0\nSCREENWINDOWHWND n0\n"
      "SCREENGRAPHICS ok 64 32\nSCREENWIDTH w\nSCREENHEIGHT h\nSCREENINFO i\nSCREENWINDOWHWND n\n"
      "SCREENWINDOWHPAL p\nSCREENWINDOWHASFOCUS f\n"
      "SCREENSETTINGS 0\nSCREENGRAPHICS ok2 100 50\nSCREENINFO i2\n"
      "SCREENGRAPHICS bad -5 10\nSCREENTEXT\nSCREENWIDTH w3\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("w0"), "80");
  EXPECT_EQ(run.var("h0"), "25");
  EXPECT_EQ(run.var("i0"), "");
  EXPECT_EQ(run.var("n0"), "0");
  EXPECT_EQ(run.var("ok"), "1");
  EXPECT_EQ(run.var("w"), "64");
  EXPECT_EQ(run.var("h"), "32");
  EXPECT_EQ(run.var("i").rfind("DIBSection with accelerated blitting (16-bit 1x", 0), 0u)
      << run.var("i");
  EXPECT_NE(run.var("n"), "0");
  EXPECT_NE(run.var("p"), "0");
  EXPECT_EQ(run.var("f"), "1");
  EXPECT_EQ(run.var("ok2"), "1");
  EXPECT_EQ(run.var("i2"), "Standard Windows DIBs");  // the settings apply to a new display
  EXPECT_EQ(run.var("bad"), "0");
  EXPECT_EQ(run.var("w3"), "80");
}

TEST_F(ScreenCommands, NeedTheWindowAndAPictureSize) {
  EXPECT_NE(t::run_script_text("SCREENCLEAR 0\n").error().find("A window hasn't been created yet"),
            std::string::npos);
  EXPECT_NE(t::run_script_text("TEXT hello\n").error().find("A window hasn't been created yet"),
            std::string::npos);
  EXPECT_NE(t::run_script_text("SCREENGRAPHICS v 0 10\n").error().find("Zero dimension in command"),
            std::string::npos);
}

TEST_F(ScreenCommands, PixelsLinesAndBoxesStayOnTheScreen) {
  const auto run = t::run_script_text(
      "SCREENGRAPHICS ok 64 32\nSCREENCLEAR 9\n"
      "SCREENSETPIXEL 3 4 200\nSCREENGETPIXEL a 3 4\n"
      "SCREENSETPIXEL -1 0 201\nSCREENSETPIXEL 64 0 201\nSCREENGETPIXEL out -1 -1\nSCREENGETPIXEL "
      "out2 0 99\n"
      "SCREENLINE 0 0 -1 0 5\nSCREENGETPIXEL l 63 0\n"
      "SCREENBOX 10 10 10 5 7\nSCREENGETPIXEL b1 10 10\nSCREENGETPIXEL b2 19 14\nSCREENGETPIXEL b3 "
      "20 10\n"
      "SCREENGETPIXEL b4 15 12\nSCREENBOX 60 30 10 10 7\nSCREENBOX 5 5 -3 -3 7\n"
      "SCREENFILLEDBOX 60 20 100 100 4\nSCREENGETPIXEL f1 63 31\nSCREENGETPIXEL f2 59 20\n"
      "SCREENFILLEDBOX -1 0 5 5 4\nSCREENGETPIXEL f3 0 0\nSCREENFILLEDBOX 1 1 -5 -5 4\n"
      "SCREENADJUSTXY 2 3\nSCREENSETPIXEL 0 0 77\nSCREENADJUSTXY 0 0\nSCREENGETPIXEL adj 2 3\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("a"), "200");
  EXPECT_EQ(run.var("out"), "0");
  EXPECT_EQ(run.var("out2"), "0");
  EXPECT_EQ(run.var("l"), "5");
  EXPECT_EQ(run.var("b1"), "7");
  EXPECT_EQ(run.var("b2"), "7");
  EXPECT_EQ(run.var("b3"), "9");  // 10 wide covers columns 10-19 only
  EXPECT_EQ(run.var("b4"), "9");
  EXPECT_EQ(run.var("f1"), "4");
  EXPECT_EQ(run.var("f2"), "9");
  EXPECT_EQ(run.var("f3"), "5");  // a box starting off the screen draws nothing
  EXPECT_EQ(run.var("adj"), "77");
}

TEST_F(ScreenCommands, PaletteLocksAndTheDefaultPalette) {
  const auto run = t::run_script_text(
      "SCREENPALETTELOCK 250 10 1\nSCREENPALETTELOCK -3 10 1\nSCREENPALETTELOCK 300 1 1\n"
      "SCREENGRAPHICS ok 8 4\nSCREENGETBRIGHTESTPALETTEINDEX br\nSCREENGETDARKESTPALETTEINDEX dk\n"
      "SCREENFORCEPALETTEZEROBLACK 1\n");
  EXPECT_EQ(run.error(), "");
  for (int i = 0; i < 256; ++i)
    EXPECT_EQ(run.player.palette_locks[size_t(i)], i >= 250 || i == 0 ? 1 : 0) << i;
  EXPECT_EQ(run.var("br"), "63");  // grey 63 is the brightest default entry
  EXPECT_EQ(run.var("dk"), "0");
}

TEST_F(ScreenCommands, TextDrawsAtTheCursorWithoutScrolling) {
  // 'H' row 2 in the built-in font: two pixels set, three clear, two set.
  const uint8_t* h_row = glint::player::font_glyph_row(glint::player::builtin_font(), 'H', 2);
  ASSERT_EQ(*h_row & 0xE0, 0xC0);
  const auto run = t::run_script_text(
      "SCREENSETTINGS 0\nSCREENGRAPHICS ok 64 40\nSCREENCLEAR 9\n"
      "TEXT \"H\"\nTEXTX x1\nTEXTY y1\nSCREENGETPIXEL pon 0 2\nSCREENGETPIXEL poff 2 2\n"
      "TEXTCOLOR 128\nTEXTBACKCOLOR 3\nTEXTNOCR \"H\"\nSCREENGETPIXEL ton 0 18\nSCREENGETPIXEL "
      "toff 2 18\n"
      "TEXTX x2\nTEXTNOCR \"H\"\nTEXTX x3\n"
      "TEXTCOLOR 7\nTEXTBACKCOLOR 128\nTEXTSETXY 0 0\nTEXTNOCR \"HHHHHHHHHHHH\"\nTEXTX "
      "x4\nSCREENGETPIXEL boff 58 2\n"
      "TEXTSETXY 0 20\nTEXT \"a\"\nTEXTY y5\nTEXT \"b\"\nTEXTY y6\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(run.var("x1"), "0");
  EXPECT_EQ(run.var("y1"), "16");
  EXPECT_EQ(run.var("pon"), "7");
  EXPECT_EQ(run.var("poff"), "0");
  EXPECT_EQ(run.var("ton"), "9");   // transparent text: the glyph pixels keep the screen
  EXPECT_EQ(run.var("toff"), "3");  // and the background is drawn
  EXPECT_EQ(run.var("x2"), "8");
  EXPECT_EQ(run.var("x3"), "16");   // side by side on one line
  EXPECT_EQ(run.var("x4"), "64");   // cut at the right edge: 8 whole cells
  EXPECT_EQ(run.var("boff"), "9");  // transparent background: the screen shows through
  EXPECT_EQ(run.var("y5"), "20");   // 20 + 2 x 16 > 40: the cursor stays on its line
  EXPECT_EQ(run.var("y6"), "20");
}

TEST_F(ScreenCommands, SnapshotShowsTheWindowAtTheEnd) {
  const auto run = t::run_script_text(
      "SCREENSETTINGS 0\nSCREENGRAPHICS ok 8 4\nSCREENCLEAR 1\nSCREENSETPIXEL 0 0 "
      "63\nSCREENSETPIXEL 7 3 200\n");
  EXPECT_EQ(run.error(), "");
  const std::string ppm = last_snapshot();
  ASSERT_EQ(ppm.size(), std::string("P6\n8 4\n255\n").size() + 8 * 4 * 3) << ppm.size();
  const size_t body = std::string("P6\n8 4\n255\n").size();
  EXPECT_EQ(ppm.substr(0, body), "P6\n8 4\n255\n");
  auto px = [&](int x, int y, int c) {
    return uint8_t(ppm[body + size_t(y * 8 + x) * 3 + size_t(c)]);
  };
  EXPECT_EQ(px(0, 0, 0), 63);  // grey ramp
  EXPECT_EQ(px(0, 0, 2), 63);
  EXPECT_EQ(px(1, 0, 0), 1);
  EXPECT_EQ(px(7, 3, 0), 0);  // 200 is blue 136
  EXPECT_EQ(px(7, 3, 2), 136);
}

TEST_F(ScreenCommands, TextBeginPrintsItsLinesUpToTextEnd) {
  // Every line of the block is text: blank lines, comments, label-like
  // lines and command lines are printed (left blanks dropped, %NAME%
  // replaced), none is run; TEXTEND may be written in any case.
  const std::string job = dir.file("job.txt");
  const auto run = t::run_script_text(
      "SCREENGRAPHICS ok 64 40\nVARSET NAME \"World\"\nPRINTBEGIN \"" + job + "\"\n"
      "TEXTBEGIN # the block starts below\n"
      "   Hello %NAME%!\n\n# not a comment here\n:notalabel\nVARSET X 1\n"
      "textEnd of the block\nVARSET AFTER 1\nPRINTEND\n");
  EXPECT_EQ(run.error(), "");
  EXPECT_EQ(dir.read("job.txt"), "Hello World!\r\n\r\n# not a comment here\r\n:notalabel\r\nVARSET X 1\r\n");
  EXPECT_EQ(run.var("X"), "");
  EXPECT_EQ(run.var("AFTER"), "1");

  // On the screen the lines go down like TEXT's.
  const auto screen = t::run_script_text(
      "SCREENGRAPHICS ok 64 64\nTEXTBEGIN\nab\ncd\nTEXTEND\nTEXTX x\nTEXTY y\n");
  EXPECT_EQ(screen.error(), "");
  EXPECT_EQ(screen.var("x"), "0");
  EXPECT_EQ(screen.var("y"), "32");

  // A block without TEXTEND prints to the end and leaves that script; the
  // caller goes on.
  const auto called = t::run_scripts(
      {{"main.gs", "SCREENGRAPHICS ok 64 40\nCALL \"sub\"\nTEXTY y\nVARSET BACK 1\n"},
       {"sub.gs", "TEXTBEGIN\nonly line\n"}},
      "main");
  EXPECT_EQ(called.error(), "");
  EXPECT_EQ(called.var("BACK"), "1");
  EXPECT_EQ(called.var("y"), "16");

  // Passing over a block (a jump past TEXTBEGIN) runs none of its lines.
  const auto jumped = t::run_script_text(
      "GOTO \"past\"\nTEXTBEGIN\nVARSET X 1\n:past\nTEXTEND\nVARSET AFTER 1\n");
  EXPECT_NE(jumped.error().find("Label not found"), std::string::npos);
  EXPECT_NE(t::run_script_text("TEXTBEGIN\nTEXTEND\n").error().find(
                "A window hasn't been created yet"),
            std::string::npos);
}

}  // namespace
