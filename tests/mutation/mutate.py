#!/usr/bin/python3
"""Mutation check of the core library: do the core tests notice small faults?

Each mutant is one operator change in one src/core source file (a `<` made `<=`, an `&&` made
`||`, a `+ 1` made `- 1`, a `true` made `false`, a returned 0 made 1).  The tool works in a copy
of the tree under build-mutation/ so an interrupted run never leaves a mutant in the real sources;
the copy is built once with the address and undefined-behaviour sanitizers, and every mutant
rebuilds only its own translation unit and the links.  A mutant is killed when the core tests
fail, crash, trip a sanitizer or run past the time limit; it survives when they pass.

A seed picks the mutants, so a run can be repeated exactly.  Mutants listed in equivalent.txt
compute the same thing as the original and are never picked.

  tests/mutation/mutate.py --count 50 --seed 7         # 50 mutants, report at the end
  tests/mutation/mutate.py --all                       # every mutant (hours on two cores)
  tests/mutation/mutate.py --list | head               # the candidate mutants, nothing built
  tests/mutation/mutate.py --again r1.jsonl           # the survivors of an earlier run, once more
  tests/mutation/mutate.py --summary r1.jsonl r2.jsonl # figures per subsystem over earlier runs
"""

import argparse
import collections
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
EQUIVALENT_FILE = Path(__file__).resolve().parent / "equivalent.txt"
COPY_IGNORE = {".git", ".cache", "build-mutation"}
TEST_BINARY = "tests/zentrix_core_tests"

# Binary operators are written with a space on each side in this code base; requiring the spaces
# keeps template brackets, `->`, `<<` and `>>` out of the relational set.
SPACED = r"(?<=\s)({})(?=\s)"
OPERATORS = [
    ("rel", re.compile(SPACED.format(r"<=|>=|<|>")), {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}),
    ("eq", re.compile(SPACED.format(r"==|!=")), {"==": "!=", "!=": "=="}),
    ("logic", re.compile(SPACED.format(r"&&|\|\|")), {"&&": "||", "||": "&&"}),
    ("step", re.compile(r"(?<=\s)([+-])(?= 1(?![\w.']))"), {"+": "-", "-": "+"}),
    ("bool", re.compile(r"\b(true|false)\b"), {"true": "false", "false": "true"}),
    ("return", re.compile(r"(?<=\breturn )(-?\d+)(?=;)"), None),
]
SKIP_LINE = re.compile(r"^\s*#|static_assert|Q_ASSERT|\bassert\(")


def digit_separator(text, i):
    """True when the quote at i separates digits of a number (1'000) rather than opening u'x'."""
    j = i - 1
    while j >= 0 and (text[j].isalnum() or text[j] == "'"):
        j -= 1
    return i - j > 1 and text[j + 1].isdigit()


def blank_comments_and_literals(text):
    """The text with comments, string and character literals replaced by spaces (offsets kept)."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            k = text.find("(", i)
            delim = ")" + text[i + 2:k] + '"'
            j = text.find(delim, k)
            j = n if j < 0 else j + len(delim)
        elif c in "\"'" and not (c == "'" and digit_separator(text, i)):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != "\n":
                out[k] = " "
        i = j
    return "".join(out)


class Mutant:
    def __init__(self, path, line, col, op, old, new, text):
        self.path, self.line, self.col, self.op = path, line, col, op
        self.old, self.new, self.text = old, new, text  # text: the trimmed source line
        self.nth = 0  # which site of this operator in this line (1-based), for equivalent.txt

    @property
    def subsystem(self):
        parts = Path(self.path).parts
        return parts[2] if len(parts) > 3 else "."

    def key(self):
        return (self.path, self.text, self.nth, f"{self.old} -> {self.new}")

    def name(self):
        return f"{self.path}:{self.line}:{self.col} {self.old} -> {self.new}"


def find_mutants(root):
    mutants = []
    for path in sorted((root / "src/core").rglob("*.cpp")):
        rel = path.relative_to(root).as_posix()
        text = path.read_text(encoding="utf-8")
        code = blank_comments_and_literals(text)
        lines = text.split("\n")
        starts = [0]
        for ln in lines:
            starts.append(starts[-1] + len(ln) + 1)
        for lineno, (src, masked) in enumerate(zip(lines, code.split("\n")), start=1):
            if SKIP_LINE.search(src):
                continue
            seen = collections.Counter()
            sites = []
            for op, rx, table in OPERATORS:
                for m in rx.finditer(masked):
                    old = m.group(1)
                    new = table[old] if table else ("1" if old == "0" else "0")
                    sites.append((m.start(1), op, old, new))
            for col, op, old, new in sorted(sites):
                mt = Mutant(rel, lineno, col + 1, op, old, new, src.strip())
                seen[(op, old)] += 1
                mt.nth = seen[(op, old)]
                mt.offset = starts[lineno - 1] + col
                mutants.append(mt)
    return mutants


def read_equivalents():
    """Keys of the mutants known to compute the same as the original."""
    keys = set()
    if not EQUIVALENT_FILE.exists():
        return keys
    for raw in EQUIVALENT_FILE.read_text(encoding="utf-8").splitlines():
        if not raw.strip() or raw.startswith("#"):
            continue
        fields = raw.split(" :: ")
        if len(fields) != 5:
            sys.exit(f"mutate: malformed line in {EQUIVALENT_FILE.name}: {raw}")
        path, text, nth, change, _reason = (f.strip() for f in fields)
        keys.add((path, text, int(nth), change))
    return keys


def sync_copy(src, dst):
    """Bring the copy up to date with the tree; unchanged files keep their time stamps. Returns
    True when files came or went, so the build system must look at the file lists again."""
    changed_set = False
    for dirpath, dirnames, filenames in os.walk(src):
        rel = Path(dirpath).relative_to(src)
        dirnames[:] = [d for d in dirnames if d not in COPY_IGNORE and not (rel == Path(".") and d.startswith("build"))]
        (dst / rel).mkdir(parents=True, exist_ok=True)
        # A file moved or deleted in the tree must go from the copy too: a stale source would
        # still be compiled into the tests (two definitions of a moved test, say).
        for old in (dst / rel).iterdir():
            if old.is_file() and old.name not in filenames:
                old.unlink()
                changed_set = True
            elif old.is_dir() and old.name not in dirnames and not (rel == Path(".") and old.name.startswith("build")):
                shutil.rmtree(old)
                changed_set = True
        for f in filenames:
            s, d = Path(dirpath) / f, dst / rel / f
            if s.is_symlink() or not s.is_file():
                continue
            data = s.read_bytes()
            if not d.exists():
                changed_set = True
            if not d.exists() or d.read_bytes() != data:
                d.write_bytes(data)
                shutil.copymode(s, d)
    return changed_set


def run(cmd, cwd=None, timeout=None, env=None):
    """Runs cmd in its own process group; returns (exit code or None on time-out, output)."""
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True, text=True, errors="replace")
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        out, _ = proc.communicate()
        return None, out


class Workspace:
    def __init__(self, base, jobs):
        self.base = base
        self.tree = base / "tree"
        self.build = base / "build"
        self.jobs = jobs
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                        ASAN_OPTIONS="detect_leaks=1:abort_on_error=0",
                        UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1")

    def prepare(self):
        self.tree.mkdir(parents=True, exist_ok=True)
        files_changed = sync_copy(ROOT, self.tree)
        if files_changed or not (self.build / "build.ninja").exists():
            cmd = ["cmake", "-S", str(self.tree), "-B", str(self.build), "-G", "Ninja",
                   "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DZX_SANITIZE=ON",
                   "-DZX_BUILD_GUI=OFF", "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
            # No debug information: it only slows the many rebuilds down.
            if shutil.which("ccache"):
                cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
            code, out = run(cmd)
            if code != 0:
                sys.exit("mutate: configuring the copy failed\n" + out)
        ok, out = self.compile()
        if not ok:
            sys.exit("mutate: the unmutated copy does not build\n" + out[-4000:])

    def compile(self):
        code, out = run(["cmake", "--build", str(self.build), "-j", str(self.jobs), "--target", "zentrix_core_tests"])
        return code == 0, out

    def tests(self, gtest_filter, timeout):
        cmd = [str(self.build / TEST_BINARY), "--gtest_brief=1", "--gtest_fail_fast"]
        if gtest_filter:
            cmd.append("--gtest_filter=" + gtest_filter)
        return run(cmd, cwd=self.build, timeout=timeout, env=self.env)


def suites_of(test_dir):
    """The GoogleTest suite names defined by the test files under test_dir, as a filter."""
    names = set()
    for f in test_dir.rglob("*.cpp"):
        names.update(re.findall(r"\b(?:TEST|TEST_F|TEST_P|TYPED_TEST)\(\s*(\w+)\s*,", f.read_text(encoding="utf-8")))
    return ":".join(p for n in sorted(names) for p in (f"{n}.*", f"*/{n}.*"))


def test_mutant(ws, m, timeout):
    """'killed', 'survived', 'timeout' or 'nobuild', and a line of detail."""
    src = ws.tree / m.path
    original = src.read_text(encoding="utf-8")
    assert original[m.offset:m.offset + len(m.old)] == m.old, m.name()
    src.write_text(original[:m.offset] + m.new + original[m.offset + len(m.old):], encoding="utf-8")
    try:
        built, out = ws.compile()
        if not built:
            err = next((l for l in out.splitlines() if "error" in l), "")
            return "nobuild", err.strip()[:200]
        # The tests of the mutant's own subsystem first: most mutants die there, quickly.
        near = suites_of(ws.tree / "tests/core" / m.subsystem) if m.subsystem != "." else ""
        for flt in ([near, "-" + near] if near else [""]):
            code, out = ws.tests(flt, timeout)
            if code is None:
                return "timeout", f"tests ran longer than {timeout} s"
            if code != 0:
                failed = re.findall(r"\[  FAILED  \] (\S+)", out)
                detail = failed[0] if failed else next(
                    (l for l in out.splitlines() if "Sanitizer" in l or "runtime error" in l), f"exit {code}")
                return "killed", detail.strip()[:200]
        return "survived", ""
    finally:
        src.write_text(original, encoding="utf-8")


def summarise(results, out=sys.stdout):
    by_sub = collections.defaultdict(collections.Counter)
    for r in results:
        by_sub[r["subsystem"]][r["outcome"]] += 1
        by_sub["all"][r["outcome"]] += 1
    print(f"{'subsystem':<10} {'mutants':>7} {'killed':>7} {'survived':>8} {'no build':>8} {'killed %':>8}", file=out)
    for sub in sorted(by_sub, key=lambda s: (s == "all", s)):
        c = by_sub[sub]
        killed = c["killed"] + c["timeout"]
        built = killed + c["survived"]
        pct = f"{100.0 * killed / built:.1f}" if built else "-"
        print(f"{sub:<10} {sum(c.values()):>7} {killed:>7} {c['survived']:>8} {c['nobuild']:>8} {pct:>8}", file=out)
    survivors = sorted((r for r in results if r["outcome"] == "survived"), key=lambda r: (r["path"], r["line"]))
    if survivors:
        print("survivors:", file=out)
        for r in survivors:
            print(f"  {r['path']}:{r['line']}  {r['change']}  | {r['text']}", file=out)
    c = by_sub["all"]
    built = c["killed"] + c["timeout"] + c["survived"]
    return (100.0 * (c["killed"] + c["timeout"]) / built) if built else 100.0


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--count", type=int, default=50, help="number of mutants to try (default 50)")
    ap.add_argument("--all", action="store_true", help="try every candidate mutant")
    ap.add_argument("--seed", type=int, help="picks the mutants (default: from the clock, printed)")
    ap.add_argument("--only", default="", help="only mutants whose file path contains this text")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2, help="parallel compile jobs")
    ap.add_argument("--workdir", type=Path, default=ROOT / "build-mutation", help="copy and build folder")
    ap.add_argument("--results", type=Path, help="append one JSON line per mutant to this file")
    ap.add_argument("--min-score", type=float, default=0.0,
                    help="exit 1 when fewer per cent of the built mutants are killed")
    ap.add_argument("--timeout", type=int, default=0, help="test time limit in seconds (default: from the unmutated run)")
    ap.add_argument("--list", action="store_true",
                    help="print the candidate mutants (with --seed: the ones it picks) and stop")
    ap.add_argument("--again", nargs="+", type=Path,
                    help="try again the mutants that survived in these --results files")
    ap.add_argument("--summary", nargs="*", type=Path, help="summarise earlier --results files and stop")
    args = ap.parse_args()
    # A report piped into head ends quietly when head has read enough.
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)

    if args.summary is not None:
        # A later outcome of the same mutant replaces the earlier one; the outcomes of an --again
        # run only replace, so the figures keep to the mutants the seeds picked. An --again run
        # knows a mutant by its line's text, as equivalent.txt does, since edits above it move
        # its line number.
        def text_key(r):
            return (r["path"], r["text"], r["nth"], r["change"])

        latest, again = {}, []
        for f in args.summary:
            for l in f.read_text().splitlines():
                if l.strip():
                    r = json.loads(l)
                    if r.get("again"):
                        again.append(r)
                    else:
                        latest[(r["path"], r["line"], r["col"], r["change"])] = r
        # Several lines of a file may read the same: each earlier outcome takes the later one
        # nearest to its own line.
        for k, earlier in latest.items():
            same = [(i, r) for i, r in enumerate(again) if text_key(r) == text_key(earlier)]
            if same:  # the nearest; of equally near ones the last run's
                latest[k] = min(same, key=lambda ir: (abs(ir[1]["line"] - earlier["line"]),
                                                      abs(ir[1]["col"] - earlier["col"]), -ir[0]))[1]
        # Mutants since listed as equivalent, or whose code is gone, no longer count.
        equivalent = read_equivalents()
        existing = {m.key() for m in find_mutants(ROOT)}
        kept, dropped = [], collections.Counter()
        for r in latest.values():
            if text_key(r) in equivalent:
                dropped["listed as equivalent"] += 1
            elif text_key(r) not in existing:
                dropped["gone from the sources"] += 1
            else:
                kept.append(r)
        summarise(kept)
        for why, n in sorted(dropped.items()):
            print(f"not counted: {n} {why}")
        return 0

    equivalent = read_equivalents()
    candidates = [m for m in find_mutants(ROOT) if m.key() not in equivalent and args.only in m.path]
    seed = args.seed if args.seed is not None else int(time.time()) % 100000
    if args.again:
        earlier = {(r["path"], r["text"], r["nth"], r["change"])
                   for f in args.again for l in f.read_text().splitlines() if l.strip()
                   for r in [json.loads(l)] if r["outcome"] == "survived"}
        chosen = [m for m in candidates if m.key() in earlier]
    elif args.all:
        chosen = candidates
    else:
        chosen = random.Random(seed).sample(candidates, min(args.count, len(candidates)))
    chosen.sort(key=lambda m: (m.path, m.offset))  # neighbours share a rebuilt object
    if args.list:
        for m in (chosen if args.seed is not None or args.again else candidates):
            print(f"{m.name():<60} | {m.text}")
        print(f"{len(candidates)} candidate mutants ({len(equivalent)} listed as equivalent)", file=sys.stderr)
        return 0
    print(f"mutate: seed {seed}, {len(chosen)} of {len(candidates)} candidate mutants", flush=True)

    ws = Workspace(args.workdir, args.jobs)
    started = time.monotonic()
    ws.prepare()
    t0 = time.monotonic()
    code, out = ws.tests("", None)
    if code != 0:
        sys.exit("mutate: the core tests fail without any mutant\n" + out[-4000:])
    timeout = args.timeout or max(60, int(5 * (time.monotonic() - t0)))
    print(f"mutate: copy built and green in {time.monotonic() - started:.0f} s; test time limit {timeout} s", flush=True)

    results = []
    for i, m in enumerate(chosen, start=1):
        t = time.monotonic()
        outcome, detail = test_mutant(ws, m, timeout)
        r = {"seed": seed, "path": m.path, "subsystem": m.subsystem, "line": m.line, "col": m.col, "op": m.op,
             "change": f"{m.old} -> {m.new}", "nth": m.nth, "text": m.text, "outcome": outcome, "detail": detail,
             "again": bool(args.again)}
        results.append(r)
        if args.results:
            with args.results.open("a", encoding="utf-8") as f:
                f.write(json.dumps(r) + "\n")
        print(f"[{i}/{len(chosen)}] {outcome:<8} {m.name()}  ({time.monotonic() - t:.0f} s) {detail}", flush=True)
    ws.compile()  # leave the copy built from the unmutated sources

    print(f"mutate: seed {seed}, {time.monotonic() - started:.0f} s")
    score = summarise(results)
    if score < args.min_score:
        print(f"mutate: {score:.1f} % of the built mutants killed, below {args.min_score:.0f} %")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
