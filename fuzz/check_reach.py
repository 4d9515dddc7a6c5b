#!/usr/bin/env python3
"""Replays the seed corpora once with the trace on and fails when an op of
either table is never called, or never returns without raising, in that
replay: the seeds are what keeps every entry reached past its argument
checks while the fuzzers mutate them.

    fuzz/check_reach.py [--build FOLDER] [newer] [2007] [legacy]

FOLDER holds the fuzz binaries (default build/fuzz/fuzz); naming replays
runs only those.

The 64-bit table is replayed against a newer server and against a 2007 one
(the library asks the generation once per process); every one of its entries
can work on both. Op names are read from the harness sources, as
fuzz/make_seeds.py reads them for the seeds.
"""
import os
import subprocess
import sys

from make_seeds import HERE, names_of_ops


def replay(binary, corpus, env):
    """The lines one replay of the corpus prints, the trace among them."""
    environment = {k: v for k, v in os.environ.items() if k != "KESTREL_FUZZ_SERVER_VERSION"}
    environment.update(env, KESTREL_FUZZ_TRACE="1")
    run = subprocess.run([binary, "-runs=0", corpus], env=environment, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, errors="replace")
    if run.returncode != 0:
        sys.stdout.write(run.stdout[-4000:])
        raise SystemExit(f"{os.path.basename(binary)} failed replaying {corpus}")
    return run.stdout.splitlines()


def check(name, binary, corpus, source, env):
    ops = names_of_ops(source)
    known = set(ops)
    called, returned = set(), set()
    current = None
    for line in replay(binary, corpus, env):
        if line in known:
            current = line
            called.add(line)
        elif line == "  returned" and current:
            returned.add(current)
    never_called = [op for op in ops if op not in called]
    never_returned = [op for op in ops if op in called and op not in returned]
    print(f"{name}: {len(called)} of {len(ops)} ops called, {len(returned)} returned without raising")
    if never_called:
        print(f"  never called: {' '.join(never_called)}")
    if never_returned:
        print(f"  never returned without raising: {' '.join(never_returned)}")
    return not never_called and not never_returned


def main():
    args = sys.argv[1:]
    folder = os.path.join(HERE, "..", "build", "fuzz", "fuzz")
    if args[:1] == ["--build"]:
        folder, args = args[1], args[2:]
    table = os.path.join(folder, "kestrel_fuzz")
    corpus = os.path.join(HERE, "corpus")
    replays = {
        "newer": (table, corpus, "kestrel_fuzz.cpp", {}),
        "2007": (table, corpus, "kestrel_fuzz.cpp", {"KESTREL_FUZZ_SERVER_VERSION": "V2007.1.0"}),
        "legacy": (os.path.join(folder, "kestrel_legacy_fuzz"), os.path.join(HERE, "legacy_corpus"),
                   "kestrel_legacy_fuzz.cpp", {}),
    }
    unknown = [a for a in args if a not in replays]
    if unknown:
        raise SystemExit(f"no replay named {' '.join(unknown)}; there are {' '.join(replays)}")
    ok = True
    for name in args or list(replays):
        ok &= check(name, *replays[name])
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
