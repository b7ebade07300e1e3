"""The access-control page: adding a server and a permitted pair, Apply, what
Apply keeps as it was, and Apply on a file system that refuses the write."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

OLD_HOSTS = (";; old header\n"
             "; old comment\n"
             "convd ja_JP old.example {\n"
             "@alice\n"
             "}\n"
             "\n"
             "; tail comment\n")
HEADER = ";;\n;; tolqhosts : created by cfgmate \n;;\n"
NEW_HOSTS = (HEADER +
             "; old comment\n"
             "convd ja_JP old.example {\n"
             "@alice\n"
             "}\n"
             "; tail comment\n"
             "convd\tja_JP new.example/7000 { \n"
             "client.example:carol\n"
             "}\n")
class AccessPageTest(harness.AppTestCase):
    etc_files = {"tolqhosts": OLD_HOSTS}

    def add_server_and_pair(self):
        self.app.select_tab("アクセス制御")
        # The server list's 追加 is packed before the user list's.
        self.buttons("追加")[0].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server ServerAdd", "new.example", "7000")
        cells = [c.name for c in self.app.find_all(self.main, "table cell")]
        self.assertIn("new.example", cells)
        self.assertIn("7000", cells)
        self.buttons("追加")[1].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server AccessAdd", "client.example", "carol")

    def test_added_server_and_pair_are_written_with_the_old_comments(self):
        app = self.start()
        self.add_server_and_pair()
        apply = app.find(self.main, "push button", "適用")
        self.assertTrue(apply.sensitive)
        app.click(self.main, "適用")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")
        self.assertEqual(self.sandbox.read("tolqhosts").decode("euc_jp"), NEW_HOSTS)
        # Apply keeps the previous version beside it.
        self.assertEqual(sorted(os.listdir(self.sandbox.etc)),
                         ["ja_JP", "tolqhosts", "tolqhosts-"])
        self.assertEqual(os.stat(self.sandbox.path("tolqhosts")).st_mode & 0o777, 0o644)

    def test_what_the_page_does_not_show_is_kept_in_place(self):
        servers = "".join(f"convd ja_JP s{i}.example {{\n@u{i}\n}}\n" for i in range(60))
        old = ("; " + "長い注釈" * 300 + "\n"
               "convd zh_CN other.example {\n@li\n\n}\n"
               "tolqds ja_JP dict.example {\nclient:alice\n@bob\n}\n" + servers)
        self.sandbox.write("tolqhosts", old)
        app = self.start()
        app.dismiss_message("読み込んだ tolqhosts には")
        app.select_tab("アクセス制御")
        self.click_cell("s0.example")
        harness.wait_for(lambda: app.find(self.main, "table cell", "u0"), what="s0's users")
        self.buttons("追加")[1].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server AccessAdd", "client.example", "carol")
        app.click(self.main, "適用")
        harness.wait_for(lambda: not app.find(self.main, "push button", "適用").sensitive,
                         what="Apply insensitive")
        new = self.sandbox.read("tolqhosts").decode("euc_jp").split("\n")
        kept = iter(new)
        for line in old.split("\n"):
            self.assertIn(line, kept, "every old line, in its place")
        self.assertEqual(new[new.index("@u0") + 1], "client.example:carol")

    def test_a_block_not_edited_is_copied_byte_for_byte(self):
        untouched = ("convd  ja_JP  a.example {  own spacing\n"
                     "; note about bob\n"
                     "@bob\n"
                     "\n"
                     "client:carol\n"
                     "}\n")
        edited = "convd ja_JP b.example {\n; note about dave\n@dave\n}\n"
        self.sandbox.write("tolqhosts", untouched + edited)
        app = self.start()
        app.select_tab("アクセス制御")
        self.click_cell("b.example")
        harness.wait_for(lambda: app.find(self.main, "table cell", "dave"), what="b's users")
        self.buttons("追加")[1].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server AccessAdd", "client.example", "erin")
        app.click(self.main, "適用")
        harness.wait_for(lambda: not app.find(self.main, "push button", "適用").sensitive,
                         what="Apply insensitive")
        self.assertEqual(self.sandbox.read("tolqhosts").decode("euc_jp"),
                         HEADER + untouched +
                         "convd ja_JP b.example {\n; note about dave\n@dave\n"
                         "client.example:erin\n}\n")

    def apply_fails(self, extra, old=OLD_HOSTS, left=("ja_JP", "tolqhosts")):
        self.sandbox.cleanup()
        self.sandbox = harness.WitnessSandbox({"tolqhosts": old}, extra=extra)
        app = self.start()
        self.add_server_and_pair()
        app.click(self.main, "適用")
        app.dismiss_message(harness.TOLQHOSTS_WRITE_FAILED)
        self.assertTrue(app.find(self.main, "push button", "適用").sensitive)
        app.discard_and_quit(self.main)
        self.assertEqual(app.wait_exit(), 0)
        with open(os.path.join(self.sandbox.after, "tolqhosts"), "rb") as f:
            self.assertEqual(f.read(), harness.euc(old))
        self.assertEqual(sorted(os.listdir(self.sandbox.after)), list(left))

    def test_full_disk_keeps_the_old_file(self):
        # The old file fills the whole tmpfs: no new one fits beside it.
        self.apply_fails(["--etc-size", "8k"], OLD_HOSTS + "; " + "x" * 7000 + "\n")

    def test_read_only_directory_keeps_the_old_file(self):
        self.apply_fails(["--read-only", "/etc/tolq8"])

    def test_failing_rename_keeps_the_old_file(self):
        # The copy of the old file was made before the rename failed.
        self.apply_fails(["--pin", "/etc/tolq8/tolqhosts"],
                         left=("ja_JP", "tolqhosts", "tolqhosts-"))


if __name__ == "__main__":
    harness.main()
