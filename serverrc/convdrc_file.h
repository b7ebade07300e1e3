// The server settings file convdrc: its values, its reader and its writer.
// Plain C++ so that the format can be tested and fuzzed without a display.
#ifndef TOLQ_SERVERRC_CONVDRC_FILE_H
#define TOLQ_SERVERRC_CONVDRC_FILE_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/safe_file.h"

// The values of the convd page. Texts are EUC-JP, kept exactly as the file
// holds them, whatever their length or bytes.
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

inline constexpr int kStickyMin = 1;
inline constexpr int kStickyMax = 256;
inline constexpr int kAutosaveMin = 0;
inline constexpr int kAutosaveMax = 1024;

// Reads one physical line, whole, into line without its newline. False at the
// end of the file.
bool read_physical_line(FILE* in, std::string* line);
// The words of text, split at runs of blanks and tabs.
std::vector<std::string_view> split_words(std::string_view text);
// strtol of text taken as an unsigned 32-bit number, clamped into lo..hi.
int clamped_count(const char* text, int lo, int hi);

// Reads convdrc lines from in over the built-in defaults.
ConvdSettings parse_convdrc(FILE* in);
// Reads the file at path; -1 when it cannot be opened, is not a plain file or
// fails to read.
int load_convdrc_file(const char* path, ConvdSettings* settings);

// Writes the header, the lines of source (may be null) with the known keywords
// replaced by the settings, then the settings not yet written.
void write_convdrc_lines(FILE* out, FILE* source, const ConvdSettings& settings);
// Writes dir + name safely, carrying over the file at source_path (none when
// null or empty, or when it cannot be read). 0, or -1 with an existing file untouched.
int save_convdrc_file(const char* dir, const char* name, const char* source_path,
                      const ConvdSettings& settings, const SaveOptions& options = {});

#endif
