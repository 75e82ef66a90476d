#!/usr/bin/env python3
"""check_lines.py FILE...: finds checks whose condition goes on outside `check`.

In `check "what" [ $rc = 0 ] && cmp a b`, check runs only `[ $rc = 0 ]`; the `cmp` runs afterwards
and its failure is never counted. This reads each shell file as the shell does (quotes, $(...),
${...}, backslash-continued lines, lines that end in && or ||, here-documents, comments) and
reports every command list where a command beginning with `check` is followed by `&&` and a
command that is not another `check`. `check A && check B` and `check A ... || cat LOG` are fine.
Prints one line per finding (FILE:LINE: the command) and exits 1 when there is any.
"""
import re
import sys

KEYWORDS = {"{", "}", "then", "do", "else", "elif", "if", "while", "until", "!", "time"}


class Scanner:
    def __init__(self, text):
        self.t = text
        self.i = 0

    def peek(self, k=0):
        j = self.i + k
        return self.t[j] if j < len(self.t) else ""

    def skip_single(self):  # after the opening quote
        end = self.t.find("'", self.i)
        self.i = len(self.t) if end < 0 else end + 1

    def skip_ansi(self):  # $'...', after the opening quote
        while self.i < len(self.t) and self.t[self.i] != "'":
            self.i += 2 if self.t[self.i] == "\\" else 1
        self.i += 1

    def skip_double(self):  # after the opening quote
        while self.i < len(self.t):
            c = self.t[self.i]
            if c == "\\":
                self.i += 2
            elif c == '"':
                self.i += 1
                return
            elif c == "`":
                self.i += 1
                self.skip_backtick()
            elif c == "$" and self.peek(1) in "({":
                self.i += 2
                self.skip_group(self.t[self.i - 1])
            else:
                self.i += 1

    def skip_backtick(self):  # after the opening backtick
        while self.i < len(self.t) and self.t[self.i] != "`":
            self.i += 2 if self.t[self.i] == "\\" else 1
        self.i += 1

    def skip_group(self, opening):  # $( ... ), <( ... ), ${ ... }: after the opening bracket
        closing = ")" if opening == "(" else "}"
        depth = 1
        while self.i < len(self.t):
            c = self.t[self.i]
            if c == "\\":
                self.i += 2
                continue
            self.i += 1
            if c == "'":
                self.skip_single()
            elif c == '"':
                self.skip_double()
            elif c == "`":
                self.skip_backtick()
            elif c == opening:
                depth += 1
            elif c == closing:
                depth -= 1
                if depth == 0:
                    return


def command_lists(text):
    """Yields (line, [(operator before, command text), ...]) for each top-level command list."""
    s = Scanner(text)
    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]

    def line_of(pos):
        lo, hi = 0, len(line_starts) - 1
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if line_starts[mid] <= pos:
                lo = mid
            else:
                hi = mid - 1
        return lo + 1

    segments, op, start, list_start = [], "", 0, 0
    heredocs = []

    def end_segment(pos, next_op):
        nonlocal op, start
        segments.append((op, text[start:pos]))
        op, start = next_op, None

    while s.i < len(text):
        c = text[s.i]
        if start is None:
            start = s.i
        prev = text[s.i - 1] if s.i else "\n"
        if c == "\\":
            s.i += 2
        elif c == "'":
            s.i += 1
            if prev == "$":
                s.skip_ansi()
            else:
                s.skip_single()
        elif c == '"':
            s.i += 1
            s.skip_double()
        elif c == "`":
            s.i += 1
            s.skip_backtick()
        elif c in "({" and prev in "$<>" and not (c == "{" and prev in "<>"):
            s.i += 1
            s.skip_group(c)
        elif c == "#" and (prev.isspace() or prev in ";&|()"):
            end = text.find("\n", s.i)
            s.i = len(text) if end < 0 else end
        elif text.startswith("<<", s.i) and not text.startswith("<<<", s.i):
            m = re.match(r"<<(-?)\s*(['\"]?)([A-Za-z_][A-Za-z0-9_]*)\2", text[s.i:])
            if m:
                heredocs.append((m.group(3), m.group(1) == "-"))
                s.i += m.end()
            else:
                s.i += 2
        elif text.startswith("&&", s.i) or text.startswith("||", s.i):
            end_segment(s.i, text[s.i:s.i + 2])
            s.i += 2
        elif c in ";|&()" and not (c == "&" and (prev == ">" or s.peek(1) == ">")):
            end_segment(s.i, c)
            s.i += 1
        elif c == "\n":
            newline = s.i
            s.i += 1
            for word, strip_tabs in heredocs:  # the bodies follow this line
                while s.i < len(text):
                    end = text.find("\n", s.i)
                    end = len(text) if end < 0 else end
                    body_line = text[s.i:end]
                    s.i = end + 1
                    if (body_line.lstrip("\t") if strip_tabs else body_line) == word:
                        break
            heredocs = []
            pending = op in ("&&", "||", "|") and (start is None or not text[start:newline].strip())
            if not pending:
                end_segment(newline, "")
                yield line_of(list_start), segments
                segments, op, start, list_start = [], "", None, s.i
        else:
            s.i += 1
    if start is not None:
        end_segment(len(text), "")
    if segments:
        yield line_of(list_start), segments


def first_word(command):
    for word in command.split():
        if word not in KEYWORDS:
            return word
    return ""


def findings(text):
    for line, segments in command_lists(text):
        for k in range(len(segments) - 1):
            if first_word(segments[k][1]) != "check":
                continue
            op, following = segments[k + 1]
            if op == "&&" and first_word(following) != "check":
                yield line, " ".join("".join(o + " " + c for o, c in segments).replace("\\\n", " ").split())


def main(paths):
    bad = 0
    for path in paths:
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for line, command in findings(text):
            print("%s:%d: a condition after check runs outside it: %s" % (path, line, command[:160]))
            bad += 1
    print("check_lines: %d files, %d checks with a condition outside check" % (len(paths), bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
