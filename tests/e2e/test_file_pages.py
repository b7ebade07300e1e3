"""The read and save pages: either settings file from or to any path."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

HEADER = ";;\n;; {} : created by cfgmate \n;;\n"
OTHER_HOSTS = ("; kept elsewhere\n"
               "convd\tja_JP far.example/9000 {\n"
               "client:alice\n"
               "}\n"
               "; between the blocks\n"
               "convd ja_JP near.example {\n"
               "@bob\n"
               "}\n")
READ_DONE = "ファイルを読み込みました。"
SAVE_DONE = "ファイルを保存しました。"


class FilePagesTest(harness.AppTestCase):
    def test_read_tolqhosts_from_elsewhere_then_apply(self):
        other = os.path.join(self.sandbox.root, "elsewhere", "hosts")
        os.makedirs(os.path.dirname(other))
        with open(other, "wb") as f:
            f.write(harness.euc(OTHER_HOSTS))
        app = self.start()
        app.select_tab("読込")
        self.choose(1)
        self.set_path(other)
        app.click(self.main, "読込")
        self.app.dismiss_message(READ_DONE)
        apply = app.find(self.main, "push button", "適用")
        self.assertTrue(apply.sensitive, "a read marks the page changed")
        app.click(self.main, "適用")
        harness.wait_for(lambda: os.path.exists(self.sandbox.path("tolqhosts")),
                         what="tolqhosts written")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")
        written = self.sandbox.read("tolqhosts").decode("euc_jp")
        self.assertTrue(written.startswith(HEADER.format("tolqhosts")), written)
        lines = written.split("\n")
        kept = ["; kept elsewhere", "convd\tja_JP far.example/9000 {", "client:alice",
                "; between the blocks", "convd ja_JP near.example {", "@bob"]
        for line in kept:
            self.assertIn(line, lines, written)
        order = [lines.index(line) for line in kept]
        self.assertEqual(order, sorted(order), written)
        with open(other, "rb") as f:
            self.assertEqual(f.read(), harness.euc(OTHER_HOSTS), "the file read stays as it was")

    def test_previous_version_is_brought_back(self):
        # As this program writes it: read and written again, it keeps its bytes.
        old = HEADER.format("convdrc") + "convd_dir\t\t/var/old\nreadfile\t\ta.dic\n" \
            "max_sticky_env\t\t10\nautosave\t\t5\n"
        self.sandbox.write("ja_JP/convdrc", old)
        app = self.start()
        apply = app.find(self.main, "push button", "適用")
        harness.wait_for(lambda: next(t for t in app.find_all(self.main, "text")
                                      if t.text == "/var/old"), what="the directory").text = "/var/new"
        app.click(self.main, "適用")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")
        self.assertEqual(self.sandbox.read("ja_JP/convdrc-"), harness.euc(old))
        app.select_tab("読込")
        app.click(self.main, "前の版")
        path = next(t for t in app.find_all(self.main, "text") if t.parent.roleName != "combo box")
        harness.wait_for(lambda: path.text == "/etc/tolq8/ja_JP/convdrc-", what="the path")
        app.click(self.main, "読込")
        app.dismiss_message(READ_DONE)
        app.click(self.main, "適用")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")
        self.assertEqual(self.sandbox.read("ja_JP/convdrc"), harness.euc(old))
        self.assertIn(b"/var/new", self.sandbox.read("ja_JP/convdrc-"))

    def test_save_convdrc_to_a_new_directory(self):
        target = os.path.join(self.sandbox.root, "new", "dir", "convdrc")
        app = self.start()
        app.select_tab("保存")
        self.set_path(target)
        app.click(self.main, "保存")
        self.app.dismiss_message(SAVE_DONE)
        with open(target, "rb") as f:
            saved = f.read().decode("euc_jp")
        self.assertTrue(saved.startswith(HEADER.format("convdrc")), saved)
        self.assertIn("convd_dir\t\t@VARDIR/dic\n", saved)
        self.assertIn("readfile\t\t@LANG/system.dic\n", saved)
        self.assertEqual(os.stat(os.path.dirname(target)).st_mode & 0o777, 0o775)
        self.assertFalse(app.find(self.main, "push button", "適用").sensitive)
        self.assertEqual(os.listdir(self.sandbox.path("ja_JP")), [], "nothing written to /etc")


if __name__ == "__main__":
    harness.main()
