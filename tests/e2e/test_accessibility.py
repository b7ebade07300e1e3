"""What an assistive tool finds: every field of the main window and of the
entry dialogs by its name, read by its visible label; the lists and the
buttons of the same label told apart; no hidden column."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

DESCRIPTIONS = {"辞書ディレクトリを参照", "辞書ファイルを追加", "辞書ファイルを変更",
                "辞書ファイルを削除", "サーバを追加", "サーバを変更", "サーバを削除",
                "アクセス許可を追加", "アクセス許可を変更", "アクセス許可を削除",
                "読み込むファイルを参照", "読み込むファイルを前の版にする",
                "保存するファイルを参照"}


class AccessibilityTest(harness.AppTestCase):
    etc_files = {"tolqhosts": "convd ja_JP a.example/10 {\n@alice\n}\n"
                              "convd ja_JP b.example {\n}\n"}

    def field(self, window, role, name):
        """The field of that role and name, which its label names too."""
        node = self.app.find(window, role, name)
        label = node.labeler
        self.assertIsNotNone(label, f"{role} {name} has no label relation")
        self.assertIn(name, label.name)
        return node

    def dialog_fields(self, button, title, names):
        button.doActionNamed("click")
        dialog = self.app.window(title)
        for name in names:
            self.field(dialog, "text", name)
        self.app.click(dialog, "キャンセル")
        harness.wait_for(lambda: title not in self.app.windows(), what=f"{title} closed")

    def test_every_field_is_found_by_its_name(self):
        app = self.start()
        self.field(self.main, "text", "辞書ディレクトリ")
        self.field(self.main, "spin button", "固定化できる環境数")
        self.field(self.main, "text", "疑似品詞「英数」に追加する文字")
        self.field(self.main, "spin button", "自動保存確定回数")
        app.find(self.main, "table", "起動時に読み込む辞書")
        descriptions = {b.description for b in app.find_all(self.main, "push button")}
        for tab in ("読込", "保存", "アクセス制御"):
            app.select_tab(tab)
            descriptions |= {b.description for b in app.find_all(self.main, "push button")}
            if tab != "アクセス制御":
                self.field(self.main, "text", "ファイル名")
                app.find(self.main, "combo box", "ファイルの種類")
        self.assertEqual(descriptions - {""}, DESCRIPTIONS)
        servers = app.find(self.main, "table", "サーバ[/ポート番号]")
        app.find(self.main, "table", "アクセス許可")
        # The block slot is row data: no column of numbers reaches this layer.
        cells = ["a.example", "10", "b.example", ""]
        harness.wait_for(lambda: [c.name for c in app.find_all(servers, "table cell")] == cells,
                         what=f"the server cells {cells}")

        add_server, add_pair = (b for b in self.buttons("追加"))
        self.dialog_fields(add_server, "TolqSysEnv_Server ServerAdd", ("ホスト名", "ポート番号"))
        self.click_cell("a.example")
        harness.wait_for(lambda: add_pair.sensitive, what="a server selected")
        self.dialog_fields(add_pair, "TolqSysEnv_Server AccessAdd", ("ホスト名", "ユーザ名"))


if __name__ == "__main__":
    harness.main()
