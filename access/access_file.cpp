#include "access/access_file.h"

#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "common/line_writers.h"
#include "common/places.h"
#include "common/safe_file.h"
#include "common/text.h"

namespace {

constexpr const char* kConvdWord = "convd";

// What a line of the file read last is to the reader, and so to a save.
enum class LineRole : unsigned char {
  kOldHeader,         // ";;": a save writes its own header instead
  kBlank,             // dropped by a save
  kComment,           // ";": kept
  kKept,              // kept verbatim: blocks the reader did not accept, a block
                      // left open at the end, lines the reader ignores
  kHeader,            // the header that named a block of the model
  kSupersededHeader,  // an earlier header of that block, renamed before its end
  kEntry,             // one of the block's first 50 entries: the model's now
  kOverflow,          // an entry after the 50th: kept, not shown
  kClose,             // the block's closing line
  kTail,              // after the 50th block, where reading stopped: kept
};

struct SourceLine {
  size_t begin;
  size_t length;
  LineRole role;
  signed char block;  // the block read from it (its origin), or -1
};

// The text of the file read last, line by line, as a save merges into it.
struct AccessSource {
  std::string text;
  std::vector<SourceLine> lines;
  size_t insert_at = 0;  // where blocks added since are written
  bool more_than_shown = false;
};

AccessSource source;

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

// Reads a text into the model, line by line, and notes what each line is.
class Reader {
 public:
  void read(std::string_view text) {
    for (size_t begin = 0; begin < text.size();) {
      size_t end = text.find('\n', begin);
      if (end == std::string_view::npos) end = text.size();
      take(text, begin, end - begin);
      begin = end + 1;
    }
    // A block still open at the end is not kept; its lines stay as they are,
    // and blocks added later go before them, where nothing can rename them.
    if (open_) {
      for (size_t i = block_start_; i < source.lines.size(); ++i)
        if (source.lines[i].block == b_)
          source.lines[i] = {source.lines[i].begin, source.lines[i].length, LineRole::kKept, -1};
      clear_access_block(b_);
      source.insert_at = block_start_;
    } else if (!stopped_) {
      source.insert_at = source.lines.size();
    }
    access_block_count = access_slot_count = b_;
  }

 private:
  void take(std::string_view text, size_t begin, size_t length) {
    std::string_view line = text.substr(begin, length);
    bool region = foreign_;  // the line belongs to an unaccepted block
    int block = -1;
    LineRole role = classify(line, &block);
    if (region &&
        (role == LineRole::kOldHeader || role == LineRole::kBlank || role == LineRole::kComment))
      role = LineRole::kKept;
    source.lines.push_back({begin, length, role, static_cast<signed char>(block)});
  }

  LineRole classify(std::string_view line, int* block) {
    if (stopped_) {
      if (accepted_header_line(line)) source.more_than_shown = true;
      return LineRole::kTail;
    }
    if (!line.empty() && line[0] == ';')
      return line.compare(0, 2, ";;") == 0 ? LineRole::kOldHeader : LineRole::kComment;
    if (line.empty()) return LineRole::kBlank;
    if (is_header_line(line)) return header(line, block);
    if (line[0] == '}') return close(block);
    if (!open_ || skipping_) return LineRole::kKept;
    *block = b_;
    if (e_ >= MAX_BLOCK_ENTRIES) {
      source.more_than_shown = true;
      return LineRole::kOverflow;
    }
    AccessEntry& entry = access_blocks[b_].entries[e_];
    entry = AccessEntry{};
    entry.order = e_++;
    parse_entry(line, entry);
    return LineRole::kEntry;
  }

  LineRole header(std::string_view line, int* block) {
    HeaderLine parsed;
    if (!parse_header(line, parsed) || !header_accepted(parsed)) {
      skipping_ = foreign_ = true;
      return LineRole::kKept;
    }
    // A second header before the closing line renames the open block.
    if (open_)
      source.lines[header_line_].role = LineRole::kSupersededHeader;
    else
      block_start_ = source.lines.size();
    header_line_ = source.lines.size();
    AccessBlock& target = access_blocks[b_];
    target.kind = parsed.kind;
    target.lang = kLangName;
    target.host = parsed.host;
    target.port = parsed.port;
    target.origin = b_;
    open_ = true;
    skipping_ = foreign_ = false;
    *block = b_;
    return LineRole::kHeader;
  }

  LineRole close(int* block) {
    if (!open_ || skipping_) {
      foreign_ = false;  // an unaccepted block ends with its closing line
      return LineRole::kKept;
    }
    // The list position is taken when the block is complete, so that a
    // renamed block does not leave a gap in its kind's order.
    AccessBlock& done = access_blocks[b_];
    done.kind_order = kind_counter_[done.kind]++;
    entry_order_count[b_] = entry_slot_count[b_] = e_;
    *block = b_++;
    open_ = false;
    e_ = 0;
    if (b_ == MAX_ACCESS_BLOCKS) {
      stopped_ = true;
      source.insert_at = source.lines.size() + 1;
    }
    return LineRole::kClose;
  }

  int b_ = 0;
  int e_ = 0;
  bool open_ = false;
  bool skipping_ = false;
  bool foreign_ = false;
  bool stopped_ = false;
  int kind_counter_[2] = {0, 0};
  size_t block_start_ = 0;
  size_t header_line_ = 0;
};

void put(FILE* out, std::string_view text) {
  fwrite(text.data(), 1, text.size(), out);
}

void write_header(FILE* out, const AccessBlock& block) {
  fprintf(out, "%s\t%s ", block.kind == BLOCK_KIND_CONVD ? "convd" : "tolqds", kLangName);
  put(out, block.host);
  if (!block.port.empty()) {
    fputc('/', out);
    put(out, block.port);
  }
  fputs(" { \n", out);
}

// Each entry in the form that reads back as the same entry.
void write_entry(FILE* out, const AccessEntry& entry) {
  if (entry.user.empty()) {
    // An empty line would be no entry at all; "@" reads as one with both fields empty.
    put(out, entry.host.empty() ? "@" : entry.host);
  } else if (entry.host.empty()) {
    // "@user" is cut at a colon when read; ":user" takes the whole rest.
    fputc(entry.user.find(':') == std::string::npos ? '@' : ':', out);
    put(out, entry.user);
  } else {
    put(out, entry.host);
    fputc(':', out);
    put(out, entry.user);
  }
  fputc('\n', out);
}

void write_block_entries(FILE* out, int slot) {
  int slots[MAX_BLOCK_ENTRIES];
  int count = ordered_entries(slot, slots);
  for (int i = 0; i < count; ++i) write_entry(out, access_blocks[slot].entries[slots[i]]);
}

// A line of the file read last, whole; a last line without its newline gets
// one, so that it cannot swallow the next line written.
void copy_line(FILE* out, const SourceLine& line) {
  put(out, std::string_view(source.text).substr(line.begin, line.length));
  fputc('\n', out);
}

enum BlockSaveState : unsigned char { kSkipped, kPending, kWritten };

struct SaveState {
  SaveState() {
    for (int slot = 0; slot < MAX_ACCESS_BLOCKS; ++slot) {
      block[slot] = slot < access_slot_count && access_block_is_live(slot) ? kPending : kSkipped;
      slot_of_origin[slot] = -1;
    }
  }
  BlockSaveState block[MAX_ACCESS_BLOCKS];
  int slot_of_origin[MAX_ACCESS_BLOCKS];
  bool entries_written[MAX_ACCESS_BLOCKS] = {};
};

// The model's entries follow the first header of their block, so that they
// are read as its first entries again even when the block was renamed.
void write_entries_once(FILE* out, SaveState& save, int slot) {
  if (save.entries_written[slot]) return;
  write_block_entries(out, slot);
  save.entries_written[slot] = true;
}

// Where the block read from a line stands now, or -1 when it was removed.
int live_slot(const SaveState& save, const SourceLine& line) {
  return line.block >= 0 ? save.slot_of_origin[line.block] : -1;
}

// The header of a block in its old place: as it stood, unless the server was
// changed since.
void write_header_in_place(FILE* out, int slot, const SourceLine& line) {
  const AccessBlock& block = access_blocks[slot];
  HeaderLine header;
  parse_header(std::string_view(source.text).substr(line.begin, line.length), header);
  if (header.host == block.host && header.port == block.port)
    copy_line(out, line);
  else
    write_header(out, block);
}

void append_pending_blocks(FILE* out, SaveState& save) {
  for (int kind : {BLOCK_KIND_CONVD, BLOCK_KIND_TOLQDS}) {
    for (int i = 0; i < access_block_count; ++i) {
      for (int slot = 0; slot < access_slot_count; ++slot) {
        const AccessBlock& block = access_blocks[slot];
        if (save.block[slot] == kPending && block.kind == kind && block.kind_order == i &&
            access_block_is_live(slot)) {
          write_access_block(out, slot);
          save.block[slot] = kWritten;
          break;
        }
      }
    }
  }
}

// Everything of the file read last stays in its place but old headers, blank
// lines, and the blocks the user removed; the model's blocks stand where they
// were read, with the model's entries; blocks added since come where the
// reader will find them.
void merge_source(FILE* out, SaveState& save) {
  for (int slot = 0; slot < access_slot_count; ++slot) {
    int origin = access_blocks[slot].origin;
    if (access_block_is_live(slot) && origin >= 0) save.slot_of_origin[origin] = slot;
  }
  const std::vector<SourceLine>& lines = source.lines;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == source.insert_at) append_pending_blocks(out, save);
    const SourceLine& line = lines[i];
    int slot = live_slot(save, line);
    switch (line.role) {
      case LineRole::kOldHeader:
      case LineRole::kBlank:
      case LineRole::kEntry:
        break;
      case LineRole::kComment:
      case LineRole::kKept:
      case LineRole::kTail:
        copy_line(out, line);
        break;
      case LineRole::kOverflow:
      case LineRole::kClose:
        if (slot >= 0) copy_line(out, line);
        break;
      case LineRole::kSupersededHeader:
        if (slot >= 0) {
          copy_line(out, line);
          write_entries_once(out, save, slot);
        }
        break;
      case LineRole::kHeader:
        if (slot >= 0) {
          write_header_in_place(out, slot, line);
          write_entries_once(out, save, slot);
          save.block[slot] = kWritten;
        }
        break;
    }
  }
}

bool read_whole(FILE* in, std::string* text) {
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, in)) > 0) text->append(buffer, n);
  return !ferror(in);
}

}  // namespace

void clear_access_model() {
  access_block_count = 0;
  access_slot_count = 0;
  for (int slot = 0; slot < MAX_ACCESS_BLOCKS; ++slot) clear_access_block(slot);
  source = AccessSource{};
}

int read_access_path(const char* dir, const char* name) {
  char path[kPathSize];
  if (!join_bounded(path, dir, name)) return -1;
  std::string text;
  if (read_settings_file(path, &text) != 0) return -1;
  read_access_text(std::move(text));
  return 0;
}

void read_access_text(std::string text) {
  clear_access_model();
  source.text = std::move(text);
  Reader().read(source.text);
}

void read_access_stream(FILE* in) {
  std::string text;
  read_whole(in, &text);
  read_access_text(std::move(text));
}

bool access_more_than_shown() {
  return source.more_than_shown;
}

void write_access_block(FILE* out, int slot) {
  write_header(out, access_blocks[slot]);
  write_block_entries(out, slot);
  fputs("}\n", out);
}

void write_access_model(FILE* out, bool merge) {
  SaveState save;
  write_file_header(out, "tolqhosts");
  if (merge) merge_source(out, save);
  append_pending_blocks(out, save);
}

int save_access_model(bool merge, const char* dir, const char* name, const SaveOptions& options) {
  std::string bytes;
  if (render_bytes([merge](FILE* out) { write_access_model(out, merge); }, &bytes) != 0) return -1;
  return write_settings_file(dir, name, bytes, options);
}
