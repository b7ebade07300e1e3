// The help window: one topic at a time, optionally beside a contents list.
#include "help/help_window.h"

#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

#include <cstring>

#include "common/input_file.h"
#include "converter/converter.h"
#include "gui/form_fields.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "help/texts.h"

namespace {

Help* help_of(gpointer data) {
  return static_cast<Help*>(data);
}

// The topic at a 0-based position in file order, or null.
const HelpTopic* topic_at(const HelpFile& file, int row) {
  return row >= 0 && static_cast<size_t>(row) < file.topics.size()
             ? &file.topics[static_cast<size_t>(row)]
             : nullptr;
}

bool contents_shown(const HelpWindow& w) {
  return w.contents_toggle && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w.contents_toggle));
}

// Makes row the contents list's current row: selected (which shows its topic)
// when select is set, and scrolled to the top unless it is fully visible.
void move_to_contents_row(GtkCList* list, int row, bool select) {
  gtk_clist_freeze(list);
  if (select) gtk_clist_select_row(list, row, 0);
  if (gtk_clist_row_is_visible(list, row) != GTK_VISIBILITY_FULL)
    gtk_clist_moveto(list, row, 0, 0.0, 0.0);
  if (select) list->focus_row = row;
  gtk_clist_thaw(list);
}

// Before its first allocation the list cannot scroll; once allocated, it
// scrolls to the row chosen while it was being built.
void on_contents_allocated(GtkWidget* widget, GtkAllocation*, gpointer) {
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(on_contents_allocated),
                                       nullptr);
  GtkCList* list = GTK_CLIST(widget);
  move_to_contents_row(list, list->focus_row, false);
}

void raise_with_focus(GtkWidget* window) {
  GdkWindow* gdk_window = window->window;
  gdk_window_raise(gdk_window);
  // Until the X server (or a window manager) has made the window viewable,
  // XSetInputFocus fails with BadMatch; GDK's default handler would end the
  // program for it. The focus may fail, the program must go on.
  gdk_error_trap_push();
  XSetInputFocus(GDK_DRAWABLE_XDISPLAY(gdk_window), gdk_x11_drawable_get_xid(gdk_window),
                 RevertToParent, CurrentTime);
  gdk_flush();
  gdk_error_trap_pop();
}

GtkWidget* new_row(GtkWidget* vbox) {
  GtkWidget* row = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(vbox), row, FALSE, FALSE, 0);
  gtk_widget_show(row);
  return row;
}

GtkWindow* main_window() {
  return main_window_record && main_window_record->window ? GTK_WINDOW(main_window_record->window)
                                                          : nullptr;
}

// Hides the window and gives the keyboard back to the window it was opened over.
void hide_help_window(Help* help) {
  if (!help->window.window) return;
  gtk_widget_unmap(help->window.window);
  if (GtkWindow* back = dialog_parent()) gtk_window_present(back);
}

void build_help_window(Help* help) {
  HelpWindow* w = &help->window;
  w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(w->window), TRUE);
  set_dialog_parent(w->window, main_window(), false);
  GtkWindowGroup* group = gtk_window_group_new();
  gtk_window_group_add_window(group, GTK_WINDOW(w->window));
  g_object_unref(group);  // the window keeps it
  g_signal_connect(w->window, "delete_event", G_CALLBACK(on_help_delete), help);
  gtk_window_set_title(GTK_WINDOW(w->window), "OnLine Help");
  gtk_container_set_border_width(GTK_CONTAINER(w->window), 5);
  w->vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(w->window), w->vbox);
  gtk_widget_show(w->vbox);

  GtkWidget* top = new_row(w->vbox);
  w->heading_label = gtk_label_new("");
  gtk_box_pack_start(GTK_BOX(top), w->heading_label, FALSE, FALSE, 0);
  gtk_widget_show(w->heading_label);
  w->contents_toggle = gtk_toggle_button_new_with_label(euc_to_utf8(kTextHelpContents).get());
  gtk_box_pack_end(GTK_BOX(top), w->contents_toggle, FALSE, FALSE, 0);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w->contents_toggle), FALSE);
  g_signal_connect(w->contents_toggle, "toggled", G_CALLBACK(on_contents_toggled), help);
  gtk_widget_show(w->contents_toggle);

  GtkWidget* second = new_row(w->vbox);
  w->title_entry = gtk_entry_new();
  gtk_editable_set_editable(GTK_EDITABLE(w->title_entry), FALSE);
  gtk_box_pack_end(GTK_BOX(second), w->title_entry, TRUE, TRUE, 30);
  g_signal_connect(w->title_entry, "focus-in-event", G_CALLBACK(on_title_entry_focus_in), help);
  gtk_widget_show(w->title_entry);
  GtkWidget* label = gtk_label_new(euc_to_utf8(kTextHelpTitleLabel).get());
  gtk_box_pack_start(GTK_BOX(second), label, FALSE, FALSE, 0);
  gtk_widget_show(label);

  build_single_view(help);
  if (!GTK_WIDGET_VISIBLE(w->window)) gtk_widget_show_all(w->window);
  gtk_window_present(GTK_WINDOW(w->window));
}

void fill_contents_list(GtkCList* list, const HelpFile& file) {
  gtk_clist_freeze(list);
  gtk_clist_clear(list);
  for (const HelpTopic& topic : file.topics)
    append_list_row(GTK_WIDGET(list), euc_to_utf8(topic.title.c_str()).get());
  gtk_clist_set_column_width(list, 0, gtk_clist_optimal_column_width(list, 0));
  gtk_clist_thaw(list);
  gtk_widget_show(GTK_WIDGET(list));
}

void build_contents_view(Help* help) {
  HelpWindow* w = &help->window;
  gtk_widget_destroy(w->text_scroller);
  gtk_widget_destroy(w->button_box);
  gtk_widget_set_size_request(w->vbox, 690, 400);
  w->contents_paned = gtk_hpaned_new();
  gtk_container_add(GTK_CONTAINER(w->vbox), w->contents_paned);
  w->contents_scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_size_request(w->contents_scroller, 200, 300);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(w->contents_scroller), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_widget_show(w->contents_scroller);
  w->contents_list = gtk_clist_new(1);
  GtkCList* list = GTK_CLIST(w->contents_list);
  g_signal_connect(list, "select_row", G_CALLBACK(on_contents_select_row), help);
  g_signal_connect(list, "key-press-event", G_CALLBACK(on_contents_key_press), nullptr);
  gtk_clist_set_shadow_type(list, GTK_SHADOW_IN);
  gtk_clist_set_selection_mode(list, GTK_SELECTION_SINGLE);
  gtk_clist_set_column_justification(list, 0, GTK_JUSTIFY_LEFT);
  gtk_container_add(GTK_CONTAINER(w->contents_scroller), w->contents_list);
  fill_contents_list(list, help->file);
  gtk_paned_add1(GTK_PANED(w->contents_paned), w->contents_scroller);
  build_text_pane(w);
  gtk_paned_add2(GTK_PANED(w->contents_paned), w->text_scroller);
  build_help_buttons(help);
  move_to_contents_row(list, help->current_row, true);
  g_signal_connect_after(list, "size-allocate", G_CALLBACK(on_contents_allocated), nullptr);
  gtk_widget_show_all(w->window);
}

}  // namespace

int show_help(Help* help, const char* key) {
  if (help->file.topics.empty()) return -1;
  const std::vector<HelpTopic>& topics = help->file.topics;
  size_t row = 0;
  while (row < topics.size() && topics[row].key != key) ++row;
  if (row == topics.size()) {
    help->current_row = 0;
    report_help_error(kTextHelpTopicNotFound);
    return -1;
  }
  help->current_row = static_cast<int>(row);
  help->current_topic = &topics[row];
  GtkWidget* window = help->window.window;
  if (!window) {
    build_help_window(help);
    return 0;
  }
  if (contents_shown(help->window))
    move_to_contents_row(GTK_CLIST(help->window.contents_list), help->current_row, true);
  else
    show_help_topic(help);
  if (!GTK_WIDGET_VISIBLE(window)) gtk_widget_show_all(window);
  if (GTK_WIDGET_MAPPED(window))
    raise_with_focus(window);
  else
    gtk_widget_map(window);
  return 0;
}

void on_help_key_clicked(GtkWidget*, gpointer key) {
  if (key && main_window_record)
    show_help(main_window_record->help.get(), static_cast<const char*>(key));
}

void show_help_topic(Help* help) {
  HelpWindow* w = &help->window;
  const HelpTopic* topic = help->current_topic;
  gtk_label_set_text(GTK_LABEL(w->heading_label), euc_to_utf8(help->file.heading).get());
  set_entry_text(w->title_entry, topic ? topic->title.c_str() : "");
  const char* body = topic ? topic->body.c_str() : "";
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w->text_view)),
                           euc_to_utf8(body).get(), -1);
}

void build_text_pane(HelpWindow* w) {
  w->text_scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(w->text_scroller), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(w->text_scroller), GTK_SHADOW_OUT);
  gtk_widget_show(w->text_scroller);
  w->text_view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(w->text_view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(w->text_view), GTK_WRAP_WORD_CHAR);
  gtk_container_add(GTK_CONTAINER(w->text_scroller), w->text_view);
  gtk_widget_show(w->text_view);
}

void build_help_buttons(Help* help) {
  HelpWindow* w = &help->window;
  w->button_box = gtk_hbutton_box_new();
  gtk_container_set_border_width(GTK_CONTAINER(w->button_box), 10);
  gtk_box_pack_start(GTK_BOX(w->vbox), w->button_box, FALSE, FALSE, 0);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(w->button_box), GTK_BUTTONBOX_SPREAD);
  w->cancel_button = gtk_button_new_with_label(euc_to_utf8(kTextHelpCancel).get());
  gtk_container_add(GTK_CONTAINER(w->button_box), w->cancel_button);
  g_signal_connect(w->cancel_button, "clicked", G_CALLBACK(on_help_cancel), help);
  bind_key(w->window, w->cancel_button, GDK_Escape);
  gtk_widget_show(w->button_box);
}

void build_single_view(Help* help) {
  HelpWindow* w = &help->window;
  gtk_widget_set_size_request(w->vbox, 480, 400);
  build_text_pane(w);
  gtk_container_add(GTK_CONTAINER(w->vbox), w->text_scroller);
  build_help_buttons(help);
  show_help_topic(help);
  gtk_widget_show_all(w->window);
}

void on_contents_toggled(GtkToggleButton* toggle, gpointer data) {
  if (!toggle) return;
  Help* help = help_of(data);
  if (gtk_toggle_button_get_active(toggle)) {
    build_contents_view(help);
    return;
  }
  HelpWindow* w = &help->window;
  // The paned takes the contents list and the text pane with it.
  gtk_widget_destroy(w->contents_paned);
  gtk_widget_destroy(w->button_box);
  w->contents_paned = w->contents_scroller = w->contents_list = nullptr;
  build_single_view(help);
}

gboolean on_title_entry_focus_in(GtkWidget*, GdkEventFocus*, gpointer data) {
  if (!data) return FALSE;
  const HelpWindow& w = help_of(data)->window;
  gtk_widget_grab_focus(contents_shown(w) ? w.contents_list : w.text_view);
  return FALSE;
}

void on_contents_select_row(GtkCList*, gint row, gint, GdkEvent*, gpointer data) {
  Help* help = help_of(data);
  const HelpTopic* topic = topic_at(help->file, row);
  if (!topic) {
    report_help_error(kTextHelpTopicNotFound);
    return;
  }
  help->current_topic = topic;
  help->current_row = row;
  show_help_topic(help);
}

gboolean on_contents_key_press(GtkWidget* widget, GdkEventKey* event, gpointer) {
  GtkCList* list = GTK_CLIST(widget);
  if (list->rows == 0) return FALSE;
  int row = list->focus_row < 0 ? 0 : list->focus_row;
  bool select = true;
  switch (event->keyval) {
    case GDK_Up:
      row = row > 0 ? row - 1 : 0;
      break;
    case GDK_Down:
      row = row < list->rows - 1 ? row + 1 : list->rows - 1;
      break;
    case GDK_Left:
    case GDK_Right:
      break;
    default:
      row = 0;
      select = false;
      break;
  }
  move_to_contents_row(list, row, select);
  // The list's own arrow-key handling would move the focus row a second time.
  return select ? TRUE : FALSE;
}

void on_help_cancel(GtkWidget*, gpointer data) {
  hide_help_window(help_of(data));
}

gboolean on_help_delete(GtkWidget*, GdkEvent*, gpointer data) {
  hide_help_window(help_of(data));
  return TRUE;
}

int load_help_file_at(Help* help, const char* path) {
  InputFile file = open_input_file(path);
  if (!file) {
    report_help_error(kTextHelpNotFound);
    return -1;
  }
  help->current_topic = nullptr;
  help->current_row = 0;
  HelpLoadResult result = parse_help_file(file.get(), &help->file);
  if (result == HelpLoadResult::kMalformed) report_help_error(kTextHelpMalformed);
  return result == HelpLoadResult::kLoaded ? 0 : -1;
}

int load_help_file(Help* help, const char* name) {
  char path[kLineSize];
  help_file_path(name, path, sizeof path);
  return load_help_file_at(help, path);
}

// The window's handlers hold the record, so the window goes with it.
void PageDeleter::operator()(Help* help) const {
  if (help->window.window) gtk_widget_destroy(help->window.window);
  delete help;
}
