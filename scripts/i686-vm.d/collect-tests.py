#!/usr/bin/env python3
"""Turns ctest's list of the selected tests into the test machine's input.

    collect-tests.py <tests.json> <ctest -N output> <build tree> <stage folder>

<tests.json> is `ctest --show-only=json-v1` of the selected tests, the -N
output gives their numbers. The selected tests are Windows programs, run
under Wine; the fixtures they require (servers started before them and
stopped after them) are the machine's own programs, run as they are with
the files beside them, the
setups before every other test and the cleanups after. Writes into <stage folder>:
  qv-run/tests/NNN/{argv,env,dir,timeout}  what the machine runs (see run-tests),
                   and NNN/native for a fixture
  qv-run/trees     absolute folders the machine puts back at their paths
  files            NUL-separated paths, relative to /, to pack into the tar
  tests.tsv        id, ctest number, name, timeout, will-fail (one per line)
Prints the number of tests and the sum of their time-outs.
"""
import json
import os
import re
import sys

# ctest's own default when a test sets no TIMEOUT.
DEFAULT_TIMEOUT = 1500
# Properties that decide a test's result by something other than its exit
# status; a test using one would be judged wrongly here, so it is refused.
UNSUPPORTED = ("PASS_REGULAR_EXPRESSION", "FAIL_REGULAR_EXPRESSION", "SKIP_REGULAR_EXPRESSION",
               "SKIP_RETURN_CODE")


def fail(message):
    print("i686-vm: " + message, file=sys.stderr)
    sys.exit(1)


def windows_binaries(folder):
    """The .exe and .dll files directly in folder (the Windows loader looks there)."""
    if not os.path.isdir(folder):
        return []
    return sorted(os.path.join(folder, name) for name in os.listdir(folder)
                  if name.lower().endswith((".exe", ".dll"))
                  and os.path.isfile(os.path.join(folder, name)))


def compiled_in_paths(program, build_tree):
    """Files of the build tree whose absolute paths the program has compiled
    in (a helper program or library it starts or loads by full path), found
    as narrow or UTF-16 strings. A folder stands for its .exe and .dll files."""
    with open(program, "rb") as f:
        image = f.read()
    prefix = build_tree.rstrip("/") + "/"
    tail = rb"[^\x00-\x1f\"'<>|*?\\]*"
    found = set()
    for m in re.finditer(re.escape(prefix.encode()) + tail, image):
        found.add(m.group().decode("utf-8", "replace"))
    wide_prefix = prefix.encode("utf-16-le")
    for m in re.finditer(re.escape(wide_prefix) + rb"(?:[^\x00-\x1f\"'<>|*?\\]\x00)*", image):
        found.add(m.group().decode("utf-16-le", "replace"))
    files = set()
    for path in found:
        path = path.rstrip("/.")
        if os.path.isfile(path):
            files.add(path)
        elif os.path.isdir(path):
            files.update(windows_binaries(path))
    return files


def sibling_files(program):
    """The regular files in the folder of a fixture's program."""
    folder = os.path.dirname(program)
    return {os.path.join(folder, name) for name in os.listdir(folder)
            if os.path.isfile(os.path.join(folder, name))}


def is_below(path, folder):
    return path == folder or path.startswith(folder.rstrip("/") + "/")


def main():
    json_path, numbers_path, build_tree, stage = sys.argv[1:5]
    with open(json_path, encoding="utf-8") as f:
        listing = json.load(f)
    numbers = {}
    with open(numbers_path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\s*Test\s+#(\d+): (\S+)\s*$", line)
            if m:
                numbers[m.group(2)] = int(m.group(1))

    def fixture_role(test):
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        if "FIXTURES_SETUP" in props:
            return 0
        return 2 if "FIXTURES_CLEANUP" in props else 1

    tests = sorted(listing.get("tests", []), key=fixture_role)
    files = set()
    folders = set()
    rows = []
    timeouts = 0
    for index, test in enumerate(tests, start=1):
        name = test["name"]
        command = test.get("command") or []
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        for prop in UNSUPPORTED:
            if prop in props:
                fail(f"test {name} uses {prop}, which this runner does not judge")
        if props.get("DISABLED") in (True, "ON", "1", "TRUE"):
            continue
        # The build tree's launcher (wine-run) comes first; the machine has its own Wine.
        if command and os.path.basename(command[0]) == "wine-run":
            command = command[1:]
        native = fixture_role(test) != 1
        if not command or not (native or command[0].lower().endswith(".exe")):
            fail(f"test {name} does not run a Windows program: {test.get('command')}")
        program = command[0]
        if not os.path.isabs(program) or not os.path.isfile(program):
            fail(f"test {name}: {program} is not built")
        workdir = props.get("WORKING_DIRECTORY") or os.path.dirname(program)
        timeout = int(float(props.get("TIMEOUT", DEFAULT_TIMEOUT)))
        if timeout <= 0:
            timeout = DEFAULT_TIMEOUT
        env = props.get("ENVIRONMENT", [])
        if isinstance(env, str):
            env = [env]
        will_fail = 1 if props.get("WILL_FAIL") in (True, "ON", "1", "TRUE", "YES") else 0

        # The program, what it loads or starts from beside itself or from its
        # working folder (every .exe and .dll there), and the build tree's
        # files it names by absolute path.
        files.add(program)
        folders.add(workdir)
        if native:
            # A fixture script may source its helpers from beside itself.
            folders.add(os.path.dirname(program))
            files.update(sibling_files(program))
        else:
            for folder in {os.path.dirname(program), workdir}:
                files.update(windows_binaries(folder))
                folders.add(folder)
            files.update(compiled_in_paths(program, build_tree))

        test_id = f"{index:03d}"
        folder = os.path.join(stage, "qv-run", "tests", test_id)
        os.makedirs(folder)
        with open(os.path.join(folder, "argv"), "wb") as f:
            f.write(b"".join(a.encode() + b"\0" for a in command))
        with open(os.path.join(folder, "env"), "wb") as f:
            f.write(b"".join(e.encode() + b"\0" for e in env))
        with open(os.path.join(folder, "dir"), "w", encoding="utf-8") as f:
            f.write(workdir)
        with open(os.path.join(folder, "timeout"), "w", encoding="utf-8") as f:
            f.write(str(timeout))
        if native:
            open(os.path.join(folder, "native"), "w").close()
        rows.append((test_id, numbers.get(name, index), name, timeout, will_fail))
        timeouts += timeout

    # Folders to put back: the whole build tree (tests may write beside their
    # programs), and any folder outside it that holds a packed file or is a
    # working folder (one inside another one already listed is left out).
    trees = [os.path.abspath(build_tree)]
    for folder in sorted(folders | {os.path.dirname(p) for p in files}):
        if not any(is_below(folder, t) for t in trees):
            trees.append(folder)
    with open(os.path.join(stage, "qv-run", "trees"), "wb") as f:
        f.write(b"".join(t.encode() + b"\0" for t in trees))
    with open(os.path.join(stage, "files"), "wb") as f:
        f.write(b"".join(p.lstrip("/").encode() + b"\0" for p in sorted(files)))
    with open(os.path.join(stage, "tests.tsv"), "w", encoding="utf-8") as f:
        for row in rows:
            f.write("\t".join(str(v) for v in row) + "\n")
    print(len(rows), timeouts)


if __name__ == "__main__":
    main()
