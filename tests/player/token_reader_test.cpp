#include "player/token_reader.h"

#include <gtest/gtest.h>

#include "player/variable_access.h"

namespace glint::player {
namespace {

struct TokenCase {
  const char* parameters;
  bool substitute;
  TokenKind kind;
  const char* token;
  const char* left;  // what the reader leaves in the parameter buffer
};

class TokenReader : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenReader, ReadsOneTokenAndTheSeparatorsAfterIt) {
  const TokenCase& c = GetParam();
  Player player;
  store_set(player.variables, "A", "5");
  store_set(player.variables, "NAME", "Ann");
  player.parameters = c.parameters;
  std::string token;
  EXPECT_EQ(read_token(player, token, c.substitute), c.kind);
  EXPECT_EQ(token, c.token);
  EXPECT_EQ(player.parameters, c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TokenReader,
    ::testing::Values(TokenCase{"", true, TokenKind::kEnd, "", ""},
                      TokenCase{" ,, \t", true, TokenKind::kEnd, "", ""},
                      TokenCase{"\"a b\" rest", true, TokenKind::kString, "a b", "rest"},
                      TokenCase{"'it''s'", true, TokenKind::kString, "it", "'s'"},
                      TokenCase{"\"open", true, TokenKind::kString, "open", ""},
                      TokenCase{"\"%NAME%!\"", false, TokenKind::kString, "Ann!", ""},
                      TokenCase{"\"\",x", true, TokenKind::kString, "", "x"},
                      TokenCase{"<> 1", true, TokenKind::kCompare, "<>", "1"},
                      TokenCase{"@= 1", true, TokenKind::kCompare, "@=", "1"},
                      TokenCase{">=1", true, TokenKind::kCompare, ">=", "1"},
                      TokenCase{"=< 1", true, TokenKind::kCompare, "=", "< 1"},
                      TokenCase{"@x", true, TokenKind::kString, "", "@x"},
                      TokenCase{"+ 1", true, TokenKind::kOperator, "+", "1"},
                      TokenCase{"- 1", true, TokenKind::kOperator, "-", "1"},
                      TokenCase{"-x", true, TokenKind::kOperator, "-", "x"},
                      TokenCase{"-12 x", true, TokenKind::kNumber, "-12", "x"},
                      TokenCase{"42,x", true, TokenKind::kNumber, "42", "x"},
                      TokenCase{"a b", true, TokenKind::kNumber, "5", "b"},
                      TokenCase{"name", true, TokenKind::kString, "Ann", ""},
                      TokenCase{"unset", true, TokenKind::kString, "", ""},
                      TokenCase{"a b", false, TokenKind::kWord, "a", "b"},
                      TokenCase{"7up", true, TokenKind::kString, "7up", ""},
                      TokenCase{"c:\\dir", true, TokenKind::kString, "", ":\\dir"},
                      TokenCase{"x.gs", false, TokenKind::kWord, "x", ".gs"},
                      TokenCase{"; VARSET", true, TokenKind::kString, "", "; VARSET"},
                      TokenCase{"_a", false, TokenKind::kWord, "", "_a"}));

struct SubstitutionCase {
  const char* text;
  const char* result;
};

class Substitution : public ::testing::TestWithParam<SubstitutionCase> {};

TEST_P(Substitution, ReplacesReferencesByValues) {
  Player player;
  store_set(player.variables, "A", "1");
  store_set(player.variables, "B", "2");
  store_set(player.variables, "PCT", "%");
  EXPECT_EQ(substitute_references(player, GetParam().text), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Substitution,
    ::testing::Values(SubstitutionCase{"%A%", "1"}, SubstitutionCase{"%A%-%B%", "1-2"},
                      SubstitutionCase{"%A%%B%", "12"}, SubstitutionCase{"%a% and %b%", "1 and 2"},
                      SubstitutionCase{"50%", "50%"}, SubstitutionCase{"%", "%"},
                      SubstitutionCase{"%%A%", "%1"}, SubstitutionCase{"x%UNSET%y", "xy"},
                      SubstitutionCase{"%% %A", "%% %A"}, SubstitutionCase{"%PCT%A%", "1"}));

TEST(Substitution, StopsOnValuesThatReferToThemselves) {
  Player player;
  store_set(player.variables, "A", "%A%x");
  store_set(player.variables, "P", "%Q%");
  store_set(player.variables, "Q", "%P%");
  EXPECT_EQ(substitute_references(player, "%A%"), "%A%" + std::string(kMaxSubstitutions, 'x'));
  EXPECT_EQ(substitute_references(player, "%P%"), "%P%");
}

TEST(Substitution, StopsOnceTheTextIsTooLong) {
  Player player;
  // Each round doubles the text; the bound keeps it finite.
  store_set(player.variables, "D", std::string(5000, 'y') + "%D% %D%");
  const std::string result = substitute_references(player, "%D%");
  EXPECT_GT(result.size(), kMaxSubstitutedBytes);
  EXPECT_LT(result.size(), kMaxSubstitutedBytes + 6000);
}

TEST(Substitution, EveryReferenceOfAFullLineIsReplaced) {
  Player player;
  store_set(player.variables, "A", "ab");
  std::string text;
  for (int i = 0; i < 255; ++i) text += "%A%";
  EXPECT_EQ(substitute_references(player, text).size(), 255u * 2u);
}

TEST(Substitution, QuotedStringsAreNotCutAt255Bytes) {
  Player player;
  const std::string long_text(600, 'q');
  store_set(player.variables, "L", long_text);
  player.parameters = "\"<%L%>\"";
  std::string token;
  EXPECT_EQ(read_token(player, token, true), TokenKind::kString);
  EXPECT_EQ(token, "<" + long_text + ">");
}

}  // namespace
}  // namespace glint::player
