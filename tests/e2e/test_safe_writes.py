"""Settings files that are not plain files, links, and a save cut short."""
import os
import signal
import stat
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

OLD_HOSTS = ("; old comment\n"
             "convd ja_JP old.example {\n"
             "@alice\n"
             "}\n")
# Messages 59, 66, 130 and 131 (the beginnings of the last two).
READ_FAILED = "ファイルの読み込みに失敗しました。"
READ_DONE = "ファイルを読み込みました。"
PLANTED_LINK = "このシンボリックリンクは、誰でも書き込めるディレクトリにほかのユーザが置いたもの"
NOT_REGULAR = "通常のファイルではありません"
NOBODY = 65534


class SafeWritesTest(harness.AppTestCase):
    def add_server(self):
        self.app.select_tab("アクセス制御")
        self.buttons("追加")[0].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server ServerAdd", "new.example", "7000")

    def apply(self):
        apply = self.app.find(self.main, "push button", "適用")
        self.app.click(self.main, "適用")
        harness.wait_for(lambda: not apply.sensitive, what="Apply insensitive")

    def test_reading_a_fifo_fails_at_once(self):
        fifo = os.path.join(self.sandbox.root, "fifo")
        os.mkfifo(fifo)
        app = self.start()
        app.select_tab("読込")
        combo = app.find(self.main, "combo box")
        path = next(t for t in app.find_all(self.main, "text") if t.parent.roleName != "combo box")
        path.text = fifo
        for item, name in enumerate(["convdrc", "tolqhosts"]):
            combo.querySelection().selectChild(item)
            harness.wait_for(lambda: app.find(combo, "text").text == name, what=f"choice {name}")
            with app.killed_after(10):
                app.click(self.main, "読込")
                app.dismiss_message(READ_FAILED)

    def test_a_fifo_at_tolqhosts_does_not_stop_start_up(self):
        os.mkfifo(self.sandbox.path("tolqhosts"))
        self.app = harness.App(self.sandbox, ready=False)
        with self.app.killed_after(30):
            self.app.wait_ready()
            self.main = self.app.window(harness.MAIN_TITLE)
            self.app.select_tab("アクセス制御")
            page = self.app.find(self.main, "page tab", "アクセス制御")
            self.assertTrue(self.app.find_all(page, "table"), "the page holds the lists")
            self.assertEqual(self.app.find_all(page, "table cell"), [])

    def test_apply_replaces_the_file_a_link_points_to_and_keeps_the_old_one(self):
        self.sandbox.write("hosts.d/tolqhosts", OLD_HOSTS)
        os.symlink("hosts.d/tolqhosts", self.sandbox.path("tolqhosts"))
        self.start()
        self.add_server()
        self.apply()
        self.assertEqual(os.readlink(self.sandbox.path("tolqhosts")), "hosts.d/tolqhosts")
        written = self.sandbox.read("hosts.d/tolqhosts")
        self.assertIn(b"convd\tja_JP new.example/7000 { \n", written)
        # The previous version lies beside the standard path, whatever it links to.
        self.assertEqual(self.sandbox.read("tolqhosts-"), harness.euc(OLD_HOSTS))
        self.assertEqual(os.listdir(self.sandbox.path("hosts.d")), ["tolqhosts"])
        self.assertEqual(sorted(os.listdir(self.sandbox.etc)),
                         ["hosts.d", "ja_JP", "tolqhosts", "tolqhosts-"])

    def test_saving_through_a_link_another_user_planted_is_refused(self):
        shared = os.path.join(self.sandbox.root, "shared")
        os.mkdir(shared)
        os.chmod(shared, 0o1777)
        victim = os.path.join(self.sandbox.root, "victim")
        with open(victim, "wb") as f:
            f.write(b"root only\n")
        os.chmod(victim, 0o600)
        link = os.path.join(shared, "x")
        os.symlink(victim, link)
        os.lchown(link, NOBODY, NOBODY)
        app = self.start()
        app.select_tab("保存")
        self.choose(1)
        self.set_path(link)
        app.click(self.main, "保存")
        app.dismiss_message(link + "\n" + PLANTED_LINK)
        with open(victim, "rb") as f:
            self.assertEqual(f.read(), b"root only\n")
        self.assertEqual(os.stat(victim).st_mode & 0o777, 0o600)
        self.assertEqual(os.listdir(shared), ["x"])

    def test_apply_does_not_replace_a_device_tolqhosts_links_to(self):
        node = os.path.join(self.sandbox.root, "null")
        try:
            os.mknod(node, 0o666 | stat.S_IFCHR, os.makedev(1, 3))
        except PermissionError:
            self.skipTest("mknod is not allowed here")
        os.symlink(node, self.sandbox.path("tolqhosts"))
        self.start()
        self.add_server()
        self.app.click(self.main, "適用")
        dialog = self.app.message_dialog(harness.TOLQHOSTS_WRITE_FAILED)
        labels = [label.name for label in self.app.find_all(dialog, "label")]
        self.assertTrue(any(node + "\n" + NOT_REGULAR in label for label in labels), labels)
        self.app.click(dialog, "ＯＫ")
        self.assertTrue(stat.S_ISCHR(os.stat(node).st_mode))
        self.assertEqual(sorted(os.listdir(self.sandbox.etc)), ["ja_JP", "tolqhosts"])

    def test_a_file_swapped_after_it_was_read_is_not_carried_over(self):
        home = os.path.join(self.sandbox.root, "home")
        os.mkdir(home)
        os.chown(home, NOBODY, NOBODY)
        source = os.path.join(home, "tolqhosts")
        with open(source, "wb") as f:
            f.write(harness.euc(OLD_HOSTS))
        secret = os.path.join(self.sandbox.root, "secret")
        with open(secret, "wb") as f:
            f.write(b"; root's secret\n")
        os.chmod(secret, 0o600)
        app = self.start()
        app.select_tab("読込")
        self.choose(1)
        self.set_path(source)
        app.click(self.main, "読込")
        app.dismiss_message(READ_DONE)
        # The directory's owner swaps the file for a link to a root-only one.
        os.unlink(source)
        os.symlink(secret, source)
        os.lchown(source, NOBODY, NOBODY)
        self.apply()
        written = self.sandbox.read("tolqhosts")
        self.assertNotIn(b"secret", written)
        self.assertIn(b"; old comment\nconvd ja_JP old.example {\n@alice\n}\n", written)

    def test_apply_asks_before_overwriting_an_outside_change(self):
        self.sandbox.write("tolqhosts", OLD_HOSTS)
        app = self.start()
        self.add_server()
        outside = OLD_HOSTS + "; added by another program\n"
        self.sandbox.write("tolqhosts", outside)
        app.focus_window(harness.MAIN_TITLE)  # as a click on 適用 would
        app.click(self.main, "適用")
        app.message_dialog("/etc/tolq8/tolqhosts")
        app.keys("Return")  # the question's default keeps the other writer's file
        harness.wait_for(lambda: app.windows() == [harness.MAIN_TITLE], what="the question answered")
        self.assertTrue(app.find(self.main, "push button", "適用").sensitive)
        self.assertEqual(self.sandbox.read("tolqhosts"), harness.euc(outside))
        app.click(self.main, "適用")
        app.click(app.message_dialog("/etc/tolq8/tolqhosts"), "上書き")
        harness.wait_for(lambda: not app.find(self.main, "push button", "適用").sensitive,
                         what="Apply insensitive")
        self.assertIn(b"new.example/7000", self.sandbox.read("tolqhosts"))
        self.assertEqual(self.sandbox.read("tolqhosts-"), harness.euc(outside))

    def test_sigterm_during_apply_leaves_no_temporary_file(self):
        # Megabytes of comments, and each sync slowed down: the save lasts seconds.
        old = OLD_HOSTS + ("; " + "x" * 1000 + "\n") * 4000
        self.sandbox.write("tolqhosts", old)
        slow = ["strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=fsync",
                "-e", "inject=fsync:delay_exit=3000000", harness.PROGRAM]
        self.app = harness.App(self.sandbox, command=slow)
        self.main = self.app.window(harness.MAIN_TITLE)
        self.add_server()
        program = self.app.node.get_process_id()
        self.app.click(self.main, "適用")

        def temporary_files():
            return [n for n in os.listdir(self.sandbox.etc) if n.startswith("tmp")]
        deadline = time.time() + 20
        while not temporary_files() and time.time() < deadline:
            time.sleep(0.05)
        self.assertTrue(temporary_files(), "the save started")
        os.kill(program, signal.SIGTERM)
        self.assertEqual(self.app.wait_exit(), 128 + signal.SIGTERM)
        self.assertEqual(sorted(os.listdir(self.sandbox.etc)), ["ja_JP", "tolqhosts"])
        self.assertEqual(self.sandbox.read("tolqhosts"), harness.euc(old))


if __name__ == "__main__":
    harness.main()
