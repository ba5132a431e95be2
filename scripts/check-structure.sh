#!/usr/bin/env bash
# Fails if an include points up the layers, or if an OS or toolkit header is
# included outside src/backends/ and src/main/.
#
#   options, platform/canvas, platform/time -> platform/window -> face -> app -> backends -> main
set -uo pipefail
cd "$(dirname "$0")/.."

rank() {  # rank of a path under src/ (a file or an include target)
  case "$1" in
    options/*) echo 0 ;;
    platform/canvas/*) echo 1 ;;
    platform/time/*) echo 1 ;;
    platform/window/*) echo 2 ;;
    face/*) echo 3 ;;
    app/*) echo 4 ;;
    backends/*) echo 5 ;;
    main/*) echo 6 ;;
    *) echo 99 ;;
  esac
}

layer() {  # the folder that makes a layer: options, platform/canvas, face, ...
  case "$1" in
    platform/*/*|backends/*/*) echo "$1" | cut -d/ -f1-2 ;;
    *) echo "${1%%/*}" ;;
  esac
}

faults=0
while IFS= read -r file; do
  rel=${file#src/}
  own=$(rank "$rel")
  if [ "$own" -eq 99 ]; then echo "check-structure: $file is outside every layer"; faults=$((faults + 1)); continue; fi
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    theirs=$(rank "$target")
    # Same rank is fine within one folder; canvas and time know nothing of each other.
    if [ "$theirs" -gt "$own" ] ||
       { [ "$theirs" -eq "$own" ] && [ "$own" -eq 1 ] && [ "$(layer "$rel")" != "$(layer "$target")" ]; }; then
      echo "check-structure: $file includes \"$target\", which is above it"
      faults=$((faults + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

# OS, windowing and library headers: only where the platform is implemented.
os_headers='windows\.h|winuser\.h|wingdi\.h|commctrl\.h|X11/|ft2build\.h|freetype/|fontconfig/|png\.h|unistd\.h|poll\.h|fcntl\.h|sys/|pthread\.h|dlfcn\.h|langinfo\.h'
if found=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($os_headers)" src --include='*.h' --include='*.cpp' |
           grep -vE '^src/(backends|main)/'); then
  echo "check-structure: OS or toolkit header outside src/backends and src/main:"
  echo "$found"
  faults=$((faults + 1))
fi

if [ "$faults" -gt 0 ]; then
  echo "check-structure: $faults fault(s)"
  exit 1
fi
echo "check-structure: includes point down the layers; OS headers only in backends/ and main/"
