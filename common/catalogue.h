// Numbered messages, loaded once at start-up from the message file.
#ifndef TOLQ_COMMON_CATALOGUE_H
#define TOLQ_COMMON_CATALOGUE_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

inline constexpr const char* kMessageDir = "/msg";
inline constexpr const char* kMessageFileName = "tolqsysenv_server.msg";

struct MessageEntry {
  int number;
  const char* text;  // points into the catalogue's text area
};

// Empty when the file could not be read.
struct MessageCatalogue {
  std::vector<MessageEntry> entries;
  std::string texts;  // the decoded texts, each followed by its NUL, in file order
};

// Builds a catalogue from an open message file.
std::unique_ptr<MessageCatalogue> parse_message_catalogue(FILE* file);

// A name starting with '/' is a path; any other name is looked for in the
// message directory. 0 when the file was read, -1 otherwise; catalogue
// receives what was read, an empty catalogue when nothing was.
int load_message_catalogue(const char* name, std::unique_ptr<MessageCatalogue>* catalogue);

// The text of a message number; never null. Without an entry: the fallback
// when it is non-empty, otherwise "mes_id = N: Message not found.\n" in a
// static buffer that the next such call overwrites.
const char* message_text(const MessageCatalogue* catalogue, int number, const char* fallback);

// How out_of_memory shows message 32; the program sets one that shows a
// dialog once the toolkit is up. Null prints the text to stderr.
using MemoryNotice = void (*)(const char* text);
// The catalogue message 32 comes from (null: none) and how it is shown.
void set_out_of_memory_notice(const MessageCatalogue* catalogue, MemoryNotice notice);

// What every part of the program does when memory runs out: message 32, then
// exit status 255.
[[noreturn]] void out_of_memory();

#endif
