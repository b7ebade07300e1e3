#include "serverrc/convdrc_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/file_header.h"
#include "common/safe_file.h"

namespace {

constexpr std::string_view kKeywords[kConvdSettingCount] = {
    "convd_dir", "readfile", "ondisk_off", "max_sticky_env", "autosave", "set_giji_eisuu"};

// The keywords begin with six different letters.
ConvdSetting setting_of(std::string_view word) {
  for (int i = 0; i < kConvdSettingCount; ++i)
    if (word[0] == kKeywords[i][0])
      return word == kKeywords[i] ? static_cast<ConvdSetting>(i) : kConvdSettingCount;
  return kConvdSettingCount;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// The next word of text from *pos on; empty at the end of the text. The
// texts lie in strings and end before a CR, a newline or the terminator,
// where strcspn stops; a NUL or CR inside a word is part of it.
std::string_view next_word(std::string_view text, size_t* pos) {
  const char* p = text.data() + *pos;
  const char* end = text.data() + text.size();
  while (p < end && is_blank(*p)) ++p;
  const char* start = p;
  while (p < end) {
    p = std::min(p + strcspn(p, " \t\r\n"), end);
    if (p == end || is_blank(*p)) break;
    ++p;
  }
  *pos = static_cast<size_t>(p - text.data());
  return {start, static_cast<size_t>(p - start)};
}

// The physical line of bytes at pos: what it says, without its newline and
// a CR before it, and where the next one begins.
struct PhysicalLine {
  std::string_view text;
  size_t next;
};

PhysicalLine physical_line(std::string_view bytes, size_t pos) {
  const void* newline = memchr(bytes.data() + pos, '\n', bytes.size() - pos);
  size_t stop = newline ? static_cast<size_t>(static_cast<const char*>(newline) - bytes.data())
                        : bytes.size();
  size_t next = newline ? stop + 1 : stop;
  if (stop > pos && bytes[stop - 1] == '\r') --stop;
  return {bytes.substr(pos, stop - pos), next};
}

// One line of a convdrc text, with the physical lines that its trailing
// backslashes join on: the bytes [begin, end), newlines included.
struct ConvdrcLine {
  size_t begin = 0;
  size_t end = 0;
  ConvdSetting setting = kConvdSettingCount;  // the setting its first word names
  bool valued = false;                        // the reader takes a value from it
  bool old_header = false;  // begins with ";;": a save writes its own header instead
  bool open = false;        // the last line, its backslash continuing onto nothing
};

// Walks the lines of a convdrc text as the reader takes them; the reader and
// the writer see the same lines.
class LineScanner {
 public:
  explicit LineScanner(std::string_view bytes) : bytes_(bytes) {}

  // The next line; false at the end of the text.
  bool next(ConvdrcLine* line) {
    if (pos_ == bytes_.size()) return false;
    size_t begin = pos_;
    PhysicalLine first = physical_line(bytes_, begin);
    text_ = first.text;
    pos_ = first.next;
    bool open = !text_.empty() && text_.back() == '\\' && join_continued();
    *line = ConvdrcLine{begin, pos_};
    line->open = open;
    line->old_header = pos_ - begin >= 2 && bytes_[begin] == ';' && bytes_[begin + 1] == ';';
    at_ = 0;
    std::string_view keyword = next_word(text_, &at_);
    if (keyword.empty() || keyword[0] == ';') return true;
    line->setting = setting_of(keyword);
    if (line->setting == kConvdSettingCount) return true;
    while (at_ < text_.size() && is_blank(text_[at_])) ++at_;
    // "ondisk_off" says its meaning alone; the others by their values.
    line->valued = (line->setting == kConvdOndisk) == (at_ == text_.size());
    return true;
  }

  // The values of the line of a setting, one by one; empty after the last.
  std::string_view next_value() { return next_word(text_, &at_); }
  // Whether the words lie in the text scanned, not in a line joined from it.
  bool in_text() const { return text_.data() != joined_.data(); }

 private:
  // Joins the physical lines that backslashes continue the line onto; true
  // when it still continues at the end of the text.
  bool join_continued() {
    joined_.assign(text_);
    bool open = false;
    while (!open && !joined_.empty() && joined_.back() == '\\') {
      joined_.pop_back();
      open = pos_ == bytes_.size();
      if (open) continue;
      PhysicalLine next = physical_line(bytes_, pos_);
      joined_.append(next.text);
      pos_ = next.next;
    }
    text_ = joined_;
    return open;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
  std::string_view text_;  // what the line says, its backslashes dropped
  std::string joined_;     // the text of a continued line
  size_t at_ = 0;          // where the next word of text_ starts
};

size_t count_lines(std::string_view bytes) {
  size_t count = 1;
  const char* end = bytes.data() + bytes.size();
  for (const char* p = bytes.data();
       (p = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
    ++count;
  return count;
}

void take_values(const ConvdrcLine& line, LineScanner* scanner, ConvdrcSource* source) {
  ConvdSettings& values = source->values;
  if (line.setting == kConvdOndisk) {
    values.keyword_seen = true;
    if (line.valued) values.ondisk = false;
    return;
  }
  if (!line.valued) return;  // a keyword alone
  values.keyword_seen = true;
  std::string_view value = scanner->next_value();
  switch (line.setting) {
    case kConvdDir:
      values.dir.assign(value);
      break;
    case kConvdDicts:
      if (!scanner->in_text()) value = source->joined.emplace_back(value);
      source->dicts.push_back(value);
      break;
    case kConvdSticky:
      values.sticky =
          std::to_string(clamped_count(std::string(value).c_str(), kStickyMin, kStickyMax));
      break;
    case kConvdAutosave:
      values.autosave =
          std::to_string(clamped_count(std::string(value).c_str(), kAutosaveMin, kAutosaveMax));
      break;
    default:  // "set_giji_eisuu": every value, joined by single blanks
      values.giji.assign(value);
      while (!(value = scanner->next_value()).empty()) values.giji.append(" ").append(value);
      break;
  }
}

// The "convd_dir" value as written: one trailing slash goes, except from "/".
std::string_view dir_value(std::string_view dir) {
  if (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
  return dir;
}

const std::string& text_of(const ConvdSettings& settings, ConvdSetting which) {
  switch (which) {
    case kConvdDir:
      return settings.dir;
    case kConvdSticky:
      return settings.sticky;
    case kConvdAutosave:
      return settings.autosave;
    default:
      return settings.giji;
  }
}

std::vector<std::string_view> views_of(const std::vector<std::string>& texts) {
  return std::vector<std::string_view>(texts.begin(), texts.end());
}

// Whether the settings hold another value than the source read.
bool differs(const ConvdSettings& settings, const ConvdrcSource& source, ConvdSetting which) {
  if (which == kConvdDicts)
    return !std::equal(settings.dicts.begin(), settings.dicts.end(), source.dicts.begin(),
                       source.dicts.end());
  if (which == kConvdOndisk) return settings.ondisk != source.values.ondisk;
  return text_of(settings, which) != text_of(source.values, which);
}

// Builds the new file. A setting the user left as the source read it keeps
// all its lines as they were; a changed one is written anew where its lines
// stood, each with the line end of the line it replaces.
class Renderer {
 public:
  Renderer(const ConvdrcSource* source, const ConvdSettings& settings)
      : source_(source), settings_(settings) {
    for (int i = 0; i < kConvdSettingCount; ++i) {
      auto which = static_cast<ConvdSetting>(i);
      changed_[i] = !source || differs(settings, *source, which);
    }
    // A file whose first line ends in CR LF gets CR LF on the lines added.
    ConvdrcLine first;
    if (source && LineScanner(source->bytes).next(&first)) file_end_ = line_end_of(first);
  }

  std::string render() {
    out_.reserve((source_ ? source_->bytes.size() : 0) + 256);
    append_file_header(&out_, "convdrc", file_end_);
    if (source_) {
      LineScanner scanner(source_->bytes);
      ConvdrcLine line;
      while (scanner.next(&line)) carry_over(line);
    }
    for (int i = 0; i < kConvdSettingCount; ++i)
      if (!written_[i]) write_setting(static_cast<ConvdSetting>(i), file_end_);
    return std::move(out_);
  }

 private:
  void carry_over(const ConvdrcLine& line) {
    if (line.old_header) return;
    ConvdSetting which = line.setting;
    if (which == kConvdSettingCount || !changed_[which]) {
      keep(line);
      if (which != kConvdSettingCount) written_[which] = true;
      return;
    }
    // The dictionaries stand where the first "readfile" stood.
    if (which == kConvdDicts && written_[which]) return;
    written_[which] = true;
    write_setting(which, line_end_of(line));
  }

  void write_setting(ConvdSetting which, std::string_view end) {
    if (which == kConvdDicts) {
      write_dicts(end);
    } else if (which == kConvdOndisk) {
      if (!settings_.ondisk) put_line("ondisk_off", end);
    } else {
      std::string_view value = text_of(settings_, which);
      write_value(which, which == kConvdDir ? dir_value(value) : value, end);
    }
  }

  // Each row the user left as it was keeps the line it was read from.
  void write_dicts(std::string_view end) {
    const std::vector<std::string>& rows = settings_.dicts;
    std::vector<size_t> origin(rows.size(), kNoRow);
    std::vector<ConvdrcLine> row_lines;  // the line each row of the source was read from
    if (source_ && !source_->dicts.empty()) {
      origin = match_rows(source_->dicts, views_of(rows));
      row_lines.reserve(source_->dicts.size());
      LineScanner scanner(source_->bytes);
      ConvdrcLine line;
      while (scanner.next(&line))
        if (line.setting == kConvdDicts && line.valued) row_lines.push_back(line);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
      if (origin[r] != kNoRow)
        keep(row_lines[origin[r]]);
      else
        write_value(kConvdDicts, rows[r], end);
    }
  }

  void write_value(ConvdSetting which, std::string_view value, std::string_view end) {
    if (value.empty()) return;
    end_continued_line();
    out_.append(kKeywords[which]).append("\t\t").append(value);
    // A blank keeps a final backslash or CR from being read as part of the
    // line end.
    if (value.back() == '\\' || value.back() == '\r') out_.push_back(' ');
    out_.append(end);
  }

  void put_line(std::string_view text, std::string_view end) {
    end_continued_line();
    out_.append(text).append(end);
  }

  // Copies a line of the source as it was. Only the last line can lack its
  // newline, which it gets, or go on with a backslash into what follows.
  void keep(const ConvdrcLine& line) {
    end_continued_line();
    out_.append(source_->bytes, line.begin, line.end - line.begin);
    if (out_.back() != '\n') out_.push_back('\n');
    continued_ = line.open;
  }

  // A line of one blank ends a copied line that a backslash continues.
  void end_continued_line() {
    if (!continued_) return;
    continued_ = false;
    out_.append(" ").append(file_end_);
  }

  std::string_view line_end_of(const ConvdrcLine& line) const {
    std::string_view bytes(source_->bytes.data() + line.begin, line.end - line.begin);
    if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
    return !bytes.empty() && bytes.back() == '\r' ? "\r\n" : "\n";
  }

  const ConvdrcSource* source_;
  const ConvdSettings& settings_;
  bool changed_[kConvdSettingCount];
  bool written_[kConvdSettingCount] = {};
  bool continued_ = false;  // the reader would join the next line to the last one
  std::string_view file_end_ = "\n";
  std::string out_;
};

}  // namespace

bool ConvdSettings::operator==(const ConvdSettings& other) const {
  return dicts == other.dicts && ondisk == other.ondisk && sticky == other.sticky &&
         autosave == other.autosave && dir == other.dir && giji == other.giji;
}

int clamped_count(const char* text, int lo, int hi) {
  auto value = static_cast<uint32_t>(strtol(text, nullptr, 10));
  if (value < static_cast<uint32_t>(lo)) return lo;
  if (value > static_cast<uint32_t>(hi)) return hi;
  return static_cast<int>(value);
}

ConvdSettings ConvdrcSource::settings() const {
  ConvdSettings settings = values;
  settings.dicts.assign(dicts.begin(), dicts.end());
  return settings;
}

std::unique_ptr<ConvdrcSource> parse_convdrc(std::string bytes) {
  auto source = std::make_unique<ConvdrcSource>();
  source->bytes = std::move(bytes);
  // At most a dictionary a line, and a line "readfile x" long: no growing on
  // the way, and no more room taken than the text could fill.
  size_t shortest = sizeof "readfile x" - 1;
  source->dicts.reserve(std::min(count_lines(source->bytes), source->bytes.size() / shortest + 1));
  LineScanner scanner(source->bytes);
  ConvdrcLine line;
  while (scanner.next(&line))
    if (line.setting != kConvdSettingCount) take_values(line, &scanner, source.get());
  if (source->dicts.capacity() > 2 * source->dicts.size() + 16) source->dicts.shrink_to_fit();
  return source;
}

int load_convdrc_file(const char* path, std::unique_ptr<ConvdrcSource>* source, FileStamp* stamp) {
  std::string bytes;
  FileStamp read;
  if (read_settings_file(path, &bytes, &read) != 0) return -1;
  *source = parse_convdrc(std::move(bytes));
  if (stamp) *stamp = read;
  return 0;
}

std::string render_convdrc(const ConvdrcSource* source, const ConvdSettings& settings) {
  return Renderer(source, settings).render();
}

int save_convdrc_file(const char* dir, const char* name, const ConvdrcSource* source,
                      const ConvdSettings& settings, const SaveOptions& options) {
  return write_settings_file(dir, name, render_convdrc(source, settings), options);
}

std::vector<size_t> match_rows(const std::vector<std::string_view>& read,
                               const std::vector<std::string_view>& rows) {
  std::vector<size_t> match(rows.size(), kNoRow);
  // Rows left alone at the start and at the end, the common case, match in
  // step; those in between by their text.
  size_t front = 0;
  while (front < read.size() && front < rows.size() && read[front] == rows[front]) {
    match[front] = front;
    ++front;
  }
  size_t read_end = read.size(), rows_end = rows.size();
  while (read_end > front && rows_end > front && read[read_end - 1] == rows[rows_end - 1])
    match[--rows_end] = --read_end;
  if (front == read_end || front == rows_end) return match;
  // Each text's unmatched rows of read, first to last, as a chain.
  std::unordered_map<std::string_view, size_t> first;
  std::vector<size_t> next(read_end - front);
  for (size_t i = read_end; i-- > front;) {
    auto [it, added] = first.try_emplace(read[i], i);
    next[i - front] = added ? kNoRow : it->second;
    it->second = i;
  }
  for (size_t r = front; r < rows_end; ++r) {
    auto it = first.find(rows[r]);
    if (it == first.end() || it->second == kNoRow) continue;
    match[r] = it->second;
    it->second = next[it->second - front];
  }
  return match;
}

bool holds_white_space(std::string_view euc) {
  for (size_t i = 0; i < euc.size();) {
    auto c = static_cast<unsigned char>(euc[i]);
    if (c < 0x80) {
      if (c == ' ' || (c >= '\t' && c <= '\r')) return true;
      ++i;
    } else if (c == 0x8f) {  // a JIS X 0212 character: three bytes
      i += 3;
    } else {
      if (euc.compare(i, 2, "\xa1\xa1") == 0) return true;  // the ideographic space
      i += 2;
    }
  }
  return false;
}
