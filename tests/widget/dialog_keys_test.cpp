// The keyboard and the window stacking of the main window and its dialogs.
#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>

#include <string>

#include "access/access_file.h"
#include "access/access_page.h"
#include "app/main_window.h"
#include "common/catalogue.h"
#include "common/message_dialog.h"
#include "common/state.h"
#include "common/texts.h"
#include "help/help_window.h"
#include "serverrc/convd_page.h"
#include "serverrc/dict_dialogs.h"
#include "tests/support/access_text.h"
#include "tests/support/widget_support.h"

namespace {

constexpr const char* kServerAdd = "TolqSysEnv_Server ServerAdd";

std::string message(int number) {
  return to_utf8(message_text(number));
}

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
    ASSERT_EQ(load_help_file_at(TOLQ_TEST_DATA_DIR "/tolqsysenv_server.hlp"), 0);
    page = main->access_page.get();
  }
  void TearDown() override {
    if (help_window->window) gtk_widget_destroy(help_window->window);
    *help_window = HelpWindow{};
    ScratchMainWindowTest::TearDown();
  }

  // Opens the server add dialog and runs action in it.
  void in_server_dialog(const std::function<void(EntryDialog*)>& action) {
    with_nested_loop([&] { on_server_add_clicked(nullptr, main); },
                     [&] {
                       ASSERT_NE(page->dialog, nullptr);
                       action(page->dialog.get());
                     });
    EXPECT_EQ(find_window(kServerAdd), nullptr);
  }
  std::string help_title() { return gtk_entry_get_text(GTK_ENTRY(help_window->title_entry)); }
  bool help_shown() { return help_window->window && GTK_WIDGET_MAPPED(help_window->window); }

  AccessPage* page = nullptr;
};

TEST_F(DialogKeys, EnterInEitherEntryIsOkAndEscIsCancel) {
  in_server_dialog([&](EntryDialog* d) {
    expect_dialog_of(d->window, main->window, true);
    gtk_entry_set_text(GTK_ENTRY(d->host_entry), "typed.example");
    gtk_widget_grab_focus(d->host_entry);
    press_key(d->host_entry, GDK_Escape);
  });
  EXPECT_EQ(access_block_count, 0);
  in_server_dialog([&](EntryDialog* d) {
    gtk_entry_set_text(GTK_ENTRY(d->host_entry), "a.example");
    gtk_widget_grab_focus(d->second_entry);
    press_key(d->second_entry, GDK_Return);
  });
  EXPECT_EQ(access_blocks[0].host, "a.example");
  EXPECT_EQ(hosts_dirty, 1);
}

TEST_F(DialogKeys, AMessageOverADialogBelongsToItAndEscClosesOnlyTheMessage) {
  in_server_dialog([&](EntryDialog* d) {
    gtk_widget_grab_focus(d->host_entry);
    press_key(d->host_entry, GDK_Return);  // no host: message 102
    // The default button shows itself pressed for a moment before it clicks.
    ASSERT_TRUE(wait_until([] { return !open_message_text().empty(); }));
    GtkWidget* shown = front_dialog();
    EXPECT_EQ(open_message_text(), message(102));
    expect_dialog_of(shown, d->window, false);
    press_key(shown, GDK_Escape);
    EXPECT_EQ(open_message_text(), "");
    EXPECT_EQ(front_dialog(), d->window);
    press_key(d->host_entry, GDK_Escape);
  });
  EXPECT_EQ(access_block_count, 0);
}

TEST_F(DialogKeys, F1OpensTheDialogsOwnTopicInAWindowThatStaysUsable) {
  in_server_dialog([&](EntryDialog* d) {
    press_key(d->host_entry, GDK_F1);
    EXPECT_TRUE(help_shown());
    EXPECT_EQ(help_title(), "サーバの追加");
    expect_dialog_of(help_window->window, main->window, false);
    // The dialog's grab does not reach it.
    EXPECT_NE(gtk_window_get_group(GTK_WINDOW(help_window->window)),
              gtk_window_get_group(GTK_WINDOW(d->window)));
    press_key(help_window->window, GDK_Escape);
    EXPECT_FALSE(help_shown());
    press_key(d->host_entry, GDK_Escape);
  });
}

TEST_F(DialogKeys, F1InTheMainWindowOpensThePageShown) {
  gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 1);
  press_key(main->window, GDK_F1);
  EXPECT_EQ(help_title(), "アクセス制御");
  press_key(help_window->window, GDK_Escape);
  gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 3);
  press_key(main->window, GDK_F1);
  EXPECT_TRUE(help_shown());
  EXPECT_EQ(help_title(), "保存");
}

TEST_F(DialogKeys, FileSelectionsBelongToTheMainWindowEscCancelsF1IsThePagesTopic) {
  in_file_dialog(main, on_dict_add, kDictAddTitle, [&](GtkFileSelection* fs) {
    expect_dialog_of(GTK_WIDGET(fs), main->window, true);
    press_key(GTK_WIDGET(fs), GDK_F1);
    EXPECT_EQ(help_title(), "convd 基本設定");
    press_key(GTK_WIDGET(fs), GDK_Escape);
  });
  EXPECT_EQ(GTK_CLIST(main->convd_page->dict_list)->rows, 0);
}

// Return must never say yes to overwriting another writer's file.
TEST_F(DialogKeys, AQuestionDefaultsToNoAndReturnOrEscAnswerIt) {
  for (guint key : {GDK_Return, GDK_Escape}) {
    bool answer = true;
    with_nested_loop([&] { answer = ask_question("question", kTextOverwrite, kTextCancel); },
                     [&] {
                       GtkWidget* question = front_dialog();
                       expect_dialog_of(question, main->window, true);
                       GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(question));
                       ASSERT_TRUE(GTK_IS_BUTTON(focus));
                       EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(focus)), to_utf8(kTextCancel));
                       EXPECT_EQ(GTK_WINDOW(question)->default_widget, focus);
                       press_key(question, key);
                     });
    EXPECT_FALSE(answer) << key;
  }
}

class ListKeys : public DialogKeys {
 protected:
  void SetUp() override {
    DialogKeys::SetUp();
    load_model("convd ja_JP a {\nh:u\n}\nconvd ja_JP b {\n}\n");
    fill_server_list();
    gtk_notebook_set_current_page(GTK_NOTEBOOK(main->notebook), 1);
    gtk_widget_grab_focus(page->server_list);
  }
  GtkCList* servers() { return GTK_CLIST(page->server_list); }
};

TEST_F(ListKeys, EnterChangesTheFocusRowAndDeleteRemovesIt) {
  servers()->focus_row = 1;
  bool opened = false;
  with_nested_loop([&] { press_key(page->server_list, GDK_Return); },
                   [&] {
                     opened = find_window("TolqSysEnv_Server ServerChange") != nullptr;
                     EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(page->dialog->host_entry)),
                               std::string("b"));
                     press_key(page->dialog->window, GDK_Escape);
                   });
  EXPECT_TRUE(opened);
  EXPECT_EQ(page->selected_server.row, 1);
  // The list has the keyboard again.
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(main->window)), page->server_list);
  press_key(page->server_list, GDK_Delete);
  EXPECT_EQ(servers()->rows, 1);
  EXPECT_EQ(access_block_count, 1);
  EXPECT_EQ(hosts_dirty, 1);
}

TEST_F(ListKeys, ADoubleClickChangesTheRow) {
  gtk_clist_select_row(servers(), 0, 0);
  gtk_clist_select_row(GTK_CLIST(page->user_list), 0, 0);
  GdkEvent* click = gdk_event_new(GDK_2BUTTON_PRESS);
  bool opened = false;
  with_nested_loop(
      [&] {
        g_signal_emit_by_name(page->user_list, "select_row", 0, 0, click);
        process_events();
      },
      [&] {
        opened = find_window("TolqSysEnv_Server AccessChange") != nullptr;
        press_key(page->dialog->window, GDK_Escape);
      });
  gdk_event_free(click);
  EXPECT_TRUE(opened);
}

TEST_F(ListKeys, ColumnTitlesTakeNoFocusAndNoColumnIsHidden) {
  for (GtkWidget* list : {page->server_list, page->user_list, main->convd_page->dict_list}) {
    GtkCList* clist = GTK_CLIST(list);
    for (int column = 0; column < clist->columns; ++column) {
      EXPECT_TRUE(clist->column[column].visible);
      EXPECT_FALSE(GTK_WIDGET_CAN_FOCUS(clist->column[column].button));
    }
  }
  EXPECT_EQ(servers()->columns, 2);
  EXPECT_EQ(GPOINTER_TO_INT(gtk_clist_get_row_data(servers(), 1)), 1);  // the slot
}

}  // namespace
