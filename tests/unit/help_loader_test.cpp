#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "help/help_loader.h"
#include "tests/support/string_file.h"

namespace {

struct Topic {
  std::string key;
  std::string title;
  std::string body;
  bool has_body;
};

const std::string kHead = "Tolq8 helpfile\n%%Heading\n";

class HelpLoader : public testing::Test {
 protected:
  HelpLoadResult parse(const std::string& text) {
    return parse_help_file(StringFile(text).get(), &help);
  }
  std::vector<Topic> topics() const {
    std::vector<Topic> out;
    for (const HelpTopic& t : help.topics) out.push_back({t.key, t.title, t.body, !t.body.empty()});
    return out;
  }

  HelpFile help;
};

TEST_F(HelpLoader, HeaderMustMatchExactlyAndMayFollowOtherLines) {
  EXPECT_EQ(parse("# comment\n\nTolq8 helpfile\n%%H\n#K\n%T\nbody\n"), HelpLoadResult::kLoaded);
  EXPECT_STREQ(help.heading, "H");
  for (const char* header : {"Tolq8 helpfile \n", "Tolq8 helpfile\r\n", " Tolq8 helpfile\n",
                             "Tolq8 helpfil\n", "tolq8 helpfile\n"}) {
    EXPECT_EQ(parse(std::string(header) + "%%H\n#K\n%T\nbody\n"), HelpLoadResult::kMalformed)
        << header;
    EXPECT_TRUE(help.topics.empty());
  }
  EXPECT_EQ(parse(""), HelpLoadResult::kMalformed);
}

TEST_F(HelpLoader, HeadingIsTheTextAfterTwoPercentSignsAndMustNotBeEmpty) {
  EXPECT_EQ(parse("Tolq8 helpfile\n%%\n#K\n%T\nbody\n"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse("Tolq8 helpfile\n%%"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse("Tolq8 helpfile\n#K\n%T\nbody\n"), HelpLoadResult::kMalformed);
  // Key and title lines before the heading are only skipped.
  ASSERT_EQ(parse("Tolq8 helpfile\n#EARLY\n%early\n%%Word here\n#K\n%T\nb\n"),
            HelpLoadResult::kLoaded);
  EXPECT_STREQ(help.heading, "Word here");
  ASSERT_EQ(topics().size(), 1u);
  EXPECT_EQ(topics()[0].key, "K");
}

TEST_F(HelpLoader, LinesBetweenPartsAreSkippedUnlessTheyStartTheWrongPart) {
  ASSERT_EQ(parse(kHead + "text\n\n#K\nignored\n\n%Title\nbody\n"), HelpLoadResult::kLoaded);
  EXPECT_EQ(topics()[0].title, "Title");
  EXPECT_EQ(topics()[0].body, "body\n");
  // A title line before the first key, or a key line before a title: silent failure.
  EXPECT_EQ(parse(kHead + "%stray\n#K\n%T\nbody\n"), HelpLoadResult::kFailed);
  EXPECT_TRUE(help.topics.empty());
  EXPECT_EQ(parse(kHead + "#K\n#L\n%T\nbody\n"), HelpLoadResult::kFailed);
  EXPECT_TRUE(help.topics.empty());
  EXPECT_EQ(parse(kHead + "no key at all\n"), HelpLoadResult::kMalformed);
}

TEST_F(HelpLoader, BodiesKeepTheirLineEndsAndInnerEmptyLines) {
  ASSERT_EQ(parse(kHead + "#A\n%First\n\n\nline 1\n\n line 2\n\n#B\n%Second\nlast"),
            HelpLoadResult::kLoaded);
  auto all = topics();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].body, "line 1\n\n line 2\n\n");
  EXPECT_EQ(all[1].key, "B");
  EXPECT_EQ(all[1].body, "last");
}

TEST_F(HelpLoader, ABodyMustNotStartWithAKeyAndNoBodyLineMayBeATitle) {
  EXPECT_EQ(parse(kHead + "#A\n%First\n#B\n%Second\nbody\n"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse(kHead + "#A\n%First\n\n#B\n%Second\nbody\n"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse(kHead + "#A\n%First\n%Again\nbody\n"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse(kHead + "#A\n%First\nbody\n%late title\n"), HelpLoadResult::kMalformed);
  EXPECT_TRUE(help.topics.empty());
}

TEST_F(HelpLoader, OnlyTheLastTopicMayHaveNoBody) {
  ASSERT_EQ(parse(kHead + "#A\n%First\nbody\n#B\n%Second\n\n\n"), HelpLoadResult::kLoaded);
  auto all = topics();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_FALSE(all[1].has_body);
  EXPECT_EQ(all[1].title, "Second");
}

TEST_F(HelpLoader, AKeyAsTheLastLineIsMalformed) {
  EXPECT_EQ(parse(kHead + "#A\n%First\nbody\n#B\n"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse(kHead + "#A\n%First\nbody\n#B"), HelpLoadResult::kMalformed);
  EXPECT_EQ(parse(kHead + "#A\nno title\n"), HelpLoadResult::kMalformed);
  EXPECT_TRUE(help.topics.empty());
}

TEST_F(HelpLoader, KeysAndTitlesAreKeptByteForByte) {
  ASSERT_EQ(parse(kHead + "#SERVENV_READ \n%%percent\nb\n#two words\r\n%T\nb\n"),
            HelpLoadResult::kLoaded);
  auto all = topics();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].key, "SERVENV_READ ");
  EXPECT_EQ(all[0].title, "%percent");
  EXPECT_EQ(all[1].key, "two words\r");
}

TEST_F(HelpLoader, LongLinesArriveInPiecesOfAtMost1023Bytes) {
  std::string long_line(3000, 'x');
  long_line[1023] = 'y';  // the first byte of the second piece
  ASSERT_EQ(parse(kHead + "#A\n%T\n" + long_line + "\nend\n"), HelpLoadResult::kLoaded);
  EXPECT_EQ(topics()[0].body, long_line + "\nend\n");

  // A key line is cut at 1022 bytes; the rest is an ordinary line before the title.
  std::string key(1500, 'k');
  ASSERT_EQ(parse(kHead + "#" + key + "\n%T\nb\n"), HelpLoadResult::kLoaded);
  EXPECT_EQ(topics()[0].key, key.substr(0, 1022));

  // A piece that begins with "%" is a title line inside the body.
  std::string split(1023, 'a');
  EXPECT_EQ(parse(kHead + "#A\n%T\n" + split + "%x\n"), HelpLoadResult::kMalformed);
  // One that begins with "#" starts the next topic.
  ASSERT_EQ(parse(kHead + "#A\n%T\n" + split + "#B\n%U\nb\n"), HelpLoadResult::kLoaded);
  ASSERT_EQ(topics().size(), 2u);
  EXPECT_EQ(topics()[1].key, "B");
}

// A stream that yields the text in the cookie, then fails as a bad disk would.
ssize_t read_then_fail(void* cookie, char* buffer, size_t size) {
  auto* rest = static_cast<std::string*>(cookie);
  if (rest->empty()) {
    errno = EIO;
    return -1;
  }
  size_t n = std::min(size, rest->size());
  memcpy(buffer, rest->data(), n);
  rest->erase(0, n);
  return static_cast<ssize_t>(n);
}

TEST_F(HelpLoader, AReadErrorIsNotTakenForTheEndOfTheFile) {
  const std::string complete = kHead + "#A\n%First\nbody\n";
  ASSERT_EQ(parse(complete), HelpLoadResult::kLoaded);
  std::string rest = complete;
  FILE* file = fopencookie(&rest, "r", {read_then_fail, nullptr, nullptr, nullptr});
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(parse_help_file(file, &help), HelpLoadResult::kMalformed);
  EXPECT_TRUE(help.topics.empty());
  fclose(file);
}

TEST_F(HelpLoader, TheShippedHelpFileHasEveryKeyTheProgramAsksFor) {
  char path[kLineSize];
  help_file_path("tolqsysenv_server.hlp", path, sizeof path);
  EXPECT_STREQ(path, "/usr/share/tolq8/man/tolqsysenv_server.hlp");

  FILE* file = fopen(TOLQ_TEST_DATA_DIR "/tolqsysenv_server.hlp", "r");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(parse_help_file(file, &help), HelpLoadResult::kLoaded);
  fclose(file);
  std::vector<std::string> keys;
  for (const auto& topic : topics()) {
    keys.push_back(topic.key);
    EXPECT_FALSE(topic.title.empty()) << topic.key;
    EXPECT_TRUE(topic.has_body) << topic.key;
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"SERVENV_CONVDRC", "SERVENV_TOLQHOSTS", "SERVENV_READ",
                                            "SERVENV_SAVE", "SERVENV_ADDACS_SERVER",
                                            "SERVENV_CHGACS_SERVER", "SERVENV_ADDACS_USER",
                                            "SERVENV_CHGACS_USER"}));
  // The dictionary directory's topic gives every macro the path functions know a line of its own.
  const std::string convd_body = "\n" + topics().at(0).body;
  for (const PathMacro& macro : path_macros(Places{}))
    EXPECT_NE(convd_body.find(std::string("\n") + macro.name), std::string::npos) << macro.name;
  // Every topic tells the keys of its window; the two pages with lists, the lists' keys.
  const char* double_click = "\xa5\xc0\xa5\xd6\xa5\xeb\xa5\xaf\xa5\xea\xa5\xc3\xa5\xaf";
  for (const auto& topic : topics()) {
    std::vector<const char*> named = {"F1", "Enter", "Esc"};
    if (topic.key == "SERVENV_CONVDRC" || topic.key == "SERVENV_TOLQHOSTS")
      named.insert(named.end(), {"Delete", double_click});
    for (const char* key : named)
      EXPECT_NE(topic.body.find(key), std::string::npos) << topic.key << " " << key;
  }
}

}  // namespace
