#!/usr/bin/env bash
# Builds the release packages (scripts/package.sh) and checks what a user gets:
# the .deb's control data, files, lintian, hardening, AppStream, manual pages,
# its programs unpacked and installed (as root: a test user is added, and both
# are undone after); the arm64 and armhf .debs; the Windows .zip's files, line
# ends and DLL imports. One line per check; exits non-zero if any fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/out/packages"

me=package-tests
. scripts/lib.sh

bash scripts/package.sh || { echo "FAIL scripts/package.sh"; exit 1; }

version="$(sed -n 's/^project(halyard VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
debversion="$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)"
scratch="$(mktemp -d)"
on_exit 'rm -rf "$scratch"'

# Installs the package and adds a user whose ~/.config/halyard/OPTION.DTA
# changes the background and the banner: the clock that user starts on a
# private Xvfb must show what halyard-render draws from the file. A halyard
# installed before the check is left installed, as this version.
user_check() {
  local user=halyard-pkgtest home had clock wid before after t shown matched
  had="$(dpkg-query -W -f='${Status}' halyard 2>/dev/null)"
  if ! dpkg -i "$deb" >"$scratch/dpkg.out" 2>&1; then
    fail "installed: dpkg -i $(basename "$deb"): $(tail -1 "$scratch/dpkg.out")"
    return
  fi
  [ "$had" = "install ok installed" ] || on_exit "dpkg -P halyard >/dev/null 2>&1"
  getent passwd "$user" >/dev/null && userdel -r "$user" >/dev/null 2>&1
  useradd --create-home --shell /bin/sh "$user" || { fail "installed: useradd $user"; return; }
  on_exit "userdel -r $user >/dev/null 2>&1"
  pass "installed: dpkg -i, and user $user added"
  home="$(getent passwd "$user" | cut -d: -f6)"
  mkdir -p "$home/.config/halyard"
  printf '%s\n' '&H402010' '&HFFFFFF' '&HFFFFFF' 'LINE (normal)' '&H00FF00' '&HFF901E' '&HFFFFFF' 'kHz' 'USER FILE' \
    >"$home/.config/halyard/OPTION.DTA"
  chown -R "$user:" "$home/.config"
  as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }

  as_user /usr/bin/halyard-options >"$scratch/user-options.out" 2>&1
  check "installed: halyard-options run by $user reads ~/.config/halyard/OPTION.DTA" \
    grep -qF "$home/.config/halyard/OPTION.DTA" "$scratch/user-options.out"

  # -ac: the private server lets the test user connect without a cookie.
  xvfb -screen 0 1024x768x24 -ac || { fail "installed: no X server"; return; }
  # The pointer starts in the middle of the screen, over the face, where it
  # would bring up the tooltip over the picture being compared.
  DISPLAY="$xdisplay" xdotool mousemove 0 0
  as_user DISPLAY="$xdisplay" /usr/bin/halyard 2>"$scratch/user-clock.err" &
  clock=$!
  on_exit "kill \$(ps -o pid= --ppid $clock) $clock 2>/dev/null; wait $clock 2>/dev/null"
  wid="$(DISPLAY="$xdisplay" timeout 10 xdotool search --sync --onlyvisible --class Halyard 2>/dev/null | head -1)"
  [ -n "$wid" ] || { fail "installed: the clock run by $user shows no window: $(head -1 "$scratch/user-clock.err")"; return; }
  # The picture shown is that of the second before the capture, of its start,
  # or of its end (a tick lands a few ms after each half second).
  matched=""
  for _ in 1 2 3; do
    sleep 0.6
    before="$(date -u +%s)"
    import -display "$xdisplay" -window "$wid" "$scratch/user-shown.png" 2>/dev/null
    after="$(date -u +%s)"
    for t in $((before - 1)) "$before" "$after"; do
      shown="$(date -u -d "@$t" +%H:%M:%S)"
      as_user /usr/bin/halyard-render --options "$home/.config/halyard/OPTION.DTA" --time "$shown" \
        -o "$home/render.png" 2>/dev/null || continue
      if [ "$(compare -metric AE "$scratch/user-shown.png" "$home/render.png" null: 2>&1)" = 0 ]; then
        matched="$shown"; break 2
      fi
    done
  done
  check "installed: the clock run by $user shows ~/.config/halyard/OPTION.DTA as halyard-render draws it${matched:+ (at $matched)}" \
    test -n "$matched"
}

# lintian_check LABEL DEB: lintian as a user runs it, warnings and errors both
# counted (among its errors: a program or module not stripped).
lintian_check() {
  local status
  lintian --fail-on error,warning "$2" >"$scratch/lintian.out" 2>&1
  status=$?
  sed '/running with root privileges/d; s/^/     lintian: /' "$scratch/lintian.out"
  check "$1: lintian reports no errors and no warnings" bash -c '[ "$1" -eq 0 ] && ! grep -q "^[EW]: " "$2"' _ "$status" "$scratch/lintian.out"
}
# The package names a .deb depends on, without version constraints.
names() { dpkg-deb -f "$1" Depends | tr ',' '\n' | sed -e 's/(.*)//' -e 's/[[:space:]]//g' | sort; }

# --- Linux .deb -----------------------------------------------------------------
arch="$(dpkg --print-architecture)"
deb="$out/halyard_${debversion}_${arch}.deb"
if [ ! -f "$deb" ]; then
  fail "deb: $deb exists"
else
  pass "deb: $(basename "$deb") exists"

  field() { dpkg-deb -f "$deb" "$1"; }
  check "deb: Package is halyard" test "$(field Package)" = halyard
  check "deb: Version is $version with a Debian revision" test "$(field Version)" = "$debversion" -a "${debversion%-*}" = "$version"
  check "deb: Section is utils" test "$(field Section)" = utils
  check "deb: Maintainer is HALYARD developers with an address" \
    bash -c '[[ "$1" =~ ^HALYARD\ developers\ \<[^@\>]+@[^@\>]+\>$ ]]' _ "$(field Maintainer)"

  lintian_check deb "$deb"
  for dep in libx11-6 libxext6 libxrandr2 libfreetype6 libfontconfig1 libpng16-16 libdate-tz3 fonts-liberation; do
    check "deb: depends on $dep" grep -qx "$dep" <(names "$deb")
  done

  contents="$(dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./||' | grep -v '/$')"
  zones="usr/lib/$(dpkg-architecture -a "$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)/halyard/halyard-zones.so"
  expected=(usr/bin/halyard{,-options,-render} "$zones" usr/share/man/man1/halyard{,-render,-options}.1.gz
            usr/share/applications/halyard.desktop usr/share/metainfo/arpa.home.halyard.clock.metainfo.xml
            usr/share/doc/halyard/{copyright,changelog.Debian.gz,examples/OPTION.DTA} usr/share/lintian/overrides/halyard
            usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/halyard.png)
  check "deb: holds the programs, zone module, desktop entry, icons and manual pages, and nothing else" \
    diff <(printf '%s\n' "${expected[@]}" | sort) <(sort <<<"$contents")

  unpacked="$scratch/deb"
  dpkg -x "$deb" "$unpacked"
  bin="$unpacked/usr/bin"
  # Hardening: bound at start (BIND_NOW) with read-only relocations and the
  # stack protector; the programs also position-independent with fortified
  # libc calls; no compiler notes left in a .comment section.
  for p in usr/bin/halyard usr/bin/halyard-options usr/bin/halyard-render "$zones"; do
    program=1
    [ "$p" = "$zones" ] && program=0
    check "deb: $(basename "$p") is hardened (bindnow, relro, stack protector$( ((program)) && echo ", fortify, PIE")), no .comment section" bash -c '
      dyn=$(readelf -d "$1") syms=$(readelf --dyn-syms -W "$1")
      grep -qE "\((FLAGS|FLAGS_1)\).*\bNOW\b" <<<"$dyn" && readelf -lW "$1" | grep -q GNU_RELRO &&
      grep -q __stack_chk_fail <<<"$syms" && ! readelf -SW "$1" | grep -qF " .comment " &&
      { [ "$2" = 0 ] || { grep -q PIE <<<"$dyn" && grep -qE "__[a-z0-9_]+_chk\b" <<<"$syms"; }; }' _ "$unpacked/$p" "$program"
  done

  # Documents: the licence in the machine-readable format, matching LICENSE;
  # the changelog's latest entry is this package; the example options file.
  doc="$unpacked/usr/share/doc/halyard"
  check "doc: copyright is machine-readable, Expat (MIT) for every file" bash -c '
    head -1 "$1" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" &&
    grep -qx "Files: \*" "$1" && grep -qx "License: Expat" "$1"' _ "$doc/copyright"
  # The words of the licence, whatever the layout: LICENSE without its title and
  # copyright line, against the copyright file's last paragraph.
  words() { tr -s ' \n' '\n\n' | grep -vx '\.' | grep .; }
  check "doc: copyright holds the text of LICENSE" cmp -s \
    <(grep -v -e '^MIT License' -e '^Copyright ' LICENSE | words) \
    <(awk '/^License: Expat$/ { text = ""; next } { text = text $0 "\n" } END { printf "%s", text }' "$doc/copyright" | words)
  check "doc: changelog.Debian.gz's latest entry is $debversion" \
    test "$(zcat "$doc/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version 2>/dev/null)" = "$debversion"
  # PackagedTextsTest holds the example to the built-in defaults.
  check "doc: examples/OPTION.DTA is packaging/OPTION.DTA.example" cmp -s "$doc/examples/OPTION.DTA" packaging/OPTION.DTA.example

  # AppStream: the metainfo alone, then with the desktop entry and icons it names.
  metainfo="$unpacked/usr/share/metainfo/arpa.home.halyard.clock.metainfo.xml"
  check "appstream: appstreamcli validate passes the metainfo" appstreamcli validate --no-net "$metainfo" >/dev/null
  check "appstream: appstreamcli validate-tree passes the installed tree" appstreamcli validate-tree --no-net "$unpacked" >/dev/null

  "$bin/halyard-render" --time 12:46:30 -o "$scratch/face.png"
  check "deb: halyard-render writes a PNG" is_png "$scratch/face.png"
  # A named zone, read through the packaged zone module found from the
  # program's place, draws what the C library's zone of that name draws.
  check "deb: halyard-render draws a named zone through the packaged zone module" bash -c '
    "$1" --time 2026-03-29T00:59:59Z --second-time Europe/Berlin -o "$2/named.png" &&
    TZ=Europe/Berlin "$1" --time 2026-03-29T00:59:59Z --second-time local -o "$2/local.png" &&
    cmp -s "$2/named.png" "$2/local.png"' _ "$bin/halyard-render" "$scratch"

  # Installed, the programs read the OPTION.DTA beside them, not the current
  # directory's (OptionsToolTest holds what the tool says of a file).
  printf '%s\n' '&H000000' '&HFFFFFF' '&HFFFFFF' 'DOT' '&H00FF00' '&H00A5FF' '&HFFFFFF' 'kHz' 'HALYARD UTC' >"$bin/OPTION.DTA"
  check "deb: halyard-options reads OPTION.DTA beside the program" \
    bash -c 'cd / && "$1" | grep -qxF "Options file: $2"' _ "$bin/halyard-options" "$bin/OPTION.DTA"
  rm -f "$bin/OPTION.DTA"

  # --- manual pages ---------------------------------------------------------------
  for page in halyard halyard-render halyard-options; do
    gz="$unpacked/usr/share/man/man1/$page.1.gz"
    [ -f "$gz" ] || { fail "man: $page.1.gz is in the package"; continue; }
    zcat "$gz" >"$scratch/$page.1"
    warnings="$(groff -man -Tutf8 -ww -z "$scratch/$page.1" 2>&1)"
    check "man: groff renders $page.1 without warnings${warnings:+: $warnings}" test -z "$warnings"
    if command -v mandoc >/dev/null; then
      lint="$(mandoc -T lint -W warning "$scratch/$page.1" 2>&1)"
      check "man: mandoc -T lint finds nothing in $page.1${lint:+: $lint}" test -z "$lint"
    fi
  done

  # --- the installed clock, as an ordinary user -----------------------------------
  if [ "$(id -u)" -ne 0 ]; then
    fail "installed: run as root to install the package and add a test user"
  else
    user_check
  fi
fi

# --- arm64 and armhf .debs ------------------------------------------------------
# Built for their machine, with that machine's libraries as dependencies (the
# same packages as amd64's), lintian clean; the packaged halyard-render, run
# under qemu, draws the amd64 package's picture byte for byte.
for cross in arm64 armhf; do
  cdeb="$out/halyard_${debversion}_${cross}.deb"
  [ -f "$cdeb" ] || { fail "deb ($cross): $(basename "$cdeb") exists"; continue; }
  check "deb ($cross): Architecture is $cross" test "$(dpkg-deb -f "$cdeb" Architecture)" = "$cross"
  lintian_check "deb ($cross)" "$cdeb"
  check "deb ($cross): depends on the packages amd64's does: $(names "$cdeb" | tr '\n' ' ')" test "$(names "$cdeb")" = "$(names "$deb")"
  dpkg -x "$cdeb" "$scratch/$cross"
  emulator=qemu-aarch64-static
  [ "$cross" = armhf ] && emulator=qemu-arm-static
  "$emulator" -L / "$scratch/$cross/usr/bin/halyard-render" --time 12:46:30 -o "$scratch/face-$cross.png"
  check "deb ($cross): halyard-render under qemu draws amd64's picture byte for byte" cmp -s "$scratch/face-$cross.png" "$scratch/face.png"
done

# --- Windows .zip ---------------------------------------------------------------
zip="$out/halyard-${version}-win64.zip"
if [ ! -f "$zip" ]; then
  fail "zip: $zip exists"
else
  pass "zip: $(basename "$zip") exists"
  top="halyard-${version}-win64"
  listing="$(cmake -E tar tf "$zip" | grep -v '/$' | sort)"
  want="$(printf "$top/%s\n" OPTION.DTA.example README.txt halyard-options.exe halyard.exe | sort)"
  check "zip: holds exactly halyard.exe, halyard-options.exe, OPTION.DTA.example, README.txt" \
    test "$listing" = "$want"
  (mkdir -p "$scratch/zip" && cd "$scratch/zip" && cmake -E tar xf "$zip")
  z="$scratch/zip/$top"

  # Every line ends in CR LF, the last one too, and no CR stands elsewhere.
  crlf_only() { [ -s "$1" ] && ! grep -qv $'\r$' "$1" && [ "$(tail -c 1 "$1")" = "" ] &&
    [ "$(tr -cd '\r' <"$1" | wc -c)" = "$(tr -cd '\n' <"$1" | wc -c)" ]; }
  check "zip: OPTION.DTA.example has CR LF line ends" crlf_only "$z/OPTION.DTA.example"
  check "zip: README.txt has CR LF line ends" crlf_only "$z/README.txt"
  check "zip: OPTION.DTA.example is packaging/OPTION.DTA.example" cmp -s <(tr -d '\r' <"$z/OPTION.DTA.example") packaging/OPTION.DTA.example
  check "zip: README.txt names version $version" grep -qF "HALYARD $version" "$z/README.txt"
  check "zip: README.txt ends with the licence" bash -c 'diff <(tr -d "\r" <"$1" | sed -n "/^MIT License/,\$p") LICENSE >/dev/null' _ "$z/README.txt"

  objdump=x86_64-w64-mingw32-objdump
  for exe in halyard.exe halyard-options.exe; do
    dlls="$($objdump -p "$z/$exe" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
    # The Windows system DLLs; anything else (libstdc++, libgcc, libwinpthread) would have to be shipped.
    foreign="$(grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|comctl32\.dll|comdlg32\.dll|advapi32\.dll|shell32\.dll|ole32\.dll|oleaut32\.dll|msvcrt\.dll|ucrtbase\.dll|api-ms-win-[a-z0-9-]+\.dll|uxtheme\.dll|winmm\.dll|ntdll\.dll|shlwapi\.dll|version\.dll|imm32\.dll|ws2_32\.dll' <<<"$dlls" | tr '\n' ' ')"
    check "zip: $exe imports only Windows system DLLs${foreign:+ (also: $foreign)}" \
      test -n "$dlls" -a -z "$foreign"
  done
  subsystem() { $objdump -p "$1" 2>/dev/null | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }
  check "zip: halyard.exe is a GUI program" test "$(subsystem "$z/halyard.exe")" = "(Windows GUI)"
  check "zip: halyard-options.exe is a console program" test "$(subsystem "$z/halyard-options.exe")" = "(Windows CUI)"
fi

summary "Package checks"
