#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "access/access_file.h"
#include "tests/support/access_text.h"
#include "tests/support/files.h"

namespace {

const std::string kHeader = ";;\n;; tolqhosts : created by cfgmate \n;;\n";

// The file the writer produces for the model, merged into the text read last.
std::string written(const AccessModel& model, bool merge = true) {
  return render_access_model(model, merge);
}

std::string block_text(const AccessModel& model, int slot) {
  std::string text;
  write_access_block(model, &text, slot);
  return text;
}

// "host:user" of the entries of a block, in list order, joined by '|'.
std::string entries_of(const AccessModel& model, int slot) {
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(model, slot, slots);
  std::string text;
  for (int i = 0; i < count; ++i) {
    const AccessEntry& entry = model.blocks[slot].entries[slots[i]];
    text += (i ? "|" : "") + entry.host + ":" + entry.user;
  }
  return text;
}

// Each test reads and writes a model of its own.
class AccessFileTest : public testing::Test {
 protected:
  AccessModel model;
};
class AccessRead : public AccessFileTest {};
class AccessWrite : public AccessFileTest {};
class AccessMerge : public AccessFileTest {};
class AccessSave : public AccessFileTest {};

TEST_F(AccessRead, HeaderGivesKindHostAndPortAsText) {
  load_model(model,
             "convd\tja_JP server/1234 {\n}\n"
             "tolqds ja_JP  dict {\n}\n"
             "other\tja_JP x/1/2 {  trailing words\n}\n");
  ASSERT_EQ(model.block_count, 3);
  EXPECT_EQ(model.slot_count, 3);
  EXPECT_EQ(model.blocks[0].kind, BLOCK_KIND_CONVD);
  EXPECT_EQ(model.blocks[0].lang, "ja_JP");
  EXPECT_EQ(model.blocks[0].host, "server");
  EXPECT_EQ(model.blocks[0].port, "1234");
  EXPECT_EQ(model.blocks[1].kind, BLOCK_KIND_TOLQDS);
  EXPECT_EQ(model.blocks[1].host, "dict");
  EXPECT_EQ(model.blocks[1].port, "");
  EXPECT_EQ(model.blocks[2].kind, BLOCK_KIND_TOLQDS);
  EXPECT_EQ(model.blocks[2].host, "x");
  EXPECT_EQ(model.blocks[2].port, "1/2");
  // Each kind counts its own list positions.
  EXPECT_EQ(model.blocks[0].kind_order, 0);
  EXPECT_EQ(model.blocks[1].kind_order, 0);
  EXPECT_EQ(model.blocks[2].kind_order, 1);
}

TEST_F(AccessRead, UnacceptedHeadersSkipTheirEntriesAndClosingLine) {
  load_model(model,
             "convd en_US other {\nlost1\n}\n"
             "convd ja_JP /path {\nlost2\n}\n"
             "convd ja_JP joined{\nlost3\n}\n"
             "convd ja_JP {\nlost4\n}\n"
             "convd ja_JP kept {\nin\n}\n");
  ASSERT_EQ(model.block_count, 1);
  EXPECT_EQ(model.blocks[0].host, "kept");
  EXPECT_EQ(entries_of(model, 0), "in:");
}

TEST_F(AccessRead, ThreeEntryFormsAndTheirColons) {
  load_model(model,
             "convd ja_JP s {\n"
             "host:user:more\n"
             "@name:more\n"
             ":name:more\n"
             "plain\n"
             "@\n"
             "h:\n"
             "}\n");
  EXPECT_EQ(entries_of(model, 0), "host:user:more|:name|:name:more|plain:|:|h:");
  EXPECT_EQ(model.entry_order_count[0], 6);
  EXPECT_EQ(model.entry_slot_count[0], 6);
}

TEST_F(AccessRead, CommentsBlankLinesAndStrayClosingLinesAreIgnored) {
  load_model(model, ";; header\n; note\n\n}\nconvd ja_JP s {\n; inside\n\na\n}\n}\n");
  ASSERT_EQ(model.block_count, 1);
  EXPECT_EQ(entries_of(model, 0), "a:");
}

TEST_F(AccessRead, KeepsFiftyBlocksOfFiftyEntries) {
  std::string text;
  for (int b = 0; b < 60; ++b) {
    text += "convd ja_JP h" + std::to_string(b) + " {\n";
    for (int e = 0; e < 60; ++e) text += "c" + std::to_string(e) + ":u\n";
    text += "}\n";
  }
  load_model(model, text);
  EXPECT_EQ(model.block_count, MAX_ACCESS_BLOCKS);
  EXPECT_EQ(model.slot_count, MAX_ACCESS_BLOCKS);
  EXPECT_EQ(model.blocks[49].host, "h49");
  EXPECT_EQ(model.entry_order_count[49], MAX_BLOCK_ENTRIES);
  EXPECT_EQ(model.blocks[49].entries[49].host, "c49");
}

TEST_F(AccessRead, BlockOpenAtTheEndIsNotKept) {
  load_model(model, "convd ja_JP a {\nx\n}\nconvd ja_JP b {\ny\n");
  EXPECT_EQ(model.block_count, 1);
  EXPECT_EQ(model.blocks[1].host, "");
  EXPECT_EQ(add_server_block(model, "c", ""), 1);
  EXPECT_EQ(entries_of(model, 1), "");
}

TEST_F(AccessRead, SecondHeaderRenamesTheOpenBlockWithoutAGapInTheOrder) {
  load_model(model, "convd ja_JP a {\nx\nconvd ja_JP b {\ny\n}\nconvd ja_JP c {\n}\n");
  ASSERT_EQ(model.block_count, 2);
  EXPECT_EQ(model.blocks[0].host, "b");
  EXPECT_EQ(entries_of(model, 0), "x:|y:");
  EXPECT_EQ(model.blocks[0].kind_order, 0);
  EXPECT_EQ(model.blocks[1].kind_order, 1);
  EXPECT_EQ(find_block_by_kind_order(model, BLOCK_KIND_CONVD, 1), 1);
}

TEST_F(AccessRead, LinesAreReadWhole) {
  std::string host(1500, 'a');
  load_model(model, "convd ja_JP " + host + " {\n" + host + ":" + host + "\n}\n");
  EXPECT_EQ(model.blocks[0].host, host);
  EXPECT_EQ(entries_of(model, 0), host + ":" + host);
}

TEST_F(AccessRead, MissingFileOrDirectoryLeavesTheModel) {
  load_model(model, "convd ja_JP keep {\n}\n");
  TempDir tmp;
  EXPECT_EQ(read_access_path(model, tmp.path().c_str(), "absent"), -1);
  mkdir((tmp / "dir").c_str(), 0755);
  EXPECT_EQ(read_access_path(model, tmp.path().c_str(), "dir"), -1);
  EXPECT_EQ(model.block_count, 1);
  EXPECT_EQ(model.blocks[0].host, "keep");
  write_file(tmp / "tolqhosts", "convd ja_JP other {\n}\n");
  FileStamp stamp;
  EXPECT_EQ(read_access_path(model, tmp.path().c_str(), "tolqhosts", &stamp), 0);
  EXPECT_EQ(model.blocks[0].host, "other");
  EXPECT_TRUE(stamp.exists);
  EXPECT_EQ(stamp, stamp_file((tmp / "tolqhosts").c_str()));
}

TEST_F(AccessWrite, BlockFormatsByKindPortAndEntryFields) {
  load_model(model,
             "convd ja_JP a/1234 {\nh:u\n@u\nh\n@\n:x:y\n}\n"
             "convd ja_JP b {\n}\n"
             "tolqds ja_JP c/9 {\n}\n"
             "xyz ja_JP d {\n}\n");
  // An entry with neither field, and a user with a colon but no host, take the
  // forms that read back as the same entry.
  EXPECT_EQ(block_text(model, 0), "convd\tja_JP a/1234 { \nh:u\n@u\nh\n@\n:x:y\n}\n");
  EXPECT_EQ(block_text(model, 1), "convd\tja_JP b { \n}\n");
  EXPECT_EQ(block_text(model, 2), "tolqds\tja_JP c/9 { \n}\n");
  EXPECT_EQ(block_text(model, 3), "tolqds\tja_JP d { \n}\n");
}

TEST_F(AccessWrite, WithoutAnOldFileConvdBlocksComeFirstInListOrder) {
  load_model(
      model,
      "tolqds ja_JP t0 {\n}\nconvd ja_JP c0 {\nx\n}\ntolqds ja_JP t1 {\n}\nconvd ja_JP c1 {\n}\n");
  remove_server_block(model, 1);  // c0 goes; its slot is taken again, at the end of the list
  add_server_block(model, "c2", "7");
  EXPECT_EQ(written(model, false), kHeader +
                                       "convd\tja_JP c1 { \n}\n"
                                       "convd\tja_JP c2/7 { \n}\n"
                                       "tolqds\tja_JP t0 { \n}\n"
                                       "tolqds\tja_JP t1 { \n}\n");
}

TEST_F(AccessMerge, KeepsCommentsAndHeadersInPlaceAndDropsTheRest) {
  const std::string old =
      ";;\n;; old header\n;;\n"
      "; about a\n"
      "convd  ja_JP   a/1234 {   # own spacing\n"
      "old:entry\n"
      "; inside a\n"
      "}  closing text\n"
      "\n"
      "convd ja_JP removed {\nr\n}\n"
      "; about t\n"
      "tolqds ja_JP t {\n}\n";
  load_model(model, old);
  remove_server_block(model, 1);
  change_block_entry(model, 0, 0, "new", "user");
  add_block_entry(model, 0, "", "only");
  add_block_entry(model, 2, "th", "tu");
  add_block_entry(model, 2, "", "gone");
  add_server_block(model, "fresh", "");
  EXPECT_EQ(written(model), kHeader +
                                "; about a\n"
                                "convd  ja_JP   a/1234 {   # own spacing\n"
                                "new:user\n"
                                "; inside a\n"
                                "@only\n"
                                "}  closing text\n"
                                "; about t\n"
                                "tolqds ja_JP t {\n"
                                "th:tu\n"
                                "@gone\n"
                                "}\n"
                                "convd\tja_JP fresh { \n}\n");
}

TEST_F(AccessMerge, ServerNamedTwiceKeepsEachBlockAndDoesNotGrow) {
  std::string file = "convd ja_JP a {\none\n}\n; between\nconvd ja_JP a {\ntwo\n}\n";
  load_model(model, file);
  ASSERT_EQ(model.block_count, 2);
  std::string expected = kHeader + file;
  for (int save = 0; save < 3; ++save) {
    std::string out = written(model);
    EXPECT_EQ(out, expected) << "save " << save;
    load_model(model, out);
    file = out;
  }
}

TEST_F(AccessMerge, BlocksTheReaderDidNotAcceptStayWholeAndRemovedBlocksGo) {
  const std::string foreign =
      "convd zh_CN a {\nother\n\n;; theirs\n}\n"
      "convd ja_JP /path {\np\n}\n"
      "convd ja_JP joined{\nx\n}\n";
  const std::string old = foreign + "convd ja_JP gone {\ny\n}\nconvd ja_JP a {\nmine\n}\n";
  load_model(model, old);
  ASSERT_EQ(model.block_count, 2);
  remove_server_block(model, 0);
  EXPECT_EQ(written(model), kHeader + foreign + "convd ja_JP a {\nmine\n}\n");
}

TEST_F(AccessMerge, WhatTheModelCannotHoldIsKeptAndAddedBlocksComeBeforeIt) {
  std::string blocks, tail = "; after the fiftieth\nconvd ja_JP late {\nx\n}\n";
  std::string entries, extra = "e50:u\n@e51\n";
  for (int e = 0; e < 50; ++e) entries += "e" + std::to_string(e) + "\n";
  blocks += "convd ja_JP big {\n" + entries + extra + "}\n";
  for (int b = 1; b < 50; ++b) blocks += "convd ja_JP h" + std::to_string(b) + " {\n}\n";
  load_model(model, blocks + tail);
  EXPECT_TRUE(access_more_than_shown(model));
  remove_server_block(model, 49);
  add_server_block(model, "new", "");
  EXPECT_EQ(written(model), kHeader + blocks.substr(0, blocks.rfind("convd ja_JP h49")) +
                                "convd\tja_JP new { \n}\n" + tail);
  load_model(model, "convd ja_JP a {\n}\n");
  EXPECT_FALSE(access_more_than_shown(model));
}

TEST_F(AccessMerge, AChangedServerStaysInItsPlace) {
  const std::string old = "; first\nconvd ja_JP a/1 {\nx\n}\n; second\nconvd ja_JP b {\n}\n";
  load_model(model, old);
  change_server_block(model, 0, "z", "");
  EXPECT_EQ(written(model),
            kHeader + "; first\nconvd\tja_JP z { \nx\n}\n; second\nconvd ja_JP b {\n}\n");
}

TEST_F(AccessMerge, OnlyThePortChangedRewritesTheHeader) {
  load_model(model, "convd ja_JP a/1 {\nx\n}\n");
  change_server_block(model, 0, "a", "2");
  EXPECT_EQ(written(model), kHeader + "convd\tja_JP a/2 { \nx\n}\n");
}

TEST_F(AccessMerge, ABlockAsReadIsCopiedByteForByte) {
  const std::string untouched =
      "convd  ja_JP a {  own\n; note about b\n@b:ignored\n\n;; inside\n  c \n}  end\n";
  load_model(model, untouched + "convd ja_JP other {\nx\n}\n");
  add_block_entry(model, 1, "y", "");
  // An edit undone by hand leaves the block as read.
  change_block_entry(model, 0, 1, "z", "");
  change_block_entry(model, 0, 1, "  c ", "");
  EXPECT_EQ(written(model), kHeader + untouched + "convd ja_JP other {\nx\ny\n}\n");
}

TEST_F(AccessMerge, InAChangedBlockCommentsStayBeforeTheirEntries) {
  load_model(model, "convd ja_JP s {\na\n; note about b\nb\n\n; about c\n@c:x\nd\n; last\n}\n");
  remove_block_entry(model, 0, 0);
  change_block_entry(model, 0, 2, "", "e");  // was d
  add_block_entry(model, 0, "f", "g");
  EXPECT_EQ(written(model),
            kHeader +
                "convd ja_JP s {\n; note about b\nb\n\n; about c\n@c:x\n@e\n; last\n"
                "f:g\n}\n");
}

TEST_F(AccessMerge, CopiedLinesAreWholeAndAlwaysEndTheirLine) {
  const std::string long_comment = "; \xa4\xa2" + std::string(1500, 'c') + "\n";
  const std::string old = long_comment + "convd ja_JP a {\nx\n}\n; last";
  load_model(model, old);
  add_server_block(model, "b", "");
  std::string out = written(model);
  EXPECT_EQ(out, kHeader + long_comment + "convd ja_JP a {\nx\n}\n; last\nconvd\tja_JP b { \n}\n");
  load_model(model, out);
  EXPECT_EQ(model.block_count, 2);
}

TEST_F(AccessMerge, ABlockRenamedOrLeftOpenStaysAsItWasAndAddedBlocksDoNotJoinIt) {
  const std::string renamed = "convd ja_JP a {\nx\nconvd ja_JP b {\ny\n}\n";
  const std::string open = "convd ja_JP a {\nx\n";
  for (const std::string& old : {renamed, open}) {
    load_model(model, old);
    int blocks = model.block_count;
    add_block_entry(model, add_server_block(model, "a", ""), "new", "");
    std::string out = written(model);
    load_model(model, out);
    ASSERT_EQ(model.block_count, blocks + 1) << old;
    EXPECT_EQ(entries_of(model, find_block_by_kind_order(model, BLOCK_KIND_CONVD, blocks)), "new:")
        << old;
    EXPECT_NE(out.find("convd ja_JP a {\n"), std::string::npos) << out;  // the old header stays
  }
  load_model(model, renamed);
  EXPECT_EQ(entries_of(model, 0), "x:|y:");
}

TEST_F(AccessSave, ReplacesKeepingTheModeAndCreatesNewTargetsWithMode0644) {
  TempDir tmp;
  write_file(tmp / "tolqhosts", "; mine\nconvd ja_JP a {\n}\n");
  chmod((tmp / "tolqhosts").c_str(), 0600);
  ASSERT_EQ(read_access_path(model, tmp.path().c_str(), "tolqhosts"), 0);
  add_block_entry(model, 0, "h", "u");
  ASSERT_EQ(save_access_model(model, true, tmp.path().c_str(), "tolqhosts"), 0);
  EXPECT_EQ(read_file(tmp / "tolqhosts"), kHeader + "; mine\nconvd ja_JP a {\nh:u\n}\n");
  EXPECT_EQ(file_mode(tmp / "tolqhosts"), 0600);
  EXPECT_EQ(list_dir(tmp.path()), "tolqhosts");

  mode_t mask = umask(027);
  ASSERT_EQ(save_access_model(model, true, (tmp / "new/dir/").c_str(), "copy"), 0);
  umask(mask);
  EXPECT_EQ(read_file(tmp / "new/dir/copy"), read_file(tmp / "tolqhosts"));
  EXPECT_EQ(file_mode(tmp / "new/dir/copy"), 0644);
}

// A save merges into the text read before, so a source that fails part-way
// fails the read: /proc/self/mem is a regular file whose every read here fails.
TEST_F(AccessRead, AFileThatFailsWhileReadLeavesTheModel) {
  load_model(model, "convd ja_JP keep {\n}\n");
  EXPECT_EQ(read_access_path(model, "/proc/self/", "mem"), -1);
  EXPECT_EQ(model.blocks[0].host, "keep");
}

}  // namespace
