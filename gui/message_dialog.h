// The modal message dialog with one OK button.
#ifndef TOLQ_GUI_MESSAGE_DIALOG_H
#define TOLQ_GUI_MESSAGE_DIALOG_H

#include <gtk/gtk.h>

// Shows an EUC-JP text with the input grab and returns at once; returns the
// dialog. Return and Esc press its ＯＫ.
GtkWidget* show_message(const char* text);
// Shows the text of a message number from the loaded catalogue.
GtkWidget* show_message_number(int number);
// Shows the text and returns only after the user has closed the dialog.
void show_message_and_wait(const char* text);
// Asks a question in a modal dialog with two buttons (EUC-JP labels) and
// waits for the answer: true for yes; no, Esc or closing the dialog is false.
// No is the default button and has the keyboard focus, so Return says no.
bool ask_question(const char* text, const char* yes_label, const char* no_label);

#endif
