// Trimming, word taking, quotes and the trailing backslash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orxutil/orxutil.h"
#include "util/text_blank.h"

namespace {

// A writable copy with room to grow, as callers of these helpers provide.
std::vector<char> buffer(const std::string& text, size_t room = 8) {
  std::vector<char> out(text.begin(), text.end());
  out.resize(text.size() + room, '\0');
  return out;
}

TEST(Blank, ControlsSpaceAndHighBytesAreBlankNulAndWordBytesAreNot) {
  using glint::util::is_blank;
  EXPECT_FALSE(is_blank(0x00));
  for (int b = 0x01; b <= 0x20; ++b) EXPECT_TRUE(is_blank(static_cast<unsigned char>(b))) << b;
  for (int b = 0x21; b <= 0x7F; ++b) EXPECT_FALSE(is_blank(static_cast<unsigned char>(b))) << b;
  for (int b = 0x80; b <= 0xFF; ++b) EXPECT_TRUE(is_blank(static_cast<unsigned char>(b))) << b;
}

struct TrimCase {
  std::string input, both, left;
};

TEST(Trim, BothEndsAndLeftOnly) {
  const TrimCase cases[] = {
      {"", "", ""},
      {" \t\r\n ", "", ""},
      {"word", "word", "word"},
      {"  a b  ", "a b", "a b  "},
      {"\xA0x\xA0", "x", "x\xA0"},  // 0xA0 counts as a blank
      {"\xFFx y\x80", "x y", "x y\x80"},
      {"\x01z\x1F", "z", "z\x1F"},
  };
  for (const auto& c : cases) {
    auto both = buffer(c.input), ascii = buffer(c.input), left = buffer(c.input);
    Trim(both.data());
    TrimAscii(ascii.data());
    TrimL(left.data());
    EXPECT_EQ(std::string(both.data()), c.both) << c.input;
    EXPECT_EQ(std::string(ascii.data()), c.both) << c.input;
    EXPECT_EQ(std::string(left.data()), c.left) << c.input;
  }
}

struct WordCase {
  std::string text, word, rest;
};

void expect_words(void (*take)(char*, char*), const std::vector<WordCase>& cases) {
  for (const auto& c : cases) {
    auto text = buffer(c.text);
    std::vector<char> word(c.text.size() + 1, 'x');
    take(word.data(), text.data());
    EXPECT_EQ(std::string(word.data()), c.word) << "[" << c.text << "]";
    EXPECT_EQ(std::string(text.data()), c.rest) << "[" << c.text << "]";
  }
}

TEST(GetAndRemoveFirst, TakesOneWordWithATrailingComma) {
  expect_words(GetAndRemoveFirst, {
                                      {"", "", ""},
                                      {"   ", "", ""},
                                      {"one", "one", ""},
                                      {"a b c", "a", "b c"},
                                      {"  a   b  ", "a", "b  "},
                                      {"a , b", "a ,", "b"},
                                      {"a,b c", "a,b", "c"},
                                      {"a ,", "a ,", ""},
                                      {"a ,,b", "a ,", ",b"},
                                      {"\"a b\" c", "\"a", "b\" c"},
                                      {"x\xA0y", "x", "y"},
                                  });
}

TEST(GetAndRemoveFirstQuoted, QuotedTextIsOneWord) {
  expect_words(GetAndRemoveFirstQuoted, {
                                            {"", "", ""},
                                            {"  ", "", ""},
                                            {"\"a b\" c", "a b", "c"},
                                            {"  \" a b \"c  ", "a b", "c"},
                                            {"\"\" next", "", "next"},
                                            {"\"never closed", "\"never closed", ""},
                                            {"\"a\",b", "a", ",b"},
                                            {"plain , b  ", "plain ,", "b"},
                                            {"a b  ", "a", "b"},
                                        });
}

TEST(GetAndRemoveFirst, TakesAllWordsInTurn) {
  auto text = buffer("input.gnt  out.avi ,  \"my file\" last");
  std::vector<char> word(64);
  std::vector<std::string> words;
  for (int i = 0; i < 10 && text[0] != '\0'; ++i) {
    GetAndRemoveFirstQuoted(word.data(), text.data());
    words.emplace_back(word.data());
  }
  EXPECT_EQ(words, (std::vector<std::string>{"input.gnt", "out.avi ,", "my file", "last"}));
}

TEST(RemoveQuotes, StripsOneEnclosingPairAfterTrimming) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"\"", "\""},
      {"\"\"", ""},
      {"  \"a b\"  ", "a b"},
      {"\"\"x\"\"", "\"x\""},
      {"\"a", "\"a"},
      {"a\"", "a\""},
      {"plain", "plain"},
  };
  for (const auto& [in, out] : cases) {
    auto text = buffer(in);
    RemoveQuotes(text.data());
    EXPECT_EQ(std::string(text.data()), out) << in;
  }
}

TEST(AddBackslash, AppendsUnlessEmptyOrEndingInASeparatorOrColon) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},     {"   ", ""},      {"dir", "dir\\"}, {" c:\\dir  ", "c:\\dir\\"},
      {"c:", "c:"}, {"c:\\", "c:\\"}, {"out/", "out/"}, {"a\\b", "a\\b\\"},
  };
  for (const auto& [in, out] : cases) {
    auto text = buffer(in);
    AddBackslash(text.data());
    EXPECT_EQ(std::string(text.data()), out) << in;
  }
}

TEST(TextHelpers, NullArgumentsAreIgnored) {
  Trim(nullptr);
  TrimL(nullptr);
  RemoveQuotes(nullptr);
  AddBackslash(nullptr);
  char word[4] = "xyz";
  GetAndRemoveFirst(word, nullptr);
  EXPECT_STREQ(word, "");
  auto text = buffer("a b");
  GetAndRemoveFirstQuoted(nullptr, text.data());
  EXPECT_STREQ(text.data(), "b");
}

}  // namespace
