"""変更内容: what Apply will write, seen before it is written, and the status
line that says afterwards what was written where."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

REVIEW_TITLE = "TolqSysEnv_Server 変更内容"
HOSTS = "convd\tja_JP a.example { \n@alice\n}\n"
HEADER = ";;\n;; tolqhosts : created by cfgmate \n;;\n"


class ReviewTest(harness.AppTestCase):
    etc_files = {"tolqhosts": HOSTS}

    def test_review_shows_the_hunk_and_its_apply_writes_it_and_closes(self):
        app = self.start()
        app.select_tab("アクセス制御")
        self.assertFalse(app.find(self.main, "push button", "変更内容").sensitive)
        self.buttons("追加")[0].doActionNamed("click")
        self.fill_dialog("TolqSysEnv_Server ServerAdd", "b.example", "5680")
        app.click(self.main, "変更内容")
        review = app.window(REVIEW_TITLE)
        shown = app.find(review, "text").text
        self.assertIn("/etc/tolq8/tolqhosts\n@@ -1,3 +1,8 @@\n", shown)
        self.assertIn("+convd\tja_JP b.example/5680 { \n+}\n", shown)
        self.assertEqual(self.sandbox.read("tolqhosts"), harness.euc(HOSTS))  # nothing written yet
        app.click(review, "適用")
        harness.wait_for(lambda: REVIEW_TITLE not in app.windows(), what="the review closed")
        written = self.sandbox.read("tolqhosts").decode("euc_jp")
        self.assertEqual(written, HEADER + HOSTS + "convd\tja_JP b.example/5680 { \n}\n")
        status = app.find(self.main, "status bar")
        harness.wait_for(lambda: any(label.name.startswith("適用しました: /etc/tolq8/tolqhosts（前の版: "
                                                            "/etc/tolq8/tolqhosts-）")
                                     for label in app.find_all(status, "label")),
                         what="the status line")
        self.assertFalse(app.find(self.main, "push button", "変更内容").sensitive)


if __name__ == "__main__":
    harness.main()
