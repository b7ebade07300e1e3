#include "gui/widgets.h"

#include <gdk/gdkkeysyms.h>

#include <cstring>
#include <string>
#include <utility>

#include "converter/converter.h"
#include "gui/state.h"

GtkWidget* new_button(const char* label, guint border) {
  GtkWidget* button = gtk_button_new_with_label(label);
  gtk_container_set_border_width(GTK_CONTAINER(button), border);
  return button;
}

GtkWidget* new_euc_button(const char* label, guint border) {
  return new_button(euc_to_utf8(label).get(), border);
}

GtkWidget* new_euc_label(const char* text) {
  return gtk_label_new(euc_to_utf8(text).get());
}

GtkWidget* new_frame(const char* title, GtkShadowType shadow, guint border) {
  GtkWidget* frame = gtk_frame_new(title);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), shadow);
  gtk_container_set_border_width(GTK_CONTAINER(frame), border);
  return frame;
}

GtkWidget* new_euc_frame(const char* title, GtkShadowType shadow, guint border) {
  return new_frame(euc_to_utf8(title).get(), shadow, border);
}

GtkWidget* new_list_scroller(GtkWidget* list) {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_set_border_width(GTK_CONTAINER(scrolled), 5);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_ALWAYS,
                                 GTK_POLICY_ALWAYS);
  gtk_container_add(GTK_CONTAINER(scrolled), list);
  return scrolled;
}

void append_notebook_page(GtkWidget* notebook, GtkWidget* page, const char* tab_label,
                          const char* help_key) {
  gtk_notebook_append_page(GTK_NOTEBOOK(notebook), page, new_euc_label(tab_label));
  g_object_set_data(G_OBJECT(page), "tolq-help-key", const_cast<char*>(help_key));
}

const char* page_help_key(GtkWidget* page) {
  return page ? static_cast<const char*>(g_object_get_data(G_OBJECT(page), "tolq-help-key"))
              : nullptr;
}

namespace {

constexpr const char* kDeferredContents = "tolq-deferred-contents";

}  // namespace

void defer_page_contents(GtkWidget* page, std::function<void()> fill) {
  g_object_set_data_full(G_OBJECT(page), kDeferredContents,
                         new std::function<void()>(std::move(fill)),
                         [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

void fill_deferred_page(GtkWidget* page) {
  if (!page) return;
  auto* fill =
      static_cast<std::function<void()>*>(g_object_steal_data(G_OBJECT(page), kDeferredContents));
  if (!fill) return;
  (*fill)();
  delete fill;
  gtk_widget_show_all(page);
}

void close_dialog(GtkWidget*, gpointer dialog) {
  end_modal_loop(GTK_WIDGET(dialog));
}

gboolean on_delete_event(GtkWidget* widget, GdkEvent*, gpointer) {
  if (!GTK_WIDGET_SENSITIVE(widget)) return TRUE;
  gtk_main_quit();
  return FALSE;
}

GtkWindow* dialog_parent() {
  GtkWidget* grab = gtk_grab_get_current();
  GtkWidget* top = grab ? gtk_widget_get_toplevel(grab) : nullptr;
  if (top && GTK_IS_WINDOW(top) && GTK_WIDGET_VISIBLE(top)) return GTK_WINDOW(top);
  if (main_window_record && main_window_record->window)
    return GTK_WINDOW(main_window_record->window);
  return nullptr;
}

void set_dialog_parent(GtkWidget* window, GtkWindow* parent, bool modal) {
  GtkWindow* dialog = GTK_WINDOW(window);
  gtk_window_set_type_hint(dialog, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_transient_for(dialog, parent);
  // A parent not yet on screen (a message while the program starts) has no
  // place to centre on: the screen's centre then.
  bool on_screen = parent && GTK_WIDGET_MAPPED(GTK_WIDGET(parent));
  gtk_window_set_position(dialog, on_screen ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  gtk_window_set_modal(dialog, modal);
}

namespace {

constexpr char kFocusKey[] = "tolq-focus-before-dialog";

}  // namespace

void block_main_window(MainWindow* main) {
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(main->window));
  // Made insensitive, the window forgets its focus widget.
  if (focus)
    g_object_set_data_full(G_OBJECT(main->window), kFocusKey, g_object_ref(focus), g_object_unref);
  gtk_widget_set_sensitive(main->window, FALSE);
}

void run_modal_loop(MainWindow* main) {
  gtk_main();
  if (!main || !main->window) return;
  gtk_widget_set_sensitive(main->window, TRUE);
  auto* focus = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(main->window), kFocusKey));
  if (focus && gtk_widget_get_toplevel(focus) == main->window && GTK_WIDGET_IS_SENSITIVE(focus))
    gtk_widget_grab_focus(focus);
  g_object_set_data(G_OBJECT(main->window), kFocusKey, nullptr);
  // Without this, the keyboard would stay with the window that just closed.
  gtk_window_present(GTK_WINDOW(main->window));
}

void end_modal_loop(GtkWidget* window) {
  gtk_widget_destroy(window);
  gtk_main_quit();
}

namespace {

// The window's own accelerator group for the keys bound to it.
GtkAccelGroup* window_keys(GtkWidget* window) {
  static const char kKey[] = "tolq-keys";
  auto* group = static_cast<GtkAccelGroup*>(g_object_get_data(G_OBJECT(window), kKey));
  if (!group) {
    group = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(window), group);
    g_object_set_data_full(G_OBJECT(window), kKey, group, g_object_unref);
  }
  return group;
}

struct KeyHandler {
  GCallback handler;
  gpointer data;
};

gboolean run_key_handler(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer data) {
  auto* key = static_cast<KeyHandler*>(data);
  reinterpret_cast<void (*)(GtkWidget*, gpointer)>(key->handler)(nullptr, key->data);
  return TRUE;
}

void free_key_handler(gpointer data, GClosure*) {
  delete static_cast<KeyHandler*>(data);
}

// Removes piece from the front or else the back of text; false when it is at neither.
bool trim_piece(std::string* text, const std::string& piece) {
  size_t n = piece.size();
  if (text->size() < n) return false;
  if (text->compare(0, n, piece) == 0) {
    text->erase(0, n);
    return true;
  }
  if (text->compare(text->size() - n, n, piece) != 0) return false;
  text->erase(text->size() - n);
  return true;
}

// What an assistive tool reads for a label such as "  辞書ディレクトリ：" or
// "ホスト名　：": the words alone.
std::string field_name(const char* label) {
  static const char* const kTrimmed[] = {" ", "\xe3\x80\x80" /* U+3000 */,
                                         "\xef\xbc\x9a" /* full-width colon */, ":"};
  std::string name = label;
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const char* piece : kTrimmed) trimmed = trim_piece(&name, piece) || trimmed;
  }
  return name;
}

struct ListButtons {
  GtkWidget* change;
  GtkWidget* remove;
};

gboolean press_when_idle(gpointer button) {
  press_button(GTK_WIDGET(button));
  g_object_unref(button);
  return FALSE;
}

// The second press of a double click selects the row again: change it once
// the click is over, so that the list is not inside its own event then.
void on_list_row_selected(GtkCList*, gint, gint, GdkEvent* event, gpointer data) {
  if (event && event->type == GDK_2BUTTON_PRESS)
    g_idle_add(press_when_idle, g_object_ref(static_cast<ListButtons*>(data)->change));
}

gboolean on_list_key(GtkWidget* widget, GdkEventKey* event, gpointer data) {
  auto* buttons = static_cast<ListButtons*>(data);
  GtkWidget* button = nullptr;
  switch (event->keyval) {
    case GDK_Return:
    case GDK_KP_Enter:
    case GDK_ISO_Enter:
      button = buttons->change;
      break;
    case GDK_Delete:
    case GDK_KP_Delete:
      button = buttons->remove;
      break;
    default:
      return FALSE;
  }
  GtkCList* list = GTK_CLIST(widget);
  if (!list->selection && list->focus_row >= 0 && list->focus_row < list->rows)
    gtk_clist_select_row(list, list->focus_row, 0);
  press_button(button);
  return TRUE;
}

}  // namespace

void bind_key(GtkWidget* window, GtkWidget* button, guint keyval) {
  gtk_widget_add_accelerator(button, "clicked", window_keys(window), keyval,
                             static_cast<GdkModifierType>(0), static_cast<GtkAccelFlags>(0));
}

void bind_key_handler(GtkWidget* window, guint keyval, GCallback handler, gpointer data) {
  GClosure* closure =
      g_cclosure_new(G_CALLBACK(run_key_handler), new KeyHandler{handler, data}, free_key_handler);
  gtk_accel_group_connect(window_keys(window), keyval, static_cast<GdkModifierType>(0),
                          static_cast<GtkAccelFlags>(0), closure);
}

void press_button(GtkWidget* button) {
  GtkWidget* top = gtk_widget_get_toplevel(button);
  if (GTK_IS_WINDOW(top) && GTK_WIDGET_IS_SENSITIVE(button)) gtk_button_clicked(GTK_BUTTON(button));
}

void label_field(GtkWidget* label, GtkWidget* field) {
  gtk_label_set_mnemonic_widget(GTK_LABEL(label), field);
  AtkObject* label_object = gtk_widget_get_accessible(label);
  AtkObject* field_object = gtk_widget_get_accessible(field);
  atk_object_set_name(field_object, field_name(gtk_label_get_text(GTK_LABEL(label))).c_str());
  atk_object_add_relationship(field_object, ATK_RELATION_LABELLED_BY, label_object);
  atk_object_add_relationship(label_object, ATK_RELATION_LABEL_FOR, field_object);
}

void name_widget(GtkWidget* widget, const char* name) {
  atk_object_set_name(gtk_widget_get_accessible(widget), name);
}

void describe_button(GtkWidget* button, const char* description) {
  atk_object_set_description(gtk_widget_get_accessible(button), euc_to_utf8(description).get());
}

void connect_list_actions(GtkWidget* list, GtkWidget* change_button, GtkWidget* remove_button) {
  auto* buttons = new ListButtons{change_button, remove_button};
  g_object_set_data_full(G_OBJECT(list), "tolq-list-buttons", buttons,
                         [](gpointer data) { delete static_cast<ListButtons*>(data); });
  g_signal_connect(list, "select_row", G_CALLBACK(on_list_row_selected), buttons);
  g_signal_connect(list, "key-press-event", G_CALLBACK(on_list_key), buttons);
  GtkCList* clist = GTK_CLIST(list);
  gtk_clist_column_titles_passive(clist);
  for (int column = 0; column < clist->columns; ++column)
    gtk_widget_set_can_focus(clist->column[column].button, FALSE);
}
