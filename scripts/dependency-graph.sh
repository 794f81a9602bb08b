#!/usr/bin/env bash
# The picture of the CMake targets in README.md ("Dependencies"), drawn from CMake itself: the
# project is configured in build-graph/ (Linux, without the tests), `cmake --graphviz` writes its
# targets and links (cmake/CMakeGraphVizOptions.cmake leaves out the system's libraries), and the
# links become a Mermaid flowchart between the README's two markers.
#   scripts/dependency-graph.sh           rewrites the picture in README.md
#   scripts/dependency-graph.sh --check   exits 1 when the picture no longer matches CMake (CI)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "Usage: $0 [--check]" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh" >/dev/null
build=$root/build-graph
cmake -S "$root" -B "$build" -G Ninja -DBUILD_TESTING=OFF >/dev/null
cp "$root/cmake/CMakeGraphVizOptions.cmake" "$build/"
rm -rf "$build/graph" && mkdir "$build/graph"
cmake --graphviz="$build/graph/showcase.dot" "$build" >/dev/null

python3 - "$build/graph/showcase.dot" "$root/README.md" "$check" <<'PY'
import re, sys

dot, readme, check = sys.argv[1], sys.argv[2], sys.argv[3] == "1"
begin, end = "<!-- dependency-graph: begin -->", "<!-- dependency-graph: end -->"
names, shapes, links = {}, {}, set()
for line in open(dot):
    if "legend" in line.lower():
        continue
    node = re.match(r'\s*"(node\d+)" \[ label = "([^"]+)", shape = (\w+) \]', line)
    if node:
        names[node[1]] = node[2]
        shapes[node[2]] = node[3]
    link = re.match(r'\s*"(node\d+)" -> "(node\d+)"', line)
    if link and link[1] != link[2]:
        links.add((link[1], link[2]))
# Programs as rounded boxes, libraries as boxes; ids free of the names' dashes.
ids = {name: re.sub(r"\W", lambda c: f"_{ord(c[0]):x}_", name) for name in names.values()}
lines = ["```mermaid", "flowchart TD"]
for name in sorted(shapes):
    lines.append(f"  {ids[name]}({name})" if shapes[name] == "egg" else f"  {ids[name]}[{name}]")
for a, b in sorted((names[a], names[b]) for a, b in links):
    lines.append(f"  {ids[a]} --> {ids[b]}")
lines.append("```")
picture = "\n".join(lines)

text = open(readme).read()
start, stop = text.index(begin) + len(begin), text.index(end)
new = text[:start] + "\n" + picture + "\n" + text[stop:]
count = f"{len(shapes)} targets, {len(links)} links"
if check:
    if new != text:
        sys.exit(f"README.md: the dependency picture no longer matches the CMake targets ({count}); "
                 "run scripts/dependency-graph.sh")
    print(f"dependency picture up to date: {count}")
elif new != text:
    open(readme, "w").write(new)
    print(f"README.md: dependency picture rewritten: {count}")
else:
    print(f"dependency picture up to date: {count}")
PY
