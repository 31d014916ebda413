// Names, wildcards, searches, attributes, directories and drives through
// glintscr, in a temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files_script.h"
#include "glintscr_harness.h"
#include "platform/paths.h"

namespace glint::player::test {
namespace {

using glint::test::TempDir;

// The Windows form of a directory as glintscr sees it ("C:\tmp\glint-x").
std::string windows_dir(const TempDir& dir) { return platform::full_path(dir.path()); }

std::vector<std::string> listing(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

TEST(FilePatterns, CopyRenameAndDeleteFollowTargetPatterns) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("a.txt", "A");
  dir.write("x.tmp", "X");
  dir.write("y.TMP", "Y");
  dir.write("z.txt", "Z");
  dir.write("readme", "R");
  const Outcome out = run_show(dir,
                               "FILECOPY C \"a.txt\" \"b.*\"\n"
                               "FILERENAME R \"*.tmp\" \"*.bak\"\n"
                               "FILECOPY N \"read*\" \"*.old\"\n"
                               "FILECOPY Q \"?.txt\" \"?1.t?t\"\n"
                               "FILEDELETE D \"*.bak\"\n"
                               "FILEDELETE NONE \"*.none\"\n"
                               "FILEDELETE MISSING \"gone.txt\"\n"
                               "FILERENAME ONTO \"a.txt\" \"z.txt\"\n",
                               {"C", "R", "N", "Q", "D", "NONE", "MISSING", "ONTO"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  EXPECT_EQ(out.vars.at("C"), "1");
  EXPECT_EQ(out.vars.at("R"), "1");
  EXPECT_EQ(out.vars.at("N"), "1");
  EXPECT_EQ(out.vars.at("Q"), "1");
  EXPECT_EQ(out.vars.at("D"), "1");
  EXPECT_EQ(out.vars.at("NONE"), "1");     // no match is no failure
  EXPECT_EQ(out.vars.at("MISSING"), "0");  // a named file must be there
  EXPECT_EQ(out.vars.at("ONTO"), "0");     // renaming never replaces a file
  EXPECT_EQ(listing(dir), (Names{"a.txt", "a1.txt", "b.txt", "b1.txt", "readme", "readme.old",
                                 "show.gs", "z.txt", "z1.txt"}));
  EXPECT_EQ(dir.read("b.txt"), "A");
  EXPECT_EQ(dir.read("readme.old"), "R");
  EXPECT_EQ(dir.read("z1.txt"), "Z");
}

// Every match is renamed once, even when its new name matches the source
// pattern again.
TEST(FilePatterns, RenamingWorksOnASnapshotOfTheMatches) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  for (const char* name : {"a.t", "b.t", "c.t"}) dir.write(name, name);
  const Outcome out = run_show(dir, "FILERENAME R \"*.t*\" \"*.tx*\"\n", {"R"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  EXPECT_EQ(out.vars.at("R"), "1");
  EXPECT_EQ(listing(dir), (Names{"a.tx", "b.tx", "c.tx", "show.gs"}));
}

TEST(FilePatterns, CopyingAFileOntoItselfFailsAndKeepsIt) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const std::string content(10000, 'k');
  dir.write("a.txt", content);
  ASSERT_EQ(symlink("a.txt", dir.file("soft.txt").c_str()), 0);
  ASSERT_EQ(link(dir.file("a.txt").c_str(), dir.file("hard.txt").c_str()), 0);
  dir.write("old.txt", "old");
  dir.write("pointed.txt", "pointed");
  ASSERT_EQ(symlink("pointed.txt", dir.file("via.txt").c_str()), 0);
  const Outcome out = run_show(dir,
                               "FILECOPY SAME \"a.txt\" \"a.txt\"\n"
                               "FILECOPY CASE \"a.txt\" \"A.TXT\"\n"
                               "FILECOPY SOFT \"a.txt\" \"soft.txt\"\n"
                               "FILECOPY HARD \"hard.txt\" \"a.txt\"\n"
                               "FILECOPY LOST \"missing.txt\" \"old.txt\"\n"
                               "FILECOPY NEW \"a.txt\" \"old.txt\"\n"
                               "FILECOPY VIA \"show.gs\" \"via.txt\"\n",
                               {"SAME", "CASE", "SOFT", "HARD", "LOST", "NEW", "VIA"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  for (const char* name : {"SAME", "CASE", "SOFT", "HARD", "LOST"})
    EXPECT_EQ(out.vars.at(name), "0") << name;
  EXPECT_EQ(out.vars.at("NEW"), "1");
  EXPECT_EQ(out.vars.at("VIA"), "1");  // written through the link, which stays
  EXPECT_EQ(dir.read("pointed.txt"), dir.read("show.gs"));
  struct stat via {};
  ASSERT_EQ(lstat(dir.file("via.txt").c_str(), &via), 0);
  EXPECT_TRUE(S_ISLNK(via.st_mode));
  EXPECT_EQ(dir.read("a.txt"), content);
  EXPECT_EQ(dir.read("old.txt"), content);
  struct stat source {
  }, copy{};
  ASSERT_EQ(stat(dir.file("a.txt").c_str(), &source), 0);
  ASSERT_EQ(stat(dir.file("old.txt").c_str(), &copy), 0);
  EXPECT_EQ(copy.st_mtim.tv_sec, source.st_mtim.tv_sec);  // the source's time stamp
  // No temporary file is left behind.
  EXPECT_EQ(listing(dir), (Names{"a.txt", "hard.txt", "old.txt", "pointed.txt", "show.gs",
                                 "soft.txt", "via.txt"}));
}

TEST(FileSearch, FindListsDirectoriesAndPatterns) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("data/b.txt", "");
  dir.write("data/A.txt", "");
  dir.write("data/c.dat", "");
  const std::string data = windows_dir(dir) + "\\data\\";
  const Outcome out =
      run_show(dir,
               "FILEFIND F1 \"data\"\n"
               "FILEFINDNEXT F2\nFILEFINDNEXT F3\nFILEFINDNEXT F4\n"
               "FILEFINDNEXT F5\nFILEFINDNEXT F6\nFILEFINDNEXT F7\n"
               "FILEFIND T1 \"DATA\\*.TXT\"\nFILEFINDNEXT T2\nFILEFINDNEXT T3\n"
               "FILEFIND N1 \"data\\*.none\"\nFILEFINDNEXT N2\n"
               "FILEFIND E1 \"\"\n",
               {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "T1", "T2", "T3", "N1", "N2", "E1"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  EXPECT_EQ(out.vars.at("F1"), data + ".");
  EXPECT_EQ(out.vars.at("F2"), data + "..");
  EXPECT_EQ(out.vars.at("F3"), data + "A.txt");
  EXPECT_EQ(out.vars.at("F4"), data + "b.txt");
  EXPECT_EQ(out.vars.at("F5"), data + "c.dat");
  EXPECT_EQ(out.vars.at("F6"), "");
  EXPECT_EQ(out.vars.at("F7"), "");
  EXPECT_EQ(out.vars.at("T1"), windows_dir(dir) + "\\DATA\\A.txt");  // the pattern's spelling
  EXPECT_EQ(out.vars.at("T2"), windows_dir(dir) + "\\DATA\\b.txt");
  EXPECT_EQ(out.vars.at("T3"), "");
  EXPECT_EQ(out.vars.at("N1"), "");
  EXPECT_EQ(out.vars.at("N2"), "");
  EXPECT_EQ(out.vars.at("E1"), windows_dir(dir) + "\\.");
}

TEST(FileSearch, PathPiecesFullPathsAndTemporaryNames) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("sub/name.ext", "");
  const std::string here = windows_dir(dir);
  const Outcome out = run_show(dir,
                               "FILEFULLPATH FULL \"sub/../a.txt\"\n"
                               "FILEPIECES NE 0 0 1 1 \"sub\\name.ext\"\n"
                               "FILEPIECES DD 1 1 0 0 \"sub\\name.ext\"\n"
                               "FILEPIECES LOW 256 0 1 0 \"sub\\name.ext\"\n"
                               "FILEPIECES DIR 1 1 1 1 \"sub\"\n"
                               "FILETEMP T \"sub\\name.ext\"\n"
                               "FILEEXISTS TE T\n",
                               {"FULL", "NE", "DD", "LOW", "DIR", "T", "TE"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  EXPECT_EQ(out.vars.at("FULL"), here + "\\a.txt");
  EXPECT_EQ(out.vars.at("NE"), "name.ext");
  EXPECT_EQ(out.vars.at("DD"), here + "\\sub\\");
  EXPECT_EQ(out.vars.at("LOW"), "name");  // 256 has a zero low byte
  EXPECT_EQ(out.vars.at("DIR"), here + "\\sub\\");
  const std::string temp = out.vars.at("T");
  EXPECT_EQ(temp.rfind(here + "\\sub\\na", 0), 0u) << temp;
  EXPECT_EQ(temp.size(), (here + "\\sub\\na").size() + 6 + 4) << temp;
  EXPECT_EQ(temp.substr(temp.size() - 4), ".tmp");
  EXPECT_EQ(out.vars.at("TE"), "0");
}

TEST(FileAttributes, MapToPermissionsNamesAndKinds) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  dir.write("a.txt", "");
  dir.write(".hidden", "");
  dir.write("sub/x", "");
  const Outcome out = run_show(dir,
                               "FILEGETATTRIB PLAIN \"a.txt\"\n"
                               "FILESETATTRIB \"a.txt\" 1\n"
                               "FILEGETATTRIB RO \"A.TXT\"\n"
                               "FILEDELETE DEL \"a.txt\"\n"
                               "FILECOPY CP \"show.gs\" \"a.txt\"\n"
                               "FILESETATTRIB \"a.txt\" 32\n"
                               "FILEGETATTRIB RW \"a.txt\"\n"
                               "FILEGETATTRIB HID \".hidden\"\n"
                               "FILEGETATTRIB DIR \"sub\"\n"
                               "FILEGETATTRIB WILD \"*.txt\"\n"
                               "FILEGETATTRIB NONE \"missing\"\n",
                               {"PLAIN", "RO", "DEL", "CP", "RW", "HID", "DIR", "WILD", "NONE"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  EXPECT_EQ(out.vars.at("PLAIN"), "32");
  EXPECT_EQ(out.vars.at("RO"), "33");
  EXPECT_EQ(out.vars.at("DEL"), "0");  // read-only files are neither deleted
  EXPECT_EQ(out.vars.at("CP"), "0");   // nor replaced
  EXPECT_EQ(out.vars.at("RW"), "32");
  EXPECT_EQ(out.vars.at("HID"), "34");
  EXPECT_EQ(out.vars.at("DIR"), "16");
  EXPECT_EQ(out.vars.at("WILD"), "32");
  EXPECT_EQ(out.vars.at("NONE"), "0");
  EXPECT_EQ(access(dir.file("a.txt").c_str(), W_OK), 0);
}

TEST(FileDirectories, MakeChangeAndRemove) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const std::string here = windows_dir(dir);
  const Outcome out = run_show(
      dir,
      "DIRMAKE M1 \"sub\"\n"
      "DIRMAKE M2 \"SUB\"\n"
      "DIREXISTS E1 \"Sub\"\n"
      "DIREXISTS E2 \"nope\"\n"
      "DIRCHANGE C1 \"sub\"\n"
      "DIRCURRENT IN\n"
      "FILECREATE F \"made.txt\"\nFILECLOSE F\n"
      "DIRREMOVE BUSY \".\"\n"
      "DIRCHANGE C2 \"..\"\n"
      "DIRCHANGE C3 \"nope\"\n"
      "DIRCURRENT BACK\n"
      "DIRREMOVE FULL \"sub\"\n"
      "FILEDELETE D \"sub\\made.txt\"\n"
      "DIRREMOVE R1 \"sub\"\n"
      "DIRREMOVE R2 \"sub\"\n",
      {"M1", "M2", "E1", "E2", "C1", "IN", "BUSY", "C2", "C3", "BACK", "FULL", "D", "R1", "R2"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  const std::map<std::string, std::string> expected = {
      {"M1", "1"},    {"M2", "0"},   {"E1", "1"},
      {"E2", "0"},    {"C1", "1"},   {"IN", here + "\\sub"},
      {"BUSY", "0"},  {"C2", "1"},   {"C3", "0"},
      {"BACK", here}, {"FULL", "0"}, {"D", "1"},
      {"R1", "1"},    {"R2", "0"}};
  EXPECT_EQ(out.vars, expected);
  EXPECT_FALSE(std::filesystem::exists(dir.file("sub")));
}

TEST(FileDrives, SizesAndKinds) {
  GLINT_REQUIRE_GLINTSCR();
  TempDir dir;
  const Outcome out = run_show(dir,
                               "DRIVESIZE SIZE \"C:\\\"\n"
                               "DRIVEAVAIL FREE \".\"\n"
                               "DRIVESIZE UNMAPPED \"Q:\\\"\n"
                               "FILECDROM CD \"Q:\\x\"\n"
                               "FILEREMOVABLE RM \"Q:\\\"\n",
                               {"SIZE", "FREE", "UNMAPPED", "CD", "RM"});
  ASSERT_EQ(out.run.exit_status, 0) << out.run.standard_error;
  const long long size = std::stoll(out.vars.at("SIZE"));
  const long long free = std::stoll(out.vars.at("FREE"));
  EXPECT_GT(size, 0);
  EXPECT_LE(size, 2147483647LL);
  EXPECT_GE(free, 0);
  EXPECT_LE(free, 2147483647LL);
  EXPECT_EQ(out.vars.at("UNMAPPED"), "0");
  EXPECT_EQ(out.vars.at("CD"), "0");
  EXPECT_EQ(out.vars.at("RM"), "0");
}

}  // namespace
}  // namespace glint::player::test
