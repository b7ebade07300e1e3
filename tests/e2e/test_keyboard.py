"""The keyboard alone: a server and a permitted pair added and changed, and
applied, without the mouse; each dialog opens in front of the main window."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

OLD_HOSTS = "convd ja_JP old.example {\n@alice\n}\n"
NEW_HOSTS = (";;\n;; tolqhosts : created by cfgmate \n;;\n"
             "convd ja_JP old.example {\n@alice\n}\n"
             "convd\tja_JP changed.example/7000 { \n"
             "client.example:dave\n"
             "}\n")


class KeyboardTest(harness.AppTestCase):
    etc_files = {"tolqhosts": OLD_HOSTS}

    def in_dialog(self, title, *steps):
        """Waits for the dialog, checks that it belongs to the main window,
        then presses and types steps (a string is typed, a tuple pressed)."""
        self.app.window(title)
        xprop = subprocess.run(["xprop", "-id", str(self.app.window_id(title)),
                                "WM_TRANSIENT_FOR", "_NET_WM_WINDOW_TYPE"],
                               capture_output=True, text=True, check=True).stdout
        self.assertIn(f"window id # {hex(self.app.window_id(harness.MAIN_TITLE))}", xprop)
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", xprop)
        for step in steps:
            if isinstance(step, tuple):
                self.app.keys(*step)
            else:
                self.app.type(step)
        harness.wait_for(lambda: title not in self.app.windows(), what=f"{title} closed")

    def test_a_server_and_a_pair_are_added_and_changed_with_the_keyboard_only(self):
        app = self.start()
        app.focus_window(harness.MAIN_TITLE)
        app.keys("Right")  # from the first page tab to アクセス制御
        harness.wait_for(lambda: app.focused(self.main).name == "アクセス制御", what="the tab")

        app.tab_to(self.main, "push button", "追加", "サーバを追加")
        app.keys("Return")
        self.in_dialog("TolqSysEnv_Server ServerAdd", "new.example", ("Tab",), "7000",
                       ("Return",))
        # Enter in the list is 変更 of the selected row, the one just added.
        app.tab_to(self.main, "table", "サーバ[/ポート番号]")
        app.keys("Return")
        self.in_dialog("TolqSysEnv_Server ServerChange", ("ctrl+a",), "changed.example",
                       ("Return",))

        app.tab_to(self.main, "push button", "追加", "アクセス許可を追加")
        app.keys("space")
        self.in_dialog("TolqSysEnv_Server AccessAdd", "client.example", ("Tab",), "carol",
                       ("Return",))
        app.tab_to(self.main, "table", "アクセス許可")
        app.keys("Return")
        self.in_dialog("TolqSysEnv_Server AccessChange", ("Tab", "ctrl+a"), "dave",
                       ("Return",))

        app.tab_to(self.main, "push button", "適用")
        app.keys("space")
        harness.wait_for(lambda: not app.find(self.main, "push button", "適用").sensitive,
                         what="Apply insensitive")
        self.assertEqual(self.sandbox.read("tolqhosts").decode("euc_jp"), NEW_HOSTS)


if __name__ == "__main__":
    harness.main()
