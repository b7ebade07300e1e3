"""The online help: every page's ヘルプ opens the help window at that page's topic."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402

HELP_TITLE = "OnLine Help"
# Each page's tab and the title of its help topic in the shipped help file.
PAGE_TOPICS = [("convd 基本設定", "convd 基本設定"), ("アクセス制御", "アクセス制御"),
               ("読込", "読込"), ("保存", "保存")]


class HelpWindowTest(harness.AppTestCase):
    def topic_title(self, window):
        """The text of the title entry (the first text field of the window)."""
        return self.app.find(window, "text").text

    def wait_hidden(self):
        harness.wait_for(lambda: HELP_TITLE not in self.app.windows(), what="the help hidden")

    def test_help_on_each_page_opens_that_pages_topic(self):
        app = self.start()
        for tab, title in PAGE_TOPICS:
            app.select_tab(tab)
            app.click(self.main, "ヘルプ")
            window = app.window(HELP_TITLE)
            harness.wait_for(lambda: self.topic_title(window) == title, what=f"topic {title}")
            app.click(window, "キャンセル")
            self.wait_hidden()

    def test_the_window_is_kept_and_its_close_box_only_hides_it(self):
        app = self.start()
        app.click(self.main, "ヘルプ")
        window = app.window(HELP_TITLE)
        self.assertEqual(self.topic_title(window), "convd 基本設定")
        app.close_window(HELP_TITLE)
        self.wait_hidden()
        app.select_tab("保存")
        app.click(self.main, "ヘルプ")
        window = app.window(HELP_TITLE)
        harness.wait_for(lambda: self.topic_title(window) == "保存", what="the save topic")
        self.assertEqual(app.windows().count(HELP_TITLE), 1)
        self.assertEqual(len([w for w in app.node.children if w.name == HELP_TITLE]), 1)


if __name__ == "__main__":
    harness.main()
