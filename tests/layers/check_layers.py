#!/usr/bin/env python3
"""Fails when a source file includes a top-level folder that tools/layers.txt
places above the file's own folder. Lists every offending line."""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/', re.MULTILINE)


def layer_order():
    text = (ROOT / "tools" / "layers.txt").read_text()
    names = [line.strip() for line in text.splitlines()
             if line.strip() and not line.lstrip().startswith("#")]
    return {name: rank for rank, name in enumerate(names)}


def violations(order):
    for folder, rank in order.items():
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".in") or not path.is_file():
                continue
            text = path.read_text(errors="replace")
            for match in INCLUDE.finditer(text):
                target = match.group(1)
                if target in order and order[target] > rank:
                    line = text.count("\n", 0, match.start()) + 1
                    yield f"{path.relative_to(ROOT)}:{line}: {folder}/ may not include {target}/"


def main():
    order = layer_order()
    missing = [name for name in order if not (ROOT / name).is_dir()]
    if missing:
        print("tools/layers.txt names folders that do not exist:", ", ".join(missing))
        return 1
    found = list(violations(order))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layer order" if found else "layer order kept")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
