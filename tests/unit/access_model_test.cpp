#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "access/access_file.h"
#include "tests/support/access_text.h"

namespace {

// Hosts of the live blocks of a kind, in list order, joined by '|'.
std::string listed_servers(const AccessModel& model, int kind = BLOCK_KIND_CONVD) {
  std::string text;
  for (int i = 0; i < model.block_count; ++i) {
    int slot = find_block_by_kind_order(model, kind, i);
    if (slot >= 0) text += (text.empty() ? "" : "|") + std::string(model.blocks[slot].host);
  }
  return text;
}

std::string listed_users(const AccessModel& model, int slot) {
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(model, slot, slots);
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (i ? "|" : "") + std::string(model.blocks[slot].entries[slots[i]].user);
  return text;
}

// Each test edits a model of its own.
class AccessModelEdits : public testing::Test {
 protected:
  AccessModel model;
};

const char* kThreeServers =
    "convd ja_JP a {\n}\ntolqds ja_JP t {\n}\nconvd ja_JP b {\n}\nconvd ja_JP c {\n}\n";

TEST_F(AccessModelEdits, RemovingAMiddleServerKeepsItsSlotForTheNextAdd) {
  load_model(model, kThreeServers);
  remove_server_block(model, 2);  // b
  EXPECT_EQ(listed_servers(model), "a|c");
  EXPECT_EQ(listed_servers(model, BLOCK_KIND_TOLQDS), "t");
  EXPECT_EQ(model.slot_count, 4);
  EXPECT_EQ(model.block_count, 3);
  EXPECT_EQ(model.blocks[2].kind_order, kRemovedOrder);
  EXPECT_EQ(add_server_block(model, "d", "99"), 2);
  EXPECT_EQ(listed_servers(model), "a|c|d");
  EXPECT_EQ(model.slot_count, 4);
  EXPECT_EQ(model.block_count, 4);
}

TEST_F(AccessModelEdits, RemovingTheLastSlotShrinksTheSlotCount) {
  load_model(model, kThreeServers);
  remove_server_block(model, 3);
  EXPECT_EQ(model.slot_count, 3);
  remove_server_block(model, 3);  // no longer in use: nothing happens
  EXPECT_EQ(model.block_count, 3);
  EXPECT_EQ(add_server_block(model, "d", ""), 3);
  EXPECT_EQ(model.slot_count, 4);
}

TEST_F(AccessModelEdits, RemovedServerTakesItsEntriesAlong) {
  load_model(model, "convd ja_JP a {\nh1:u1\nh2:u2\n}\n");
  remove_server_block(model, 0);
  EXPECT_EQ(model.entry_order_count[0], 0);
  EXPECT_EQ(model.entry_slot_count[0], 0);
  EXPECT_EQ(add_server_block(model, "b", ""), 0);
  EXPECT_EQ(listed_users(model, 0), "");
}

TEST_F(AccessModelEdits, RemovingAUserRenumbersAndTheNextAddReusesTheSlotAtTheEnd) {
  load_model(model, "convd ja_JP a {\nh:u0\nh:u1\nh:u2\n}\n");
  remove_block_entry(model, 0, 0);
  EXPECT_EQ(listed_users(model, 0), "u1|u2");
  EXPECT_EQ(model.blocks[0].entries[1].order, 0);
  EXPECT_EQ(model.blocks[0].entries[2].order, 1);
  EXPECT_EQ(model.entry_slot_count[0], 3);
  EXPECT_EQ(add_block_entry(model, 0, "h", "new"), 0);
  EXPECT_EQ(listed_users(model, 0), "u1|u2|new");
  remove_block_entry(model, 0, 1);  // u2, the last slot
  EXPECT_EQ(model.entry_slot_count[0], 2);
  EXPECT_EQ(model.entry_order_count[0], 2);
  EXPECT_EQ(listed_users(model, 0), "u1|new");
}

TEST_F(AccessModelEdits, AnEntryReadWithBothFieldsEmptyIsNotOverwritten) {
  load_model(model, "convd ja_JP a {\n@\nh:u\n}\n");
  EXPECT_EQ(add_block_entry(model, 0, "x", "y"), 2);
  EXPECT_EQ(listed_users(model, 0), "|u|y");
}

TEST_F(AccessModelEdits, ChangesKeepKindOrderAndEntries) {
  load_model(model, "convd ja_JP a/1 {\nh:u\nh:v\n}\nconvd ja_JP b {\n}\n");
  change_server_block(model, 0, "z", "");
  EXPECT_EQ(model.blocks[0].host, "z");
  EXPECT_EQ(model.blocks[0].port, "");
  EXPECT_EQ(listed_servers(model), "z|b");
  change_block_entry(model, 0, 1, "", "w");
  EXPECT_EQ(listed_users(model, 0), "u|w");
  EXPECT_EQ(model.blocks[0].entries[1].host, "");
}

TEST_F(AccessModelEdits, FullTablesRefuseAdds) {
  std::string text;
  for (int b = 0; b < MAX_ACCESS_BLOCKS; ++b)
    text += "tolqds ja_JP h" + std::to_string(b) + " {\n}\n";
  load_model(model, text);
  EXPECT_EQ(add_server_block(model, "x", ""), -1);
  remove_server_block(model, 10);
  EXPECT_EQ(add_server_block(model, "x", ""), 10);
  for (int e = 0; e < MAX_BLOCK_ENTRIES; ++e)
    ASSERT_EQ(add_block_entry(model, 10, "h", std::to_string(e).c_str()), e);
  EXPECT_EQ(add_block_entry(model, 10, "h", "one more"), -1);
}

TEST_F(AccessModelEdits, ValidatePort) {
  for (const char* good : {"", "0", "65535", "00080"})
    EXPECT_TRUE(port_text_is_valid(good)) << good;
  for (const char* bad : {"65536", "-1", "+1", " 1", "1 ", "12a", "99999999999999999999"})
    EXPECT_FALSE(port_text_is_valid(bad)) << bad;
}

TEST_F(AccessModelEdits, HostAndUserTextsTheFileCanHold) {
  // Acceptance of each text as: server host, pair host, user beside a host, user alone.
  struct Case {
    const char* text;
    const char* accepted;
  };
  const Case cases[] = {
      {"", "1111"},  // emptiness is the dialogs' own check
      {"kanji-1.example.com", "1111"},
      {"a;b@c", "1111"},
      {"a b", "0000"},
      {"a\tb", "0000"},
      {"a\n", "0000"},
      {"a\x01", "0000"},
      {"a\x7f", "0000"},
      {"a{", "0000"},
      {"}a", "0000"},
      {";a", "0000"},
      {"@a", "0000"},
      {"a:b", "0010"},
      {"a/b", "0111"},
      {"caf\xc3\xa9", "0000"},
      {"\xb4\xc1", "0000"},
  };
  for (const Case& c : cases) {
    std::string got;
    got += host_text_is_valid(c.text, HostOf::kServer) ? '1' : '0';
    got += host_text_is_valid(c.text, HostOf::kPair) ? '1' : '0';
    got += user_text_is_valid(c.text, "h") ? '1' : '0';
    got += user_text_is_valid(c.text, "") ? '1' : '0';
    EXPECT_EQ(got, c.accepted) << c.text;
  }
}

TEST_F(AccessModelEdits, ServerDuplicates) {
  load_model(model, "convd ja_JP a/1 {\n}\ntolqds ja_JP t {\n}\n");
  EXPECT_TRUE(server_is_duplicate(model, "a", "1", nullptr, nullptr));
  EXPECT_FALSE(server_is_duplicate(model, "a", "", nullptr, nullptr));
  EXPECT_FALSE(server_is_duplicate(model, "t", "", nullptr, nullptr));  // only convd blocks count
  EXPECT_FALSE(server_is_duplicate(model, "a", "1", "a", "1"));         // unchanged in change mode
  add_server_block(model, "b", "");
  EXPECT_TRUE(server_is_duplicate(model, "a", "1", "b", ""));
}

TEST_F(AccessModelEdits, EntryDuplicates) {
  load_model(model, "convd ja_JP a {\nh:u\n@v\n}\nconvd ja_JP b {\n}\n");
  EXPECT_TRUE(entry_is_duplicate(model, 0, "h", "u", nullptr, nullptr));
  EXPECT_TRUE(entry_is_duplicate(model, 0, "", "v", nullptr, nullptr));
  EXPECT_FALSE(entry_is_duplicate(model, 0, "h", "", nullptr, nullptr));
  EXPECT_FALSE(entry_is_duplicate(model, 1, "h", "u", nullptr, nullptr));
  EXPECT_FALSE(entry_is_duplicate(model, 0, "h", "u", "h", "u"));
  EXPECT_TRUE(entry_is_duplicate(model, 0, "h", "u", "", "v"));
}

}  // namespace
