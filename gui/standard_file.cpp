#include "gui/standard_file.h"

#include "common/catalogue.h"
#include "common/input_file.h"
#include "common/message_numbers.h"
#include "gui/message_dialog.h"
#include "gui/texts.h"

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

Applied apply_file(MainWindow* main, SettingsFile& file, FileError* error, bool* replaced) {
  std::string path = file.path();
  std::string dir = path.substr(0, path.rfind('/') + 1);
  std::string name = path.substr(dir.size());
  // Rendered once: every attempt writes these very bytes, which are what
  // 変更内容 showed.
  std::string bytes = file.render(main);
  FileStamp expected = file.stamp;
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
    options.backup_path = previous_version_path(*file.places, file.kind);
    options.expected = &expected;
    options.written = &written;
    options.error = error;
    if (write_settings_file(dir.c_str(), name.c_str(), bytes, options) == 0) {
      file.stamp = written;
      file.dirty = false;
      if (!has_unapplied_changes(main)) gtk_widget_set_sensitive(main->apply_button, FALSE);
      // The write was checked against expected: a file was there exactly when it says so.
      if (replaced) *replaced = expected.exists;
      return Applied::kWritten;
    }
    if (error->refusal != FileRefusal::kChanged) return Applied::kFailed;
    now = stamp_file(path.c_str());
  }
}

std::string applied_status(const std::vector<AppliedFile>& files) {
  if (files.empty()) return status_message(kTextStatusNothingToApply);
  std::string written;
  std::string rest;
  for (const AppliedFile& file : files) {
    switch (file.applied) {
      case Applied::kWritten:
        if (!written.empty()) written += status_message(kTextStatusListSeparator);
        written += file.replaced ? status_message(kTextStatusPrevious, {file.path, file.path + "-"})
                                 : status_message(kTextStatusNewFile, {file.path});
        break;
      case Applied::kKept:
        rest += status_message(kTextStatusKept, {file.path});
        break;
      case Applied::kFailed:
        rest += status_message(kTextStatusWriteFailed, {file.path});
        break;
    }
  }
  if (written.empty()) return rest;
  return fill_in(status_message(kTextStatusApplied), {written}) +
         status_message(kTextStatusRestart) + rest;
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
