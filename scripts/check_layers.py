#!/usr/bin/env python3
# check_layers.py: reads the #include lines of the product's files and fails on any include that
# points up a layer, between two folders of one layer, or into a folder it does not know, and on any
# circle of includes between files. A file's header and source count as one node (ui/foo.h and
# ui/foo.cpp are "ui/foo"): a.cpp including b.h while b.cpp includes a.h is a circle.
# Usage: check_layers.py [ROOT]   (exit 0 green, 1 red)
import os
import re
import sys

# Bottom to top. A file may include its own folder and any folder of a lower layer.
LAYERS = [
    ("base", ["common", "res/resource.h"]),
    ("core", ["device", "stream", "hostnet"]),
    ("files", ["files"]),
    ("directory", ["directory"]),
    ("webget", ["webget"]),
    ("winkit", ["winkit"]),
    ("features", ["ui", "cli"]),
    ("app", ["app", "res/setradio.rc"]),
]
SOURCE_ENDINGS = (".h", ".cpp", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def place_of(path):
    """(layer index, folder or file entry) of a path relative to the root; None outside the table."""
    best = None
    for index, (_, entries) in enumerate(LAYERS):
        for entry in entries:
            if path == entry or path.startswith(entry + "/"):
                if best is None or len(entry) > len(best[1]):
                    best = (index, entry)
    return best


def node_of(path):
    return os.path.splitext(path)[0]


def product_files(root):
    for _, entries in LAYERS:
        for entry in entries:
            full = os.path.join(root, entry)
            if os.path.isfile(full):
                yield entry
                continue
            for name in sorted(os.listdir(full)) if os.path.isdir(full) else []:
                if name.endswith(SOURCE_ENDINGS) and os.path.isfile(os.path.join(full, name)):
                    yield entry + "/" + name


def circles(graph):
    """The groups of nodes that include each other, directly or round about (Tarjan's components)."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = len(index)
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                group = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    group.append(member)
                    if member == node:
                        break
                if len(group) > 1:
                    groups.append(sorted(group))
    return groups


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    print("layers, bottom to top (a file includes its own folder and lower layers only):")
    for index, (name, entries) in enumerate(LAYERS):
        print("  %d %-8s %s" % (index + 1, name, " ".join(entries)))
    faults = []
    graph = {}
    count = 0
    for path in product_files(root):
        count += 1
        layer, entry = place_of(path)
        node = node_of(path)
        graph.setdefault(node, set())
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                if not os.path.isfile(os.path.join(root, target)):
                    continue  # system or generated header, not the product's
                place = place_of(target)
                where = "%s:%d: includes %s" % (path, number, target)
                if place is None:
                    faults.append(where + " (outside the layer table)")
                    continue
                if place[0] > layer:
                    faults.append("%s (up from %s to %s)" % (where, LAYERS[layer][0], LAYERS[place[0]][0]))
                elif place[0] == layer and place[1] != entry:
                    faults.append("%s (sideways within %s)" % (where, LAYERS[layer][0]))
                if node_of(target) != node:
                    graph[node].add(node_of(target))
    for group in circles(graph):
        faults.append("circle of includes among: " + " ".join(group))
    for fault in faults:
        print("LAYERS: " + fault)
    print("layers: %d files, %s" % (count, "%d faults" % len(faults) if faults else "every include points down, no circle"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
