// The input commands in the glintscr program, driven by scripted input: key
// and click names, mouse areas and their levels, the line editor, message
// boxes, the key queue and the software pointer as the window shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "glintscr_harness.h"
#include "script_runner.h"

namespace glint::player::test {
namespace {

using glint::test::TempDir;

// Sets an environment variable for the programs a test starts.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Runs main.gs (with its trace in trace.txt) on scripted input; snapshots,
// when asked for, go into the directory too.
GlintscrRun run_with_input(const TempDir& dir, const std::string& script, const std::string& input,
                           bool snapshots = false) {
  dir.write("input.txt", input);
  ScopedEnv env("GLINT_INPUT", dir.file("input.txt"));
  // Pictures through the palette only, so the window shows its colours exactly.
  ScopedEnv screen("GLINT_HEADLESS_SCREEN", "640x480x32,surface=none");
  std::optional<ScopedEnv> snapshot_env;
  if (snapshots) snapshot_env.emplace("GLINT_SNAPSHOT_DIR", dir.path());
  return run_glintscr_script(dir, "main.gs", "DEBUGFILE \"trace.txt\"\n" + script);
}

std::string shows(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += show(name);
  return text;
}

struct Ppm {
  int width = 0, height = 0;
  std::string rgb;
  uint32_t at(int x, int y) const {
    const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return uint32_t(uint8_t(rgb[i])) << 16 | uint32_t(uint8_t(rgb[i + 1])) << 8 |
           uint8_t(rgb[i + 2]);
  }
};

Ppm read_ppm(const TempDir& dir, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "snapshot-%04d.ppm", number);
  const std::string bytes = dir.read(name);
  Ppm ppm;
  int max = 0, used = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &max, &used) != 3)
    return ppm;
  ppm.rgb = bytes.substr(size_t(used) + 1);
  if (ppm.rgb.size() < size_t(ppm.width) * size_t(ppm.height) * 3) ppm.width = ppm.height = 0;
  return ppm;
}

// The default palette's entries as the window shows them.
constexpr uint32_t kBlack = 0x000000;       // entry 0: the arrow's outline
constexpr uint32_t kBrightGrey = 0x3F3F3F;  // entry 63: the arrow's fill
constexpr uint32_t kBackground = 0x240000;  // entry 100
constexpr uint32_t kBoxColour = 0x070707;   // entry 7

TEST(InputGlintscr, KeyNamesAndTheCloseRequest) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\nINPUTCHAR K1\nINPUTCHAR K2\nINPUTCHAR K3\nINPUTCHAR K4\n"
      "INPUTCHAR K5\nINPUTCHAR K6\nINPUTCHAR K7\nINPUTCHAR K8\nINPUTCHAR K9\n" +
          shows({"K1", "K2", "K3", "K4", "K5", "K6", "K7", "K8", "K9"}),
      "@10 key F3 shift\n@20 key F9 ctrl\n@30 key F2 alt\n@40 char a\n@50 close\n"
      "@60 key PageDown\n@70 key Tab shift\n"
      // A typed byte that the close request's code owns is not a key.
      "@80 char \\xF1\\xC0\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "K1"), "SHIFT F3");
  EXPECT_EQ(shown(dir, "K2"), "CONTROL F9");
  EXPECT_EQ(shown(dir, "K3"), "ALT F2");
  EXPECT_EQ(shown(dir, "K4"), "a");
  EXPECT_EQ(shown(dir, "K5"), "ALT F4");
  EXPECT_EQ(shown(dir, "K6"), "PAGEDOWN");
  EXPECT_EQ(shown(dir, "K7"), "BACKTAB");
  EXPECT_EQ(shown(dir, "K8"), "\xC0");
  // Nothing more can come: the wait ends as a closed window would.
  EXPECT_EQ(shown(dir, "K9"), "ALT F4");
}

TEST(InputGlintscr, WaitsWithATimeLimit) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run =
      run_with_input(dir,
                     "SCREENGRAPHICS R 320 200\nINPUTCHARORDELAY D1 0\nSYSTEMTIMER T0\n"
                     "INPUTCHARORDELAY D2 -50\nSYSTEMTIMER T1\nINPUTCHARORDELAY D3 300\n"
                     "INPUTCHARORDELAY D4 250\nSYSTEMTIMER T2\nDELAY 300\nINPUTCHARORDELAY D5 0\n"
                     "COMPUTE NEG = T1 - T0\nCOMPUTE LIMIT = T2 - T0\n" +
                         shows({"D1", "D2", "D3", "D4", "D5", "NEG", "LIMIT"}),
                     "@100 char x\n@600 char q\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "D1"), "DELAY");
  EXPECT_EQ(shown(dir, "D2"), "DELAY");
  EXPECT_LE(std::stoi(shown(dir, "NEG")), 2);  // a negative time waits no time
  EXPECT_EQ(shown(dir, "D3"), "x");
  EXPECT_EQ(shown(dir, "D4"), "DELAY");
  const int limit = std::stoi(shown(dir, "LIMIT"));
  EXPECT_GE(limit, 100 + 248);
  EXPECT_LE(limit, 100 + 255);
  EXPECT_EQ(shown(dir, "D5"), "q");  // a waiting key comes back at once
}

TEST(InputGlintscr, ClicksOnAreasAndTheirLevels) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\n"
      "MOUSEADD \"big\" 0 0 100 100 0\nMOUSEADD \"small\" 10 10 20 20 0\n"
      "MOUSEADD \"abcdefghijklmnopqrstuvwxyz012345\" 200 0 50 50 0\n"
      "INPUTCHAR C1\nINPUTCHAR C2\nINPUTCHAR C3\nINPUTCHAR C4\nINPUTCHAR C5\nMOUSEAREA A1\n"
      "MOUSEPUSHANDREMOVEALL\nINPUTCHAR C6\nMOUSEADD \"top\" 0 0 20 20 0\nINPUTCHAR C7\n"
      "MOUSEPOP\nINPUTCHAR C8\nMOUSEREMOVE \"small\"\nINPUTCHAR C9\n"
      "MOUSEPOP\nINPUTCHAR CA\nMOUSEADD \"again\" 0 0 20 20 0\nINPUTCHAR CB\n"
      "SCREENADJUSTXY 10 20\nMOUSEX X\nMOUSEY Y\n"
      "SCREENGRAPHICS R 320 200\nINPUTCHAR CC\n" +
          shows({"C1", "C2", "C3", "C4", "C5", "A1", "C6", "C7", "C8", "C9", "CA", "CB", "X", "Y",
                 "CC"}),
      "@10 click 15 15\n@20 click 50 50\n@30 click 150 150\n@40 click 15 15 right\n"
      "@50 click 210 10\n@60 click 15 15\n@70 click 15 15\n@80 click 15 15\n@90 click 15 15\n"
      "@100 click 15 15\n@110 click 15 15\n@120 click 15 15\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "C1"), "small");  // the newest area wins
  EXPECT_EQ(shown(dir, "C2"), "big");
  EXPECT_EQ(shown(dir, "C3"), "LEFT MOUSE");
  EXPECT_EQ(shown(dir, "C4"), "RIGHT MOUSE");
  EXPECT_EQ(shown(dir, "C5"), "abcdefghijklmnopqrstuvwxyz01234");  // 31 characters kept
  EXPECT_EQ(shown(dir, "A1"), "abcdefghijklmnopqrstuvwxyz01234");
  EXPECT_EQ(shown(dir, "C6"), "LEFT MOUSE");  // the old areas wait below the new level
  EXPECT_EQ(shown(dir, "C7"), "top");
  EXPECT_EQ(shown(dir, "C8"), "small");  // back after the pop
  EXPECT_EQ(shown(dir, "C9"), "big");
  EXPECT_EQ(shown(dir, "CA"), "LEFT MOUSE");  // a pop at the base level removes the areas
  EXPECT_EQ(shown(dir, "CB"), "again");
  EXPECT_EQ(shown(dir, "X"), "5");
  EXPECT_EQ(shown(dir, "Y"), "-5");
  EXPECT_EQ(shown(dir, "CC"), "LEFT MOUSE");  // a new window drops the current level's areas
}

TEST(InputGlintscr, MousePositionAndSetting) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run =
      run_with_input(dir,
                     "SCREENGRAPHICS R 320 200\nMOUSESETXY 1000 -7\nMOUSEX X1\nMOUSEY Y1\n"
                     "MOUSESETXY 40 30\nINPUTCHARORDELAY W 20\nMOUSEX X2\nMOUSEY Y2\nMOUSEAREA A1\n"
                     "MOUSEADD \"here\" 30 20 20 20 0\nMOUSEAREA A2\nMOUSEPRESENT P\nMOUSEMODE 3\n"
                     "INPUTCHARORDELAY W 100\nMOUSEX X3\nMOUSEAREA A3\n" +
                         shows({"X1", "Y1", "X2", "Y2", "A1", "A2", "P", "X3", "A3"}),
                     "@50 leave\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "X1"), "310");  // the whole arrow stays on the screen
  EXPECT_EQ(shown(dir, "Y1"), "0");
  EXPECT_EQ(shown(dir, "X2"), "40");  // the system pointer went there too
  EXPECT_EQ(shown(dir, "Y2"), "30");
  EXPECT_EQ(shown(dir, "A1"), "");
  EXPECT_EQ(shown(dir, "A2"), "here");
  EXPECT_EQ(shown(dir, "P"), "1");
  EXPECT_EQ(shown(dir, "X3"), "-1");  // outside the window
  EXPECT_EQ(shown(dir, "A3"), "");
}

TEST(InputGlintscr, LineEditor) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const std::string fifty_two(52, 'x');
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\nINPUTSTR S1 10 \"Name: \"\nINPUTSTR S2 10 \"\"\n"
      "INPUTSTR S3 300 \"\"\nSTRLENGTH L3 \"%S3%\"\nINPUTSTR S4 -5 \"\"\nINPUTSTR S5 10 \"\"\n"
      "INPUTSTR S6 3 \"\"\n" +
          shows({"S1", "S2", "L3", "S4", "S5", "S6"}),
      "@10 char abc\n@11 key Backspace\n@12 char d\n@13 key Enter\n"
      "@20 char xyz\n@21 key Escape\n"
      "@30 char " +
          fifty_two + "\n@31 char " + fifty_two + "\n@32 char " + fifty_two + "\n@33 char " +
          fifty_two + "\n@34 char " + fifty_two +
          "\n@35 key Enter\n"
          "@40 char abc\n@41 key Enter\n"
          // Codes of special keys and other bytes above 127 are not typed.
          "@50 char a\\xE9\\xC0b\n@51 key Home\n@52 key Enter\n"
          "@60 char abcdef\n@61 key Enter\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "S1"), "abd");
  EXPECT_EQ(shown(dir, "S2"), "");     // Escape gives the empty default even after typing
  EXPECT_EQ(shown(dir, "L3"), "255");  // the line position is 8 bits wide
  EXPECT_EQ(shown(dir, "S4"), "");     // a negative length keeps nothing
  EXPECT_EQ(shown(dir, "S5"), "ab");
  EXPECT_EQ(shown(dir, "S6"), "abc");
}

TEST(InputGlintscr, MessageBoxStylesAndAnswers) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENWINDOWTITLE \"My Show\"\n"
      "INPUTMSGWIN M1 0 0 0 \"q1\"\nINPUTMSGWIN M2 0 0 2 \"q2\"\nINPUTMSGWIN M3 0 0 4 \"q3\"\n"
      "INPUTMSGWIN M4 0 0 8 \"q4\"\nINPUTMSGWIN M5 0 0 6 \"q5\"\nINPUTMSGWIN M6 0 0 6 \"q6\"\n"
      "INPUTMSGWIN M7 0 0 6 \"q7\"\n"
      // Unanswered boxes give their first button: what each style offers.
      "INPUTMSGWIN N1 0 0 0 \"d1\"\nINPUTMSGWIN N2 0 0 2 \"d2\"\nINPUTMSGWIN N3 0 0 4 \"d3\"\n"
      "INPUTMSGWIN N4 0 0 6 \"d4\"\n" +
          shows({"M1", "M2", "M3", "M4", "M5", "M6", "M7", "N1", "N2", "N3", "N4"}),
      "answer ok\nanswer cancel\nanswer yes\nanswer no\nanswer cancel\nanswer no\nanswer yes\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  const char* expected[][2] = {{"M1", "1"}, {"M2", "2"}, {"M3", "4"}, {"M4", "8"},
                               {"M5", "2"}, {"M6", "8"}, {"M7", "4"}, {"N1", "1"},
                               {"N2", "1"}, {"N3", "4"}, {"N4", "4"}};
  for (const auto& e : expected) EXPECT_EQ(shown(dir, e[0]), e[1]) << e[0];
  EXPECT_NE(run.standard_error.find(headless_box("My Show", "q1")), std::string::npos)
      << run.standard_error;
}

TEST(InputGlintscr, AFullKeyQueueDropsKeys) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  std::string seventy;
  for (int i = 0; i < 70; ++i) seventy += char('0' + i % 10);
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\nDELAY 50\nVARSET N 0\n:LOOP\nINPUTCHARORDELAY K 0\n"
      "IF K = \"DELAY\" GOTO \"DONE\"\nCOMPUTE N = N + 1\nVARSET LAST K\nGOTO \"LOOP\"\n:DONE\n" +
          shows({"N", "LAST"}),
      "@10 char " + seventy + "\n");
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "N"), "64");
  EXPECT_EQ(shown(dir, "LAST"), "3");  // the 64th key; the last six were lost
}

// The arrow at (50, 50): outline at its tip, fill inside, the screen through
// its transparent pixels.
void expect_arrow_at(const Ppm& ppm, int x, int y) {
  ASSERT_GT(ppm.width, x + 9);
  EXPECT_EQ(ppm.at(x, y), kBlack);
  EXPECT_EQ(ppm.at(x + 1, y + 2), kBrightGrey);
  EXPECT_EQ(ppm.at(x + 8, y + 9), kBrightGrey);
  EXPECT_EQ(ppm.at(x + 9, y + 9), kBlack);
  EXPECT_EQ(ppm.at(x + 5, y), kBackground);
}

TEST(InputGlintscr, PointerIsDrawnWhileWaitingAndRemovedBeforeDrawing) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run =
      run_with_input(dir,
                     "SCREENGRAPHICS R 320 200\nSCREENCLEAR 100\nINPUTCHARORDELAY W 100\n"
                     "SCREENGETPIXEL P 50 50\n"
                     // Drawn over the pointer: the pointer goes first, so putting its
                     // pixels back later cannot bring the old screen back.
                     "SCREENFILLEDBOX 45 45 30 30 7\n"
                     "INPUTCHARORDELAY W 100\nINPUTCHARORDELAY W 100\n" +
                         show("P"),
                     "@10 move 50 50\n@50 snapshot\n@250 leave\n@280 snapshot\n", true);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "P"), "100");  // reading takes the pointer away first
  expect_arrow_at(read_ppm(dir, 1), 50, 50);
  const Ppm after = read_ppm(dir, 2);
  ASSERT_EQ(after.width, 320);
  for (int y = 40; y < 80; ++y)
    for (int x = 40; x < 80; ++x) {
      const bool box = x >= 45 && x < 75 && y >= 45 && y < 75;
      ASSERT_EQ(after.at(x, y), box ? kBoxColour : kBackground) << x << "," << y;
    }
}

TEST(InputGlintscr, ArrowColoursFollowThePalette) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run =
      run_with_input(dir,
                     "SCREENGRAPHICS R 320 200\nSCREENCLEAR 100\nINPUTCHARORDELAY W 100\n"
                     "BITMAPALLOC P 1 1\nBITMAPGETPALETTE P\nBITMAPSETPALETTEVALUE P 255 16777215\n"
                     "BITMAPSETPALETTE P\nINPUTCHARORDELAY W 100\n",
                     "@10 move 50 50\n@50 snapshot\n@150 snapshot\n", true);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  expect_arrow_at(read_ppm(dir, 1), 50, 50);
  const Ppm white = read_ppm(dir, 2);
  ASSERT_EQ(white.width, 320);
  EXPECT_EQ(white.at(50, 50), kBlack);
  EXPECT_EQ(white.at(51, 52), 0xFFFFFFu);  // entry 255 is the brightest now
  EXPECT_EQ(white.at(55, 50), kBackground);
}

// An animation played over the pointer takes it away first: afterwards the
// window shows exactly what it shows when the pointer was never there.
TEST(InputGlintscr, AnimationsDrawnOverThePointerLeaveNoTrace) {
  GLINT_REQUIRE_GLINTSCR();
  const std::string ball = std::string(GLINT_SOURCE_DIR) + "/examples/demo.gnt";
  const std::string script =
      "SCREENGRAPHICS R 320 200\nSCREENCLEAR 100\nINPUTCHARORDELAY W 100\n"
      "ANIMATIONPLAY P -1 -1 1 0 \"" +
      ball + "\"\nSCREENGETPIXEL Q 150 90\n" + show("P");
  TempDir with_pointer, without;
  const GlintscrRun a = run_with_input(with_pointer, script, "@10 move 150 90\n", true);
  const GlintscrRun b = run_with_input(without, script, "", true);
  EXPECT_EQ(a.exit_status, 0) << a.standard_error;
  EXPECT_EQ(b.exit_status, 0) << b.standard_error;
  EXPECT_EQ(shown(with_pointer, "P"), "1");
  const Ppm shown_a = read_ppm(with_pointer, 1), shown_b = read_ppm(without, 1);
  ASSERT_EQ(shown_a.width, 320);
  EXPECT_TRUE(shown_a.rgb == shown_b.rgb);
}

TEST(InputGlintscr, PointerBitmapsTooLargeOrFreed) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\nSCREENCLEAR 100\nBITMAPALLOC B 400 300\nBITMAPCLEAR B 7\n"
      "BITMAPSETPIXEL B 0 0 0\nMOUSEADD \"huge\" 0 0 320 200 B\nINPUTCHARORDELAY W 100\n"
      "MOUSEX X\nBITMAPFREE B\nINPUTCHARORDELAY W 100\n" +
          show("X"),
      "@10 move 100 100\n@50 snapshot\n@150 move 120 120\n@190 snapshot\n", true);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "X"), "0");  // kept at the left edge
  const Ppm huge = read_ppm(dir, 1);
  ASSERT_EQ(huge.width, 320);
  EXPECT_EQ(huge.at(0, 0), kBackground);  // index 0 of a bitmap pointer is transparent
  EXPECT_EQ(huge.at(1, 0), kBoxColour);
  EXPECT_EQ(huge.at(319, 199), kBoxColour);
  // Its bitmap freed, the area's pointer is the arrow, and the screen under
  // the big one came back.
  const Ppm arrow = read_ppm(dir, 2);
  ASSERT_EQ(arrow.width, 320);
  expect_arrow_at(arrow, 120, 120);
  EXPECT_EQ(arrow.at(1, 0), kBackground);
  EXPECT_EQ(arrow.at(319, 199), kBackground);
}

TEST(InputGlintscr, InputBoxIsDrawnAndPutBack) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const GlintscrRun run = run_with_input(
      dir,
      "SCREENGRAPHICS R 320 200\nSCREENCLEAR 100\nINPUTSTRWIN S 41 40 10 \"Your name\"\n"
      "INPUTSTRWIN T -1 -1 10 \"Again\"\n" +
          shows({"S", "T"}),
      "@10 char ab\n@20 snapshot\n@30 key Enter\n@40 snapshot\n@50 char z\n@60 key Enter\n", true);
  EXPECT_EQ(run.exit_status, 0) << run.standard_error;
  EXPECT_EQ(shown(dir, "S"), "ab");
  EXPECT_EQ(shown(dir, "T"), "z");
  const Ppm box = read_ppm(dir, 1);
  ASSERT_EQ(box.width, 320);
  EXPECT_EQ(box.at(39, 40), kBackground);  // x rounded down to a multiple of 4
  EXPECT_EQ(box.at(40, 40), kBlack);       // the box in the text background
  EXPECT_EQ(box.at(41, 41), kBoxColour);   // its outline in the text colour
  EXPECT_EQ(box.at(42, 42), kBlack);
  const Ppm centred = read_ppm(dir, 2);
  ASSERT_EQ(centred.width, 320);
  EXPECT_NE(centred.at(160, 100), kBackground);
  EXPECT_EQ(centred.at(39, 40), kBackground);  // the first box is gone
  EXPECT_EQ(centred.at(41, 41), kBackground);
  const Ppm restored = read_ppm(dir, 3);  // the window as it closes
  ASSERT_EQ(restored.width, 320);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_EQ(restored.at(x, y), kBackground) << x << "," << y;
}

TEST(InputCommands, Errors) {
  const std::string no_window = " A window hasn't been created yet (use ScreenGraphics first).\r\n";
  for (const char* line :
       {"INPUTCHAR K", "INPUTCHARORDELAY K 5", "INPUTSTR K 5 \"\"", "INPUTSTRWIN K 0 0 5 \"\""})
    EXPECT_EQ(run_script_text(std::string(line) + "\n").error(), error_at(no_window, 1)) << line;
  EXPECT_EQ(
      run_script_text("MOUSEADD \"\" 0 0 1 1 0\n").error(),
      error_at(" Needed a non-empty parameter in command:\r\n    MOUSEADD \"\" 0 0 1 1 0\r\n", 1));
  EXPECT_EQ(run_script_text("MOUSEADD \"a\" 0 0 1 1 9000\n").error(),
            error_at(" Bad frame parameter:\r\n    MOUSEADD \"a\" 0 0 1 1 9000\r\n", 1));
  std::string full;
  for (int i = 0; i < 128; ++i) full += "MOUSEADD \"a\" 0 0 1 1 0\n";
  const ScriptRun run = run_script_text(full + "MOUSEADD \"last\" 0 0 1 1 0\n");
  EXPECT_EQ(run.error(),
            error_at(" Could not add mouse area in command:\r\n    MOUSEADD \"last\" 0 0 1 1 0\r\n",
                     129));
  // The removal commands leave a following ';' command to run.
  const ScriptRun chained = run_script_text(
      "MOUSEREMOVEALL ;VARSET A 1\nMOUSEPUSHANDREMOVEALL ;VARSET B 1\nMOUSEPOP ;VARSET C 1\n"
      "INPUTMSGWIN M 0 0 0 \"hello\"\n");
  EXPECT_EQ(chained.error(), "");
  EXPECT_EQ(chained.var("A"), "1");
  EXPECT_EQ(chained.var("B"), "1");
  EXPECT_EQ(chained.var("C"), "1");
  EXPECT_EQ(chained.var("M"), "1");
  EXPECT_EQ(chained.box("GlintScript"), "hello");
}

}  // namespace
}  // namespace glint::player::test
