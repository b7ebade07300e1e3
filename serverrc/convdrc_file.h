// The server settings file convdrc: its values, its reader and its writer.
// Plain C++ so that the format can be tested and fuzzed without a display.
#ifndef TOLQ_SERVERRC_CONVDRC_FILE_H
#define TOLQ_SERVERRC_CONVDRC_FILE_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/input_file.h"
#include "common/safe_file.h"

// The values of the convd page. Texts are EUC-JP, kept exactly as the file
// holds them, whatever their length or bytes (a NUL included).
struct ConvdSettings {
  std::vector<std::string> dicts;   // one per "readfile", in file order
  bool ondisk = true;               // false after an "ondisk_off" line
  std::string sticky = "10";        // "max_sticky_env": the text the spin button shows
  std::string autosave = "0";       // "autosave": likewise
  std::string dir = "@VARDIR/dic";  // "convd_dir"
  std::string giji;                 // "set_giji_eisuu": the characters joined by blanks
  bool keyword_seen = false;        // the file held a line of one of the six keywords

  // The values alone.
  bool operator==(const ConvdSettings& other) const;
};

// The six settings, in the order in which a save appends those the file lacks.
enum ConvdSetting : unsigned char {
  kConvdDir,
  kConvdDicts,
  kConvdOndisk,
  kConvdSticky,
  kConvdAutosave,
  kConvdGiji,
  kConvdSettingCount  // a line of no setting
};

inline constexpr int kStickyMin = 1;
inline constexpr int kStickyMax = 256;
inline constexpr int kAutosaveMin = 0;
inline constexpr int kAutosaveMax = 1024;

// A convdrc as read: its bytes, which a save carries over without opening
// the file again, and what they say. The names of the dictionaries are not
// copied out but viewed where they lie, in the bytes or, read from a line
// continued by backslashes, in joined; so a source stays where it was made.
struct ConvdrcSource {
  ConvdrcSource() = default;
  ConvdrcSource(const ConvdrcSource&) = delete;
  ConvdrcSource& operator=(const ConvdrcSource&) = delete;

  // Everything read, as the page holds it: values with the names copied in.
  ConvdSettings settings() const;

  std::string bytes;
  ConvdSettings values;                 // what the file says, but for the dictionaries:
  std::vector<std::string_view> dicts;  // one per "readfile" with a value, in file order
  std::deque<std::string> joined;
};

// strtol of text taken as an unsigned 32-bit number, clamped into lo..hi.
int clamped_count(const char* text, int lo, int hi);

// Reads a convdrc text. A CR before a line's end is part of the line end.
std::unique_ptr<ConvdrcSource> parse_convdrc(std::string bytes);
// Reads the file at path whole into source: 0, or -1 with source unchanged
// when it cannot be opened, is not a plain file or fails to read. stamp, when
// given, receives the stamp of what was read.
int load_convdrc_file(const char* path, std::unique_ptr<ConvdrcSource>* source,
                      FileStamp* stamp = nullptr);

// Exactly the bytes a save of settings writes: the header, then the lines of
// source (none when null) with every setting that settings change from what
// source read rewritten and all else byte for byte, then the settings source
// lacks.
std::string render_convdrc(const ConvdrcSource* source, const ConvdSettings& settings);
// Writes render_convdrc to dir + name safely: 0, or -1 with an existing file untouched.
int save_convdrc_file(const char* dir, const char* name, const ConvdrcSource* source,
                      const ConvdSettings& settings, const SaveOptions& options = {});

inline constexpr size_t kNoRow = SIZE_MAX;
// For each of rows, the index of a row of read with the same text, each
// taken once, or kNoRow: the rows the user left as they were, whatever was
// removed, changed or added around them.
std::vector<size_t> match_rows(const std::vector<std::string_view>& read,
                               const std::vector<std::string_view>& rows);

// True when an EUC-JP text holds white space (ASCII or the ideographic
// space): a value the reader would split into several words.
bool holds_white_space(std::string_view euc);

#endif
