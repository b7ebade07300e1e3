#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/catalogue.h"
#include "tests/support/files.h"
#include "tests/support/string_file.h"

namespace {

std::unique_ptr<MessageCatalogue> parse(const std::string& content) {
  return parse_message_catalogue(StringFile(content).get());
}

TEST(Catalogue, SkipsCommentsAndNumbersWithoutText) {
  auto c = parse("10 abc\n# comment\n20\tdef\\n\n30\n");
  ASSERT_EQ(c->entries.size(), 2u);
  EXPECT_EQ(c->entries[0].number, 10);
  EXPECT_STREQ(c->entries[0].text, "abc");
  EXPECT_EQ(c->entries[1].number, 20);
  EXPECT_STREQ(c->entries[1].text, "def\n");
}

TEST(Catalogue, NumberFieldRules) {
  // A leading blank gives number 0; trailing non-digits are ignored; "7 " has no text.
  auto c = parse(" 5 text\n12abc x\nfoo y\n7 \n");
  ASSERT_EQ(c->entries.size(), 3u);
  EXPECT_EQ(c->entries[0].number, 0);
  EXPECT_STREQ(c->entries[0].text, "5 text");
  EXPECT_EQ(c->entries[1].number, 12);
  EXPECT_EQ(c->entries[2].number, 0);
  EXPECT_STREQ(c->entries[2].text, "y");
}

TEST(Catalogue, EmptyTextAfterSeparatorBeforeCarriageReturnIsKept) {
  auto c = parse("7 \r\n");
  ASSERT_EQ(c->entries.size(), 1u);
  EXPECT_STREQ(message_text(c.get(), 7, nullptr), "\r");
}

TEST(Catalogue, Escapes) {
  auto c = parse("1 a\\tb\\\\c\\qd\\bx\\fy\\rz\\v\n2 cut\\0hidden\n3 \\n\n");
  EXPECT_STREQ(message_text(c.get(), 1, nullptr), "a\tb\\cqd\bx\fy\rz\v");
  EXPECT_STREQ(message_text(c.get(), 2, nullptr), "cut");
  EXPECT_STREQ(message_text(c.get(), 3, nullptr), "\n");
}

TEST(Catalogue, LongLineIsReadAsSeveralLines) {
  std::string line = "40 " + std::string(1500, 'x') + "\n";
  auto c = parse(line);
  // The first 1023 bytes make entry 40; the rest starts with 'x' and has no blank.
  ASSERT_EQ(c->entries.size(), 1u);
  EXPECT_EQ(strlen(message_text(c.get(), 40, nullptr)), 1020u);
}

TEST(Catalogue, LookupFindsAscendingNumbersAndFallsBack) {
  auto c = parse("1 one\n5 five\n9 nine\n32 memory\n51 root\n");
  EXPECT_STREQ(message_text(c.get(), 1, nullptr), "one");
  EXPECT_STREQ(message_text(c.get(), 9, nullptr), "nine");
  EXPECT_STREQ(message_text(c.get(), 51, nullptr), "root");
  EXPECT_STREQ(message_text(c.get(), 6, nullptr), "mes_id = 6: Message not found.\n");
  EXPECT_STREQ(message_text(c.get(), 6, "given"), "given");
  EXPECT_STREQ(message_text(c.get(), 6, ""), "mes_id = 6: Message not found.\n");
  EXPECT_STREQ(message_text(nullptr, 68, nullptr), "mes_id = 68: Message not found.\n");
}

TEST(Catalogue, UnsortedNumbersMayNotBeFound) {
  auto c = parse("30 c\n10 a\n20 b\n");
  EXPECT_STREQ(message_text(c.get(), 20, nullptr), "b");
  EXPECT_STREQ(message_text(c.get(), 30, nullptr), "mes_id = 30: Message not found.\n");
}

TEST(Catalogue, BinaryContentNeverCrashes) {
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<char>((i * 131) % 256));
  auto c = parse(junk);
  for (const auto& entry : c->entries) EXPECT_NE(entry.text, nullptr);
}

TEST(Catalogue, LoadsAbsolutePathAndReportsMissingFile) {
  TempDir dir;
  write_file(dir / "m.msg", "51 not root\n");
  std::unique_ptr<MessageCatalogue> catalogue;
  EXPECT_EQ(load_message_catalogue((dir / "m.msg").c_str(), &catalogue), 0);
  EXPECT_STREQ(message_text(catalogue.get(), 51, nullptr), "not root");
  EXPECT_EQ(load_message_catalogue((dir / "missing.msg").c_str(), &catalogue), -1);
  ASSERT_NE(catalogue, nullptr);
  EXPECT_EQ(catalogue->entries.size(), 0u);
  EXPECT_STREQ(message_text(catalogue.get(), 51, nullptr), "mes_id = 51: Message not found.\n");
}

TEST(Catalogue, ShippedMessageFileHasEveryNumberInOrder) {
  std::unique_ptr<MessageCatalogue> catalogue;
  ASSERT_EQ(load_message_catalogue(TOLQ_TEST_DATA_DIR "/tolqsysenv_server.msg", &catalogue), 0);
  int previous = -1;
  for (const auto& entry : catalogue->entries) {
    EXPECT_GT(entry.number, previous);
    previous = entry.number;
  }
  for (int number : {32, 50, 51, 56, 58, 59, 60, 61, 66, 67, 68, 102, 103, 116, 118, 119, 120})
    EXPECT_EQ(std::string(message_text(catalogue.get(), number, nullptr)).find("mes_id"),
              std::string::npos)
        << number;
}

TEST(OutOfMemory, PrintsMessage32AndExitsWith255) {
  TempDir dir;
  write_file(dir / "m.msg", "32 memory ran out\n");
  std::unique_ptr<MessageCatalogue> catalogue;
  ASSERT_EQ(load_message_catalogue((dir / "m.msg").c_str(), &catalogue), 0);
  set_out_of_memory_notice(catalogue.get(), nullptr);
  EXPECT_EXIT(out_of_memory(), testing::ExitedWithCode(255), "^memory ran out$");
  set_out_of_memory_notice(catalogue.get(),
                           [](const char* text) { fprintf(stderr, "notice: %s", text); });
  EXPECT_EXIT(out_of_memory(), testing::ExitedWithCode(255), "^notice: memory ran out$");
  set_out_of_memory_notice(nullptr, nullptr);
}

}  // namespace
