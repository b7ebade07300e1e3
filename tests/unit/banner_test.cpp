#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "banner/banner.h"
#include "tests/support/string_file.h"

namespace {

std::string banner(CodeSet code_set, const char* program) {
  return printed_by(stdout,
                    [&] { print_version_banner(code_set, program, VERSION_MAJOR, VERSION_MINOR); });
}

std::string centred(CodeSet code_set, const char* line) {
  const char* lines[] = {line, nullptr};
  return printed_by(stdout, [&] { print_centred_lines(code_set, lines); });
}

TEST(Banner, SixCentredLines) {
  std::string blank(30, ' ');
  std::string expected = blank + "\n" + std::string(18, ' ') + "tolqsysenv_server(Tolq8)\n" +
                         std::string(18, ' ') + "Version 1.02 2016/03/01\n" + blank + "\n";
  std::string out = banner(CODE_SET_EUC, "/usr/bin/tolqsysenv_server");
  EXPECT_EQ(out.substr(0, expected.size()), expected);
  EXPECT_EQ(out.substr(out.size() - 31), blank + "\n");
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 6);
}

TEST(Banner, NameLineFromAnyPathOrNone) {
  std::string bare = banner(CODE_SET_EUC, "tolqsysenv_server");
  EXPECT_EQ(banner(CODE_SET_EUC, "./bin/tolqsysenv_server"), bare);
  EXPECT_EQ(banner(CODE_SET_EUC, "/opt/x/tolqsysenv_server"), bare);
  EXPECT_NE(banner(CODE_SET_EUC, "").find(std::string(26, ' ') + "(Tolq8)\n"), std::string::npos);
  EXPECT_NE(banner(CODE_SET_EUC, nullptr).find(std::string(26, ' ') + "(Tolq8)\n"),
            std::string::npos);
}

TEST(Banner, MarginIsAtLeastOne) {
  EXPECT_EQ(centred(CODE_SET_EUC, std::string(59, 'a').c_str()), " " + std::string(59, 'a') + "\n");
  EXPECT_EQ(centred(CODE_SET_EUC, std::string(58, 'a').c_str()), " " + std::string(58, 'a') + "\n");
  EXPECT_EQ(centred(CODE_SET_EUC, std::string(70, 'a').c_str()), " " + std::string(70, 'a') + "\n");
  EXPECT_EQ(centred(CODE_SET_EUC, " "), std::string(30, ' ') + "\n");
}

TEST(Banner, OnlyShiftJisConverts) {
  const char* kanji = "\xb0\xa1\x8e\xb1";  // 亜 and half-width katakana ｱ in EUC-JP
  EXPECT_EQ(centred(CODE_SET_EUC, kanji), std::string(28, ' ') + kanji + "\n");
  EXPECT_EQ(centred(CODE_SET_UTF8, kanji), std::string(28, ' ') + kanji + "\n");
  EXPECT_EQ(centred(CODE_SET_SJIS, kanji), std::string(28, ' ') + "\x88\x9f\xb1\n");
}

TEST(ShiftJis, Arithmetic) {
  EXPECT_EQ(jis_to_sjis(0x30, 0x21), 0x889F);
  EXPECT_EQ(jis_to_sjis(0x21, 0x21), 0x8140);  // the ideographic space
  EXPECT_EQ(jis_to_sjis(0x24, 0x22), 0x82A0);  // hiragana small a
  EXPECT_EQ(jis_to_sjis(0x5D, 0x21), 0x9F40);  // the last lead byte below 0xA0
  EXPECT_EQ(jis_to_sjis(0x5F, 0x21), 0xE040);  // lead bytes move past 0xA0..0xDF
  EXPECT_EQ(jis_to_sjis(0x60, 0x21), 0xE09F);
  EXPECT_EQ(jis_to_sjis(0x21, 0x60), 0x8180);  // trail byte skips 0x7F
}

TEST(ShiftJis, StopsAtCharacterBoundaries) {
  char out[8] = {};
  EXPECT_EQ(euc_to_sjis(out, 8, "a\xb0", 2), 1);      // a lead byte without its second byte
  EXPECT_EQ(euc_to_sjis(out, 2, "a\xb0\xa1", 3), 1);  // no room for the two-byte character
  EXPECT_EQ(euc_to_sjis(out, 8, "\x8e\xb1", 2), 1);
  EXPECT_EQ(out[0], '\xb1');
  EXPECT_EQ(euc_to_sjis(out, 8, "abc", 0), 0);
  EXPECT_EQ(euc_to_sjis(out, 8, "abc", -1), 0);
}

TEST(TerminalCodeSet, ExactNamesOnly) {
  struct Case {
    const char* lang;
    CodeSet expected;
  } cases[] = {{"ja_JP.UTF-8", CODE_SET_UTF8},
               {"ja_JP.utf8", CODE_SET_UTF8},
               {"ja_JP.SJIS", CODE_SET_SJIS},
               {"ja_JP.eucJP", CODE_SET_EUC},
               {"C", CODE_SET_EUC},
               {"ja_JP.UTF-8@x", CODE_SET_EUC},
               {"ja_JP.SJISx", CODE_SET_EUC}};
  for (const auto& c : cases) {
    setenv("LANG", c.lang, 1);
    EXPECT_EQ(terminal_code_set(), c.expected) << c.lang;
  }
  unsetenv("LANG");
  EXPECT_EQ(terminal_code_set(), CODE_SET_EUC);
}

}  // namespace
