// Reads any content, maybe edits the model a little, and saves it merged into
// that content. The saved file reads back with the model's blocks first, in
// their order; saving what was read back gives the same file (unless a block
// was removed, see below); and without
// edits no line of the original is lost: headers, closing lines and comments
// stay verbatim and in order, and every other line is kept or is one of the
// model's entries, written anew.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "access/access_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string written() {
  char* out = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&out, &size);
  check(stream != nullptr);
  write_access_model(stream, true);
  fclose(stream);
  std::string text(out, size);
  free(out);
  return text;
}

// The live blocks of a kind in list order, with their entries.
std::vector<std::string> listed(int kind) {
  std::vector<std::string> blocks;
  for (int i = 0;; ++i) {
    int slot = find_block_by_kind_order(kind, i);
    if (slot < 0) return blocks;
    const AccessBlock& block = access_blocks[slot];
    std::string text = block.host + "/" + block.port + " {";
    int slots[MAX_BLOCK_ENTRIES];
    int count = ordered_entries(slot, slots);
    for (int e = 0; e < count; ++e) {
      const AccessEntry& entry = block.entries[slots[e]];
      text += "\n" + entry.host + ":" + entry.user;
    }
    blocks.push_back(text);
  }
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

bool is_structure(const std::string& line) {
  if (line.empty()) return false;
  if (line[0] == ';') return line.compare(0, 2, ";;") != 0;
  return line[0] == '}' || line.find('{') != std::string::npos;
}

bool is_entry_like(const std::string& line) {
  return !line.empty() && line[0] != ';' && !is_structure(line);
}

void check_nothing_lost(const std::string& original, const std::string& saved, int entries) {
  std::vector<std::string> before = lines_of(original), after = lines_of(saved);
  // Structure lines: a subsequence of the saved file.
  std::vector<std::string> wanted;
  for (const auto& line : before)
    if (is_structure(line)) wanted.push_back(line);
  size_t next = 0;
  std::map<std::string, int> available;
  for (const auto& line : after) {
    if (is_entry_like(line)) ++available[line];
  }
  for (const auto& line : after)
    if (next < wanted.size() && line == wanted[next]) ++next;
  check(next == wanted.size());
  // Other lines: kept, or among the model's entries.
  int missing = 0;
  for (const auto& line : before)
    if (is_entry_like(line) && available[line]-- <= 0) ++missing;
  check(missing <= entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks an edit, so removed slots and added blocks are merged too.
  int edit = data[0];
  std::string original(reinterpret_cast<const char*>(data + 1), size - 1);
  read_access_text(original);
  if ((edit & 1) && access_slot_count > 0) remove_server_block(edit % access_slot_count);
  if (edit & 2) {
    int slot = add_server_block("added", (edit & 4) ? "80" : "");
    if (slot >= 0) add_block_entry(slot, "h", "u");
  }
  std::vector<std::string> model[2] = {listed(BLOCK_KIND_CONVD), listed(BLOCK_KIND_TOLQDS)};
  int entries = 0;
  for (int slot = 0; slot < access_slot_count; ++slot) entries += entry_order_count[slot];

  std::string saved = written();
  if ((edit & 3) == 0) check_nothing_lost(original, saved, entries);

  read_access_text(saved);
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS}) {
    std::vector<std::string> back = listed(kind);
    check(back.size() >= model[kind].size());
    back.resize(model[kind].size());
    check(back == model[kind]);
  }
  // A removed block lets the next read take in a block that stood past the
  // 50th, whose blank and ;; lines a save then drops like those of any block:
  // only without a removal is the saved file already what saving gives.
  if ((edit & 1) == 0) check(written() == saved);
  return 0;
}
