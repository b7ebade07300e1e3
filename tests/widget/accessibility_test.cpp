// What assistive tools read: every field named by its label, the same-labelled
// buttons told apart, spin buttons that take numbers only.
#include <gtest/gtest.h>

#include <string>

#include "access/access_page.h"
#include "filepages/file_pages.h"
#include "serverrc/convd_page.h"
#include "tests/support/widget_support.h"

namespace {

std::string name_of(GtkWidget* widget) {
  const gchar* name = atk_object_get_name(gtk_widget_get_accessible(widget));
  return name ? name : "";
}

std::string description_of(GtkWidget* widget) {
  const gchar* text = atk_object_get_description(gtk_widget_get_accessible(widget));
  return text ? text : "";
}

// The label the field is read by, through both the toolkit and the accessibility layer.
GtkWidget* label_of(GtkWidget* field) {
  GList* labels = gtk_widget_list_mnemonic_labels(field);
  GtkWidget* label = labels ? GTK_WIDGET(labels->data) : nullptr;
  g_list_free(labels);
  if (!label) return nullptr;
  AtkRelationSet* set = atk_object_ref_relation_set(gtk_widget_get_accessible(field));
  AtkRelation* relation = atk_relation_set_get_relation_by_type(set, ATK_RELATION_LABELLED_BY);
  GPtrArray* targets = relation ? atk_relation_get_target(relation) : nullptr;
  bool related = targets && targets->len == 1 &&
                 g_ptr_array_index(targets, 0) == gtk_widget_get_accessible(label);
  g_object_unref(set);
  return related ? label : nullptr;
}

class Accessibility : public ScratchMainWindowTest {};

TEST_F(Accessibility, EveryFieldOfThePagesIsNamedByItsLabel) {
  ConvdPage* convd = main->convd_page.get();
  struct Field {
    GtkWidget* widget;
    const char* name;
  };
  for (const Field& field : {Field{convd->dir_entry, "辞書ディレクトリ"},
                             Field{convd->sticky_spin, "固定化できる環境数"},
                             Field{convd->giji_entry, "疑似品詞「英数」に追加する文字"},
                             Field{convd->autosave_spin, "自動保存確定回数"},
                             Field{main->read_page->path_entry, "ファイル名"},
                             Field{main->save_page->path_entry, "ファイル名"}}) {
    EXPECT_EQ(name_of(field.widget), field.name);
    GtkWidget* label = label_of(field.widget);
    ASSERT_NE(label, nullptr) << field.name;
    EXPECT_NE(std::string(gtk_label_get_text(GTK_LABEL(label))).find(field.name),
              std::string::npos);
  }
  // The file choice has no label on screen.
  EXPECT_EQ(name_of(main->read_page->file_combo), "ファイルの種類");
  EXPECT_EQ(name_of(GTK_COMBO(main->save_page->file_combo)->entry), "ファイルの種類");
  EXPECT_EQ(name_of(main->access_page->server_list), "サーバ[/ポート番号]");
}

TEST_F(Accessibility, TheEntryDialogsFieldsAreNamedByTheirLabels) {
  with_nested_loop([&] { on_server_add_clicked(nullptr, main); },
                   [&] {
                     EntryDialog* d = main->access_page->dialog.get();
                     EXPECT_EQ(name_of(d->host_entry), "ホスト名");
                     EXPECT_EQ(name_of(d->second_entry), "ポート番号");
                     EXPECT_NE(label_of(d->second_entry), nullptr);
                     gtk_button_clicked(GTK_BUTTON(d->cancel_button));
                   });
}

TEST_F(Accessibility, ButtonsOfTheSameLabelSayWhatTheyActOn) {
  AccessPage* access = main->access_page.get();
  ConvdPage* convd = main->convd_page.get();
  EXPECT_EQ(description_of(access->server_add_button), "サーバを追加");
  EXPECT_EQ(description_of(access->server_remove_button), "サーバを削除");
  EXPECT_EQ(description_of(access->user_change_button), "アクセス許可を変更");
  EXPECT_EQ(description_of(convd->add_button), "辞書ファイルを追加");
  EXPECT_EQ(description_of(convd->remove_button), "辞書ファイルを削除");
}

// A letter in 自動保存確定回数 would read as 0 and turn automatic saving off.
TEST_F(Accessibility, SpinButtonsTakeDigitsOnly) {
  GtkWidget* spin = main->convd_page->autosave_spin;
  gtk_entry_set_text(GTK_ENTRY(spin), "5");
  gint position = 1;
  gtk_editable_insert_text(GTK_EDITABLE(spin), "abc", 3, &position);
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(spin)), "5");
  gtk_editable_insert_text(GTK_EDITABLE(spin), "0", 1, &position);
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(spin)), "50");
  gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
  gtk_entry_set_text(GTK_ENTRY(spin), "5000");  // still clamped when taken in
  gtk_spin_button_update(GTK_SPIN_BUTTON(spin));
  EXPECT_EQ(gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(spin)), 1024);
}

}  // namespace
