// Streams over strings for the tests and the fuzz targets: a FILE* that reads
// a text or captures what is written to it, and what code prints on standard
// output or error. Header-only, so that a fuzz target needs nothing but the core.
#ifndef TOLQ_TESTS_SUPPORT_STRING_FILE_H
#define TOLQ_TESTS_SUPPORT_STRING_FILE_H

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

class StringFile {
 public:
  // A stream that reads text.
  explicit StringFile(std::string text)
      : text_(std::move(text)), file_(fmemopen(text_.data(), text_.size(), "r")) {}
  // A stream whose output written() returns.
  StringFile() : file_(open_memstream(&data_, &size_)) {}
  ~StringFile() {
    if (file_) fclose(file_);
    free(data_);
  }
  StringFile(const StringFile&) = delete;
  StringFile& operator=(const StringFile&) = delete;

  // Null when the stream could not be made.
  FILE* get() const { return file_; }
  // What was written to the stream so far.
  std::string written() {
    if (file_) fflush(file_);
    return data_ ? std::string(data_, size_) : std::string();
  }

 private:
  std::string text_;  // read in place by the stream
  char* data_ = nullptr;
  size_t size_ = 0;
  FILE* file_;
};

// What write puts on a stream.
inline std::string written_by(const std::function<void(FILE*)>& write) {
  StringFile out;
  write(out.get());
  return out.written();
}

// What code prints on stream (stdout or stderr), which goes back to where it
// went before.
inline std::string printed_by(FILE* stream, const std::function<void()>& code) {
  fflush(stream);
  int fd = fileno(stream);
  int saved = dup(fd);
  int sink = memfd_create("printed", 0);
  dup2(sink, fd);
  code();
  fflush(stream);
  dup2(saved, fd);
  close(saved);
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = pread(sink, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0)
    text.append(buffer, static_cast<size_t>(n));
  close(sink);
  return text;
}

#endif
