#include "app/review_window.h"

#include <gdk/gdkkeysyms.h>

#include <cerrno>
#include <string_view>

#include "app/main_window.h"
#include "app/texts.h"
#include "common/catalogue.h"
#include "common/input_file.h"
#include "common/message_numbers.h"
#include "common/unified_diff.h"
#include "converter/converter.h"
#include "gui/standard_file.h"
#include "gui/widgets.h"
#include "help/help_window.h"

namespace {

// How a NUL inside a line shows.
constexpr const char kShownNul[] = "\xe2\x90\x80";  // U+2400

std::string utf8(const char* euc) {
  return euc_to_utf8(euc).get();
}

// One line of EUC-JP bytes in UTF-8: a character that does not convert shows
// as '?', and the rest of the line still shows.
std::string display_line(std::string_view line) {
  std::string shown;
  for (size_t begin = 0;;) {
    size_t nul = line.find('\0', begin);
    shown += utf8(std::string(line.substr(begin, nul - begin)).c_str());
    if (nul == std::string_view::npos) return shown;
    shown += kShownNul;
    begin = nul + 1;
  }
}

// EUC-JP text in UTF-8, converted line by line.
std::string display_text(std::string_view euc) {
  std::string shown;
  for (size_t begin = 0; begin < euc.size();) {
    size_t end = euc.find('\n', begin);
    end = end == std::string_view::npos ? euc.size() : end + 1;
    shown += display_line(euc.substr(begin, end - begin));
    begin = end;
  }
  return shown;
}

// The review of one file Apply would write.
std::string review_of(MainWindow* main, const SettingsFile& file) {
  std::string path = file.path();
  std::string text = display_path(path) + "\n";
  std::string refusal;
  if (!file.texts_writable(main, &refusal)) return text + display_text(refusal) + "\n";
  // A file not there yet is empty: all its lines show as added.
  std::string before;
  FileError error;
  if (read_settings_file(path.c_str(), &before, nullptr, &error) != 0 &&
      (error.refusal != FileRefusal::kNone || error.number != ENOENT)) {
    std::string why = refusal_text(error);
    if (why.empty()) why = message_text(kMessageReadFailed);
    return text + display_text(why) + "\n";
  }
  std::string diff = unified_diff(before, file.render(main));
  if (diff.empty()) return text + utf8(kTextReviewSame) + "\n";
  return text + display_text(diff);
}

struct ReviewWindow {
  MainWindow* main = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* text_view = nullptr;
};

// The tag that colours a line of the review, or null.
const char* line_tag(const std::string& line) {
  if (line.compare(0, 2, "@@") == 0) return "hunk";
  if (line[0] == '+') return "added";
  if (line[0] == '-') return "removed";
  return nullptr;
}

void show_review(ReviewWindow* review) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(review->text_view));
  gtk_text_buffer_set_text(buffer, "", -1);
  std::string text = review_text(review->main);
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(begin, end - begin);
    GtkTextIter at;
    gtk_text_buffer_get_end_iter(buffer, &at);
    const char* tag = line_tag(line);
    if (tag)
      gtk_text_buffer_insert_with_tags_by_name(buffer, &at, line.c_str(), -1, tag, nullptr);
    else
      gtk_text_buffer_insert(buffer, &at, line.c_str(), -1);
    begin = end;
  }
}

void on_review_apply(GtkWidget*, gpointer data) {
  auto* review = static_cast<ReviewWindow*>(data);
  if (apply_changes(nullptr, review->main) == 0) {
    end_modal_loop(review->window);
    return;
  }
  show_review(review);
}

GtkWidget* new_review_view() {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
  PangoFontDescription* font = pango_font_description_from_string("Monospace");
  gtk_widget_modify_font(view, font);
  pango_font_description_free(font);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gtk_text_buffer_create_tag(buffer, "hunk", "foreground", "#1c4f9c", nullptr);
  gtk_text_buffer_create_tag(buffer, "added", "foreground", "#1d6b1d", nullptr);
  gtk_text_buffer_create_tag(buffer, "removed", "foreground", "#a31515", nullptr);
  name_widget(view, utf8(kTextReview).c_str());
  return view;
}

}  // namespace

std::string review_text(MainWindow* main) {
  std::string text;
  for (const SettingsFile& file : settings_files()) {
    if (!file.dirty) continue;
    if (!text.empty()) text += "\n";
    text += review_of(main, file);
  }
  return text.empty() ? utf8(kTextReviewNothing) + "\n" : text;
}

void open_review_window(GtkWidget*, MainWindow* main) {
  auto* review = new ReviewWindow{main};
  review->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(review->window);
  g_object_set_data_full(G_OBJECT(window), "tolq-review", review,
                         [](gpointer data) { delete static_cast<ReviewWindow*>(data); });
  gtk_window_set_title(window, utf8(kTitleReview).c_str());
  gtk_window_set_default_size(window, 640, 480);
  set_dialog_parent(review->window, GTK_WINDOW(main->window), true);
  g_signal_connect(window, "delete_event", G_CALLBACK(on_delete_event), nullptr);

  GtkWidget* vbox = gtk_vbox_new(FALSE, 5);
  gtk_container_set_border_width(GTK_CONTAINER(vbox), 5);
  gtk_container_add(GTK_CONTAINER(window), vbox);
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
  gtk_box_pack_start(GTK_BOX(vbox), scroller, TRUE, TRUE, 0);
  review->text_view = new_review_view();
  gtk_container_add(GTK_CONTAINER(scroller), review->text_view);

  GtkWidget* row = gtk_hbutton_box_new();
  gtk_button_box_set_layout(GTK_BUTTON_BOX(row), GTK_BUTTONBOX_END);
  gtk_box_pack_start(GTK_BOX(vbox), row, FALSE, FALSE, 0);
  GtkWidget* apply = new_euc_button(kTextApply, 5);
  GtkWidget* close = new_euc_button(kTextClose, 5);
  gtk_container_add(GTK_CONTAINER(row), apply);
  gtk_container_add(GTK_CONTAINER(row), close);
  g_signal_connect(apply, "clicked", G_CALLBACK(on_review_apply), review);
  g_signal_connect(close, "clicked", G_CALLBACK(close_dialog), window);
  bind_key(review->window, close, GDK_Escape);
  bind_key_handler(review->window, GDK_F1, G_CALLBACK(on_help_key_clicked),
                   const_cast<char*>(kHelpConvdrc));

  show_review(review);
  block_main_window(main);
  gtk_widget_show_all(review->window);
  gtk_widget_grab_focus(close);
  run_modal_loop(main);
}
