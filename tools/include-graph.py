#!/usr/bin/env python3
"""The include graph between the program's folders.

Reads every quoted #include of the program's sources (the folders of the
libraries below, with their win32/ parts; points/, files/, link/, app/,
resources/ and win32/ in a tree that declares none; with --all also tests/,
fuzz/ and tools/), and prints one line per pair of folders that one
includes from the other, with the number of includes:

    app -> files  (12)

Then it checks the graph against the libraries that CMakeLists.txt declares
with ruvo_library(<name> <folder> USES <libraries...>): an include of a
folder whose library the including folder's library does not use, directly
or through a library it uses, is against the direction. A loop between
folders, or an include against the direction, makes the exit status 1.

    python3 tools/include-graph.py [--tree DIR] [--rules CMAKELISTS] [--all]

--tree reads another checkout (e.g. an older commit), --rules takes the
libraries from another CMakeLists.txt (the default: the tree's own; a tree
without ruvo_library declarations is only drawn and searched for loops).
"""

import argparse
import os
import re
import sys

PROGRAM_FOLDERS = ('points', 'files', 'link', 'app', 'resources', 'win32', 'cli')
CONSUMER_FOLDERS = ('tests', 'fuzz', 'tools')
SOURCE_ENDINGS = ('.h', '.cpp')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
LIBRARY = re.compile(r'ruvo_library\(([^)]*)\)')
KEYWORDS = ('SUBFOLDERS', 'EXCLUDE', 'USES')


PLATFORM_PARTS = ('win32', 'posix')


def folder_of(path, homes=None):
    """The folder a file counts to: the folder of the library whose sources
    hold it (homes: {folder or subfolder: the library's folder}), the
    nearest such folder up from it; without one, its top folder, and its
    platform parts (win32/, posix/) apart (app/families/X.cpp counts to app,
    app/win32/Y.cpp to app/win32, link/posix/Z.cpp to link/posix)."""
    folder = os.path.dirname(path).replace(os.sep, '/')
    while homes and folder:
        if folder in homes:
            return homes[folder]
        folder = folder.rpartition('/')[0]
    parts = os.path.dirname(path).replace(os.sep, '/').split('/')
    for part in PLATFORM_PARTS:
        if part in parts[1:]:
            return parts[0] + '/' + part
    return parts[0]


def sources(tree, folders):
    for top in folders:
        base = os.path.join(tree, top)
        for root, dirs, files in os.walk(base):
            dirs[:] = sorted(d for d in dirs if not d.startswith('.') and d != 'corpus')
            for name in sorted(files):
                if name.endswith(SOURCE_ENDINGS):
                    yield os.path.relpath(os.path.join(root, name), tree).replace(os.sep, '/')


def resolve(tree, includer, target):
    """The file an include names, relative to the tree, or None (a system or
    generated header): next to the includer first, then from the tree's top,
    then from resources/ (where the resource scripts' header lives)."""
    for base in (os.path.dirname(includer), '', 'resources'):
        candidate = os.path.normpath(os.path.join(base, target)).replace(os.sep, '/')
        if not candidate.startswith('..') and os.path.isfile(os.path.join(tree, candidate)):
            return candidate
    return None


def graph(tree, folders, homes=None):
    edges = {}
    for path in sources(tree, folders):
        with open(os.path.join(tree, path), encoding='utf-8', errors='replace') as f:
            text = f.read()
        for target in INCLUDE.findall(text):
            found = resolve(tree, path, target)
            if found is None:
                continue
            a, b = folder_of(path, homes), folder_of(found, homes)
            if a != b:
                edges[(a, b)] = edges.get((a, b), 0) + 1
    return edges


def loops(edges):
    """Folders that lie on a loop, as lists (strongly connected components)."""
    nodes = sorted({n for e in edges for n in e})
    out = {n: [b for (a, b) in edges if a == n] for n in nodes}
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]

    def visit(n):
        index[n] = low[n] = counter[0]
        counter[0] += 1
        stack.append(n)
        on.add(n)
        for m in out[n]:
            if m not in index:
                visit(m)
                low[n] = min(low[n], low[m])
            elif m in on:
                low[n] = min(low[n], index[m])
        if low[n] == index[n]:
            part = []
            while True:
                m = stack.pop()
                on.discard(m)
                part.append(m)
                if m == n:
                    break
            if len(part) > 1:
                found.append(sorted(part))

    for n in nodes:
        if n not in index:
            visit(n)
    return found


def libraries(rules):
    """({folder: set of folders it may include}, {folder or subfolder: its
    library's folder}), from the ruvo_library calls (cmake/Libraries.cmake):
    a library's folder may include the folders of the libraries it uses, and
    of theirs in turn; its SUBFOLDERS count to its folder."""
    with open(rules, encoding='utf-8') as f:
        text = re.sub(r'#.*', '', f.read())
    folder_of_lib, uses, homes = {}, {}, {}
    for call in LIBRARY.findall(text):
        words = call.split()
        name, folder = words[0], words[1]
        folder_of_lib[name] = folder
        homes[folder] = folder
        uses[name], keyword = [], None
        for word in words[2:]:
            if word in KEYWORDS:
                keyword = word
            elif keyword == 'USES':
                uses[name].append(word)
            elif keyword == 'SUBFOLDERS':
                homes[word] = folder
    allowed = {}
    for name, folder in folder_of_lib.items():
        reach, todo = set(), list(uses[name])
        while todo:
            lib = todo.pop()
            if lib in reach or lib not in folder_of_lib:
                continue
            reach.add(lib)
            todo.extend(uses[lib])
        allowed[folder] = {folder_of_lib[lib] for lib in reach}
    return allowed, homes


def main(argv):
    parser = argparse.ArgumentParser(description='The include graph between the program\'s folders.')
    parser.add_argument('--tree', default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument('--rules', help='the CMakeLists.txt whose ruvo_library calls give the direction')
    parser.add_argument('--all', action='store_true', help='tests/, fuzz/ and tools/ as well')
    args = parser.parse_args(argv)

    allowed, homes = libraries(args.rules or os.path.join(args.tree, 'CMakeLists.txt'))
    program = sorted({folder.split('/')[0] for folder in allowed}) or list(PROGRAM_FOLDERS)
    folders = tuple(program) + (CONSUMER_FOLDERS if args.all else ())
    edges = graph(args.tree, folders, homes)

    against = []
    for (a, b), count in sorted(edges.items()):
        wrong = bool(allowed) and a in allowed and b not in allowed[a]
        if wrong:
            against.append((a, b, count))
        print('%-14s -> %-14s (%d)%s' % (a, b, count, '  AGAINST THE DIRECTION' if wrong else ''))
    circles = loops(edges)
    print('%d pairs of folders, %d includes between folders' % (len(edges), sum(edges.values())))
    print('loops: %s' % ('; '.join(' <-> '.join(c) for c in circles) if circles else 'none'))
    if allowed:
        unknown = sorted({a for (a, _) in edges if a not in allowed and a.split('/')[0] in program})
        for folder in unknown:
            print('folder %s belongs to no library' % folder)
        print('against the direction: %d' % len(against))
    else:
        unknown = []
        print('against the direction: not checked (no ruvo_library declarations)')
    return 1 if circles or against or unknown else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
