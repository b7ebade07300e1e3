// The file selections of the server settings page: adding and changing a
// dictionary, and choosing the dictionary directory.
//
// Each opener asks through a modal file selection (the main window
// insensitive meanwhile) and, when ＯＫ accepted a choice, puts it into the
// page. Names chosen in them are stored in EUC-JP, the program's code set.
#ifndef TOLQ_SERVERRC_DICT_DIALOGS_H
#define TOLQ_SERVERRC_DICT_DIALOGS_H

#include <gtk/gtk.h>

struct MainWindow;

inline constexpr const char* kDictAddTitle = "TolqSysEnv_Server DicAdd";
inline constexpr const char* kDictChangeTitle = "TolqSysEnv_Server DicChange";
inline constexpr const char* kReferTitle = "TolqSysEnv_Server Refer";

void on_dict_add(GtkWidget* button, MainWindow* main);
// Opens the change dialog when a dictionary row is selected.
void on_dict_change(GtkWidget* button, MainWindow* main);
// Changes the selected row to the file chosen. The dialog starts at the row's
// own file; ＯＫ on it keeps the row exactly as it is.
void open_dict_change_dialog(MainWindow* main);
void on_dir_refer(GtkWidget* button, MainWindow* main);

// Which dialog chose a dictionary: a change may keep the selected row's own file.
enum class DictChoice { kAdd, kChange };
// True when path (EUC-JP) already names a row of the dictionary list, rows that
// do not begin with '/' being taken relative to dir (expanded, ending with '/').
// For kChange, the selected row's own file is allowed.
bool dict_in_list(const char* path, const char* dir, DictChoice choice);

#endif
