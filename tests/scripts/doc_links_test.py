#!/usr/bin/env python3
"""Every relative link and anchor in the README and docs/ leads somewhere: the file exists,
and a #fragment names a heading of that file (GitHub's anchors: lower case, punctuation
dropped, blanks as hyphens). Exits non-zero and names each broken link."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parents[2]
pages = [root / "README.md"] + sorted((root / "docs").glob("*.md"))


def anchors(page):
    found = set()
    for heading in re.findall(r"^#+ (.+)$", page.read_text(encoding="utf-8"), re.M):
        text = re.sub(r"[`*_]", "", heading).strip().lower()
        found.add(re.sub(r"[^\w\- ]", "", text).replace(" ", "-"))
    return found


broken = []
for page in pages:
    text = page.read_text(encoding="utf-8")
    # Code is not prose: a bracket in it is no link.
    text = re.sub(r"```.*?```", "", text, flags=re.S)
    text = re.sub(r"`[^`\n]*`", "", text)
    for target in re.findall(r"\]\(([^)\s]+)\)", text):
        if re.match(r"[a-z]+:", target):
            continue  # an address on the web is not ours to check here
        path, _, fragment = target.partition("#")
        linked = (page.parent / path).resolve() if path else page
        if not linked.exists():
            broken.append(f"{page.relative_to(root)}: {target} (no such file)")
        elif fragment and linked.suffix == ".md" and fragment not in anchors(linked):
            broken.append(f"{page.relative_to(root)}: {target} (no such heading)")
    if page.name == "README.md" and len(text.splitlines()) > 160:
        broken.append(f"README.md: {len(text.splitlines())} lines, more than a first read")

for line in broken:
    print(line)
sys.exit(1 if broken else 0)
