#include "gui/form_fields.h"

#include <cstdint>
#include <cstdlib>

#include "common/text.h"
#include "converter/converter.h"

void set_adjustment_from_text(GtkObject* adjustment, const char* text) {
  auto value = static_cast<uint32_t>(strtol(text, nullptr, 10));
  gtk_adjustment_set_value(GTK_ADJUSTMENT(adjustment), static_cast<gdouble>(value));
}

void set_entry_text(GtkWidget* entry, const char* text) {
  gtk_entry_set_text(GTK_ENTRY(entry), euc_to_utf8(text).get());
  gtk_editable_set_position(GTK_EDITABLE(entry), 0);
}

void append_list_row(GtkWidget* list, const char* text) {
  gchar* cells[] = {const_cast<gchar*>(text)};
  gtk_clist_append(GTK_CLIST(list), cells);
}
