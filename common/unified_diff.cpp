#include "common/unified_diff.h"

#include <dtl/dtl.hpp>

#include <vector>

namespace {

// The lines of a text, each with its newline, so that a last line without one
// differs from the same line with one.
std::vector<std::string> lines_of(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.emplace_back(text.substr(begin, end - begin));
    begin = end;
  }
  return lines;
}

// As diff -u numbers a range: an empty one by the line before it, one line
// without its count.
std::string range(long long start, long long count) {
  if (count == 1) return std::to_string(start);
  return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

template <typename Elem>
void write_line(std::string* out, const Elem& e) {
  *out += e.second.type == dtl::SES_ADD ? '+' : e.second.type == dtl::SES_DELETE ? '-' : ' ';
  *out += e.first;
  if (e.first.empty() || e.first.back() != '\n') *out += "\n\\ No newline at end of file\n";
}

template <typename Hunk>
void write_hunk(std::string* out, const Hunk& hunk) {
  auto lines = hunk.common[0];
  lines.insert(lines.end(), hunk.change.begin(), hunk.change.end());
  lines.insert(lines.end(), hunk.common[1].begin(), hunk.common[1].end());
  // The library may keep more trailing context than asked for at the end.
  size_t trailing = 0;
  while (trailing < lines.size() &&
         lines[lines.size() - 1 - trailing].second.type == dtl::SES_COMMON)
    ++trailing;
  if (trailing > static_cast<size_t>(kDiffContext))
    lines.resize(lines.size() - trailing + kDiffContext);
  long long before_count = 0, after_count = 0;
  for (const auto& e : lines) {
    if (e.second.type != dtl::SES_ADD) ++before_count;
    if (e.second.type != dtl::SES_DELETE) ++after_count;
  }
  *out += "@@ -" + range(hunk.a, before_count) + " +" + range(hunk.c, after_count) + " @@\n";
  for (const auto& e : lines) write_line(out, e);
}

}  // namespace

std::string unified_diff(std::string_view before, std::string_view after) {
  if (before == after) return "";
  dtl::Diff<std::string> diff(lines_of(before), lines_of(after));
  diff.compose();
  diff.composeUnifiedHunks();
  std::string out;
  for (const auto& hunk : diff.getUniHunks()) write_hunk(&out, hunk);
  return out;
}
