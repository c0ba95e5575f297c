#!/usr/bin/env bash
# Installs the library from BUILD_DIR (default build) into a scratch prefix,
# checks that exactly the public headers went in (those orv/orv.hpp reaches),
# then builds the README's example (the C++ block under "Use as a library")
# against the installed copy, once with pkg-config and once with the CMake
# package, and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
inc="$prefix/include"

reached=$(echo '#include "orv/orv.hpp"' | g++ -std=c++20 -I"$inc" -x c++ -M - |
  tr ' \\' '\n\n' | grep "^$inc/orv/" | sed "s#^$inc/##" | sort -u)
installed=$(cd "$inc" && find orv -name '*.hpp' | sort)
test -f "$inc/orv/automation/orvmain_c.h"
if [[ "$reached" != "$installed" ]]; then
  echo "installed headers differ from those orv/orv.hpp reaches:" >&2
  diff <(echo "$reached") <(echo "$installed") >&2 || true
  exit 1
fi

work="$prefix/example"
mkdir -p "$work"
python3 - "$work/use_library.cpp" <<'PY'
import re, sys
text = open("README.md").read()
section = text.split("## Use as a library", 1)[1]
code = re.search(r"```cpp\n(.*?)```", section, re.S).group(1)
open(sys.argv[1], "w").write(code)
PY
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig:$prefix/lib/x86_64-linux-gnu/pkgconfig:${PKG_CONFIG_PATH:-}"
g++ -O2 "$work/use_library.cpp" $(pkg-config --define-variable=prefix="$prefix" --cflags --libs orvmain) -o "$work/use_library"
(cd "$work" && ./use_library && test -s scatter.xlsx)

cat > "$work/CMakeLists.txt" <<CM
cmake_minimum_required(VERSION 3.22)
project(use_library CXX)
find_package(orvmain REQUIRED)
add_executable(use_library use_library.cpp)
target_link_libraries(use_library PRIVATE orv::orvmain)
CM
cmake -S "$work" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/build" >/dev/null
(cd "$work" && rm -f scatter.xlsx && build/use_library >/dev/null && test -s scatter.xlsx)

# The late-bound clients' examples, as the README writes them: C against
# liborvmain.so, orv serve (its answers must be the README's), Python.
python3 - "$work" <<'PY'
import re, sys
text, work = open("README.md").read(), sys.argv[1]
late = text.split("## Late-bound use", 1)[1]
c = re.search(r"```c\n(.*?)```", late, re.S).group(1)
sh = re.search(r"```sh\n(.*?)```", late, re.S).group(1)
answers = re.search(r"answers\n\n```\n(.*?)```", late, re.S).group(1)
py = re.search(r"```python\n(.*?)```", late, re.S).group(1)
for name, body in (("inverse.c", c), ("serve.sh", sh), ("serve.expected", answers), ("example.py", py)):
    open(f"{work}/{name}", "w").write(body)
PY
cc "$work/inverse.c" -I"$prefix/include" -L"$prefix/lib" -lorvmain -Wl,-rpath,"$prefix/lib" -o "$work/inverse"
"$work/inverse" | grep -q "^9 ORVMain: Subscript out of range$"
PATH="$prefix/bin:$PATH" bash "$work/serve.sh" | diff - "$work/serve.expected"
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
"$work/venv/bin/pip" install -q --no-build-isolation --no-index ./python
(cd "$work" && ORVMAIN_LIBRARY="$prefix/lib/liborvmain.so.0" venv/bin/python example.py >/dev/null)
echo "install check: $(echo "$installed" | wc -l) public headers; the examples (C++, C, orv serve, Python) build and run"
