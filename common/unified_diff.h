// What a save changes in a file: the unified hunks between the bytes on disk
// and the bytes that would replace them.
#ifndef TOLQ_COMMON_UNIFIED_DIFF_H
#define TOLQ_COMMON_UNIFIED_DIFF_H

#include <string>
#include <string_view>

inline constexpr int kDiffContext = 3;

// The unified hunks from before to after, three lines of context, as diff -u
// prints them without its two file lines: "@@ -a,b +c,d @@", then the lines
// marked ' ', '-' or '+', each ended by '\n'; a last line without its newline
// is followed by "\ No newline at end of file". Bytes are kept as they are.
// Empty when the two are the same.
std::string unified_diff(std::string_view before, std::string_view after);

#endif
