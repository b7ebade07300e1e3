#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "serverrc/convdrc_file.h"
#include "tests/support/files.h"

namespace {

using namespace std::string_literals;

const std::string kHeader = ";;\n;; convdrc : created by cfgmate \n;;\n";

ConvdSettings parsed(const std::string& text) {
  return parse_convdrc(text)->settings();
}

// The file written for the settings, alone or carrying over the text source.
std::string written(const ConvdSettings& settings) {
  return render_convdrc(nullptr, settings);
}

std::string written(const ConvdSettings& settings, const std::string& source) {
  return render_convdrc(parse_convdrc(source).get(), settings);
}

using Dicts = std::vector<std::string>;

// ---- Reading ----

TEST(ConvdrcRead, CommentsAndEmptyInputGiveTheDefaults) {
  ConvdSettings defaults;
  EXPECT_EQ(defaults.dicts, Dicts{});
  EXPECT_TRUE(defaults.ondisk);
  EXPECT_EQ(defaults.sticky, "10");
  EXPECT_EQ(defaults.autosave, "0");
  EXPECT_EQ(defaults.dir, "@VARDIR/dic");
  EXPECT_EQ(defaults.giji, "");
  EXPECT_EQ(parsed(""), defaults);
  EXPECT_EQ(parsed(";; header\n; readfile a.dic\n   ;convd_dir /x\n\n \t \n"), defaults);
}

TEST(ConvdrcRead, KeywordsSetTheirValues) {
  ConvdSettings s = parsed(
      "convd_dir /var/dic\nreadfile a.dic b.dic\nreadfile c.dic\nreadfile a.dic\n"
      "ondisk_off\nmax_sticky_env 20\nautosave\t5\nset_giji_eisuu - _\n");
  EXPECT_EQ(s.dir, "/var/dic");
  EXPECT_EQ(s.dicts, (Dicts{"a.dic", "c.dic", "a.dic"}));  // first value only; duplicates stay
  EXPECT_FALSE(s.ondisk);
  EXPECT_EQ(s.sticky, "20");
  EXPECT_EQ(s.autosave, "5");
  EXPECT_EQ(s.giji, "- _");
}

TEST(ConvdrcRead, LaterLinesOverrideAndOddLinesAreIgnored) {
  ConvdSettings s = parsed(
      "convd_dir /a\nconvd_dir /b\nautosave 3\nautosave\nondisk_off now\nConvd_dir /c\n"
      "foo bar\nreadfile\nset_giji_eisuu\n");
  EXPECT_EQ(s.dir, "/b");
  EXPECT_EQ(s.autosave, "3");  // a keyword alone is ignored
  EXPECT_TRUE(s.ondisk);       // "ondisk_off" followed by a value is ignored
  EXPECT_EQ(s.dicts, Dicts{});
  EXPECT_EQ(s.giji, "");
}

TEST(ConvdrcRead, CountsAreClampedAsUnsigned32BitNumbers) {
  EXPECT_EQ(parsed("max_sticky_env 0\n").sticky, "1");
  EXPECT_EQ(parsed("max_sticky_env 999\n").sticky, "256");
  EXPECT_EQ(parsed("max_sticky_env abc\n").sticky, "1");
  EXPECT_EQ(parsed("max_sticky_env -1\n").sticky, "256");
  EXPECT_EQ(parsed("max_sticky_env 12abc\n").sticky, "12");
  EXPECT_EQ(parsed("max_sticky_env +7\n").sticky, "7");
  EXPECT_EQ(parsed("autosave 2000\n").autosave, "1024");
  EXPECT_EQ(parsed("autosave -1\n").autosave, "1024");
  EXPECT_EQ(parsed("autosave x\n").autosave, "0");
  EXPECT_EQ(parsed("autosave 4294967296\n").autosave, "0");  // 2^32 wraps to 0
  EXPECT_EQ(clamped_count("4294967297", 1, 256), 1);
}

TEST(ConvdrcRead, CharactersAreJoinedWithSingleBlanks) {
  EXPECT_EQ(parsed("set_giji_eisuu\t-  \t_   .\t\n").giji, "- _ .");
  // However many there are.
  std::string line = "set_giji_eisuu";
  for (char c = 'a'; c <= 'y'; ++c) line += std::string(" ") + c;
  EXPECT_EQ(parsed(line + "\n").giji, "a b c d e f g h i j k l m n o p q r s t u v w x y");
}

TEST(ConvdrcRead, BackslashContinuesALine) {
  EXPECT_EQ(parsed("readfile a.dic \\\nb.dic\n").dicts, Dicts{"a.dic"});
  EXPECT_EQ(parsed("set_giji_eisuu - \\\n_\n").giji, "- _");
  EXPECT_EQ(parsed("set_giji_eisuu a\\\nb\\\nc\n").giji, "abc");
  EXPECT_EQ(parsed("foo \\\nconvd_dir /x\n").dir, "@VARDIR/dic");  // part of the foo line
  // A backslash on the last line continues onto nothing; the line still counts.
  EXPECT_EQ(parsed("readfile a.dic\\").dicts, Dicts{"a.dic"});
  EXPECT_EQ(parsed("readfile a.dic \\\n").dicts, Dicts{"a.dic"});
}

TEST(ConvdrcRead, LongLinesAreReadWhole) {
  std::string name(5000, 'x');
  EXPECT_EQ(parsed("readfile " + name + "\nreadfile b\n").dicts, (Dicts{name, "b"}));
  EXPECT_EQ(parsed("readfile a \\\n" + name + "\nreadfile b\n").dicts, (Dicts{"a", "b"}));
  EXPECT_EQ(parsed("convd_dir " + name + "\\\nmore\n").dir, name + "more");
}

TEST(ConvdrcRead, TellsWhetherTheFileHeldAnySetting) {
  EXPECT_FALSE(parsed("; only a comment\nfoo bar\nreadfile\nconvd ja_JP host {\n}\n").keyword_seen);
  EXPECT_TRUE(parsed("ondisk_off\n").keyword_seen);
  EXPECT_TRUE(parsed("autosave x\n").keyword_seen);
}

TEST(ConvdrcRead, LoadsOnlyPlainFiles) {
  TempDir tmp;
  std::unique_ptr<ConvdrcSource> s = parse_convdrc("autosave 3\n");
  EXPECT_EQ(load_convdrc_file((tmp / "missing").c_str(), &s), -1);
  EXPECT_EQ(load_convdrc_file(tmp.path().c_str(), &s), -1);
  EXPECT_EQ(load_convdrc_file("/dev/zero", &s), -1);
  EXPECT_EQ(load_convdrc_file("/proc/self/mem", &s), -1);  // a plain file whose read fails
  EXPECT_EQ(s->values.autosave, "3");
  write_file(tmp / "convdrc", "autosave 9\n");
  FileStamp stamp;
  EXPECT_EQ(load_convdrc_file((tmp / "convdrc").c_str(), &s, &stamp), 0);
  EXPECT_EQ(s->values.autosave, "9");
  EXPECT_EQ(s->bytes, "autosave 9\n");
  EXPECT_EQ(stamp, stamp_file((tmp / "convdrc").c_str()));
}

TEST(ConvdrcRead, TheInstalledDefaultCopyHoldsTheDefaultsAndTwoDictionaries) {
  ConvdSettings expected;
  expected.dicts = {"@LANG/system.dic", "@LANG/single.dic"};
  EXPECT_EQ(parsed(read_file(TOLQ_TEST_DATA_DIR "/convdrc")), expected);
}

// ---- Writing ----

TEST(ConvdrcWrite, DefaultsWithoutSource) {
  EXPECT_EQ(written(ConvdSettings{}),
            kHeader + "convd_dir\t\t@VARDIR/dic\nmax_sticky_env\t\t10\nautosave\t\t0\n");
}

TEST(ConvdrcWrite, AppendsEverySettingInOrder) {
  ConvdSettings s;
  s.dicts = {"a.dic", "", "/b.dic"};
  s.ondisk = false;
  s.giji = "- _";
  EXPECT_EQ(written(s), kHeader +
                            "convd_dir\t\t@VARDIR/dic\nreadfile\t\ta.dic\nreadfile\t\t/b.dic\n"
                            "ondisk_off\nmax_sticky_env\t\t10\nautosave\t\t0\n"
                            "set_giji_eisuu\t\t- _\n");
  s.sticky = s.autosave = s.dir = "";
  EXPECT_EQ(written(s), kHeader +
                            "readfile\t\ta.dic\nreadfile\t\t/b.dic\nondisk_off\n"
                            "set_giji_eisuu\t\t- _\n");
}

TEST(ConvdrcWrite, AValueGoesOutWholeWhateverItsBytes) {
  ConvdSettings s;
  s.dir = "a b\xa4\xa2" + std::string(1, '\0') + std::string(2000, 'v');
  EXPECT_EQ(written(s),
            kHeader + "convd_dir\t\t" + s.dir + "\nmax_sticky_env\t\t10\nautosave\t\t0\n");
}

TEST(ConvdrcWrite, WorkedExample) {
  const char* source =
      ";;\n;; convdrc : created by cfgmate \n;;\n"
      "; my dictionaries\n"
      "convd_dir\t\t/var/dic\n"
      "readfile\t\ta.dic\n"
      "readfile\t\tb.dic\n"
      "foo bar\n"
      "autosave\t\t5\n";
  ConvdSettings s;
  s.dir = "/var/dic2/";
  s.dicts = {"a.dic", "c.dic"};
  s.ondisk = false;
  s.sticky = "10";
  s.autosave = "7";
  EXPECT_EQ(written(s, source), kHeader +
                                    "; my dictionaries\n"
                                    "convd_dir\t\t/var/dic2\n"
                                    "readfile\t\ta.dic\n"
                                    "readfile\t\tc.dic\n"
                                    "foo bar\n"
                                    "autosave\t\t7\n"
                                    "ondisk_off\n"
                                    "max_sticky_env\t\t10\n");
}

TEST(ConvdrcWrite, CarriesOverLinesThatAreNotKnownSettings) {
  const char* source = "\n;; old\n;;\n; comment\n  ; indented\n \t \nother  value\n\n";
  ConvdSettings s;
  s.dir = "";
  s.sticky = s.autosave = "";
  EXPECT_EQ(written(s, source), kHeader + "\n; comment\n  ; indented\n \t \nother  value\n\n");
}

TEST(ConvdrcWrite, ReplacesKnownKeywordsInPlace) {
  const char* source =
      "autosave\nautosave 1\n# between\nondisk_off 1 2\nset_giji_eisuu a b\nconvd_dir\n";
  ConvdSettings s;
  s.autosave = "7";
  s.ondisk = false;
  s.dir = "/d";
  // Also the lines the reader ignores, of a setting the user changed.
  EXPECT_EQ(written(s, source), kHeader +
                                    "autosave\t\t7\nautosave\t\t7\n# between\nondisk_off\n"
                                    "convd_dir\t\t/d\nmax_sticky_env\t\t10\n");
}

TEST(ConvdrcWrite, DictionariesStandWhereTheFirstReadfileStood) {
  const char* source = "readfile x\n; c\nreadfile y\nreadfile z\n";
  ConvdSettings s;
  s.dir = s.sticky = s.autosave = "";
  s.dicts = {"a", "b"};
  EXPECT_EQ(written(s, source), kHeader + "readfile\t\ta\nreadfile\t\tb\n; c\n");
  s.dicts.clear();  // an empty list removes them all and appends none
  EXPECT_EQ(written(s, source), kHeader + "; c\n");
}

TEST(ConvdrcWrite, OndiskLinesFollowTheCheckButton) {
  const char* source = "ondisk_off\n; c\nondisk_off\n";
  ConvdSettings s;
  s.dir = s.sticky = s.autosave = "";
  EXPECT_EQ(written(s, source), kHeader + "; c\n");
  s.ondisk = false;
  EXPECT_EQ(written(s, source), kHeader + "ondisk_off\n; c\nondisk_off\n");
  EXPECT_EQ(written(s, "; c\n"), kHeader + "; c\nondisk_off\n");
}

TEST(ConvdrcWrite, DirectoryLosesOneTrailingSlash) {
  auto dir_line = [](const std::string& dir) {
    ConvdSettings s;
    s.dir = dir;
    std::string text = written(s);
    return text.substr(kHeader.size(), text.find('\n', kHeader.size()) - kHeader.size());
  };
  EXPECT_EQ(dir_line("/"), "convd_dir\t\t/");
  EXPECT_EQ(dir_line("/a/b/"), "convd_dir\t\t/a/b");
  EXPECT_EQ(dir_line("/a/b//"), "convd_dir\t\t/a/b/");
  EXPECT_EQ(dir_line(std::string(5000, 'd')), "convd_dir\t\t" + std::string(5000, 'd'));
}

TEST(ConvdrcWrite, LongSourceLinesAreCarriedOverWhole) {
  std::string longer = "; " + std::string(5000, 'r') + std::string(1, '\0') + "r";
  ConvdSettings s;
  s.dir = s.sticky = s.autosave = "";
  std::string source = longer + "\n; c\n";
  EXPECT_EQ(written(s, source), kHeader + source);
}

TEST(ConvdrcWrite, ContinuedSourceLinesAreTakenWhole) {
  ConvdSettings s;
  s.dir = s.sticky = s.autosave = "";
  s.dicts = {"n"};
  // A continued keyword line is replaced whole; a continued line of another
  // keyword is copied whole, so the "readfile" it holds stays part of it.
  EXPECT_EQ(written(s, "readfile a \\\nb.dic\nfoo \\\nreadfile c\n"),
            kHeader + "readfile\t\tn\nfoo \\\nreadfile c\n");
  // A keyword split by a continuation is still the keyword: the page's value
  // replaces it and no stale value can come back on the next read.
  s.dir = "/new";
  std::string text = written(s, "; dictionaries\ncon\\\nvd_dir /old\n");
  EXPECT_EQ(text, kHeader + "; dictionaries\nconvd_dir\t\t/new\nreadfile\t\tn\n");
  EXPECT_EQ(parsed(text).dir, "/new");
}

TEST(ConvdrcWrite, ABackslashNeverSwallowsASettingLine) {
  ConvdSettings s;
  s.dir = s.sticky = "";
  s.autosave = "9";
  s.giji = "- \\";  // a backslash is a character like any other here
  // "foo" continued onto "autosave 5" is one line of another keyword, copied
  // whole; a copied line continued onto the end of the file is ended by a line
  // holding one blank before the setting appended after it.
  std::string text = written(s, "foo \\\nautosave 5\nset_giji_eisuu x\n; c \\");
  EXPECT_EQ(text,
            kHeader + "foo \\\nautosave 5\nset_giji_eisuu\t\t- \\ \n; c \\\n \nautosave\t\t9\n");
  EXPECT_EQ(parsed(text).autosave, "9");
  EXPECT_EQ(parsed(text).giji, "- \\");
  // Nothing to append: nothing to end.
  s.autosave = s.giji = "";
  EXPECT_EQ(written(s, "; c \\"), kHeader + "; c \\\n");
  s.sticky = "10";
  EXPECT_EQ(written(s, "; c \\"), kHeader + "; c \\\n \nmax_sticky_env\t\t10\n");
  // Two backslashes continue onto the empty last line, and still on.
  EXPECT_EQ(written(s, "; c \\\\\n\n"), kHeader + "; c \\\\\n\n \nmax_sticky_env\t\t10\n");
}

TEST(ConvdrcRead, ACrBeforeTheLineEndAndANulInAValue) {
  ConvdSettings s =
      parsed("ondisk_off\r\nautosave 5\r\nreadfile a \\\r\nb\r\nreadfile x\0y.dic\r\n"s +
             "max_sticky_env 020\r");
  EXPECT_FALSE(s.ondisk);
  EXPECT_EQ(s.autosave, "5");
  EXPECT_EQ(s.sticky, "20");
  EXPECT_EQ(s.dicts, (Dicts{"a", "x\0y.dic"s}));
  EXPECT_EQ(parsed("convd_dir /a\rb\n").dir, "/a\rb");  // only before the line end
  ConvdSettings cr;
  cr.dicts = {"x\r"};
  EXPECT_EQ(parsed(written(cr)).dicts, Dicts{"x\r"});  // written with a blank behind
}

// Each of these lines the page shows in part; left alone, each goes back as
// it was, and only what the user changed is written anew.
TEST(ConvdrcWrite, SettingsLeftAloneKeepTheirLinesByteForByte) {
  const std::string source =
      ";; old header\n; mine\nconvd_dir /var/my dic\nreadfile a.dic\tb.dic\n"
      "autosave 5\t; five\nmax_sticky_env 020\nreadfile x\0y.dic\n"
      "set_giji_eisuu  -\t_\nautosave\nfoo bar"s;
  std::unique_ptr<ConvdrcSource> read = parse_convdrc(source);
  ConvdSettings s = read->settings();
  EXPECT_EQ(render_convdrc(read.get(), s), kHeader + source.substr(14) + "\n");
  s.ondisk = false;  // toggled: appended, nothing else moves
  EXPECT_EQ(render_convdrc(read.get(), s), kHeader + source.substr(14) + "\nondisk_off\n");
  s.ondisk = true;
  s.autosave = "6";
  s.dir = "/var/x/";
  EXPECT_EQ(
      render_convdrc(read.get(), s),
      kHeader +
          "; mine\nconvd_dir\t\t/var/x\nreadfile a.dic\tb.dic\nautosave\t\t6\n"
          "max_sticky_env 020\nreadfile x\0y.dic\nset_giji_eisuu  -\t_\nautosave\t\t6\nfoo bar\n"s);
}

TEST(ConvdrcWrite, RewrittenLinesOfACrLfFileKeepTheirCr) {
  const char* source = "; c\r\nautosave 5\r\nreadfile a ; one\r\nreadfile b\n";
  ConvdSettings s = parsed(source);
  s.autosave = "7";
  s.dicts = {"a", "c"};
  s.sticky = "";
  EXPECT_EQ(written(s, source),
            ";;\r\n;; convdrc : created by cfgmate \r\n;;\r\n; c\r\nautosave\t\t7\r\n"
            "readfile a ; one\r\nreadfile\t\tc\r\nconvd_dir\t\t@VARDIR/dic\r\n");
}

TEST(ConvdrcWrite, RowsTheUserLeftKeepTheirLines) {
  const char* source = "readfile a ; one\n; c\nreadfile b\tx\nreadfile c \\\n; more\nreadfile d \\";
  ConvdSettings s = parsed(source);
  s.sticky = s.autosave = s.dir = "";
  s.dicts = {"d", "a", "n", "c"};  // b removed, n added, d moved up
  // The last line, continued onto nothing, is ended before the next one.
  std::string text = written(s, source);
  EXPECT_EQ(text, kHeader +
                      "readfile d \\\n \nreadfile a ; one\nreadfile\t\tn\n"
                      "readfile c \\\n; more\n; c\n");
  EXPECT_EQ(parsed(text).dicts, (Dicts{"d", "a", "n", "c"}));
}

TEST(ConvdrcWrite, RowsAreMatchedByTheirText) {
  using Views = std::vector<std::string_view>;
  auto match = [](const Views& read, const Views& rows) { return match_rows(read, rows); };
  using Match = std::vector<size_t>;
  EXPECT_EQ(match({"a", "b", "c"}, {"a", "b", "c"}), (Match{0, 1, 2}));
  EXPECT_EQ(match({"a", "b", "c", "d"}, {"a", "x", "d"}), (Match{0, kNoRow, 3}));
  EXPECT_EQ(match({"a", "b", "a", "c"}, {"c", "a", "a", "a", "e"}),
            (Match{3, 0, 2, kNoRow, kNoRow}));
  EXPECT_EQ(match({"x", "a", "b", "y"}, {"q", "b", "a", "r"}), (Match{kNoRow, 2, 1, kNoRow}));
  EXPECT_EQ(match({}, {"a"}), (Match{kNoRow}));
}

TEST(ConvdrcWrite, WhiteSpaceInAValue) {
  for (const char* text : {"/a b", "/a\tb", "\n", "\r", "\v", "/\xa1\xa1"})
    EXPECT_TRUE(holds_white_space(text)) << text;
  // Two characters whose bytes hold A1 A1 across them; half-width kana; JIS X 0212.
  for (const char* text : {"/\xb0\xa1\xa1\xa2", "\x8e\xa1\x8e\xa1", "\x8f\xa1\xa1", "/var/dic"})
    EXPECT_FALSE(holds_white_space(text)) << text;
}

TEST(ConvdrcRoundTrip, WrittenSettingsReadBack) {
  ConvdSettings s;
  s.dicts = {"a.dic", "/abs/b.dic", "\xc6\xfc\xcb\xdc.dic", "a.dic"};
  s.ondisk = false;
  s.sticky = "256";
  s.autosave = "1024";
  s.dir = "@LIBDIR/@LANG/dic";
  s.giji = "- _ \xa1\xa6";
  EXPECT_EQ(parsed(written(s)), s);
  EXPECT_EQ(parsed(written(s, "readfile x\n; c\nautosave 3\nondisk_off\n")), s);
  s.ondisk = true;
  EXPECT_EQ(parsed(written(s, "ondisk_off\nondisk_off\n")), s);
}

TEST(ConvdrcRoundTrip, TheTwoDocumentedDifferences) {
  ConvdSettings s;
  s.dir = "/a/b/";
  s.giji = "  -   _ ";
  ConvdSettings back = parsed(written(s));
  EXPECT_EQ(back.dir, "/a/b");
  EXPECT_EQ(back.giji, "- _");
}

}  // namespace
