#!/usr/bin/env bash
# Fails if an include points up the layers, or if an OS or toolkit header is
# included outside src/backends/ and src/main/.
#
#   options, platform/canvas, platform/time -> platform/window -> face -> app -> backends -> main
set -uo pipefail
cd "$(dirname "$0")/.."

# Each layer's rank; anything else (99) is outside every layer.
declare -A ranks=([options]=0 [platform/canvas]=1 [platform/time]=1 [platform/window]=2 [face]=3 [app]=4 [backends]=5 [main]=6)
layer() {  # the folder that makes the layer of a path under src/ (a file or an include target)
  case "$1" in
    platform/*/*) echo "$1" | cut -d/ -f1-2 ;;
    *) echo "${1%%/*}" ;;
  esac
}

faults=0
while IFS= read -r file; do
  rel=${file#src/}
  own=${ranks[$(layer "$rel")]:-99}
  if [ "$own" -eq 99 ]; then echo "check-structure: $file is outside every layer"; faults=$((faults + 1)); continue; fi
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    theirs=${ranks[$(layer "$target")]:-99}
    # Same rank is fine within one folder; canvas and time know nothing of each other.
    if [ "$theirs" -gt "$own" ] ||
       { [ "$theirs" -eq "$own" ] && [ "$own" -eq 1 ] && [ "$(layer "$rel")" != "$(layer "$target")" ]; }; then
      echo "check-structure: $file includes \"$target\", which is above it"
      faults=$((faults + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

# OS, windowing and library headers: only where the platform is implemented.
os_headers='windows\.h|winsock2\.h|ws2tcpip\.h|netdb\.h|netinet/|arpa/|winuser\.h|wingdi\.h|commctrl\.h|X11/|ft2build\.h|freetype/|fontconfig/|png\.h|unistd\.h|poll\.h|fcntl\.h|sys/|pthread\.h|dlfcn\.h|langinfo\.h|date/'
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
