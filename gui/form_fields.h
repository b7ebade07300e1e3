// Moving values between settings-file texts (EUC-JP) and widgets (UTF-8).
#ifndef TOLQ_GUI_FORM_FIELDS_H
#define TOLQ_GUI_FORM_FIELDS_H

#include <gtk/gtk.h>

#include <cstdio>

// strtol of the text, taken as an unsigned 32-bit number; the adjustment clamps it.
void set_adjustment_from_text(GtkObject* adjustment, const char* text);
// Puts an EUC-JP text into the entry with the cursor at position 0.
void set_entry_text(GtkWidget* entry, const char* text);
// Appends a row whose single cell is the (toolkit) text.
void append_list_row(GtkWidget* list, const char* text);

#endif
