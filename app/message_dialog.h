// The modal message dialog with one OK button.
#ifndef TOLQ_APP_MESSAGE_DIALOG_H
#define TOLQ_APP_MESSAGE_DIALOG_H

#include <gtk/gtk.h>

// Shows an EUC-JP text with the input grab and returns at once; returns the dialog.
GtkWidget* show_message(const char* text);
// Shows the text of a message number from the loaded catalogue.
GtkWidget* show_message_number(int number);
// Shows the text and returns only after the user has closed the dialog.
void show_message_and_wait(const char* text);

#endif
