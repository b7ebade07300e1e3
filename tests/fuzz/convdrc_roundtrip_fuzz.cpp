// Reading a convdrc and saving it back:
// - without edits, the file comes back as it was, but for the old ";;"
//   header lines, the new header and the settings it lacked, appended;
// - with one setting edited, only the lines of that setting change, and the
//   file reads back to the edited values;
// - without the file to carry over, the values read back alike, apart from
//   the one trailing slash of the dictionary directory that writing removes.
// The lines are split here on their own, as the format says, not by the
// code under test.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "serverrc/convdrc_file.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A logical line: its physical lines, newlines included, and what it says.
struct Line {
  std::vector<std::string> pieces;
  std::string text;
  std::string raw() const {
    std::string raw;
    for (const auto& piece : pieces) raw += piece;
    return raw;
  }
};

// What a physical line says: without its newline and a CR before it.
std::string_view said(std::string_view piece) {
  if (!piece.empty() && piece.back() == '\n') piece.remove_suffix(1);
  if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
  return piece;
}

std::vector<Line> lines_of(const std::string& bytes) {
  std::vector<std::string_view> pieces;
  for (size_t pos = 0; pos < bytes.size();) {
    size_t end = bytes.find('\n', pos);
    end = end == std::string::npos ? bytes.size() : end + 1;
    pieces.push_back(std::string_view(bytes).substr(pos, end - pos));
    pos = end;
  }
  std::vector<Line> lines;
  for (size_t i = 0; i < pieces.size();) {
    Line line{{std::string(pieces[i])}, std::string(said(pieces[i]))};
    ++i;
    while (!line.text.empty() && line.text.back() == '\\') {
      line.text.pop_back();
      if (i == pieces.size()) break;
      line.pieces.emplace_back(pieces[i]);
      line.text += said(pieces[i++]);
    }
    lines.push_back(line);
  }
  return lines;
}

const char* const kKeywords[] = {"convd_dir",      "readfile", "ondisk_off",
                                 "max_sticky_env", "autosave", "set_giji_eisuu"};

// The setting whose keyword begins a line, or -1.
int setting_of(const Line& line) {
  size_t start = line.text.find_first_not_of(" \t");
  if (start == std::string::npos) return -1;
  size_t end = line.text.find_first_of(" \t", start);
  std::string word = line.text.substr(start, end == std::string::npos ? end : end - start);
  for (int i = 0; i < 6; ++i)
    if (word == kKeywords[i]) return i;
  return -1;
}

bool old_header(const Line& line) {
  return line.pieces[0].compare(0, 2, ";;") == 0;
}

// A line's bytes with its newline, but for the line of one blank that may
// end a line continued onto nothing.
std::string compared(const Line& line) {
  std::vector<std::string> pieces = line.pieces;
  if (pieces.size() > 1 && (pieces.back() == " \n" || pieces.back() == " \r\n")) pieces.pop_back();
  std::string raw;
  for (const auto& piece : pieces) raw += piece;
  if (raw.back() != '\n') raw += '\n';
  return raw;
}

// The lines of text, each compared, but those of one setting.
std::vector<std::string> lines_but(const std::string& text, int setting) {
  std::vector<std::string> kept;
  for (const Line& line : lines_of(text))
    if (setting_of(line) != setting) kept.push_back(compared(line));
  return kept;
}

ConvdSettings read_back(const std::string& text) {
  return parse_convdrc(text)->settings();
}

void check_unedited(const std::string& bytes, const ConvdrcSource& source,
                    const std::string& saved) {
  std::vector<Line> lines = lines_of(bytes);
  // The lines added end as the first line does.
  std::string first = lines.empty() ? "" : lines[0].raw();
  if (!first.empty() && first.back() == '\n') first.pop_back();
  bool crlf = !first.empty() && first.back() == '\r';
  const char* end = crlf ? "\r\n" : "\n";
  std::string expected =
      std::string(";;") + end + ";; convdrc : created by cfgmate " + end + ";;" + end;
  for (const Line& line : lines)
    if (!old_header(line)) expected += line.raw();
  if (!expected.empty() && expected.back() != '\n') expected += '\n';
  check(saved.compare(0, expected.size(), expected) == 0);
  // What follows holds only the settings the file lacked.
  std::vector<Line> appended = lines_of(saved.substr(expected.size()));
  for (size_t i = 0; i < appended.size(); ++i)
    check(setting_of(appended[i]) >= 0 || (i == 0 && said(appended[i].raw()) == " "));
  check(read_back(saved) == source.settings());
}

// Each edit changes one setting of what was read to another value.
void edit(int setting, ConvdSettings* s) {
  switch (setting) {
    case 0:
      s->dir = s->dir == "/fuzz/dir" ? "/fuzz/dir2" : "/fuzz/dir";
      break;
    case 1:
      if (!s->dicts.empty()) {
        s->dicts[s->dicts.size() / 2] = "changed.dic";
        s->dicts.erase(s->dicts.begin());
      }
      s->dicts.push_back("added.dic");
      break;
    case 2:
      s->ondisk = !s->ondisk;
      break;
    case 3:
      s->sticky = s->sticky == "77" ? "78" : "77";
      break;
    case 4:
      s->autosave = s->autosave == "77" ? "78" : "77";
      break;
    default:
      s->giji = s->giji == "f u" ? "z z" : "f u";
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<ConvdrcSource> source = parse_convdrc(bytes);
  ConvdSettings read = source->settings();

  std::string unedited = render_convdrc(source.get(), read);
  check_unedited(bytes, *source, unedited);

  for (int setting = 0; setting < 6; ++setting) {
    ConvdSettings edited = read;
    edit(setting, &edited);
    std::string saved = render_convdrc(source.get(), edited);
    check(read_back(saved) == edited);
    check(lines_but(saved, setting) == lines_but(unedited, setting));
  }

  ConvdSettings expected = read;
  if (expected.dir.size() > 1 && expected.dir.back() == '/') expected.dir.pop_back();
  check(read_back(render_convdrc(nullptr, read)) == expected);
  return 0;
}
