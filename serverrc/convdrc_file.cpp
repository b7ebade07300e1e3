#include "serverrc/convdrc_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/line_writers.h"
#include "common/safe_file.h"
#include "common/text.h"

namespace {

// The settings in the order in which missing ones are appended.
enum Setting { kDir, kDicts, kOndisk, kSticky, kAutosave, kGiji, kSettingCount };

const char* const kKeywords[kSettingCount] = {"convd_dir",      "readfile", "ondisk_off",
                                              "max_sticky_env", "autosave", "set_giji_eisuu"};

// The setting a keyword names, or kSettingCount for any other word.
Setting setting_of(std::string_view keyword) {
  int i = 0;
  while (i < kSettingCount && keyword != kKeywords[i]) ++i;
  return static_cast<Setting>(i);
}

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// A physical line and the lines that its trailing backslashes continue onto,
// joined without the backslashes. pieces, when given, receives the physical
// lines as they were read, so that the line can be copied unchanged.
bool read_logical_line(FILE* in, std::string* line, std::vector<std::string>* pieces = nullptr) {
  if (pieces) pieces->clear();
  if (!read_physical_line(in, line)) return false;
  if (pieces) pieces->push_back(*line);
  std::string next;
  while (!line->empty() && line->back() == '\\') {
    line->pop_back();
    // A backslash on the last line of the file continues onto nothing.
    if (!read_physical_line(in, &next)) break;
    if (pieces) pieces->push_back(next);
    line->append(next);
  }
  return true;
}

void apply_values(ConvdSettings* settings, const std::vector<std::string_view>& words) {
  Setting which = setting_of(words[0]);
  if (which != kSettingCount) settings->keyword_seen = true;
  switch (which) {
    case kDir:
      settings->dir = words[1];
      break;
    case kDicts:
      settings->dicts.emplace_back(words[1]);
      break;
    case kSticky:
      // The word is followed by a blank or the line's end, where strtol stops.
      settings->sticky = std::to_string(clamped_count(words[1].data(), kStickyMin, kStickyMax));
      break;
    case kAutosave:
      settings->autosave =
          std::to_string(clamped_count(words[1].data(), kAutosaveMin, kAutosaveMax));
      break;
    case kGiji:
      settings->giji.assign(words[1]);
      for (size_t i = 2; i < words.size(); ++i) settings->giji.append(" ").append(words[i]);
      break;
    default:  // "ondisk_off" with values, and unknown keywords
      break;
  }
}

// The "convd_dir" value as written: one trailing slash goes, except from "/".
std::string_view dir_value(std::string_view dir) {
  if (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
  return dir;
}

// Writes the lines of a convdrc, making sure that the reader takes every
// setting line it writes as a line of its own.
class ConvdrcWriter {
 public:
  ConvdrcWriter(FILE* out, const ConvdSettings& settings) : out_(out), settings_(settings) {}

  // Copies the source's lines, each known keyword's line replaced with the
  // current value; the dictionaries stand where the first "readfile" stood.
  // Continued lines are taken whole, as the reader takes them: a keyword is
  // replaced however its line is split, and no copied piece can become a
  // setting line that overrides the value written.
  void carry_over(FILE* source) {
    std::string line;
    std::vector<std::string> pieces;
    while (read_logical_line(source, &line, &pieces)) {
      if (pieces.front().compare(0, 2, ";;") == 0) continue;  // an earlier header
      Setting which = kSettingCount;
      if (line[0] != ';') {
        std::vector<std::string_view> words = split_words(line);
        if (!words.empty()) which = setting_of(words[0]);
      }
      if (which == kSettingCount) {
        for (const auto& piece : pieces) copy_line(piece);
        continue;
      }
      if (!(which == kDicts && written_[kDicts])) write_setting(which);
      written_[which] = true;
    }
  }

  void append_missing() {
    for (int i = 0; i < kSettingCount; ++i)
      if (!written_[i]) write_setting(static_cast<Setting>(i));
  }

 private:
  void copy_line(const std::string& line) {
    fwrite(line.data(), 1, line.size(), out_);
    fputc('\n', out_);
    // An empty line may still be joined on; assume it is.
    if (!line.empty()) continued_ = line.back() == '\\';
  }

  void write_setting(Setting which) {
    if (!writes_something(which)) return;
    // A copied line that ends with a backslash would swallow the setting.
    if (continued_) fputs(" \n", out_);
    continued_ = false;
    if (which == kOndisk)
      fputs("ondisk_off\n", out_);
    else if (which == kDicts)
      for (const auto& dict : settings_.dicts) write_value(kDicts, dict);
    else
      write_value(which, which == kDir ? dir_value(settings_.dir) : text_of(which));
  }

  bool writes_something(Setting which) const {
    if (which == kOndisk) return !settings_.ondisk;
    if (which == kDicts) {
      for (const auto& dict : settings_.dicts)
        if (!dict.empty()) return true;
      return false;
    }
    return !text_of(which).empty();
  }

  const std::string& text_of(Setting which) const {
    switch (which) {
      case kDir:
        return settings_.dir;
      case kSticky:
        return settings_.sticky;
      case kAutosave:
        return settings_.autosave;
      default:
        return settings_.giji;
    }
  }

  void write_value(Setting which, std::string_view value) {
    // A blank keeps a final backslash from being read as a continuation.
    if (!value.empty() && value.back() == '\\')
      write_text_line(out_, std::string(value) + " ", kKeywords[which]);
    else
      write_text_line(out_, value, kKeywords[which]);
  }

  FILE* out_;
  const ConvdSettings& settings_;
  bool written_[kSettingCount] = {};
  bool continued_ = false;  // the reader would join the next line to the last one
};

InputFile open_source(const char* path) {
  if (!path || !path[0]) return nullptr;
  return open_input_file(path);
}

}  // namespace

bool ConvdSettings::operator==(const ConvdSettings& other) const {
  return dicts == other.dicts && ondisk == other.ondisk && sticky == other.sticky &&
         autosave == other.autosave && dir == other.dir && giji == other.giji;
}

bool read_physical_line(FILE* in, std::string* line) {
  // One buffer for every read, grown by getline as lines need and freed at exit.
  struct LineBuffer {
    char* data = nullptr;
    size_t size = 0;
    ~LineBuffer() { free(data); }
  };
  static LineBuffer buffer;
  ssize_t n = getline(&buffer.data, &buffer.size, in);
  if (n < 0) return false;
  if (n > 0 && buffer.data[n - 1] == '\n') --n;
  line->assign(buffer.data, static_cast<size_t>(n));
  return true;
}

std::vector<std::string_view> split_words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  for (;;) {
    while (i < text.size() && is_blank(text[i])) ++i;
    if (i == text.size()) break;
    size_t start = i;
    while (i < text.size() && !is_blank(text[i])) ++i;
    words.push_back(text.substr(start, i - start));
  }
  return words;
}

int clamped_count(const char* text, int lo, int hi) {
  auto value = static_cast<uint32_t>(strtol(text, nullptr, 10));
  if (value < static_cast<uint32_t>(lo)) return lo;
  if (value > static_cast<uint32_t>(hi)) return hi;
  return static_cast<int>(value);
}

ConvdSettings parse_convdrc(FILE* in) {
  ConvdSettings settings;
  std::string line;
  while (read_logical_line(in, &line)) {
    std::vector<std::string_view> words = split_words(line);
    if (words.empty() || words[0][0] == ';') continue;
    if (words.size() == 1) {
      if (words[0] == kKeywords[kOndisk]) {
        settings.ondisk = false;
        settings.keyword_seen = true;
      }
      continue;
    }
    apply_values(&settings, words);
  }
  return settings;
}

int load_convdrc_file(const char* path, ConvdSettings* settings) {
  std::string bytes;
  if (read_settings_file(path, &bytes) != 0) return -1;
  InputFile in(fmemopen(bytes.data(), bytes.size(), "r"));
  if (!in) return -1;
  ConvdSettings read = parse_convdrc(in.get());
  // A file that fails part-way is not the file: keep the page as it was.
  if (ferror(in.get())) return -1;
  *settings = read;
  return 0;
}

void write_convdrc_lines(FILE* out, FILE* source, const ConvdSettings& settings) {
  write_file_header(out, "convdrc");
  ConvdrcWriter writer(out, settings);
  if (source) writer.carry_over(source);
  writer.append_missing();
}

int save_convdrc_file(const char* dir, const char* name, const char* source_path,
                      const ConvdSettings& settings, const SaveOptions& options) {
  InputFile source = open_source(source_path);
  std::string bytes;
  if (render_bytes([&](FILE* out) { write_convdrc_lines(out, source.get(), settings); }, &bytes) !=
      0)
    return -1;
  // A source that failed half-way would lose the lines not yet carried over.
  if (source && ferror(source.get())) return -1;
  return write_settings_file(dir, name, bytes, options);
}
