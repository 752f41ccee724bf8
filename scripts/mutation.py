#!/usr/bin/env python3
"""Mutation testing of libqx_sysevent.

Copies the repository as it is in the working tree into build/mutation/src,
builds it there (Release with UBSan, as the gates run the tests), checks that
the suite passes, then applies one small fault at a time to the library's own
sources (include/, common/, security/, sysevent/, mdpreg/), rebuilds and runs
the suite again. A mutant the suite fails on is killed; one it passes is a
survivor, a fault the tests cannot see. Mutants that leave the library's
object files unchanged (built without sanitizer) are skipped as equivalent.
Prints one line per mutant and the score, and writes the same to
build/mutation/results.json.

    scripts/mutation.py [--sample N] [--seed S] [--files PATTERN ...] [--list]
"""

import argparse
import bisect
import fnmatch
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build" / "mutation"
SRC = WORK / "src"
BUILD = WORK / "build"  # the suite, under UBSan
PLAIN = WORK / "plain"  # the library alone, without sanitizer: tells equivalent mutants
RESULTS = WORK / "results.json"

PRODUCT_DIRS = ("include/", "common/", "security/", "sysevent/", "mdpreg/")
CONFIGURE = [
    "-G",
    "Ninja",
    "-DCMAKE_BUILD_TYPE=Release",
    "-DQX_BUILD_EXAMPLES=OFF",
    "-DQX_BUILD_BENCH=OFF",
    "-DQX_BUILD_FUZZ=OFF",
]
# The gates run the tests under UBSan: a call through a null pointer that
# happens to work in a plain build must kill its mutant here too. UBSan's
# checks carry the column of the code they check, so a mutant that only moves
# a column changes the sanitized objects; equivalence is judged on the plain
# build's objects instead.
SANITIZE = ["-DQX_SANITIZE=undefined"]
PLAIN_ONLY = ["-DQX_BUILD_TESTS=OFF", "-DQX_SANITIZE="]
LIBRARY_OBJECTS = re.compile(r"^(CMakeFiles/qx_sysevent\.dir/\S+\.o):")

KILLED, SURVIVED, TIMED_OUT = "killed", "survived", "timed out"
NO_COMPILE, EQUIVALENT = "does not compile", "equivalent"


@dataclass
class Mutant:
    file: str
    line: int
    operator: str
    start: int  # offsets into the file's text; [start, end) becomes `replacement`
    end: int
    replacement: str
    original_line: str = ""
    mutated_line: str = ""

    def apply(self, text):
        return text[: self.start] + self.replacement + text[self.end :]

    def describe(self):
        return f"{self.original_line}  ->  {self.mutated_line}"


# ---------------------------------------------------------------- scanning


def blank_non_code(text):
    """The text with comments, string and character literals, preprocessor
    lines and static_asserts replaced by blanks; offsets and newlines kept."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            blank(i, j)
            i = j
            continue
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            blank(i + 1, j)  # the quotes stay, so a literal is still a token
            i = j + 1
        else:
            i += 1
    code = "".join(out)
    for m in re.finditer(r"\bstatic_assert\s*\(", code):
        close = matching_paren(code, m.end() - 1)
        if close is not None:
            blank(m.start(), close + 1)
    return "".join(out)


def matching_paren(code, open_pos):
    depth = 0
    for k in range(open_pos, len(code)):
        if code[k] == "(":
            depth += 1
        elif code[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return None


SCOPE_HEADER = re.compile(r"\b(class|struct|union|enum|namespace|extern)\b")
CONTROL_HEADER = re.compile(r"^\s*(}\s*)?(if|else|for|while|do|try|catch|switch)\b")
# `Type name ...;`, possibly qualified: removing one only breaks the build.
DECLARATION = re.compile(
    r"^(?!(return|delete|throw|goto)\b)"
    r"((const|static|constexpr|volatile|unsigned|signed|long|short)\s+)*"
    r"[A-Za-z_][\w:]*(<[^;]*>)?[\s*&]+\w+\s*[=({;\[]"
)
SPECIFIERS = re.compile(r"\[\[.*?\]\]|\b(inline|static|constexpr|virtual|explicit|friend)\b")
INTEGER_TYPE = re.compile(r"^(unsigned |signed )?(int|long|short|char|std::size_t|long long)$")


@dataclass
class Statement:
    start: int
    end: int  # offset just past the ';'
    function_header: str  # header of the enclosing function, "" if unknown


def opens_block(head):
    """Whether a '{' after this statement text opens a block or a scope
    rather than a braced initialiser."""
    head = head.rstrip()
    return (
        not head
        or head[-1] in ")]}"
        or bool(SCOPE_HEADER.search(head))
        or bool(re.search(r"\b(else|do|try|const|override|noexcept|final|mutable)$", head))
    )


def statements(code):
    """Statements ending in ';' at the top paren level of a block: function
    and lambda bodies, not class or namespace scope."""
    found = []
    stack = []  # (header, paren depth and statement start to resume) per open brace
    start, depth, i = 0, 0, 0
    while i < len(code):
        c = code[i]
        if c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        elif c == "{" and not opens_block(code[start:i] if depth == 0 else code[:i][-40:]):
            i = matching_brace(code, i)
        elif c == "{":
            stack.append((code[start:i].strip(), depth, start))
            start, depth = i + 1, 0
        elif c == "}" and depth == 0 and stack:
            _, depth, resume = stack.pop()
            start = resume if depth > 0 else i + 1
        elif c == ";" and depth == 0:
            text = code[start:i].strip()
            headers = [h for h, _, _ in stack]
            if text and headers and not SCOPE_HEADER.search(headers[-1]):
                function = next((h for h in reversed(headers) if not CONTROL_HEADER.match(h)), "")
                first = i - len(code[start:i].lstrip())
                found.append(Statement(first, i + 1, function))
            start = i + 1
        i += 1
    return found


def matching_brace(code, open_pos):
    depth = 0
    for k in range(open_pos, len(code)):
        depth += {"{": 1, "}": -1}.get(code[k], 0)
        if depth == 0:
            return k
    return len(code)


def return_type(function_header):
    """The declared return type of a function header, or None if unknown
    (lambdas, constructors, anything odd)."""
    if not function_header or "[" in function_header.replace("[[", "").replace("]]", ""):
        return None
    head = re.sub(r"^template\s*<.*?>\s*", "", function_header, flags=re.S)
    head = re.sub(r"^\s*(public|protected|private)\s*:", "", head)
    parts = SPECIFIERS.sub(" ", head.split("(", 1)[0]).rsplit(None, 1)
    return " ".join(parts[0].split()) if len(parts) == 2 else None


def return_values(rtype, expr):
    if rtype is None:
        candidates = ["nullptr" if expr.startswith("new ") else "0"]
    elif rtype == "bool":
        candidates = ["false" if expr == "true" else "true"]
    elif rtype.endswith("*"):
        candidates = ["nullptr"]
    elif INTEGER_TYPE.match(rtype.replace("const ", "")):
        candidates = ["0", "1"]
    elif rtype == "void":
        candidates = []
    else:
        candidates = ["{}"]
    return [v for v in candidates if v != expr]


def integer_mutation(literal):
    """0 and 1 swap, any other n becomes n + 1; base, case and suffix kept."""
    digits = literal.rstrip("uUlL")
    hexadecimal = digits.lower().startswith("0x")
    value = int(digits, 16 if hexadecimal else 10)
    value = 1 - value if value in (0, 1) else value + 1
    if hexadecimal:
        text = digits[:2] + (f"{value:X}" if digits[2:].upper() == digits[2:] else f"{value:x}")
    else:
        text = str(value)
    return text + literal[len(digits) :]


RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}


def generate(path, text):
    """Every mutant of one source file, in file order."""
    code = blank_non_code(text)
    mutants = []

    def add(operator, start, end, replacement):
        mutants.append(Mutant(path, 0, operator, start, end, replacement))

    for m in re.finditer(r"(?<![<>=!\-])(<=|>=|==|!=)(?!=)", code):
        if not re.search(r"\boperator\s*$", code[: m.start()]):
            add("relational", m.start(), m.end(), RELATIONAL[m.group()])
    for m in re.finditer(r"(?<=\s)([<>])(?=\s)", code):
        add("relational", m.start(), m.end(), RELATIONAL[m.group()])
    for m in re.finditer(r"\b(if|while)(\s+constexpr)?\s*\(", code):
        close = matching_paren(code, m.end() - 1)
        if close is not None:
            inner = text[m.end() : close]
            add("negate condition", m.end(), close, f"!({inner})")
    for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", code):
        add("logical", m.start(), m.end(), "||" if m.group() == "&&" else "&&")
    for m in re.finditer(r"(?<![\w.])(0[xX][0-9a-fA-F]+|[1-9]\d*|0)[uUlL]*(?![\w.'])", code):
        add("constant", m.start(), m.end(), integer_mutation(m.group()))
    for s in statements(code):
        body = code[s.start : s.end]
        ret = re.match(r"return\b\s*(.*);$", body, re.S)
        if ret and ret.group(1).strip():
            expr_start = s.start + ret.start(1)
            expr_end = s.start + ret.end(1)
            expr = " ".join(text[expr_start:expr_end].split())
            for value in return_values(return_type(s.function_header), expr):
                add("return value", expr_start, expr_end, value)
        if "{" in body or "}" in body or DECLARATION.match(body):
            continue
        add("remove statement", s.start, s.end, "\n" * body.count("\n"))

    line_starts = [0] + [i + 1 for i, c in enumerate(text) if c == "\n"]
    for mu in mutants:
        first = bisect.bisect_right(line_starts, mu.start) - 1
        last = bisect.bisect_right(line_starts, max(mu.start, mu.end - 1)) - 1
        line_end = text.find("\n", line_starts[last])
        line_end = len(text) if line_end < 0 else line_end
        span = text[line_starts[first] : line_end]
        local_start = mu.start - line_starts[first]
        local_end = mu.end - line_starts[first]
        mutated = span[:local_start] + mu.replacement + span[local_end:]
        mu.line = first + 1
        mu.original_line = " ".join(span.split())
        mu.mutated_line = " ".join(mutated.split()) or "(removed)"
    mutants.sort(key=lambda mu: (mu.start, mu.end, mu.operator, mu.replacement))
    unique, seen = [], set()
    for mu in mutants:  # `return 0;` -> `return 1;` comes from two operators
        if mu.apply(text) not in seen:
            seen.add(mu.apply(text))
            unique.append(mu)
    return unique


def product_files():
    listed = git_files()
    return sorted(
        f
        for f in listed
        if f.startswith(PRODUCT_DIRS) and f.endswith((".cpp", ".h")) and (ROOT / f).is_file()
    )


def git_files():
    out = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=ROOT,
        check=True,
        capture_output=True,
    ).stdout.decode()
    return sorted({f for f in out.split("\0") if f})


def select(mutants, sample, seed):
    """A deterministic sample of `sample` mutants, every file represented,
    the rest shared out in proportion to each file's count."""
    if sample is None or sample >= len(mutants):
        return mutants
    by_file = {}
    for mu in mutants:
        by_file.setdefault(mu.file, []).append(mu)
    files = sorted(by_file)
    share = {f: min(1, sample) for f in files}
    left = sample - sum(share.values())
    if left > 0:
        total = sum(len(by_file[f]) - share[f] for f in files)
        quotas = {f: left * (len(by_file[f]) - share[f]) / total for f in files}
        for f in files:
            share[f] += int(quotas[f])
        by_remainder = sorted(files, key=lambda f: (-(quotas[f] - int(quotas[f])), f))
        for f in by_remainder[: sample - sum(share.values())]:
            share[f] += 1
    chosen = []
    for f in files:
        picks = random.Random(f"{seed}:{f}").sample(range(len(by_file[f])), share[f])
        chosen.extend(by_file[f][k] for k in sorted(picks))
    return chosen


# ---------------------------------------------------------------- building


def run(cmd, timeout=None, **kwargs):
    """Runs a command in its own process group; returns (returncode, output),
    returncode None on timeout."""
    proc = subprocess.Popen(
        cmd,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        start_new_session=True,
        text=True,
        **kwargs,
    )
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        out, _ = proc.communicate()
        return None, out
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        raise


def snapshot():
    """Mirrors the working tree's files into SRC. Unchanged files keep their
    times, so a second run rebuilds only what changed."""
    wanted = {f for f in git_files() if (ROOT / f).is_file()}
    for f in sorted(wanted):
        src, dst = ROOT / f, SRC / f
        data = src.read_bytes()
        if not dst.is_file() or dst.read_bytes() != data:
            dst.parent.mkdir(parents=True, exist_ok=True)
            dst.write_bytes(data)
            shutil.copymode(src, dst)
    for path in sorted(SRC.rglob("*"), reverse=True):
        rel = path.relative_to(SRC).as_posix()
        if path.is_file() and rel not in wanted:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()


class Suite:
    def __init__(self, jobs, keep_going):
        self.jobs = str(jobs)
        self.keep_going = keep_going
        self.objects = []
        self.clean_hashes = {}
        self.limit = None

    def prepare(self, factor):
        snapshot()
        for build, flags in ((BUILD, SANITIZE), (PLAIN, PLAIN_ONLY)):
            code, out = run(["cmake", "-S", str(SRC), "-B", str(build), *CONFIGURE, *flags])
            if code != 0:
                sys.exit(f"configure failed:\n{out}")
            code, out = run(["ninja", "-C", str(build), "-j", self.jobs])
            if code != 0:
                sys.exit(f"the clean build failed:\n{out}")
        _, targets = run(["ninja", "-C", str(PLAIN), "-t", "targets", "all"])
        found = (LIBRARY_OBJECTS.match(line) for line in targets.splitlines())
        self.objects = sorted({m.group(1) for m in found if m})
        self.clean_hashes = self.hashes()
        began = time.monotonic()
        code, out = run(["ctest", "--test-dir", str(BUILD), "-j", self.jobs])
        seconds = time.monotonic() - began
        if code != 0:
            sys.exit(f"the clean suite fails; fix it first:\n{out}")
        self.limit = factor * seconds + 10
        return seconds

    def hashes(self):
        return {o: hashlib.sha256((PLAIN / o).read_bytes()).hexdigest() for o in self.objects}

    def check(self):
        """Builds and tests one mutant already written into SRC."""
        code, _ = run(["ninja", "-C", str(PLAIN), "-j", self.jobs, *self.objects])
        if code != 0:
            return NO_COMPILE, None
        if self.hashes() == self.clean_hashes:
            return EQUIVALENT, None
        code, _ = run(["ninja", "-C", str(BUILD), "-j", self.jobs])
        if code != 0:
            return NO_COMPILE, None
        cmd = ["ctest", "--test-dir", str(BUILD), "-j", self.jobs]
        if not self.keep_going:
            cmd.append("--stop-on-failure")
        code, out = run(cmd, timeout=self.limit)
        if code is None:
            return TIMED_OUT, None
        if code == 0:
            return SURVIVED, None
        failed = re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)
        return KILLED, failed

    def restore(self, path, original):
        # A fresh time makes ninja rebuild everything the mutant touched.
        target = SRC / path
        target.write_text(original)
        os.utime(target)

    def settle(self):
        run(["ninja", "-C", str(PLAIN), "-j", self.jobs, *self.objects])
        run(["ninja", "-C", str(BUILD), "-j", self.jobs])


# ---------------------------------------------------------------- reporting


def score_of(counts):
    killed = counts.get(KILLED, 0) + counts.get(TIMED_OUT, 0)
    judged = killed + counts.get(SURVIVED, 0)
    return killed / judged if judged else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    add = parser.add_argument
    add("--jobs", type=int, default=2, help="ninja and ctest jobs (2)")
    add("--sample", type=int, help="run this many mutants, at least one per file")
    add("--seed", default="0", help="seed of the sample (0)")
    add("--files", nargs="+", help="only these files (globs or prefixes)")
    add("--time-limit-factor", type=float, default=3.0, help="limit: factor x clean time + 10 s")
    add("--list", action="store_true", help="list the mutants and stop")
    add("--keep-going", action="store_true", help="whole suite per mutant, every failing test")
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)

    files = product_files()
    if args.files:
        wanted = args.files
        files = [f for f in files if any(fnmatch.fnmatch(f, p) or f.startswith(p) for p in wanted)]
    sources = {f: (ROOT / f).read_text() for f in files}
    mutants = [mu for f in files for mu in generate(f, sources[f])]
    chosen = select(mutants, args.sample, args.seed)
    print(f"{len(mutants)} mutants generated over {len(files)} files, {len(chosen)} to run")
    if args.list:
        for mu in chosen:
            print(f"{mu.file}:{mu.line}  [{mu.operator}]  {mu.describe()}")
        return 0

    began = time.monotonic()
    suite = Suite(args.jobs, args.keep_going)
    clean = suite.prepare(args.time_limit_factor)
    print(f"clean suite: {clean:.1f} s, limit per mutant {suite.limit:.0f} s")

    records, counts = [], {}
    try:
        for mu in chosen:
            original = sources[mu.file]
            mutant_began = time.monotonic()
            (SRC / mu.file).write_text(mu.apply(original))
            try:
                outcome, failed = suite.check()
            finally:
                suite.restore(mu.file, original)
            seconds = time.monotonic() - mutant_began
            counts[outcome] = counts.get(outcome, 0) + 1
            record = {
                "file": mu.file,
                "line": mu.line,
                "operator": mu.operator,
                "original_line": mu.original_line,
                "mutated_line": mu.mutated_line,
                "outcome": outcome,
                "seconds": round(seconds, 1),
            }
            if failed:
                record["failed_tests"] = failed
            records.append(record)
            print(f"{mu.file}:{mu.line}  {mu.describe()}  {outcome}")
    finally:
        suite.settle()

    score = score_of(counts)
    total = time.monotonic() - began
    summary = {
        "generated": len(mutants),
        "run": len(records),
        "sample": args.sample,
        "seed": args.seed,
        "clean_suite_seconds": round(clean, 1),
        "time_limit_seconds": round(suite.limit, 1),
        "total_seconds": round(total, 1),
        "totals": counts,
        "score": round(score, 4) if score is not None else None,
        "mutants": records,
    }
    RESULTS.write_text(json.dumps(summary, indent=2) + "\n")
    print(", ".join(f"{k}: {v}" for k, v in sorted(counts.items())))
    if score is not None:
        print(f"score: {score:.1%} (killed incl. timed out / killed + survived)")
    print(f"total {total / 60:.1f} min; results in {RESULTS.relative_to(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
