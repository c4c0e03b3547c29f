#!/usr/bin/env python3
"""The interactive calculator on a pseudo-terminal: a session that stores a
variable and a function, evaluates with them, meets an error and goes on,
completes names with Tab, and ends; a second session finds the history and
ends with Ctrl+D. Usage: session_test.py QUILLET"""
import os
import pty
import select
import subprocess
import sys
import tempfile
import time

PROMPT = b"quillet> "
# A prompt after a line end: a fresh line, not a completion's redraw.
NEXT = b"\n" + PROMPT
TIMEOUT = 20.0


class Session:
    def __init__(self, quillet, home):
        self.master, slave = pty.openpty()
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,
            "XDG_STATE_HOME": os.path.join(home, "state"),
            "TERM": "dumb",
        }
        self.proc = subprocess.Popen([quillet], stdin=slave, stdout=slave, stderr=slave,
                                     env=env, cwd=home, close_fds=True)
        os.close(slave)
        self.seen = b""

    def read_until(self, mark):
        """Reads until `mark` has appeared after what was consumed so far."""
        deadline = time.monotonic() + TIMEOUT
        while mark not in self.seen:
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("timed out waiting for %r; the screen shows:\n%s"
                                     % (mark, self.seen.decode(errors="replace")))
            ready, _, _ = select.select([self.master], [], [], left)
            if ready:
                try:
                    data = os.read(self.master, 4096)
                except OSError:
                    data = b""
                if not data:
                    raise AssertionError("the session ended early; it showed:\n%s"
                                         % self.seen.decode(errors="replace"))
                self.seen += data
        before, _, self.seen = self.seen.partition(mark)
        return before.decode(errors="replace")

    def line(self, text):
        """Types a line and returns what the session printed before its next prompt."""
        os.write(self.master, text.encode())
        return self.read_until(NEXT)

    def end(self, keys):
        # The line editor switches the terminal's mode around each prompt, and a
        # key that arrives while it does may be dropped: a key that ended
        # nothing is typed again (as a user would), until the time runs out.
        deadline = time.monotonic() + TIMEOUT
        try:
            while True:
                os.write(self.master, keys)
                try:
                    return self.proc.wait(timeout=1.0)
                except subprocess.TimeoutExpired:
                    if time.monotonic() > deadline:
                        self.proc.kill()
                        raise AssertionError("the session did not end")
                    self.drain()
        finally:
            os.close(self.master)

    def drain(self):
        while select.select([self.master], [], [], 0)[0]:
            try:
                if not os.read(self.master, 4096):
                    return
            except OSError:
                return


def expect(output, wanted, what):
    """`wanted` is one of the lines printed."""
    if wanted not in [line.strip() for line in output.splitlines()]:
        raise AssertionError("%s: no line %r in %r" % (what, wanted, output))


def main():
    quillet = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as home:
        s = Session(quillet, home)
        if ":help" not in s.read_until(NEXT):
            raise AssertionError("no greeting")
        steps = [
            ("Var = r ; 2\r", None),
            ("Funct = area ; pi*r^2\r", None),
            ("area*2\r", "25.1327"),
            ("1/0\r", "Error 8: Division by zero (Module: eval & sDiff)"),
            ("r + 1\r", "3"),  # the error ended nothing
            ("Expr = heav\t(2)*7\r", "7"),  # a built-in function completed
            ("are\t + 1\r", "13.5664"),  # a name in memory completed
            ("Matr = [mA] ; 2 ; 2 ; 1 ; 2 ; 3 ; 4\r", None),
            ("det([mA])\r", "-2"),
            (":dec 2\r", "Results with 2 decimals"),
            ("1/3\r", "0.33"),
            (":mem\r", "Show Memory:"),
            (":bogus\r", "Unknown session command :bogus (:help lists them)"),
            (":help\r", ":quit     end the session (Ctrl+D too)"),
        ]
        for keys, wanted in steps:
            out = s.line(keys)
            if wanted:
                expect(out, wanted, "after %r" % keys)
            if "Error" in out and wanted is None:
                raise AssertionError("%r failed: %r" % (keys, out))
        status = s.end(b":quit\r")
        if status != 0:
            raise AssertionError(":quit ended with status %d" % status)
        history = os.path.join(home, "state", "quillet", "history")
        with open(history, encoding="utf-8", errors="replace") as f:
            expect(f.read(), "area*2", "the history file")

        # A second session: the history is read back, Ctrl+D ends it.
        s = Session(quillet, home)
        s.read_until(NEXT)
        expect(s.line("2^10\r"), "1024", "the second session")
        status = s.end(b"\x04")
        if status != 0:
            raise AssertionError("Ctrl+D ended with status %d" % status)
    print("session: 1 passed, 0 failed")


if __name__ == "__main__":
    main()
