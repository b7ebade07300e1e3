"""The convd basic settings page: editing, Apply that leaves what was not
edited as it was, the reset to the installed default copy, and Apply on a
file system that refuses the write."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

HEADER = ";;\n;; convdrc : created by cfgmate \n;;\n"
OLD_CONVDRC = ("; 辞書の設定\n"
               "convd_dir\t\t/var/dic\n"
               "readfile\t\ta.dic\n"
               "readfile\t\t日本.dic\n"
               "autosave\t\t5\n")
SHIPPED = os.path.join(harness.STAGE, "usr/lib/tolq8/ja_JP/convdrc")


class ConvdPageTest(harness.AppTestCase):
    etc_files = {"ja_JP/convdrc": OLD_CONVDRC}

    def apply_button(self):
        return self.app.find(self.main, "push button", "適用")

    def apply(self):
        apply = self.apply_button()
        self.assertTrue(apply.sensitive)
        self.app.click(self.main, "適用")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")

    def holding(self, role, text):
        """The field of that role that holds the text."""
        return harness.wait_for(
            lambda: next((n for n in self.app.find_all(self.main, role) if n.text == text), None),
            what=f"{role} holding {text!r}")

    def cells(self):
        return [c.name for c in self.app.find_all(self.main, "table cell")]

    def test_edits_are_written_in_place_on_apply(self):
        app = self.start()
        self.assertIn("日本.dic", self.cells())
        self.assertFalse(self.apply_button().sensitive)
        self.holding("text", "/var/dic").text = "/var/dic2/"
        self.holding("spin button", "5").text = "7"
        app.find(self.main, "check box").doActionNamed("click")
        self.apply()
        self.assertEqual(self.sandbox.read("ja_JP/convdrc").decode("euc_jp"),
                         HEADER + "; 辞書の設定\n"
                         "convd_dir\t\t/var/dic2\n"
                         "readfile\t\ta.dic\n"
                         "readfile\t\t日本.dic\n"
                         "autosave\t\t7\n"
                         "ondisk_off\n"
                         "max_sticky_env\t\t10\n")
        self.assertEqual(sorted(os.listdir(self.sandbox.path("ja_JP"))), ["convdrc", "convdrc-"])
        self.assertEqual(os.stat(self.sandbox.path("ja_JP/convdrc")).st_mode & 0o777, 0o644)

    def test_a_toggle_leaves_every_other_byte_as_it_was(self):
        # Extra words, a trailing comment, a number written another way, CR LF.
        body = ("; 辞書の設定\r\n"
                "convd_dir /var/my dic\r\n"
                "readfile a.dic\tb.dic\r\n"
                "autosave 5\t; five\r\n"
                "max_sticky_env 020\r\n").encode("euc_jp")
        self.sandbox.write("ja_JP/convdrc", b";; an old header\r\n" + body)
        app = self.start()
        self.holding("text", "/var/my")
        app.find(self.main, "check box").doActionNamed("click")
        self.apply()
        self.assertEqual(self.sandbox.read("ja_JP/convdrc"),
                         b";;\r\n;; convdrc : created by cfgmate \r\n;;\r\n" + body +
                         b"ondisk_off\r\n")

    def test_reset_reads_the_installed_copy_and_apply_writes_it(self):
        app = self.start()
        app.click(self.main, "初期設定に戻す")
        harness.wait_for(lambda: "@LANG/system.dic" in self.cells(), what="the shipped list")
        self.assertNotIn("a.dic", self.cells())
        self.apply()
        with open(SHIPPED, "rb") as f:
            shipped = f.read()
        # Everything of the shipped copy is kept, comments included.
        self.assertEqual(self.sandbox.read("ja_JP/convdrc"), harness.euc(HEADER) + shipped)

    def test_missing_dictionaries_are_named_under_the_list(self):
        self.sandbox.write("ja_JP/convdrc", "convd_dir\t\t/no/such/dir\nreadfile\t\ta.dic\n"
                           "readfile\t\t/etc/tolq8/ja_JP/convdrc\n"
                           "readfile\t\t/nonexistent/nosuch.dic\n")
        app = self.start()
        missing = "見つからない辞書: a.dic、/nonexistent/nosuch.dic"
        app.find(self.main, "label", "辞書ディレクトリが見つかりません: /no/such/dir\n" + missing)
        self.holding("text", "/no/such/dir").text = "/etc/tolq8"
        app.find(self.main, "label", missing)

    def apply_fails(self, extra, old=OLD_CONVDRC, left=("convdrc",)):
        self.sandbox.cleanup()
        self.sandbox = harness.WitnessSandbox({"ja_JP/convdrc": old}, extra=extra)
        app = self.start()
        app.find(self.main, "check box").doActionNamed("click")
        app.click(self.main, "適用")
        app.dismiss_message(harness.CONVDRC_WRITE_FAILED)
        self.assertTrue(self.apply_button().sensitive)
        app.discard_and_quit(self.main)
        self.assertEqual(app.wait_exit(), 0)
        after = os.path.join(self.sandbox.after, "ja_JP")
        with open(os.path.join(after, "convdrc"), "rb") as f:
            self.assertEqual(f.read(), harness.euc(old))
        self.assertEqual(sorted(os.listdir(after)), list(left))

    def test_full_disk_keeps_the_old_file(self):
        # The old file fills the whole tmpfs: no new one fits beside it.
        self.apply_fails(["--etc-size", "8k"], OLD_CONVDRC + "; " + "x" * 7000 + "\n")

    def test_read_only_directory_keeps_the_old_file(self):
        self.apply_fails(["--read-only", "/etc/tolq8/ja_JP"])

    def test_failing_rename_keeps_the_old_file(self):
        # The copy of the old file was made before the rename failed.
        self.apply_fails(["--pin", "/etc/tolq8/ja_JP/convdrc"], left=("convdrc", "convdrc-"))


if __name__ == "__main__":
    harness.main()
