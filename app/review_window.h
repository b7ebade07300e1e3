// The window "変更内容": what Apply would write, before it writes anything.
#ifndef TOLQ_APP_REVIEW_WINDOW_H
#define TOLQ_APP_REVIEW_WINDOW_H

#include <gtk/gtk.h>

#include <string>

#include "gui/state.h"

// What the window shows, in UTF-8: for each file Apply would write, its full
// path, then the unified diff of the file on disk now (none: empty) against
// exactly the bytes Apply writes, or why it cannot be read or written; a note
// when Apply would write nothing.
std::string review_text(MainWindow* main);

// "clicked" of 変更内容: opens the window over the main window, which stays
// insensitive while it is open, so the page cannot change under the review.
// Its 適用 is the main window's Apply; the window closes once everything was
// written and otherwise shows what is still to be written.
void open_review_window(GtkWidget* button, MainWindow* main);

#endif
