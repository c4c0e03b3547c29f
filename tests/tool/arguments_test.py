#!/usr/bin/env python3
"""The quillet command as a user calls it: arguments, statuses, messages,
files and the clipboard, each case run through the built tool in a folder of
its own. Usage: arguments_test.py QUILLET"""
import os
import subprocess
import sys
import tempfile

# The echo line of a command is padded with 21 blanks.
PAD = " " * 21
SEVEN_HALVES = "Ln 1: EXPR = 7/2:" + PAD + "\n Result => Number = 3.5\n"
HINT = "quillet: no input: give /i FILE, - for standard input, /sel:'...' or -e FORMULA; quillet --help"
SCRIPT = "Expr = 1+1\r\n"

# Fake clipboard tool: prints a script for -o, keeps what it is given otherwise.
FAKE_XCLIP = """#!/bin/sh
if [ "$1" = "-o" ]; then printf 'Expr = 6/4'; exit 0; fi
/bin/cat > "%s/written.txt"
"""

# (name, arguments, standard input, environment, status, standard output
#  (exact, or None), a text of the standard error (or None), checks of files)
CASES = [
    # A "/" in a selection is a division, however the shell split the text.
    ("division", ["/noh", "/sel", "Expr = 7/2"], None, {}, 0, SEVEN_HALVES, None, {}),
    ("division split", ["/sel:Expr", "=", "7/2"], None, {}, 0, SEVEN_HALVES, None, {}),
    ("division quoted", ["/sel:'Expr = 7/2'"], None, {}, 0, SEVEN_HALVES, None, {}),
    ("selection with a parameter's letters", ["/sel", "Var = no ; 6", "\r\nExpr = 3/no"], None, {}, 0,
     None, None, {}),
    # Parameter words as the parameter line knows them: by their first two letters.
    ("long word", ["/i", "s.zrt", "/o", "out.zrt", "/nohead"], None, {}, 0, "", None,
     {"out.zrt": ("Ln 1: EXPR = 1+1:", "\r\n", "'Incorporates")}),
    ("unknown word", ["/i", "s.zrt", "/o", "out.zrt", "/bogus"], None, {}, 5, "",
     '"/bogus" is neither a parameter nor a file', {"out.zrt": None}),
    ("word glued to /i", ["/i:s.zrt"], None, {}, 5, "", '"/i:s.zrt" is neither a parameter nor a file', {}),
    # Nothing to run: a hint, status 5; a file named alone runs.
    ("lone file", ["s.zrt", "/noh"], None, {}, 0, "Ln 1: EXPR = 1+1:" + PAD + "\n Result => Number = 2\n",
     None, {}),
    ("missing file", ["nothere.zrt"], None, {}, 5, "", '"nothere.zrt" is neither a parameter nor a file', {}),
    ("unknown option", ["--foo"], None, {}, 5, "", "unknown option --foo", {}),
    ("no input", ["/noh"], None, {}, 5, "", HINT, {}),
    ("second file", ["s.zrt", "s.zrt"], None, {}, 5, "", "the input is given already", {}),
    ("missing input file", ["/i", "gone.zrt"], None, {}, 2, None, None, {}),
    # -e with parameters before and after it.
    ("-e then /dec", ["-e", "1/3", "/dec:6"], None, {}, 0, "0.333333\n", None, {}),
    ("/dec then -e", ["/dec:6", "-e", "1/3"], None, {}, 0, "0.333333\n", None, {}),
    ("-e split formula", ["-e", "2", "*", "3", "/rset"], None, {}, 0, "6\n", None, {}),
    ("-e log", ["-e", "2^10", "/log:run.log"], None, {}, 0, "1024\n", None, {"run.log": ("Expr = 2^10",)}),
    ("-e error", ["-e", "foo(1)"], None, {}, 1, "", "Error 4: Undefined function (Module: eval)", {}),
    ("-e alone", ["-e"], None, {}, 5, "", "-e needs a formula", {}),
    # Standard input honours /o and /a.
    ("stdin to file", ["-", "/o", "o.zrt"], "Expr = 2/8\n", {}, 0, "", None,
     {"o.zrt": ("Ln 1: EXPR = 2/8:", " Result => Number = 0.25\r\n", "'--- End Of BatchRun")}),
    ("stdin appended", ["-", "/a", "s.zrt"], "Expr = 3/4\n", {}, 0, "", None,
     {"s.zrt": (SCRIPT + "Ln 1: EXPR = 3/4:",)}),
    ("stdin printed", ["-"], "Expr = 2/8\n", {}, 0, "Ln 1: EXPR = 2/8:" + PAD + "\n Result => Number = 0.25\n",
     None, {}),
    # Script errors change the status only under --strict.
    ("failed line", ["-"], "Expr = 1/0\n", {}, 0, None, None, {}),
    ("failed line strict", ["--strict", "-"], "Expr = 1/0\n", {}, 6, None, None, {}),
    ("strict without failure", ["--strict", "-"], "Expr = 1\n", {}, 0, None, None, {}),
    # Terminal and pipe text ends lines with LF; --help names the statuses.
    ("help screen", ["/h"], None, {}, 0, None, None, {}),
    ("--help", ["--help"], None, {}, 0, None, None, {}),
    # The clipboard through the desktop's tools.
    ("no clipboard tool", ["/gclp"], None, {"PATH": "{empty}", "DISPLAY": ":9"}, 5, "",
     "no clipboard tool: install wl-clipboard (Wayland) or xclip (X)", {}),
    ("no display", ["/sel:Expr = 2", "/sclp"], None, {"PATH": "{empty}"}, 5, None,
     "no desktop session", {}),
    ("fake xclip", ["/noh", "/gclp", "/sclp"], None, {"PATH": "{fake}", "DISPLAY": ":9"}, 0,
     "Ln 1: EXPR = 6/4:" + PAD + "\n Result => Number = 1.5\n", None,
     {"fake/written.txt": (" Result => Number = 1.5\r\n",)}),
    ("clipboard before /o", ["/gclp", "/o", "c.zrt"], None, {"PATH": "{fake}", "DISPLAY": ":9"}, 0, "", None,
     {"c.zrt": (" Result => Number = 1.5\r\n",)}),
]


def run_case(quillet, case):
    name, args, stdin, env_change, status, stdout, stderr_text, files = case
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "s.zrt"), "w", newline="") as f:
            f.write(SCRIPT)
        os.mkdir(os.path.join(work, "empty"))
        os.mkdir(os.path.join(work, "fake"))
        xclip = os.path.join(work, "fake", "xclip")
        with open(xclip, "w") as f:
            f.write(FAKE_XCLIP % os.path.join(work, "fake"))
        os.chmod(xclip, 0o755)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        for key, value in env_change.items():
            env[key] = value.format(empty=os.path.join(work, "empty"), fake=os.path.join(work, "fake"))
        run = subprocess.run([quillet] + args, input=(stdin or "").encode(), cwd=work, env=env,
                             capture_output=True, timeout=60)
        out = run.stdout.decode(errors="replace")
        err = run.stderr.decode(errors="replace")
        faults = []
        if run.returncode != status:
            faults.append("status %d, not %d" % (run.returncode, status))
        if stdout is not None and out != stdout:
            faults.append("output %r, not %r" % (out, stdout))
        if "\r" in out or "\r" in err:
            faults.append("CR in what was printed: %r %r" % (out, err))
        if stderr_text is not None and stderr_text not in err:
            faults.append("no %r in the messages %r" % (stderr_text, err))
        for file, parts in files.items():
            path = os.path.join(work, file)
            if parts is None:
                if os.path.exists(path):
                    faults.append("%s was written" % file)
                continue
            if not os.path.exists(path):
                faults.append("%s is missing" % file)
                continue
            with open(path, newline="", errors="replace") as f:
                text = f.read()
            for part in parts:
                if part.startswith("'Incorporates"):
                    if part in text:
                        faults.append("%s has a header" % file)
                elif part not in text:
                    faults.append("%s lacks %r: %r" % (file, part, text))
        return faults, out


def main():
    quillet = os.path.abspath(sys.argv[1])
    failed = 0
    for case in CASES:
        faults, out = run_case(quillet, case)
        name = case[0]
        if name == "help screen" and "parameters:" not in out:
            faults.append("no help screen")
        if name == "--help":
            for text in ("Exit status:", "--strict", "6  with --strict", "quillet FILE"):
                if text not in out:
                    faults.append("--help lacks %r" % text)
        if name == "selection with a parameter's letters" and "Number = 0.5" not in out:
            faults.append("the selection lost its text: %r" % out)
        if faults:
            failed += 1
            print("FAIL %s (%s): %s" % (name, " ".join(case[1]), "; ".join(faults)))
    print("arguments: %d passed, %d failed" % (len(CASES) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
