#!/usr/bin/env python3
"""Fails when a source file includes from a higher floor, or when units
(a header and its source file) include each other in a circle.

Floors from the ground up; folders on one floor may include each other.
"""
import os
import re
import sys

FLOORS = [
    ["platform"],
    ["model"],
    ["matching", "metadata"],
    ["engine"],
    ["scriptio", "textfile"],
    ["filelist", "config"],
    ["rename"],
    ["session"],
    ["cli", "ui"],
    ["app"],
]
FLOOR_OF = {folder: level for level, folders in enumerate(FLOORS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/([A-Za-z0-9_]+)\.h"')


def units(src):
    """Maps each unit "folder/Name" to the units its header and source include."""
    graph = {}
    problems = []
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        if folder not in FLOOR_OF:
            problems.append(f"src/{folder}: folder on no floor; add it to {__file__}")
            continue
        for name in sorted(os.listdir(path)):
            stem, ext = os.path.splitext(name)
            if ext not in (".h", ".cpp"):
                continue
            unit = f"{folder}/{stem}"
            graph.setdefault(unit, set())
            with open(os.path.join(path, name), encoding="utf-8") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target_folder, target = match.groups()
                    level = FLOOR_OF.get(target_folder)
                    if level is None or level > FLOOR_OF[folder]:
                        problems.append(
                            f"src/{folder}/{name}:{number}: includes {target_folder}/{target}.h "
                            f"from a higher floor")
                    target_unit = f"{target_folder}/{target}"
                    if target_unit != unit:
                        graph[unit].add(target_unit)
    return graph, problems


def circles(graph):
    """Every include circle between units, found by a depth-first walk."""
    found = []
    state = {}
    stack = []

    def walk(unit):
        state[unit] = "open"
        stack.append(unit)
        for target in sorted(graph.get(unit, ())):
            if state.get(target) == "open":
                found.append(stack[stack.index(target):] + [target])
            elif target not in state:
                walk(target)
        stack.pop()
        state[unit] = "done"

    for unit in sorted(graph):
        if unit not in state:
            walk(unit)
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../src")
    graph, problems = units(src)
    for circle in circles(graph):
        problems.append("include circle: " + " -> ".join(circle))
    for problem in problems:
        print(problem)
    print(f"{len(graph)} units checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
