// The keyboard and the window stacking of the main window and its dialogs.
#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>

#include <string>

#include "access/access_file.h"
#include "access/access_page.h"
#include "common/catalogue.h"
#include "gui/message_dialog.h"
#include "gui/texts.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"
#include "serverrc/dict_dialogs.h"
#include "tests/support/access_text.h"
#include "tests/support/widget_support.h"

namespace {

// A window that a window manager keeps in front of parent.
void expect_dialog_of(GtkWidget* window, GtkWidget* parent, bool modal) {
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(window)), GTK_WINDOW(parent));
  EXPECT_EQ(gtk_window_get_type_hint(GTK_WINDOW(window)), GDK_WINDOW_TYPE_HINT_DIALOG);
  EXPECT_EQ(gtk_window_get_modal(GTK_WINDOW(window)), modal);
}

class DialogKeys : public ScratchMainWindowTest {
 protected:
  void SetUp() override {
    ScratchMainWindowTest::SetUp();
    ASSERT_EQ(load_help_file_at(main->help.get(), TOLQ_TEST_DATA_DIR "/tolqsysenv_server.hlp"), 0);
    page = main->access_page.get();
    load_model(page->model, "convd ja_JP a {\nh:u\n}\nconvd ja_JP b {\n}\n");
    fill_server_list();
  }

  // Runs start, which opens an entry dialog, and action in that dialog.
  void in_dialog(const std::function<void()>& start,
                 const std::function<void(EntryDialog*)>& action) {
    with_nested_loop(start, [&] {
      ASSERT_NE(page->dialog, nullptr);
      action(page->dialog.get());
    });
    EXPECT_EQ(page->dialog, nullptr);
  }
  void in_server_add(const std::function<void(EntryDialog*)>& action) {
    in_dialog([&] { on_server_add_clicked(nullptr, main); }, action);
  }
  std::string help_title() { return gtk_entry_get_text(GTK_ENTRY(main->help->window.title_entry)); }
  bool help_shown() { return GTK_WIDGET_MAPPED(main->help->window.window); }
  GtkCList* servers() { return GTK_CLIST(page->server_list); }

  AccessPage* page = nullptr;
};

TEST_F(DialogKeys, EnterInAnEntryIsOkEscIsCancel) {
  in_server_add([&](EntryDialog* d) {
    expect_dialog_of(d->window, main->window, true);
    gtk_entry_set_text(GTK_ENTRY(d->host_entry), "typed.example");
    press_key(d->host_entry, GDK_Escape);
  });
  in_server_add([&](EntryDialog* d) {
    gtk_entry_set_text(GTK_ENTRY(d->host_entry), "c.example");
    gtk_widget_grab_focus(d->second_entry);
    press_key(d->second_entry, GDK_Return);
  });
  EXPECT_EQ(page->model.block_count, 3);
  EXPECT_EQ(page->model.blocks[2].host, "c.example");
}

TEST_F(DialogKeys, AMessageShownFromADialogBelongsToItAndEscClosesOnlyTheMessage) {
  in_server_add([&](EntryDialog* d) {
    gtk_widget_grab_focus(d->host_entry);
    press_key(d->host_entry, GDK_Return);  // no host: message 102
    // The default button shows itself pressed for a moment before it clicks.
    ASSERT_TRUE(wait_until([] { return !open_message_text().empty(); }));
    expect_dialog_of(front_dialog(), d->window, false);
    press_key(front_dialog(), GDK_Escape);
    EXPECT_EQ(front_dialog(), d->window);
    press_key(d->host_entry, GDK_Escape);
  });
  EXPECT_EQ(page->model.block_count, 2);
}

// The help window stays usable under a modal dialog's grab; Esc hides it.
TEST_F(DialogKeys, F1OpensTheTopicOfTheDialogOrOfThePageShown) {
  in_server_add([&](EntryDialog* d) {
    press_key(d->host_entry, GDK_F1);
    EXPECT_EQ(help_title(), "サーバの追加");
    expect_dialog_of(main->help->window.window, main->window, false);
    EXPECT_NE(gtk_window_get_group(GTK_WINDOW(main->help->window.window)),
              gtk_window_get_group(GTK_WINDOW(d->window)));
    press_key(main->help->window.window, GDK_Escape);
    EXPECT_FALSE(help_shown());
    press_key(d->host_entry, GDK_Escape);
  });
  gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 3);
  press_key(main->window, GDK_F1);
  EXPECT_TRUE(help_shown());
  EXPECT_EQ(help_title(), "保存");
  in_file_dialog(main, on_dict_add, kDictAddTitle, [&](GtkFileSelection* fs) {
    expect_dialog_of(GTK_WIDGET(fs), main->window, true);
    press_key(GTK_WIDGET(fs), GDK_F1);
    EXPECT_EQ(help_title(), "convd 基本設定");
    press_key(GTK_WIDGET(fs), GDK_Escape);
  });
}

// Return must never say yes to overwriting another writer's file.
TEST_F(DialogKeys, AQuestionDefaultsToNo) {
  for (guint key : {guint{GDK_Return}, guint{GDK_Escape}}) {
    bool answer = true;
    with_nested_loop([&] { answer = ask_question("?", kTextOverwrite, kTextCancel); },
                     [&] {
                       GtkWidget* question = front_dialog();
                       expect_dialog_of(question, main->window, true);
                       GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(question));
                       EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(focus)), to_utf8(kTextCancel));
                       EXPECT_EQ(GTK_WINDOW(question)->default_widget, focus);
                       press_key(question, key);
                     });
    EXPECT_FALSE(answer);
  }
}

TEST_F(DialogKeys, InAListEnterAndADoubleClickChangeDeleteRemoves) {
  gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 1);
  gtk_widget_grab_focus(page->server_list);
  servers()->focus_row = 1;  // nothing selected: the focus row is taken
  in_dialog([&] { press_key(page->server_list, GDK_Return); },
            [&](EntryDialog* d) {
              EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(d->host_entry)), "b");
              press_key(d->window, GDK_Escape);
            });
  // The list has the keyboard again.
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(main->window)), page->server_list);
  GdkEvent* click = gdk_event_new(GDK_2BUTTON_PRESS);
  in_dialog(
      [&] {
        g_signal_emit_by_name(page->server_list, "select_row", 1, 0, click);
        process_events();
      },
      [&](EntryDialog* d) { press_key(d->window, GDK_Escape); });
  gdk_event_free(click);
  press_key(page->server_list, GDK_Delete);
  EXPECT_EQ(servers()->rows, 1);
  EXPECT_EQ(page->model.block_count, 1);
}

// Titles that sort nothing are no Tab stops; the slot is row data, not a hidden column.
TEST_F(DialogKeys, ListColumnTitlesTakeNoFocus) {
  for (GtkWidget* list : {page->server_list, page->user_list, main->convd_page->dict_list})
    for (int column = 0; column < GTK_CLIST(list)->columns; ++column)
      EXPECT_FALSE(GTK_WIDGET_CAN_FOCUS(GTK_CLIST(list)->column[column].button));
  EXPECT_EQ(servers()->columns, 2);
  EXPECT_EQ(GPOINTER_TO_INT(gtk_clist_get_row_data(servers(), 1)), 1);
}

}  // namespace
