#!/usr/bin/env python3
"""Checks the program's structure; ./test.sh runs it and fails on any finding.

A unit is a .h/.cpp pair. The check fails when
  - units include each other in a cycle (directly or through others), or
  - a folder includes a header of a folder it may not depend on (see ALLOWED): dependencies
    point downwards only, and features of app/ do not reach into each other's folders
    except as ALLOWED says.
Includes are the quoted ones; system and Qt headers (<...>) are ignored.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_DIRS = ["platform", "engine", "charcode", "view", "search", "compare", "checksum", "byteops", "formats", "instances", "print", "app"]

# Which folders each folder may include from (besides itself). Folders not named here
# (app's feature folders as they come) may include every non-app layer and app/ui,
# app/settings; app/main may include everything.
BELOW_APP = ["platform", "engine", "charcode", "view", "search", "compare", "checksum", "byteops", "formats", "instances", "print"]
ALLOWED = {
    "platform": [],
    "engine": ["platform"],
    "charcode": ["engine", "platform"],
    "view": ["charcode", "engine", "platform"],
    "search": ["charcode", "engine", "platform"],
    "compare": ["engine", "platform"],
    "checksum": ["engine", "platform"],
    "byteops": ["engine", "platform"],
    "formats": ["engine", "platform"],
    "instances": ["platform"],
    "print": ["engine", "platform"],
    "app/ui": BELOW_APP,
    "app/settings": BELOW_APP + ["app/ui"],
}
FEATURE_ALLOWED = BELOW_APP + ["app/ui", "app/settings"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(rel):
    parts = rel.split("/")
    if parts[0] == "app" and len(parts) > 2:
        return "app/" + parts[1]
    return parts[0]


def allowed_for(folder):
    if folder in ALLOWED:
        return ALLOWED[folder]
    if folder == "app/main" or folder == "app":
        return None  # the top: anything below
    return FEATURE_ALLOWED


def main():
    files = []
    for d in SOURCE_DIRS:
        for base, _, names in os.walk(os.path.join(ROOT, d)):
            for n in names:
                if n.endswith((".h", ".cpp")):
                    files.append(os.path.relpath(os.path.join(base, n), ROOT))
    headers = {}
    for f in files:
        if f.endswith(".h"):
            headers.setdefault(os.path.basename(f), []).append(f)
    problems = []
    for name, where in headers.items():
        if len(where) > 1:
            problems.append("header name used twice: " + ", ".join(sorted(where)))

    unit = lambda f: os.path.splitext(f)[0]
    edges = {}
    for f in files:
        src = unit(f)
        edges.setdefault(src, set())
        with open(os.path.join(ROOT, f), encoding="utf-8", errors="replace") as fh:
            text = fh.read()
        for inc in INCLUDE.findall(text):
            target = headers.get(os.path.basename(inc))
            if not target:
                continue
            dst = unit(target[0])
            if dst == src:
                continue
            edges[src].add(dst)
            ok = allowed_for(folder_of(f))
            tf = folder_of(target[0])
            if ok is not None and tf != folder_of(f) and tf not in ok:
                problems.append("%s includes %s: %s may not depend on %s" % (f, target[0], folder_of(f), tf))

    # Tarjan's strongly connected components, iteratively.
    index, low, on_stack, stack, sccs = {}, {}, set(), [], []
    counter = [0]
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            v, it = work[-1]
            advanced = False
            for w in it:
                if w not in index:
                    index[w] = low[w] = counter[0]
                    counter[0] += 1
                    stack.append(w)
                    on_stack.add(w)
                    work.append((w, iter(sorted(edges.get(w, ())))))
                    advanced = True
                    break
                if w in on_stack:
                    low[v] = min(low[v], index[w])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[v])
            if low[v] == index[v]:
                comp = []
                while True:
                    w = stack.pop()
                    on_stack.discard(w)
                    comp.append(w)
                    if w == v:
                        break
                if len(comp) > 1:
                    sccs.append(sorted(comp))
    for comp in sccs:
        problems.append("include cycle between %d units: %s" % (len(comp), " ".join(comp)))

    for p in problems:
        print(p)
    print("structure: %d units, %d cycles, %d findings" % (len(edges), len(sccs), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
