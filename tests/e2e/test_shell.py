"""The application shell: window, tabs, quitting, command line and the root check."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import MAIN_TITLE, euc  # noqa: E402

TABS = ["convd 基本設定", "アクセス制御", "読込", "保存"]
CONVDRC = "convd_dir\t\t/var/dic\nreadfile\t\ta.dic\n"


class MainWindowTest(harness.AppTestCase):
    def test_window_shows_title_and_tabs_in_order(self):
        app = self.start()
        tabs = [t.name for t in app.find_all(self.main, "page tab")]
        self.assertEqual(tabs, TABS)
        apply = app.find(self.main, "push button", "適用")
        self.assertFalse(apply.sensitive, "Apply starts insensitive")

    def test_cancel_exits_with_status_zero(self):
        app = self.start()
        app.click(self.main, "キャンセル")
        self.assertEqual(app.wait_exit(), 0)

    def test_closing_the_window_exits_with_status_zero(self):
        app = self.start()
        app.close_window(MAIN_TITLE)
        self.assertEqual(app.wait_exit(), 0)

    def test_quitting_with_an_edit_asks_first(self):
        self.sandbox.write("ja_JP/convdrc", CONVDRC)
        app = self.start()
        entry = harness.wait_for(lambda: next(t for t in app.find_all(self.main, "text")
                                              if t.text == "/var/dic"), what="the directory")
        entry.text = "/var/edited"
        app.click(self.main, "キャンセル")
        app.click(app.message_dialog(harness.QUIT_QUESTION), "戻る")
        harness.wait_for(lambda: app.windows() == [MAIN_TITLE], what="the question closed")
        self.assertEqual(entry.text, "/var/edited")
        self.assertTrue(app.find(self.main, "push button", "適用").sensitive)
        app.close_window(MAIN_TITLE)
        app.click(app.message_dialog(harness.QUIT_QUESTION), "破棄して終了")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.sandbox.read("ja_JP/convdrc"), euc(CONVDRC))
        self.assertEqual(os.listdir(self.sandbox.path("ja_JP")), ["convdrc"])

    def test_ok_without_changes_exits_and_writes_nothing(self):
        app = self.start()
        app.click(self.main, "ＯＫ")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(sorted(os.listdir(self.sandbox.etc)), ["ja_JP"])
        self.assertEqual(os.listdir(self.sandbox.path("ja_JP")), [])


class CommandLineTest(harness.unittest.TestCase):
    def banner(self, lang):
        env = os.environ.copy()
        env.pop("LANG", None)
        if lang is not None:
            env["LANG"] = lang
        return harness.run_program(["-v"], env=env)

    def test_version_prints_the_centred_banner_and_exits_1(self):
        result = self.banner(None)
        self.assertEqual(result.returncode, 1)
        lines = result.stdout.decode("ascii").split("\n")
        self.assertEqual(len(lines), 7)
        self.assertEqual(lines[0], " " * 30)
        self.assertEqual(lines[1], " " * 18 + "tolqsysenv_server(Tolq8)")
        self.assertEqual(lines[2], " " * 18 + "Version 1.02 2016/03/01")
        self.assertEqual(lines[3], " " * 30)
        self.assertEqual(lines[5], " " * 30)
        self.assertEqual(lines[6], "")

    def test_banner_is_the_same_in_utf8_and_sjis_terminals(self):
        plain = self.banner(None).stdout
        for lang in ("ja_JP.UTF-8", "ja_JP.SJIS"):
            result = self.banner(lang)
            self.assertEqual(result.returncode, 1, lang)
            self.assertEqual(result.stdout, plain, lang)  # the banner is ASCII

    def test_display_pair_then_version(self):
        result = harness.run_program(["--display", ":99", "-v"])
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"Version 1.02", result.stdout)

    def test_bad_options_print_usage_and_exit_1(self):
        for args in (["-x"], ["--display"], ["--display", "-v"], ["extra"]):
            result = harness.run_program(args)
            self.assertEqual(result.returncode, 1, args)
            self.assertEqual(result.stderr.decode().split("\n")[-3:],
                             [f"Usage: {harness.PROGRAM} -v ", "-v show version ", ""], args)
            self.assertEqual(result.stdout, b"", args)


class RootCheckTest(harness.unittest.TestCase):
    def test_user_not_named_root_sees_message_51_and_exits_255(self):
        with open("/etc/passwd") as f:
            lines = [l for l in f.read().split("\n") if l and not l.startswith("root:")]
        passwd = "toor:x:0:0:not root by name:/root:/bin/sh\n" + "\n".join(lines) + "\n"
        sandbox = harness.Sandbox(passwd=passwd)
        app = None
        try:
            app = harness.App(sandbox)
            dialog = app.message_dialog("このプログラムは root ユーザだけが実行できます。")
            self.assertNotIn(MAIN_TITLE, app.windows())
            app.click(dialog, "ＯＫ")
            self.assertEqual(app.wait_exit(), 255)
        finally:
            if app:
                app.close()
            sandbox.cleanup()


if __name__ == "__main__":
    harness.main()
