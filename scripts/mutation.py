#!/usr/bin/env python3
"""Mutation testing of libqx_sysevent and its stand-in platform.

Puts one small fault at a time into the library's sources (include/, common/,
security/, sysevent/, mdpreg/) and the stand-in's (platform/standin/, its
headers included), rebuilds and runs the suite (Release with UBSan, as the
gates run it). A mutant the suite fails on is killed; one it passes survives:
a fault the tests cannot see. A mutant that leaves the objects of a build
without sanitizer unchanged is equivalent and not tested.

Every mutant runs by default; --files picks files for a quick run. Each job
is a worker with its own copy of the working tree and its own builds under
build/mutation/. It takes a few mutants of one file at a time: each rebuilds
only the objects its file reaches and relinks the shared libraries, not the
tests, and a compiler launcher reuses any object built before from the same
source, headers and flags.

Survivors reviewed as invisible to a caller or a stand-in user are listed in
scripts/mutation_survivors.txt, each with the reason. The run fails on a
survivor the list does not name, and on an entry that names no mutant any
more. Results go to build/mutation/results.json; --recheck holds the last
ones against the list again, after an edit of it, without building.

    scripts/mutation.py [--jobs N] [--files PATTERN ...] [--list] [--recheck]
"""

import argparse
import bisect
import fnmatch
import hashlib
import json
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build" / "mutation"
RESULTS = WORK / "results.json"
SURVIVORS = ROOT / "scripts" / "mutation_survivors.txt"

PRODUCT_DIRS = ("include/", "common/", "security/", "sysevent/", "mdpreg/", "platform/standin/")
# Declarations outside the mutated files whose enums and constants mutants may name.
DECLARATION_DIRS = PRODUCT_DIRS + ("platform/include/",)
CONFIGURE = [
    "-G",
    "Ninja",
    "-DCMAKE_BUILD_TYPE=Release",
    "-DQX_BUILD_EXAMPLES=OFF",
    "-DQX_BUILD_BENCH=OFF",
    "-DQX_BUILD_FUZZ=OFF",
    # A changed shared library does not relink the tests that load it.
    "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON",
]
# The gates run the tests under UBSan: a call through a null pointer that
# happens to work in a plain build must kill its mutant here too. UBSan's
# checks carry the column of the code they check, so a mutant that only moves
# a column changes the sanitized objects; equivalence is judged on the plain
# build's objects instead.
SANITIZE = ["-DQX_SANITIZE=undefined"]
PLAIN_ONLY = ["-DQX_BUILD_TESTS=OFF", "-DQX_SANITIZE="]
PRODUCT_OBJECTS = re.compile(
    r"^((?:\S+/)?CMakeFiles/(?:qx_sysevent|qx_platform_standin)\.dir/\S+\.o):"
)

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
    original_line: str = ""  # the lines it changes, comments left out, spaces collapsed
    mutated_line: str = ""
    occurrence: int = 1  # among the file's mutants with the same two lines

    def apply(self, text):
        return text[: self.start] + self.replacement + text[self.end :]

    def key(self):
        return (self.file, self.occurrence, self.original_line, self.mutated_line)

    def name(self):
        return self.file + (f" #{self.occurrence}" if self.occurrence > 1 else "")

    def describe(self):
        return f"{self.original_line}  ->  {self.mutated_line}"


# ---------------------------------------------------------------- scanning


@dataclass
class Scan:
    code: str  # comments, literals' contents, preprocessor lines and static_asserts blanked
    bare: str  # only comments blanked: what identifies a mutant's lines
    literals: list = field(default_factory=list)  # (start, end) of string and char literals


def scan(text):
    """Blanks what no mutant touches; offsets and newlines kept."""
    code, bare = list(text), list(text)
    literals = []
    i, n = 0, len(text)

    def blank(out, a, b):
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
            blank(code, i, j)
            i = j
            continue
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i) or text.startswith("/*", i):
            if text[i + 1] == "/":
                j = text.find("\n", i)
                j = n if j < 0 else j
            else:
                j = text.find("*/", i + 2)
                j = n if j < 0 else j + 2
            blank(code, i, j)
            blank(bare, i, j)
            i = j
        elif c in "\"'" and not (c == "'" and i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            literals.append((i, j + 1))
            blank(code, i + 1, j)  # the quotes stay, so a literal is still a token
            i = j + 1
        else:
            i += 1
    blanked = "".join(code)
    for m in re.finditer(r"\bstatic_assert\s*\(", blanked):
        close = matching_paren(blanked, m.end() - 1)
        if close is not None:
            blank(code, m.start(), close + 1)
            literals = [(a, b) for a, b in literals if not m.start() <= a <= close]
    return Scan("".join(code), "".join(bare), literals)


def matching_paren(code, open_pos):
    pairs = {"(": ")", "{": "}", "[": "]"}
    close, depth = pairs[code[open_pos]], 0
    for k in range(open_pos, len(code)):
        if code[k] == code[open_pos]:
            depth += 1
        elif code[k] == close:
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
INTEGER_TYPE = re.compile(
    r"^(unsigned |signed )?(int|long|short|char|long long)$|^(std::)?(u?int\d+_t|size_t)$"
)


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


def return_constants(rtype, expr):
    """Constants a `return expr;` may return instead."""
    if rtype is None:
        candidates = ["nullptr" if expr.startswith("new ") else "0"]
    elif rtype == "bool":
        candidates = ["false" if expr == "true" else "true"]
    elif rtype.replace(" ", "") == "constchar*":
        candidates = ['""']
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
    digits = literal.rstrip("uUlL").replace("'", "")
    hexadecimal = digits.lower().startswith("0x")
    value = int(digits, 16 if hexadecimal else 10)
    value = 1 - value if value in (0, 1) else value + 1
    if hexadecimal:
        text = digits[:2] + (f"{value:X}" if digits[2:].upper() == digits[2:] else f"{value:x}")
    else:
        text = str(value)
    return text + literal[len(literal.rstrip("uUlL")) :]


def changed_literal(literal):
    """The literal with its last character dropped, an empty one given one."""
    quote, body = literal[0], literal[1:-1]
    if not body:
        return quote + "x" + quote
    last = re.search(r"(\\(x[0-9a-fA-F]+|[0-7]{1,3}|.)|.)$", body, re.S)
    shorter = body[: last.start()]
    if quote == "'":
        shorter = shorter or "x"
    return quote + shorter + quote


RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
INTEGER_TYPES = (
    r"unsigned\s+long\s+long|long\s+long|unsigned\s+long|unsigned\s+int|unsigned\s+short|"
    r"unsigned|long|int|short|std::size_t|size_t|std::u?int(?:8|16|32|64)_t"
)
# A declaration's integer type: a variable, parameter, member or return type.
INTEGER_DECLARATION = re.compile(
    rf"(?<![\w:<])({INTEGER_TYPES})(?![\w:])(?=\s*[*&]*\s*[A-Za-z_][\w:]*\s*[=;,(){{\[:])"
)
NARROWER = {
    "long": "int",
    "long long": "int",
    "unsigned long": "unsigned int",
    "unsigned long long": "unsigned int",
    "std::size_t": "unsigned int",
    "size_t": "unsigned int",
    "unsigned int": "unsigned short",
    "unsigned": "unsigned short",
    "std::int64_t": "std::int32_t",
    "std::uint64_t": "std::uint32_t",
    "std::int32_t": "std::int16_t",
    "std::uint32_t": "std::uint16_t",
    "std::uint16_t": "std::uint8_t",
}
UNSIGNED = {
    "long": "unsigned long",
    "long long": "unsigned long long",
    "int": "unsigned int",
    "short": "unsigned short",
    "std::int64_t": "std::uint64_t",
    "std::int32_t": "std::uint32_t",
}
NOT_A_TYPE = re.compile(
    r"^(return|new|delete|throw|goto|case|else|using|namespace|typename|template|operator|"
    r"class|struct|enum|union|public|private|protected|co_return|sizeof|do)$"
)
# `Type name` followed by what may follow a declared name.
TYPED_NAME = re.compile(
    r"((?:(?:const|static|inline|constexpr|volatile|unsigned|signed|long|short)\s+)*"
    r"[A-Za-z_][\w:]*(?:<[^;(){}]*?>)?)\s*([*&]*)\s*\b([A-Za-z_]\w*)\s*(?=[=;,)\[{(:])"
)
CAST = re.compile(r"^static_cast<(.+)>\(.*\)$", re.S)


def normal_type(text):
    text = re.sub(r"\b(const|static|inline|constexpr|volatile)\b|&", " ", text)
    text = " ".join(text.split())
    return re.sub(r"\s*\*", "*", text)


@dataclass
class Declarations:
    """Named constants and scoped enums of the mutated sources and the
    platform's headers, for swapping one with another of its type."""

    constants: dict  # name -> type
    enums: dict  # enum name -> its enumerators, in declared order


def declarations(texts):
    constants, conflicting, enums = {}, set(), {}
    for text in texts:
        code = scan(text).code
        for m in re.finditer(
            r"\b(?:constexpr|const)\s+((?:[\w:<>]+[\s*&]+)+?)(k[A-Z]\w*)\s*(\[\s*\w*\s*\])?\s*[={]",
            code,
        ):
            ctype = normal_type(m.group(1)) + ("[]" if m.group(3) else "")
            if constants.get(m.group(2), ctype) != ctype:
                conflicting.add(m.group(2))
            constants[m.group(2)] = ctype
        for m in re.finditer(r"\benum\s+class\s+(\w+)\s*(?::\s*[\w:]+\s*)?\{([^}]*)\}", code):
            enums[m.group(1)] = re.findall(r"(\w+)\s*(?:=[^,]*)?(?:,|$)", m.group(2).strip())
    return Declarations({k: v for k, v in constants.items() if k not in conflicting}, enums)


def identifier_swaps(code, known, add):
    """Each use of a named constant becomes the next other constant of its
    type that the file names; each enumerator of a scoped enum the next one."""
    uses, order, spelling = [], {}, {}
    for m in re.finditer(r"(?<![\w:])((?:\w+::)*)(k[A-Z]\w*)\b", code):
        ctype = known.constants.get(m.group(2))
        if ctype is None:
            continue
        order.setdefault(ctype, [])
        if m.group(2) not in order[ctype]:
            order[ctype].append(m.group(2))
            spelling[m.group(2)] = m.group()  # as the file names it, qualified or not
        declared = re.search(r"(\bconstexpr\b|\bconst\b)[^;={(]*$", code[: m.start()][-80:])
        if not declared:
            uses.append((m, ctype))
    for m, ctype in uses:
        others = order[ctype]
        if len(others) > 1:
            following = others[(others.index(m.group(2)) + 1) % len(others)]
            add("identifier swap", m.start(), m.end(), spelling[following])
    for m in re.finditer(r"\b(\w+)::(\w+)\b", code):
        values = known.enums.get(m.group(1))
        if values and m.group(2) in values and len(values) > 1:
            following = values[(values.index(m.group(2)) + 1) % len(values)]
            add("identifier swap", m.start(2), m.end(2), following)


def argument_lists(code):
    """(start, end) of each argument of each call or braced initialiser,
    grouped per list."""
    for m in re.finditer(r"[\w>]\s*([({])", code):
        head = code[: m.start() + 1]
        if re.search(r"\b(if|while|for|switch|catch|sizeof|decltype|return)$", head):
            continue
        close = matching_paren(code, m.start(1))
        if close is None:
            continue
        args, depth, begin = [], 0, m.start(1) + 1
        for k in range(m.start(1) + 1, close + 1):
            c = code[k]
            if c in "([{":
                depth += 1
            elif c in ")]}" and depth > 0:
                depth -= 1
            elif (c == "," and depth == 0) or k == close:
                args.append((begin, k))
                begin = k + 1
        yield args


def argument_swaps(code, text, add):
    """Neighbouring arguments of the same type trade places: names declared
    in the file (the nearest declaration before the call) and casts."""
    declared = []  # (offset, name, type)
    for m in TYPED_NAME.finditer(code):
        if NOT_A_TYPE.match(m.group(1).split()[-1]) or NOT_A_TYPE.match(m.group(3)):
            continue
        declared.append((m.start(3), m.group(3), normal_type(m.group(1) + m.group(2))))

    def type_of(start, end):
        expr = " ".join(text[start:end].split())
        cast = CAST.match(expr)
        if cast and matching_paren(expr, expr.index("(")) == len(expr) - 1:
            return normal_type(cast.group(1)), expr
        if re.fullmatch(r"[A-Za-z_]\w*", expr):
            found = [t for offset, name, t in declared if name == expr and offset < start]
            return (found[-1] if found else None), expr
        return None, expr

    for args in argument_lists(code):
        typed = [type_of(a, b) for a, b in args]
        for k in range(len(args) - 1):
            (t1, e1), (t2, e2) = typed[k], typed[k + 1]
            if t1 and t1 == t2 and e1 != e2:
                (a1, b1), (a2, b2) = args[k], args[k + 1]
                lead1 = len(text[a1:b1]) - len(text[a1:b1].lstrip())
                lead2 = len(text[a2:b2]) - len(text[a2:b2].lstrip())
                a1, a2 = a1 + lead1, a2 + lead2
                b1, b2 = a1 + len(text[a1:b1].rstrip()), a2 + len(text[a2:b2].rstrip())
                add("argument swap", a1, b2, text[a2:b2] + text[b1:a2] + text[a1:b1])


def generate(path, text, known):
    """Every mutant of one source file, in file order."""
    scanned = scan(text)
    code = scanned.code
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

    number = r"(?<![\w.'])(0[xX][0-9a-fA-F']+|[1-9][\d']*|0)[uUlL]*(?![\w.'])"
    numbers = list(re.finditer(number, code))
    for m in numbers:
        add("constant", m.start(), m.end(), integer_mutation(m.group()))
    # One literal in place of another: the next different one of its kind.
    for kind in (
        [(m.start(), m.end()) for m in numbers],
        [(a, b) for a, b in scanned.literals if text[a] == '"'],
        [(a, b) for a, b in scanned.literals if text[a] == "'"],
    ):
        values = [text[a:b] for a, b in kind]
        for k, (a, b) in enumerate(kind):
            following = values[k + 1 :] + values[:k]
            other = next((v for v in following if v != values[k]), None)
            if other is not None:
                add("literal swap", a, b, other)
    for a, b in scanned.literals:
        add("string", a, b, changed_literal(text[a:b]))

    identifier_swaps(code, known, add)
    argument_swaps(code, text, add)
    for m in INTEGER_DECLARATION.finditer(code):
        spelled = " ".join(m.group(1).split())
        # Both at once too: a 32-bit unsigned local shows -3 as 4294967293.
        both = UNSIGNED.get(NARROWER.get(spelled, ""))
        for other in (NARROWER.get(spelled), UNSIGNED.get(spelled), both):
            if other:
                add("integer type", m.start(), m.end(), other)

    for s in statements(code):
        body = code[s.start : s.end]
        ret = re.match(r"return\b\s*(.*);$", body, re.S)
        if ret and ret.group(1).strip():
            expr_start = s.start + ret.start(1)
            expr_end = s.start + ret.end(1)
            expr = " ".join(text[expr_start:expr_end].split())
            for value in return_constants(return_type(s.function_header), expr):
                add("return constant", expr_start, expr_end, value)
        if "{" in body or "}" in body or DECLARATION.match(body):
            continue
        add("remove statement", s.start, s.end, "\n" * body.count("\n"))

    line_starts = [0] + [i + 1 for i, c in enumerate(text) if c == "\n"]
    for mu in mutants:
        first = bisect.bisect_right(line_starts, mu.start) - 1
        last = bisect.bisect_right(line_starts, max(mu.start, mu.end - 1)) - 1
        line_end = text.find("\n", line_starts[last])
        line_end = len(text) if line_end < 0 else line_end
        span = scanned.bare[line_starts[first] : line_end]
        local_start = mu.start - line_starts[first]
        local_end = mu.end - line_starts[first]
        mutated = span[:local_start] + mu.replacement + span[local_end:]
        mu.line = first + 1
        mu.original_line = " ".join(span.split())
        mu.mutated_line = " ".join(mutated.split()) or "(removed)"
    mutants.sort(key=lambda mu: (mu.start, mu.end, mu.operator, mu.replacement))
    unique, seen, occurrences = [], set(), {}
    for mu in mutants:  # `return 0;` -> `return 1;` comes from two operators
        mutated_text = mu.apply(text)
        if mutated_text in seen or mutated_text == text:
            continue
        seen.add(mutated_text)
        lines = (mu.original_line, mu.mutated_line)
        occurrences[lines] = occurrences.get(lines, 0) + 1
        mu.occurrence = occurrences[lines]
        unique.append(mu)
    return unique


def git_files():
    """The working tree's files, tracked or new, that git does not ignore."""
    out = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=ROOT,
        check=True,
        capture_output=True,
    ).stdout.decode()
    return sorted({f for f in out.split("\0") if f and (ROOT / f).is_file()})


def sources_under(dirs):
    return [f for f in git_files() if f.startswith(dirs) and f.endswith((".cpp", ".h"))]


# ---------------------------------------------------------------- reviewed survivors


@dataclass
class Entry:
    key: tuple  # as Mutant.key()
    why: str
    line: int  # in the survivors file, for messages


def read_survivors(path):
    """Entries of the form

        security/user_security_mgr.cpp #2     (the #n only when the same change
        - the original line                    occurs more than once in the file)
        + the mutated line
        why: what makes it invisible to a caller or a stand-in user

    separated by blank lines; lines starting with '#' are comments."""
    entries, problems = [], []
    if not path.is_file():
        return entries, problems
    block, first = [], 0
    lines = path.read_text().splitlines() + [""]
    for number, line in enumerate(lines, 1):
        if line.startswith("#"):
            continue
        if line.strip():
            first = first or number
            block.append(line)
            continue
        if not block:
            continue
        head = re.fullmatch(r"(\S+)(?: #(\d+))?", block[0].strip())
        prefixes = ("- ", "+ ", "why: ")
        if len(block) != 4 or not head or not all(map(str.startswith, block[1:], prefixes)):
            problems.append(f"{path.name}:{first}: not an entry (file, '- ', '+ ', 'why: ')")
        else:
            lines = (" ".join(block[1][2:].split()), " ".join(block[2][2:].split()))
            key = (head.group(1), int(head.group(2) or 1), *lines)
            entries.append(Entry(key, block[3][5:].strip(), first))
        block, first = [], 0
    return entries, problems


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


def snapshot(dest):
    """Mirrors the working tree's files into dest. Unchanged files keep their
    times, so a second run rebuilds only what changed."""
    wanted = set(git_files())
    dest.mkdir(parents=True, exist_ok=True)
    (dest.parent / "files.txt").write_text("\0".join(sorted(wanted)))
    for f in sorted(wanted):
        src, dst = ROOT / f, dest / f
        data = src.read_bytes()
        if not dst.is_file() or dst.read_bytes() != data:
            dst.parent.mkdir(parents=True, exist_ok=True)
            dst.write_bytes(data)
            shutil.copymode(src, dst)
    for path in sorted(dest.rglob("*"), reverse=True):
        rel = path.relative_to(dest).as_posix()
        if path.is_file() and rel not in wanted:
            path.unlink()
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()


# ---------------------------------------------------------------- compiling


def compile_cached(tree, command):
    """The workers' compiler launcher. It drops debug information, which more
    than doubles the sanitizer build's compile time and tells no mutant apart,
    and it reuses an object compiled before from the same source, headers and
    flags: the restored original after a file's mutants, and the tests' second
    platform (the stand-in's sources again, under another soname)."""
    command = [*command, "-g0"]
    out = command[command.index("-o") + 1]
    depfile = command[command.index("-MF") + 1] if "-MF" in command else None
    flags = " ".join(command).replace("qx_platform_double", "qx_platform_standin")
    key = hashlib.sha256(flags.encode())
    key.update(Path(command[command.index("-c") + 1]).read_bytes())
    for f in (tree.parent / "files.txt").read_text().split("\0"):  # as snapshot() wrote it
        if f.endswith(".h"):
            key.update(f.encode() + b"\0" + (tree / f).read_bytes())
    entry = tree.parent / "cache" / key.hexdigest()
    if entry.with_suffix(".o").is_file():
        shutil.copyfile(entry.with_suffix(".o"), out)
        if depfile:
            built_as, deps = entry.with_suffix(".d").read_text().split("\n", 1)
            Path(depfile).write_text(deps.replace(built_as, out))
        return 0
    code = subprocess.run(command).returncode
    if code == 0:
        entry.parent.mkdir(exist_ok=True)
        shutil.copyfile(out, entry.with_suffix(".tmp"))
        if depfile:
            entry.with_suffix(".d").write_text(out + "\n" + Path(depfile).read_text())
        os.replace(entry.with_suffix(".tmp"), entry.with_suffix(".o"))
    return code


class Worker:
    """A copy of the tree with its two builds: the suite under UBSan, and the
    library and stand-in alone without sanitizer, which tells equivalents."""

    def __init__(self, index, keep_going):
        self.dir = WORK / f"worker{index}"
        self.src = self.dir / "src"
        self.build = self.dir / "build"
        self.plain = self.dir / "plain"
        self.keep_going = keep_going
        self.objects = []
        self.clean_hashes = {}
        self.limit = None

    def prepare(self):
        snapshot(self.src)
        shutil.rmtree(self.dir / "cache", ignore_errors=True)
        script = self.src / "scripts" / "mutation.py"
        launcher = f"-DCMAKE_CXX_COMPILER_LAUNCHER={sys.executable};{script};--compile;{self.src}"
        for build, flags in ((self.build, SANITIZE), (self.plain, PLAIN_ONLY)):
            code, out = run(
                ["cmake", "-S", str(self.src), "-B", str(build), *CONFIGURE, *flags, launcher]
            )
            if code != 0:
                sys.exit(f"configure failed:\n{out}")
            code, out = run(["ninja", "-C", str(build), "-j", "1"])
            if code != 0:
                sys.exit(f"the clean build failed:\n{out}")
        _, targets = run(["ninja", "-C", str(self.plain), "-t", "targets", "all"])
        found = (PRODUCT_OBJECTS.match(line) for line in targets.splitlines())
        self.objects = sorted({m.group(1) for m in found if m})
        self.clean_hashes = self.hashes()
        began = time.monotonic()
        code, out = run(["ctest", "--test-dir", str(self.build)])
        if code != 0:
            sys.exit(f"the clean suite fails; fix it first:\n{out}")
        return time.monotonic() - began

    def hashes(self):
        return {o: hashlib.sha256((self.plain / o).read_bytes()).hexdigest() for o in self.objects}

    def check(self, mutant, text):
        """Builds and tests one mutant; returns its outcome and the tests that failed."""
        (self.src / mutant.file).write_text(mutant.apply(text))
        code, _ = run(["ninja", "-C", str(self.plain), "-j", "1", *self.objects])
        if code != 0:
            return NO_COMPILE, None
        if self.hashes() == self.clean_hashes:
            return EQUIVALENT, None
        if not self.build_suite():
            return NO_COMPILE, None
        cmd = ["ctest", "--test-dir", str(self.build)]
        if not self.keep_going:
            cmd.append("--stop-on-failure")
        code, out = run(cmd, timeout=self.limit)
        if code is None:
            return TIMED_OUT, None
        if code == 0:
            return SURVIVED, None
        return KILLED, re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)

    def build_suite(self):
        return run(["ninja", "-C", str(self.build), "-j", "1"])[0] == 0

    def restore(self, path, text):
        # A fresh time makes ninja rebuild everything the mutants touched.
        (self.src / path).write_text(text)
        os.utime(self.src / path)

    def settle(self):
        run(["ninja", "-C", str(self.plain), "-j", "1", *self.objects])
        self.build_suite()


def run_all(mutants, sources, jobs, keep_going, factor, report):
    """Runs the mutants on `jobs` workers. A worker takes a file's mutants a
    few at a time and restores the file only after them."""
    WORK.mkdir(parents=True, exist_ok=True)
    workers = [Worker(i, keep_going) for i in range(max(1, jobs))]
    times, errors = [], []

    def prepare(worker):
        try:
            times.append(worker.prepare())
        except BaseException as failure:  # noqa: B036 - reported after the others end
            errors.append(str(failure) or repr(failure))

    threads = [threading.Thread(target=prepare, args=(w,)) for w in workers]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if errors:
        sys.exit(errors[0])
    clean = max(times)
    for w in workers:
        w.limit = factor * clean + 10
    report(f"clean suite: {clean:.1f} s, limit per mutant {workers[0].limit:.0f} s")

    chunks = queue.Queue()
    by_file = {}
    for mu in mutants:
        by_file.setdefault(mu.file, []).append(mu)
    # Largest files first, in pieces, so the workers end together.
    for f in sorted(by_file, key=lambda f: -len(by_file[f])):
        group = by_file[f]
        for k in range(0, len(group), 12):
            chunks.put(group[k : k + 12])
    outcomes = {}
    lock = threading.Lock()

    def work(worker):
        try:
            while True:
                try:
                    chunk = chunks.get_nowait()
                except queue.Empty:
                    return
                text = sources[chunk[0].file]
                try:
                    for mu in chunk:
                        began = time.monotonic()
                        outcome, failed = worker.check(mu, text)
                        with lock:
                            outcomes[id(mu)] = (outcome, failed, time.monotonic() - began)
                            where = f"{mu.file}:{mu.line}  [{mu.operator}]"
                            report(f"{where}  {mu.describe()}  {outcome}")
                finally:
                    worker.restore(chunk[0].file, text)
        finally:
            worker.settle()

    threads = [threading.Thread(target=work, args=(w,)) for w in workers]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return clean, workers[0].limit, outcomes


# ---------------------------------------------------------------- reporting


def review(records, listed, name):
    """The survivors a run found that the reviewed list does not name. A listed
    mutant that a run kills is only noted: a race or stack contents may decide
    it, and the entry still names a mutant."""
    problems = []
    for r in records:
        key = (r["file"], r["occurrence"], r["original_line"], r["mutated_line"])
        shown = r["file"] + (f" #{r['occurrence']}" if r["occurrence"] > 1 else "")
        if r["outcome"] == SURVIVED and key not in listed:
            problems.append(
                f"survivor not in {name}:\n{shown}\n- {key[2]}\n+ {key[3]}"
            )
        elif r["outcome"] != SURVIVED and key in listed:
            print(f"note: {name}:{listed[key].line}: listed, but {r['outcome']} this time: {shown}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    add = parser.add_argument
    add("--jobs", type=int, default=2, help="workers, each building and testing one mutant (2)")
    add("--files", nargs="+", help="only these files (globs or prefixes)")
    add("--survivors", type=Path, default=SURVIVORS, help="the reviewed survivors")
    add("--time-limit-factor", type=float, default=3.0, help="limit: factor x clean time + 10 s")
    add("--list", action="store_true", help="list the mutants and stop")
    add("--keep-going", action="store_true", help="whole suite per mutant, every failing test")
    add("--recheck", action="store_true", help="the last results against the survivors, no build")
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)

    every_file = sources_under(PRODUCT_DIRS)
    sources = {f: (ROOT / f).read_text() for f in every_file}
    known = declarations((ROOT / f).read_text() for f in sources_under(DECLARATION_DIRS))
    every_mutant = [mu for f in every_file for mu in generate(f, sources[f], known)]
    files = every_file
    if args.files:
        wanted = args.files
        files = [f for f in files if any(fnmatch.fnmatch(f, p) or f.startswith(p) for p in wanted)]
    chosen = [mu for mu in every_mutant if mu.file in files]
    print(f"{len(every_mutant)} mutants over {len(every_file)} files; {len(chosen)} to run")
    if args.list:
        for mu in chosen:
            print(f"{mu.file}:{mu.line}  [{mu.operator}]  {mu.describe()}")
        return 0

    entries, problems = read_survivors(args.survivors)
    by_key = {mu.key(): mu for mu in every_mutant}
    listed = {}
    for entry in entries:
        if entry.key not in by_key:
            where = f"{args.survivors.name}:{entry.line}"
            problems.append(f"{where}: matches no mutant any more: {entry.key[0]}")
        else:
            listed[entry.key] = entry

    if args.recheck:
        records = json.loads(RESULTS.read_text())["mutants"]
        problems += review(records, listed, args.survivors.name)
        for problem in problems:
            print(f"\n{problem}")
        print(f"{len(records)} results of the last run against {len(listed)} entries")
        return 1 if problems else 0

    began = time.monotonic()
    clean, limit, outcomes = run_all(
        chosen, sources, args.jobs, args.keep_going, args.time_limit_factor, print
    )
    total = time.monotonic() - began

    records, per_operator = [], {}
    for mu in chosen:
        outcome, failed, seconds = outcomes[id(mu)]
        counts = per_operator.setdefault(mu.operator, {})
        counts[outcome] = counts.get(outcome, 0) + 1
        record = {
            "file": mu.file,
            "occurrence": mu.occurrence,
            "line": mu.line,
            "operator": mu.operator,
            "original_line": mu.original_line,
            "mutated_line": mu.mutated_line,
            "outcome": outcome,
            "listed": mu.key() in listed,
            "seconds": round(seconds, 1),
        }
        if failed:
            record["failed_tests"] = failed
        records.append(record)
    problems += review(records, listed, args.survivors.name)

    totals = {}
    for counts in per_operator.values():
        for outcome, n in counts.items():
            totals[outcome] = totals.get(outcome, 0) + n
    killed = totals.get(KILLED, 0) + totals.get(TIMED_OUT, 0)
    judged = killed + totals.get(SURVIVED, 0)
    summary = {
        "generated": len(every_mutant),
        "run": len(records),
        "clean_suite_seconds": round(clean, 1),
        "time_limit_seconds": round(limit, 1),
        "total_seconds": round(total, 1),
        "jobs": args.jobs,
        "totals": totals,
        "per_operator": per_operator,
        "score": round(killed / judged, 4) if judged else None,
        "mutants": records,
    }
    RESULTS.write_text(json.dumps(summary, indent=2) + "\n")
    print()
    for operator in sorted(per_operator):
        counts = per_operator[operator]
        outcomes = ", ".join(f"{k}: {v}" for k, v in sorted(counts.items()))
        print(f"{operator:17} {sum(counts.values()):5}  {outcomes}")
    print(", ".join(f"{k}: {v}" for k, v in sorted(totals.items())))
    if judged:
        print(f"score: {killed / judged:.1%} (killed incl. timed out / killed + survived)")
    print(f"total {total / 60:.1f} min on {args.jobs} workers; results in {RESULTS}")
    for problem in problems:
        print(f"\n{problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--compile"]:
        sys.exit(compile_cached(Path(sys.argv[2]), sys.argv[3:]))
    sys.exit(main())
