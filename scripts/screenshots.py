"""Takes the README's pictures: each of the four pages, the 変更内容 window
after an edit, and the help window, with the sample settings files, in the
sandbox on a virtual display.
Run through scripts/screenshots.sh."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../tests/e2e"))
import harness  # noqa: E402

SAMPLES = os.path.join(os.path.dirname(__file__), "../data/samples/etc")
OUT = sys.argv[1]
REVIEW_TITLE = "TolqSysEnv_Server 変更内容"
PAGES = [("convd 基本設定", "convd-page"), ("アクセス制御", "access-page"),
         ("読込", "read-page"), ("保存", "save-page")]


def window_id(title):
    info = subprocess.run(["xwininfo", "-name", title], capture_output=True, text=True,
                          check=True).stdout
    return next(line.split()[3] for line in info.splitlines() if "Window id:" in line)


def shoot(title, name):
    time.sleep(0.5)  # let the window finish drawing
    subprocess.run(["import", "-window", window_id(title), os.path.join(OUT, name + ".png")],
                   check=True)


def main():
    harness.require_sandbox()
    files = {}
    for folder, _, names in os.walk(SAMPLES):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, SAMPLES)] = f.read()
    sandbox = harness.Sandbox(files)
    app = harness.App(sandbox)
    try:
        main_window = app.window(harness.MAIN_TITLE)
        for tab, name in PAGES:
            app.select_tab(tab)
            if name == "access-page":  # show a server's permitted hosts and users
                app.find_all(main_window, "table")[0].queryTable().addRowSelection(1)
            shoot(harness.MAIN_TITLE, name)
        app.select_tab(PAGES[0][0])
        # An edit to review: another automatic save count and one more 英数 character.
        for role, old, new in (("spin button", "5", "10"), ("text", "- _ .", "- _ . +")):
            next(n for n in app.find_all(main_window, role) if n.text == old).text = new
        app.click(main_window, "変更内容")
        review = app.window(REVIEW_TITLE)
        shoot(REVIEW_TITLE, "review-window")
        app.click(review, "閉じる")
        harness.wait_for(lambda: REVIEW_TITLE not in app.windows(), what="the review closed")
        app.click(main_window, "ヘルプ")
        help_window = app.window("OnLine Help")
        app.find(help_window, "toggle button", "目次").doActionNamed("click")
        shoot("OnLine Help", "help-window")
    finally:
        app.close()
        sandbox.cleanup()


if __name__ == "__main__":
    main()
