#include <gtest/gtest.h>

#include <string>

#include "converter/converter.h"
#include "tests/support/string_file.h"

namespace {

class Converter : public testing::Test {
 protected:
  void SetUp() override {
    load_converter(TOLQ_TEST_CONVERTER);
    ASSERT_TRUE(converter_loaded());
  }
  void TearDown() override { close_converter(); }
};

const char* kEuc = "\xa5\xa2\xa5\xaf\xa5\xbb\xa5\xb9";  // アクセス
const char* kUtf8 = "\xe3\x82\xa2\xe3\x82\xaf\xe3\x82\xbb\xe3\x82\xb9";

TEST_F(Converter, RoundTrip) {
  EXPECT_STREQ(euc_to_utf8(kEuc).get(), kUtf8);
  EXPECT_STREQ(utf8_to_euc(kUtf8).get(), kEuc);
  EXPECT_STREQ(euc_to_utf8("plain ascii").get(), "plain ascii");
  EXPECT_STREQ(euc_to_utf8("\x8e\xb1").get(), "\xef\xbd\xb1");  // half-width katakana
}

TEST_F(Converter, NullAndEmptyGiveAllocatedEmptyStrings) {
  for (auto* text : {static_cast<const char*>(nullptr), ""}) {
    CString a = euc_to_utf8(text), b = utf8_to_euc(text);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(a.get(), "");
    EXPECT_STREQ(b.get(), "");
  }
}

TEST_F(Converter, InvalidAndTruncatedInputStaysTerminated) {
  EXPECT_STREQ(euc_to_utf8("a\xff"
                           "b")
                   .get(),
               "a?b");
  EXPECT_STREQ(euc_to_utf8("ab\xb0").get(), "ab");  // a lead byte cut off at the end
  // The terminator is converted too, so a cut-off character is invalid, not incomplete.
  EXPECT_STREQ(utf8_to_euc("a\xe3\x82").get(), "a?");
  EXPECT_STREQ(utf8_to_euc("\xf0\x9f\x98\x80x").get(), "?x");  // no EUC-JP form
  std::string worst(3000, '\x8e');  // every byte a katakana lead, for the 2n+1 room
  EXPECT_LE(strlen(euc_to_utf8(worst.c_str()).get()), 2 * worst.size());
}

// Characters input methods type, and the NEC row and IBM extensions a file may hold.
const char* kTypedUtf8 = "①Ⅰ㈱髙－～∥￢";
const char* kTypedEuc = "\xad\xa1\xad\xb5\xad\xea\x8f\xf4\xfb\xa1\xdd\xa1\xc1\xa1\xc2\xa2\xcc";

TEST_F(Converter, ExtendedCharactersRoundTrip) {
  EXPECT_STREQ(utf8_to_euc(kTypedUtf8).get(), kTypedEuc);
  EXPECT_STREQ(euc_to_utf8(kTypedEuc).get(), kTypedUtf8);
  EXPECT_TRUE(euc_can_hold(kTypedUtf8));
  EXPECT_TRUE(euc_can_hold("what? ok?"));
  EXPECT_FALSE(euc_can_hold("a\xf0\x9f\x98\x80"));
}

TEST_F(Converter, AnUnmappedCharacterIsSkippedWhole) {
  // Row 9 holds no characters: both of its bytes go, and what follows is read right.
  EXPECT_STREQ(euc_to_utf8("\xa9\xa1\xb0\xa1\xa4\xa2").get(), "?亜あ");
  EXPECT_STREQ(euc_to_utf8("\x8f\xa1\xa1x").get(), "?x");  // a three-byte character
  EXPECT_STREQ(euc_to_utf8("\xa9"
                           "A")
                   .get(),
               "?A");  // a lead without its trail byte
}

TEST(ConverterMissing, WrappersStillConvert) {
  EXPECT_EQ(printed_by(stdout, [] { load_converter("/nonexistent/libtolqconv.so"); }),
            "NULL == tolq_handle\n");
  EXPECT_FALSE(converter_loaded());
  EXPECT_STREQ(euc_to_utf8(kEuc).get(), kUtf8);
  EXPECT_STREQ(utf8_to_euc(kTypedUtf8).get(), kTypedEuc);
  EXPECT_STREQ(utf8_to_euc(nullptr).get(), "");
}

TEST(ConverterMissing, LibraryWithoutTheEntryPoints) {
  EXPECT_EQ(printed_by(stdout, [] { load_converter("libm.so.6"); }), "dlclose\n");
  EXPECT_FALSE(converter_loaded());
}

}  // namespace
