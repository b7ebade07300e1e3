#include "access/access_file.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <vector>

#include "common/file_header.h"
#include "common/places.h"
#include "common/safe_file.h"
#include "common/text.h"

namespace {

constexpr const char* kConvdWord = "convd";

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A header line split as "%s %s %s %s" would split it.
struct HeaderLine {
  int word_count = 0;
  std::string_view word[4];
  int kind = BLOCK_KIND_TOLQDS;
  std::string_view host;
  std::string_view port;
};

// Fills header from line; true when it has four words and the fourth opens the block.
bool parse_header(std::string_view line, HeaderLine& header) {
  size_t i = 0;
  while (header.word_count < 4) {
    while (i < line.size() && is_space(line[i])) ++i;
    if (i == line.size()) break;
    size_t start = i;
    while (i < line.size() && !is_space(line[i])) ++i;
    header.word[header.word_count++] = line.substr(start, i - start);
  }
  if (header.word_count < 4 || header.word[3][0] != '{') return false;
  header.kind = header.word[0] == kConvdWord ? BLOCK_KIND_CONVD : BLOCK_KIND_TOLQDS;
  std::string_view host = header.word[2];
  size_t slash = host.find('/');
  header.host = host.substr(0, slash);
  if (slash != std::string_view::npos) header.port = host.substr(slash + 1);
  return true;
}

// The reader also wants the language word and a host that is not a path.
bool header_accepted(const HeaderLine& header) {
  return header.word[1] == kLangName && header.word[2][0] != '/';
}

bool is_header_line(std::string_view line) {
  return line.find('{') != std::string_view::npos;
}

bool accepted_header_line(std::string_view line) {
  HeaderLine header;
  return is_header_line(line) && parse_header(line, header) && header_accepted(header);
}

void parse_entry(std::string_view line, AccessEntry& entry) {
  if (line[0] == '@') {
    std::string_view rest = line.substr(1);
    entry.user = rest.substr(0, rest.find(':'));
  } else if (line[0] == ':') {
    entry.user = line.substr(1);
  } else {
    size_t colon = line.find(':');
    entry.host = line.substr(0, colon);
    if (colon != std::string_view::npos) entry.user = line.substr(colon + 1);
  }
}

bool is_comment_or_blank(std::string_view line) {
  return line.empty() || line[0] == ';';
}

// Reads a text into the model, line by line, into the segments of its source.
class Reader {
 public:
  explicit Reader(AccessModel& model) : model_(model) {}

  void read(std::string_view text) {
    model_.source.segments.emplace_back();
    for (size_t begin = 0; begin < text.size();) {
      size_t end = text.find('\n', begin);
      if (end == std::string_view::npos) end = text.size();
      take(text.substr(begin, end - begin), begin);
      begin = end + 1;
    }
    if (open_)
      give_up_open_block();
    else if (!stopped_)
      model_.source.insert_at = model_.source.segments.size();
    model_.block_count = model_.slot_count = block_slot_;
  }

 private:
  Segment& segment() { return model_.source.segments.back(); }

  void take(std::string_view line, size_t begin) {
    line_ = {begin, line.size(), LineRole::kKept};
    if (stopped_) {
      if (accepted_header_line(line)) model_.source.more_than_shown = true;
      add(LineRole::kKept);
    } else if (open_) {
      in_block(line);
    } else {
      between_blocks(line);
    }
  }

  void add(LineRole role) {
    line_.role = role;
    segment().lines.push_back(line_);
  }

  // Blank and ";;" lines between blocks go, but for those inside a block the
  // reader did not accept, which is kept whole.
  void between_blocks(std::string_view line) {
    if (is_comment_or_blank(line)) {
      bool old_header = line.empty() || line.compare(0, 2, ";;") == 0;
      add(old_header && !in_unaccepted_block_ ? LineRole::kDropped : LineRole::kKept);
      return;
    }
    HeaderLine header;
    if (is_header_line(line)) {
      if (parse_header(line, header) && header_accepted(header)) {
        model_.source.segments.emplace_back();
        segment().block = block_slot_;
        open_ = true;
        after_unaccepted_header_ = in_unaccepted_block_ = overflow_ = false;
        take_header(header);
      } else {
        after_unaccepted_header_ = in_unaccepted_block_ = true;
        add(LineRole::kKept);
      }
      return;
    }
    if (line[0] == '}')
      in_unaccepted_block_ = false;  // an unaccepted block ends with its closing line
    add(LineRole::kKept);
  }

  void in_block(std::string_view line) {
    HeaderLine header;
    if (is_comment_or_blank(line)) {
      add(LineRole::kKept);
    } else if (is_header_line(line)) {
      // A second header before the closing line renames the open block.
      if (parse_header(line, header) && header_accepted(header)) {
        segment().lines[header_line_].role = LineRole::kKept;
        after_unaccepted_header_ = false;
        take_header(header);
      } else {
        after_unaccepted_header_ = true;
        add(LineRole::kKept);
      }
    } else if (line[0] == '}') {
      add(LineRole::kKept);
      if (!after_unaccepted_header_) close_block();
    } else if (after_unaccepted_header_) {
      add(LineRole::kKept);
    } else if (entry_count_ >= MAX_BLOCK_ENTRIES) {
      model_.source.more_than_shown = true;
      if (!overflow_) segment().added_at = segment().lines.size();
      overflow_ = true;
      add(LineRole::kKept);
    } else {
      AccessEntry& entry = model_.blocks[block_slot_].entries[entry_count_];
      entry = AccessEntry{};
      entry.order = entry.origin = entry_count_++;
      parse_entry(line, entry);
      segment().entries.push_back(entry);
      add(LineRole::kEntry);
    }
  }

  void take_header(const HeaderLine& header) {
    AccessBlock& target = model_.blocks[block_slot_];
    target.kind = segment().kind = header.kind;
    target.lang = kLangName;
    target.host = segment().host = header.host;
    target.port = segment().port = header.port;
    target.origin = block_slot_;
    header_line_ = segment().lines.size();
    add(LineRole::kHeader);
  }

  void close_block() {
    // Added entries go where the shown ones end, so that they are read again.
    if (!overflow_) segment().added_at = segment().lines.size() - 1;
    // The list position is taken when the block is complete, so that a
    // renamed block does not leave a gap in its kind's order.
    AccessBlock& done = model_.blocks[block_slot_];
    done.kind_order = kind_counter_[done.kind]++;
    model_.entry_order_count[block_slot_] = model_.entry_slot_count[block_slot_] = entry_count_;
    ++block_slot_;
    open_ = false;
    entry_count_ = 0;
    model_.source.segments.emplace_back();
    if (block_slot_ == MAX_ACCESS_BLOCKS) {
      stopped_ = true;
      model_.source.insert_at = model_.source.segments.size() - 1;
    }
  }

  // A block still open at the end is not kept; its lines stay as they are,
  // and blocks added later go before them, where nothing can rename them.
  void give_up_open_block() {
    Segment& open = segment();
    for (SourceLine& line : open.lines) line.role = LineRole::kKept;
    open.block = -1;
    open.entries.clear();
    clear_access_block(model_, block_slot_);
    model_.source.insert_at = model_.source.segments.size() - 1;
  }

  SourceLine line_ = {};
  size_t header_line_ = 0;
  int block_slot_ = 0;   // where the open block, or else the next one, is read
  int entry_count_ = 0;  // entries read into the open block
  bool open_ = false;
  // A header the reader does not accept came last: the lines up to the next
  // accepted header are kept as they are, and a '}' closes nothing.
  bool after_unaccepted_header_ = false;
  // Between blocks, inside one whose header was not accepted, up to its '}'.
  bool in_unaccepted_block_ = false;
  bool overflow_ = false;  // the open block has more than 50 entries
  bool stopped_ = false;
  int kind_counter_[2] = {0, 0};
  AccessModel& model_;
};

void put_header(std::string* out, const AccessBlock& block) {
  *out += block.kind == BLOCK_KIND_CONVD ? "convd" : "tolqds";
  *out += '\t';
  *out += kLangName;
  *out += ' ';
  *out += block.host;
  if (!block.port.empty()) *out += '/' + block.port;
  *out += " { \n";
}

// Each entry in the form that reads back as the same entry.
void put_entry(std::string* out, const AccessEntry& entry) {
  if (entry.user.empty()) {
    // An empty line would be no entry at all; "@" reads as one with both fields empty.
    *out += entry.host.empty() ? "@" : entry.host;
  } else if (entry.host.empty()) {
    // "@user" is cut at a colon when read; ":user" takes the whole rest.
    *out += entry.user.find(':') == std::string::npos ? '@' : ':';
    *out += entry.user;
  } else {
    *out += entry.host + ':' + entry.user;
  }
  *out += '\n';
}

// A line of the file read last, whole; a last line without its newline gets
// one, so that it cannot swallow the next line written.
void copy_line(const AccessModel& model, std::string* out, const SourceLine& line) {
  out->append(model.source.text, line.begin, line.length);
  *out += '\n';
}

bool same_entry(const AccessEntry& a, const AccessEntry& b) {
  return a.host == b.host && a.user == b.user;
}

bool same_server(const Segment& segment, const AccessBlock& block) {
  return segment.kind == block.kind && segment.host == block.host && segment.port == block.port;
}

// A block in its old place, every line as it stood but the header of a
// changed server and the entries: an entry the block still holds stays on its
// line, copied unless it was changed, a removed one goes, and the others come
// where the shown entries ended, always in the block's list order. A block the
// user did not change (or changed back) is so copied byte for byte.
void merge_block(const AccessModel& model, std::string* out, const Segment& segment, int slot) {
  const AccessBlock& block = model.blocks[slot];
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(model, slot, slots);
  int next = 0;  // the first entry of the list not written yet
  auto write_until = [&](int end) {
    for (; next < end; ++next) put_entry(out, block.entries[slots[next]]);
  };
  int origin = 0;  // the entry read from the next kEntry line
  for (size_t i = 0; i < segment.lines.size(); ++i) {
    const SourceLine& line = segment.lines[i];
    if (i == segment.added_at) write_until(count);
    if (line.role == LineRole::kHeader && !same_server(segment, block)) {
      put_header(out, block);
    } else if (line.role == LineRole::kEntry) {
      int k = next;
      while (k < count && block.entries[slots[k]].origin != origin) ++k;
      if (k < count) {
        write_until(k);
        const AccessEntry& entry = block.entries[slots[next++]];
        if (same_entry(entry, segment.entries[static_cast<size_t>(origin)]))
          copy_line(model, out, line);
        else
          put_entry(out, entry);
      }
      ++origin;
    } else {
      copy_line(model, out, line);
    }
  }
}

enum BlockSaveState : unsigned char { kSkipped, kPending, kWritten };

struct SaveState {
  explicit SaveState(const AccessModel& model) {
    for (int slot = 0; slot < MAX_ACCESS_BLOCKS; ++slot)
      block[slot] =
          slot < model.slot_count && access_block_is_live(model, slot) ? kPending : kSkipped;
  }
  BlockSaveState block[MAX_ACCESS_BLOCKS];
};

void append_pending_blocks(const AccessModel& model, std::string* out, SaveState& save) {
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS}) {
    for (int i = 0; i < model.block_count; ++i) {
      for (int slot = 0; slot < model.slot_count; ++slot) {
        const AccessBlock& block = model.blocks[slot];
        if (save.block[slot] == kPending && block.kind == kind && block.kind_order == i &&
            access_block_is_live(model, slot)) {
          write_access_block(model, out, slot);
          save.block[slot] = kWritten;
          break;
        }
      }
    }
  }
}

// Everything of the file read last stays in its place but old headers and
// blank lines between blocks, and the blocks the user removed; the model's
// blocks stand where they were read; blocks added since come where the reader
// will find them.
void merge_source(const AccessModel& model, std::string* out, SaveState& save) {
  int slot_of_origin[MAX_ACCESS_BLOCKS];
  std::fill(std::begin(slot_of_origin), std::end(slot_of_origin), -1);
  for (int slot = 0; slot < model.slot_count; ++slot) {
    int origin = model.blocks[slot].origin;
    if (access_block_is_live(model, slot) && origin >= 0 && origin < MAX_ACCESS_BLOCKS)
      slot_of_origin[origin] = slot;
  }
  for (size_t i = 0; i < model.source.segments.size(); ++i) {
    if (i == model.source.insert_at) append_pending_blocks(model, out, save);
    const Segment& segment = model.source.segments[i];
    if (segment.block < 0) {
      for (const SourceLine& line : segment.lines)
        if (line.role != LineRole::kDropped) copy_line(model, out, line);
      continue;
    }
    int slot = slot_of_origin[segment.block];
    if (slot < 0) continue;  // removed by the user
    merge_block(model, out, segment, slot);
    save.block[slot] = kWritten;
  }
}

}  // namespace

void clear_access_model(AccessModel& model) {
  model.block_count = 0;
  model.slot_count = 0;
  for (int slot = 0; slot < MAX_ACCESS_BLOCKS; ++slot) clear_access_block(model, slot);
  model.source = AccessSource{};
}

int read_access_path(AccessModel& model, const char* dir, const char* name, FileStamp* stamp) {
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  std::string text;
  if (read_settings_file(path, &text, stamp) != 0) return -1;
  read_access_text(model, std::move(text));
  return 0;
}

void read_access_text(AccessModel& model, std::string text) {
  clear_access_model(model);
  model.source.text = std::move(text);
  Reader(model).read(model.source.text);
}

bool access_more_than_shown(const AccessModel& model) {
  return model.source.more_than_shown;
}

void write_access_block(const AccessModel& model, std::string* out, int slot) {
  put_header(out, model.blocks[slot]);
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(model, slot, slots);
  for (int i = 0; i < count; ++i) put_entry(out, model.blocks[slot].entries[slots[i]]);
  *out += "}\n";
}

std::string render_access_model(const AccessModel& model, bool merge) {
  std::string out;
  append_file_header(&out, "tolqhosts");
  SaveState save(model);
  if (merge) merge_source(model, &out, save);
  append_pending_blocks(model, &out, save);
  return out;
}

int save_access_model(const AccessModel& model, bool merge, const char* dir, const char* name,
                      const SaveOptions& options) {
  return write_settings_file(dir, name, render_access_model(model, merge), options);
}
