#include "common/standard_file.h"

#include "common/catalogue.h"
#include "common/message_dialog.h"
#include "common/message_numbers.h"
#include "common/texts.h"

namespace {

int refusal_message(FileRefusal refusal) {
  switch (refusal) {
    case FileRefusal::kPlantedLink:
      return kMessagePlantedLink;
    case FileRefusal::kNotRegular:
      return kMessageNotRegular;
    case FileRefusal::kLocked:
      return kMessageLocked;
    case FileRefusal::kTooLarge:
      return kMessageTooLarge;
    case FileRefusal::kChanged:
      return kMessageChangedOutside;
    default:
      return 0;
  }
}

bool user_overwrites(const std::string& path) {
  std::string question = path + "\n" + message_text(kMessageChangedOutside);
  return ask_question(question.c_str(), kTextOverwrite, kTextCancel);
}

}  // namespace

Applied apply_file(MainWindow* main, int kind, SaveFunction save, FileError* error) {
  std::string path = standard_file_path(kind);
  std::string dir = path.substr(0, path.rfind('/') + 1);
  std::string name = path.substr(dir.size());
  FileStamp& seen = standard_file_stamp(kind);
  FileStamp expected = seen;
  // This look only decides whether to ask. What decides whether to write is
  // the writer's check under the lock right before the rename; when that
  // finds a change made meanwhile, the user is asked again about it.
  FileStamp now = stamp_file(path.c_str());
  for (bool ask = now != expected;; ask = true) {
    if (ask) {
      if (!user_overwrites(path)) return Applied::kKept;
      expected = now;
    }
    FileStamp written;
    *error = FileError{};
    SaveOptions options;
    options.backup_path = previous_version_path(kind);
    options.expected = &expected;
    options.written = &written;
    options.error = error;
    if (save(main, dir.c_str(), name.c_str(), options) == 0) {
      seen = written;
      (kind == FILE_KIND_CONVDRC ? convd_dirty : hosts_dirty) = 0;
      if (!convd_dirty && !hosts_dirty) gtk_widget_set_sensitive(main->apply_button, FALSE);
      return Applied::kWritten;
    }
    if (error->refusal != FileRefusal::kChanged) return Applied::kFailed;
    now = stamp_file(path.c_str());
  }
}

std::string refusal_text(const FileError& error) {
  int number = refusal_message(error.refusal);
  return number ? error.path + "\n" + message_text(number) : "";
}

std::string read_refusal_text(const char* path) {
  FileError error = settings_file_refusal(path);
  bool told = error.refusal == FileRefusal::kPlantedLink || error.refusal == FileRefusal::kTooLarge;
  return told ? refusal_text(error) : "";
}
