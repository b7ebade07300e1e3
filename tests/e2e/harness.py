"""Starts the installed tolqsysenv_server in the sandbox and drives it through
the accessibility tree, as a user would."""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

STAGE = os.environ.get("TOLQ_STAGE", "")
SCRIPTS = os.environ.get("TOLQ_SCRIPTS", os.path.join(os.path.dirname(__file__), "../../scripts"))
PROGRAM = os.path.join(STAGE, "usr/bin/tolqsysenv_server")
APP_NAME = "tolqsysenv_server"
MAIN_TITLE = "TolqSysEnv_Server"
SKIP = 77
LIST_TITLE_HEIGHT = 27
# The beginnings of messages 68 and 129, shown when Apply cannot write convdrc
# (so nothing was written) or tolqhosts (when convdrc had nothing to write).
CONVDRC_WRITE_FAILED = "/etc/tolq8/ja_JP/convdrc の書き込みに失敗しました。"
TOLQHOSTS_WRITE_FAILED = "/etc/tolq8/tolqhosts の書き込みに失敗しました。"
# Message 138, asked when quitting with changes not applied.
QUIT_QUESTION = "適用していない変更があります。変更を破棄して終了しますか？"


def euc(text):
    return text.encode("euc_jp")


def require_sandbox():
    """Exits with the runner's 'skipped' status where the sandbox cannot run."""
    if os.geteuid() != 0:
        print("skipped: the sandbox needs root", file=sys.stderr)
        sys.exit(SKIP)
    if not os.path.exists(PROGRAM):
        print(f"skipped: no staged program at {PROGRAM}", file=sys.stderr)
        sys.exit(SKIP)


class Sandbox:
    """A scratch /etc/tolq8 and the command line that runs a program inside it."""

    def __init__(self, etc_files=None, passwd=None, extra=()):
        self.root = tempfile.mkdtemp(prefix="tolq-e2e.")
        self.etc = os.path.join(self.root, "etc")
        os.makedirs(os.path.join(self.etc, "ja_JP"))
        for name, content in (etc_files or {}).items():
            self.write(name, content)
        self.passwd = None
        if passwd is not None:
            self.passwd = os.path.join(self.root, "passwd")
            with open(self.passwd, "w") as f:
                f.write(passwd)
        self.extra = list(extra)

    def path(self, name):
        return os.path.join(self.etc, name)

    def write(self, name, content):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content if isinstance(content, bytes) else euc(content))

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def command(self, *args):
        cmd = [os.path.join(SCRIPTS, "sandbox"), "--stage", STAGE, "--etc", self.etc]
        if self.passwd:
            cmd += ["--passwd", self.passwd]
        return cmd + self.extra + ["--"] + list(args)

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


class WitnessSandbox(Sandbox):
    """After the program ends, copies /etc/tolq8 as the program left it (even a
    tmpfs that lives only in the sandbox) to self.after."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.after = os.path.join(self.root, "after")

    def command(self, *args):
        script = ('"$@"; status=$?; mkdir -p "$AFTER"; cp -a /etc/tolq8/. "$AFTER"/; '
                  'exit $status')
        return super().command("/usr/bin/env", f"AFTER={self.after}", "/bin/sh", "-c", script,
                               "sh", *args)


def run_program(args, env=None, sandbox=None):
    """Runs the program to its end (no window expected); returns the completed process."""
    box = sandbox or Sandbox()
    try:
        return subprocess.run(box.command(PROGRAM, *args), capture_output=True, timeout=60,
                              env=env if env is not None else os.environ.copy())
    finally:
        if sandbox is None:
            box.cleanup()


def wait_for(predicate, timeout=20.0, what="condition"):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            value = predicate()
            if value:
                return value
        except Exception:  # the tree changes under us while the program works
            pass
        time.sleep(0.2)
    raise AssertionError(f"timed out waiting for {what}")


def descendants(pid):
    """The process ids below pid (the sandbox runs the program as a grandchild)."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
            except OSError:
                pass
    found, frontier = set(), {pid}
    while frontier:
        frontier = {child for child, parent in parents.items() if parent in frontier} - found
        found |= frontier
    return found


class App:
    """The running program and its accessibility tree. command is what runs the
    program (it may put a tool before it); without ready, wait_ready() is left to
    the caller."""

    def __init__(self, sandbox, args=(), command=(PROGRAM,), ready=True):
        from dogtail import config, tree  # only importable by Debian's python3
        config.config.searchCutoffCount = 5
        config.config.defaultDelay = 0.2
        config.config.actionDelay = 0.2
        config.config.typingDelay = 0.02
        config.config.logDebugToStdOut = False
        config.config.logDebugToFile = False
        self.tree = tree
        self.sandbox = sandbox
        self.process = subprocess.Popen(sandbox.command(*command, *args), start_new_session=True,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.node = None
        if ready:
            self.wait_ready()

    def wait_ready(self):
        self.node = wait_for(self._find_app, what="the program in the accessibility tree")

    def _find_app(self):
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended with {self.process.returncode}: "
                                 f"{self.process.stderr.read().decode(errors='replace')}")
        ours = descendants(self.process.pid)
        for child in self.tree.root.children:
            if child.name == APP_NAME and child.get_process_id() in ours:
                return child
        return None

    def window(self, title, timeout=20.0):
        return wait_for(lambda: next((w for w in self.node.children
                                      if w.name == title and w.showing), None),
                        timeout, f"window {title!r}")

    def windows(self):
        return [w.name for w in self.node.children if w.showing]

    def find(self, parent, role, name=None, timeout=20.0):
        def search():
            return parent.findChild(
                lambda n: n.roleName == role and (name is None or n.name == name) and n.showing,
                retry=False, requireResult=False)
        return wait_for(search, timeout, f"{role} {name!r}")

    def find_all(self, parent, role):
        return parent.findChildren(lambda n: n.roleName == role and n.showing)

    def message_dialog(self, text, timeout=20.0):
        """The open window showing a label that begins with text (a message dialog)."""
        def dialog():
            return next((w for w in self.node.children if w.showing and
                         any(label.name.startswith(text) for label in self.find_all(w, "label"))),
                        None)
        return wait_for(dialog, timeout, f"message {text!r}")

    def dismiss_message(self, text):
        """Waits for the message dialog showing text and presses its ＯＫ."""
        self.click(self.message_dialog(text), "ＯＫ")

    def discard_and_quit(self, main):
        """キャンセル with changes not applied, answered 破棄して終了."""
        self.click(main, "キャンセル")
        self.click(self.message_dialog(QUIT_QUESTION), "破棄して終了")

    def click(self, parent, name):
        self.find(parent, "push button", name).doActionNamed("click")

    def select_tab(self, name):
        self.find(self.window(MAIN_TITLE), "page tab", name).select()

    def window_id(self, title):
        """The X window of the program's window with that title."""
        ids = wait_for(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
            capture_output=True, text=True).stdout.split(), what=f"X window {title!r}")
        return int(ids[0])

    def focus_window(self, title):
        """Gives the window the keyboard focus, as a click on it would: keys
        reach a window only once it has the focus."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(self.window_id(title))],
                       check=True)

    def keys(self, *names):
        """Presses keys (xdotool names, such as Tab, Return or ctrl+a), one after another."""
        for name in names:
            subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
            time.sleep(0.15)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def focused(self, parent):
        """The node of parent that has the keyboard focus, or None."""
        return parent.findChild(lambda n: n.focused, retry=False, requireResult=False)

    def tab_to(self, parent, role, name, description=None, limit=40):
        """Presses Tab until the node of that role and name (and description)
        has the keyboard focus."""
        def wanted(node):
            return (node is not None and node.roleName == role and node.name == name and
                    (description is None or node.description == description))
        for _ in range(limit):
            if wanted(self.focused(parent)):
                return
            self.keys("Tab")
        raise AssertionError(f"Tab never reached {role} {name!r} {description or ''}")

    def close_window(self, title):
        """Sends the window the close request of a window manager's close box."""
        subprocess.run([os.environ["TOLQ_CLOSE_WINDOW"], title], check=True)

    @contextlib.contextmanager
    def killed_after(self, seconds):
        """Kills the program when the steps inside take longer than seconds: a
        program that hangs stops answering, and a query to it could wait forever."""
        fired = threading.Event()

        def kill():
            fired.set()
            os.killpg(self.process.pid, signal.SIGKILL)

        timer = threading.Timer(seconds, kill)
        timer.start()
        try:
            yield
        finally:
            timer.cancel()
            if fired.is_set():
                raise AssertionError(f"the program hung and was killed after {seconds} s")

    def wait_exit(self, timeout=20.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.close()
            raise AssertionError("the program did not end")

    def close(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()
        self.process.stdout.close()
        self.process.stderr.close()


class AppTestCase(unittest.TestCase):
    """Each test starts with a fresh sandbox; self.start() runs the program in it."""

    etc_files = {}

    def setUp(self):
        self.sandbox = Sandbox(dict(self.etc_files))
        self.app = None

    def tearDown(self):
        if self.app:
            self.app.close()
        self.sandbox.cleanup()

    def start(self, args=()):
        self.app = App(self.sandbox, args)
        self.main = self.app.window(MAIN_TITLE)
        return self.app

    def click_cell(self, name):
        """Clicks the list row holding a cell of that text, as a user would: a row
        selected through the accessibility interface would not tell the program."""
        from dogtail import rawinput
        cell = self.app.find(self.main, "table cell", name)
        (x, y), (width, height) = cell.position, cell.size
        # A list's cells report their place as if its title row were not there.
        rawinput.click(x + width // 2, y + height // 2 + LIST_TITLE_HEIGHT)

    def choose(self, item):
        """Selects "convdrc" (0) or "tolqhosts" (1) in the current page's file choice."""
        combo = self.app.find(self.main, "combo box")
        combo.querySelection().selectChild(item)
        names = ["convdrc", "tolqhosts"]
        wait_for(lambda: self.app.find(combo, "text").text == names[item],
                 what=f"choice {names[item]}")

    def set_path(self, path):
        """Types path into the current read or save page's path entry."""
        entry = next(t for t in self.app.find_all(self.main, "text")
                     if t.parent.roleName != "combo box")
        entry.text = path

    def buttons(self, name):
        """The buttons of that name in the main window, in the order they were packed."""
        return [b for b in self.app.find_all(self.main, "push button") if b.name == name]

    def fill_dialog(self, title, first, second):
        """Types into the two entries of a small dialog, top one first, and presses ＯＫ."""
        dialog = self.app.window(title)
        entries = sorted(self.app.find_all(dialog, "text"), key=lambda e: e.position[1])
        self.assertEqual(len(entries), 2)
        entries[0].text = first
        entries[1].text = second
        self.app.click(dialog, "ＯＫ")
        wait_for(lambda: title not in self.app.windows(), what=f"{title} closed")


def main():
    require_sandbox()
    unittest.main(verbosity=2)
