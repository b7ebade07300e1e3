#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "access/access_dialogs.h"
#include "access/access_file.h"
#include "access/access_page.h"
#include "app/main_window.h"
#include "common/catalogue.h"
#include "gui/state.h"
#include "gui/widgets.h"
#include "tests/support/access_text.h"
#include "tests/support/widget_support.h"

namespace {

std::string message(int number) {
  return to_utf8(message_text(number));
}

// What pressing ＯＫ in a dialog led to.
struct OkResult {
  std::string message;  // the message shown, "" for none
  bool closed;          // the dialog ended
};

class AccessPageTest : public testing::Test {
 protected:
  void SetUp() override {
    main = build_test_main_window();
    ASSERT_NE(main, nullptr);
    page = main->access_page.get();
    settings_file(FILE_KIND_TOLQHOSTS).dirty = false;
    gtk_widget_set_sensitive(main->apply_button, FALSE);
  }
  void TearDown() override { destroy_test_main_window(main); }

  void load(const std::string& text) {
    load_model(page->model, text);
    fill_server_list();
  }

  // "cell0/cell1" of every row, joined by '|'; with_slot adds the row's slot.
  static std::string rows(GtkWidget* list, bool with_slot = false) {
    std::string text;
    for (int row = 0; row < GTK_CLIST(list)->rows; ++row) {
      gchar *a = nullptr, *b = nullptr;
      gtk_clist_get_text(GTK_CLIST(list), row, 0, &a);
      gtk_clist_get_text(GTK_CLIST(list), row, 1, &b);
      text += (row ? "|" : "") + std::string(a) + "/" + b;
      if (with_slot)
        text += "#" + std::to_string(GPOINTER_TO_INT(gtk_clist_get_row_data(GTK_CLIST(list), row)));
    }
    return text;
  }

  // Which of the six buttons are sensitive, as a string of 0 and 1 (server add first).
  std::string sensitivity() const {
    std::string text;
    for (GtkWidget* button :
         {page->server_add_button, page->server_change_button, page->server_remove_button,
          page->user_add_button, page->user_change_button, page->user_remove_button})
      text += GTK_WIDGET_SENSITIVE(button) ? '1' : '0';
    return text;
  }

  void select(GtkWidget* list, int row) { gtk_clist_select_row(GTK_CLIST(list), row, 0); }

  // Opens a dialog through its launcher, fills its two entries and presses ＯＫ.
  OkResult press_ok(void (*launcher)(GtkWidget*, MainWindow*), const char* first,
                    const char* second, const char* title) {
    OkResult result{"", false};
    bool ran = false;
    with_nested_loop([&] { launcher(nullptr, main); },
                     [&] {
                       ran = true;
                       EXPECT_FALSE(GTK_WIDGET_SENSITIVE(main->window));
                       GtkWidget* window = find_window(title);
                       if (!window) {
                         ADD_FAILURE() << "no window " << title;
                         gtk_main_quit();
                         return;
                       }
                       EntryDialog* dialog = page->dialog.get();
                       EXPECT_EQ(dialog->window, window);
                       if (first) gtk_entry_set_text(GTK_ENTRY(dialog->host_entry), first);
                       if (second) gtk_entry_set_text(GTK_ENTRY(dialog->second_entry), second);
                       gtk_button_clicked(GTK_BUTTON(dialog->ok_button));
                       result.closed = find_window(title) == nullptr;
                       result.message = open_message_text();
                       close_message_dialogs();
                       if (!result.closed) close_dialog(nullptr, window);
                     });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(GTK_WIDGET_SENSITIVE(main->window));
    return result;
  }
  OkResult add_server(const char* host, const char* port) {
    return press_ok(on_server_add_clicked, host, port, "TolqSysEnv_Server ServerAdd");
  }
  OkResult change_server(const char* host, const char* port) {
    return press_ok(on_server_change_clicked, host, port, "TolqSysEnv_Server ServerChange");
  }
  OkResult add_user(const char* host, const char* user) {
    return press_ok(on_user_add_clicked, host, user, "TolqSysEnv_Server AccessAdd");
  }
  OkResult change_user(const char* host, const char* user) {
    return press_ok(on_user_change_clicked, host, user, "TolqSysEnv_Server AccessChange");
  }

  MainWindow* main = nullptr;
  AccessPage* page = nullptr;
};

const char* kThreeServers =
    "tolqds ja_JP dict {\nkeep:me\n}\n"
    "convd ja_JP a/10 {\n}\nconvd ja_JP b {\n}\nconvd ja_JP c {\n}\n";

TEST_F(AccessPageTest, ShowsConvdServersOnlyWithOnlyAddSensitive) {
  EXPECT_EQ(sensitivity(), "100000");
  load(kThreeServers);
  EXPECT_EQ(rows(page->server_list, true), "a/10#1|b/#2|c/#3");
  EXPECT_EQ(sensitivity(), "100000");
}

TEST_F(AccessPageTest, SelectingAServerShowsItsUsersInOrder) {
  load("convd ja_JP a {\nh0:u0\n@u1\nh2\n}\n");
  remove_block_entry(page->model, 0, 0);
  add_block_entry(page->model, 0, "h3", "u3");  // takes slot 0, listed last
  select(page->server_list, 0);
  EXPECT_EQ(rows(page->user_list), "/u1|h2/|h3/u3");
  EXPECT_EQ(sensitivity(), "111100");
  select(page->user_list, 1);
  EXPECT_EQ(sensitivity(), "111111");
  EXPECT_EQ(page->selected_pair.texts.host, "h2");
  gtk_clist_unselect_row(GTK_CLIST(page->user_list), 1, 0);
  EXPECT_EQ(sensitivity(), "111100");
}

TEST_F(AccessPageTest, UnselectingTheServerClearsUsersAndButtons) {
  load("convd ja_JP a {\nh:u\n}\n");
  select(page->server_list, 0);
  select(page->user_list, 0);
  gtk_clist_unselect_row(GTK_CLIST(page->server_list), 0, 0);
  EXPECT_EQ(GTK_CLIST(page->user_list)->rows, 0);
  EXPECT_EQ(sensitivity(), "100000");
}

TEST_F(AccessPageTest, RemovingTheMiddleServerAndAddingReusesItsSlot) {
  load(kThreeServers);
  on_server_remove(nullptr, nullptr);  // no selection: nothing
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  select(page->server_list, 1);
  on_server_remove(nullptr, nullptr);
  EXPECT_EQ(rows(page->server_list, true), "a/10#1|c/#3");
  EXPECT_EQ(sensitivity(), "100000");
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_TRUE(GTK_WIDGET_SENSITIVE(main->apply_button));
  EXPECT_EQ(page->model.slot_count, 4);
  EXPECT_EQ(page->model.block_count, 3);

  OkResult added = add_server("d", "");
  EXPECT_TRUE(added.closed);
  EXPECT_EQ(added.message, "");
  EXPECT_EQ(rows(page->server_list, true), "a/10#1|c/#3|d/#2");
  EXPECT_EQ(page->model.slot_count, 4);
  EXPECT_EQ(page->selected_server.row, 2);
  EXPECT_EQ(sensitivity(), "111100");

  // The page never shows or changes the tolqds block.
  EXPECT_EQ(page->model.blocks[0].host, "dict");
  EXPECT_EQ(page->model.blocks[0].entries[0].user, "me");
  fill_server_list();
  EXPECT_EQ(rows(page->server_list), "a/10|c/|d/");
}

TEST_F(AccessPageTest, RemovingTheFirstUserRenumbersTheOthers) {
  load("convd ja_JP a {\nh:u0\nh:u1\nh:u2\n}\n");
  select(page->server_list, 0);
  on_user_remove(nullptr, nullptr);  // no user selected: nothing
  EXPECT_EQ(GTK_CLIST(page->user_list)->rows, 3);
  select(page->user_list, 0);
  on_user_remove(nullptr, nullptr);
  EXPECT_EQ(rows(page->user_list), "h/u1|h/u2");
  EXPECT_EQ(page->model.blocks[0].entries[1].order, 0);
  EXPECT_EQ(page->model.blocks[0].entries[2].order, 1);
  EXPECT_EQ(sensitivity(), "111100");
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);

  EXPECT_TRUE(add_user("h", "new").closed);
  EXPECT_EQ(rows(page->user_list), "h/u1|h/u2|h/new");
  EXPECT_EQ(page->model.blocks[0].entries[0].user, "new");
  EXPECT_EQ(page->model.blocks[0].entries[0].order, 2);
  // The new row is the selection that a change starts from.
  EXPECT_EQ(page->selected_pair.row, 2);
  EXPECT_EQ(page->selected_pair.texts.second, "new");
}

TEST_F(AccessPageTest, ServerDialogMessagesInOrder) {
  load("convd ja_JP a/1 {\n}\n");
  EXPECT_EQ(add_server("", "x").message, message(102));
  EXPECT_EQ(add_server("h", "65536").message, message(103));
  EXPECT_EQ(add_server("h", "+1").message, message(103));
  EXPECT_EQ(add_server("h", "1 ").message, message(103));
  OkResult duplicate = add_server("a", "1");
  EXPECT_EQ(duplicate.message, message(50));
  EXPECT_FALSE(duplicate.closed);
  EXPECT_EQ(rows(page->server_list), "a/1");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);

  EXPECT_TRUE(add_server("a", "65535").closed);
  EXPECT_TRUE(add_server("a", "").closed);
  EXPECT_EQ(rows(page->server_list), "a/1|a/65535|a/");
}

TEST_F(AccessPageTest, ServerChangeWithoutEditsIsAcceptedAndEditsFollowTheRow) {
  load("convd ja_JP a/1 {\n}\nconvd ja_JP b {\n}\n");
  select(page->server_list, 0);
  OkResult same = change_server(nullptr, nullptr);  // the presets unchanged
  EXPECT_TRUE(same.closed);
  EXPECT_EQ(same.message, "");
  EXPECT_TRUE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  EXPECT_EQ(change_server("b", "").message, message(50));
  const std::string longer(200, 'z');
  EXPECT_TRUE(change_server(longer.c_str(), "").closed);
  EXPECT_EQ(rows(page->server_list, true), longer + "/#0|b/#1");
  EXPECT_EQ(page->model.blocks[0].host, longer);
  EXPECT_EQ(page->model.blocks[0].port, "");
  // The selection holds the new texts.
  EXPECT_EQ(page->selected_server.texts.host, longer);
  EXPECT_TRUE(change_server(nullptr, nullptr).closed);
  // A host read from a file, longer than the entry takes when typing, comes back whole.
  const std::string read(300, 'r');
  load("convd ja_JP " + read + " {\n" + read + ":" + read + "\n}\n");
  select(page->server_list, 0);
  EXPECT_TRUE(change_server(nullptr, nullptr).closed);
  select(page->user_list, 0);
  EXPECT_TRUE(change_user(nullptr, nullptr).closed);
  EXPECT_EQ(page->model.blocks[0].host, read);
  EXPECT_EQ(page->model.blocks[0].entries[0].user, read);
}

TEST_F(AccessPageTest, ServerChangeOfOneFieldToAnotherRowIsADuplicate) {
  load("convd ja_JP a/1 {\n}\nconvd ja_JP b/1 {\n}\nconvd ja_JP a/2 {\n}\n");
  select(page->server_list, 0);
  EXPECT_EQ(change_server("b", nullptr).message, message(50));
  EXPECT_EQ(change_server(nullptr, "2").message, message(50));
  EXPECT_EQ(rows(page->server_list), "a/1|b/1|a/2");
}

TEST_F(AccessPageTest, UserDialogMessagesAndChange) {
  load("convd ja_JP a {\nh:u\n@v\n}\n");
  select(page->server_list, 0);
  EXPECT_EQ(add_user("", "").message, message(120));
  EXPECT_EQ(add_user("h", "u").message, message(50));
  EXPECT_TRUE(add_user("", "w").closed);
  EXPECT_EQ(rows(page->user_list), "h/u|/v|/w");

  select(page->user_list, 0);
  EXPECT_TRUE(change_user(nullptr, nullptr).closed);
  EXPECT_EQ(change_user("", "v").message, message(50));
  EXPECT_EQ(change_user("", "").message, message(120));
  EXPECT_TRUE(change_user("x", "").closed);
  EXPECT_EQ(rows(page->user_list), "x/|/v|/w");
  EXPECT_EQ(page->model.blocks[0].entries[0].host, "x");
  EXPECT_EQ(page->model.blocks[0].entries[0].user, "");
  EXPECT_EQ(page->selected_pair.texts, (EntryTexts{"x", ""}));
}

TEST_F(AccessPageTest, UserChangeOfOneFieldToAnotherRowIsADuplicate) {
  load("convd ja_JP a {\nh:u\nk:u\nh:v\n}\n");
  select(page->server_list, 0);
  select(page->user_list, 0);
  EXPECT_EQ(change_user("k", nullptr).message, message(50));
  EXPECT_EQ(change_user(nullptr, "v").message, message(50));
  EXPECT_EQ(rows(page->user_list), "h/u|k/u|h/v");
}

TEST_F(AccessPageTest, TextsTheFileCannotHoldAreRefused) {
  load("convd ja_JP @a {\nh:u v\n}\n");                  // a file read is taken as it is
  EXPECT_EQ(add_server("@a", "").message, message(50));  // a duplicate is named first
  OkResult server = add_server("b c", "");
  EXPECT_EQ(server.message, message(124));
  EXPECT_FALSE(server.closed);
  EXPECT_EQ(page->model.slot_count, 1);
  select(page->server_list, 0);
  EXPECT_EQ(add_user("h", "u v").message, message(50));
  OkResult pair = add_user("x y", "u");
  EXPECT_EQ(pair.message, message(124));
  EXPECT_FALSE(pair.closed);
  EXPECT_EQ(page->model.entry_slot_count[0], 1);
  select(page->user_list, 0);
  EXPECT_EQ(change_user("k", nullptr).message, message(124));  // the kept user is checked too
  EXPECT_EQ(rows(page->user_list), "h/u v");
  EXPECT_FALSE(settings_file(FILE_KIND_TOLQHOSTS).dirty);
  // Rows left as they were read are accepted.
  EXPECT_TRUE(change_user(nullptr, nullptr).closed);
  EXPECT_TRUE(change_server(nullptr, nullptr).closed);
}

// The model keeps the file's bytes; the lists and the presets show them in
// UTF-8, and an unedited text goes back as it was read, even one that does
// not convert.
TEST_F(AccessPageTest, TextsOfTheFileAreShownConvertedAndComeBackAsRead) {
  const std::string japanese = "\xc6\xfc\xcb\xdc";  // 日本 in EUC-JP
  const std::string garbled = "h\xff\xfe";
  load("convd ja_JP " + japanese + " {\n" + garbled + ":u\n}\n");
  EXPECT_EQ(rows(page->server_list), "日本/");
  select(page->server_list, 0);
  EXPECT_TRUE(change_server(nullptr, nullptr).closed);
  EXPECT_EQ(page->model.blocks[0].host, japanese);
  EXPECT_EQ(change_server("日本x", nullptr).message, message(124));  // typed: ASCII only

  select(page->user_list, 0);
  EXPECT_TRUE(g_utf8_validate(rows(page->user_list).c_str(), -1, nullptr));
  with_nested_loop(
      [&] { on_user_change_clicked(nullptr, main); },
      [&] {
        // It cannot be shown exactly, so it cannot be edited into '?'.
        EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(page->dialog->host_entry)));
        EXPECT_TRUE(gtk_editable_get_editable(GTK_EDITABLE(page->dialog->second_entry)));
        gtk_entry_set_text(GTK_ENTRY(page->dialog->second_entry), "v");
        gtk_button_clicked(GTK_BUTTON(page->dialog->ok_button));
        if (page->dialog) gtk_button_clicked(GTK_BUTTON(page->dialog->cancel_button));
      });
  EXPECT_EQ(page->model.blocks[0].entries[0].host, garbled);
  EXPECT_EQ(page->model.blocks[0].entries[0].user, "v");
  EXPECT_EQ(change_user(nullptr, "\xf0\x9f\x98\x80").message, message(123));  // no EUC-JP form
}

TEST_F(AccessPageTest, FullTablesRefuseAddsBeforeOpeningADialog) {
  std::string text = "convd ja_JP first {\n";
  for (int e = 0; e < MAX_BLOCK_ENTRIES; ++e) text += "h:u" + std::to_string(e) + "\n";
  text += "}\n";
  for (int b = 1; b < MAX_ACCESS_BLOCKS; ++b)
    text += "convd ja_JP s" + std::to_string(b) + " {\n}\n";
  load(text);
  on_server_add_clicked(nullptr, main);
  EXPECT_EQ(open_message_text(), message(118));
  EXPECT_EQ(find_window("TolqSysEnv_Server ServerAdd"), nullptr);
  close_message_dialogs();
  select(page->server_list, 0);
  on_user_add_clicked(nullptr, main);
  EXPECT_EQ(open_message_text(), message(119));
  EXPECT_EQ(find_window("TolqSysEnv_Server AccessAdd"), nullptr);
  close_message_dialogs();
}

}  // namespace
