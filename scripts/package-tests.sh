#!/usr/bin/env bash
# Builds the release packages (scripts/package.sh) and checks what a user gets:
# the .deb's control data and files, lintian, hardening, AppStream metainfo,
# its programs run from an unpacked copy, its manual pages, the installed clock
# run by an ordinary user (needs root: the package is installed and a user
# added for the check, both removed after), and the Windows .zip's files,
# line ends and DLL imports.
# One line per check; exits non-zero if any check fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/out/packages"

passed=0
failed=0
ok()   { passed=$((passed + 1)); echo "ok   $*"; }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
# check NAME COMMAND...: passes when the command succeeds.
check() { local name="$1"; shift; if "$@"; then ok "$name"; else fail "$name"; fi; }

if ! bash scripts/package.sh; then
  echo "FAIL scripts/package.sh"
  exit 1
fi

version="$(sed -n 's/^project(halyard VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
debversion="$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)"
scratch="$(mktemp -d)"
cleanups=()
finish() {
  local i
  for ((i = ${#cleanups[@]} - 1; i >= 0; i--)); do eval "${cleanups[i]}"; done
  rm -rf "$scratch"
}
trap finish EXIT

# Runs the installed programs as a new user with an options file in that
# user's ~/.config/halyard/. See the call for what it checks.
user_check() {
  local user=halyard-pkgtest home had n xpid clock wid before after t shown matched
  had="$(dpkg-query -W -f='${Status}' halyard 2>/dev/null)"
  if ! dpkg -i "$deb" >"$scratch/dpkg.out" 2>&1; then
    fail "installed: dpkg -i $(basename "$deb"): $(tail -1 "$scratch/dpkg.out")"
    return
  fi
  [ "$had" = "install ok installed" ] || cleanups+=("dpkg -P halyard >/dev/null 2>&1")
  getent passwd "$user" >/dev/null && userdel -r "$user" >/dev/null 2>&1
  if ! useradd --create-home --shell /bin/sh "$user"; then
    fail "installed: useradd $user"
    return
  fi
  cleanups+=("userdel -r $user >/dev/null 2>&1")
  ok "installed: dpkg -i, and user $user added"
  home="$(getent passwd "$user" | cut -d: -f6)"
  mkdir -p "$home/.config/halyard"
  printf '%s\n' '&H402010' '&HFFFFFF' '&HFFFFFF' 'LINE (normal)' '&H00FF00' '&HFF901E' '&HFFFFFF' 'kHz' 'USER FILE' \
    >"$home/.config/halyard/OPTION.DTA"
  chown -R "$user:" "$home/.config"
  as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }

  as_user /usr/bin/halyard-options >"$scratch/user-options.out" 2>&1
  check "installed: halyard-options run by $user reads ~/.config/halyard/OPTION.DTA" \
    grep -qF "$home/.config/halyard/OPTION.DTA" "$scratch/user-options.out"

  for n in $(seq 150 190); do [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break; done
  # -ac: the private server lets the test user connect without a cookie.
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset -ac >/dev/null 2>&1 &
  xpid=$!
  cleanups+=("kill $xpid 2>/dev/null; wait $xpid 2>/dev/null")
  for _ in $(seq 100); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  # The pointer starts in the middle of the screen, over the face, where it
  # would bring up the tooltip over the picture being compared. (-noreset: a
  # server that resets when its last client leaves puts the pointer back.)
  DISPLAY=":$n" xdotool mousemove 0 0
  as_user DISPLAY=":$n" /usr/bin/halyard 2>"$scratch/user-clock.err" &
  clock=$!
  cleanups+=("kill \$(ps -o pid= --ppid $clock) $clock 2>/dev/null; wait $clock 2>/dev/null")
  wid="$(DISPLAY=":$n" timeout 10 xdotool search --sync --onlyvisible --class Halyard 2>/dev/null | head -1)"
  if [ -z "$wid" ]; then
    fail "installed: the clock run by $user shows no window: $(head -1 "$scratch/user-clock.err")"
    return
  fi
  # The picture shown is that of the second before the capture, of its start,
  # or of its end (a tick lands a few ms after each half second).
  matched=""
  for _ in 1 2 3; do
    sleep 0.6
    before="$(date -u +%s)"
    import -display ":$n" -window "$wid" "$scratch/user-shown.png" 2>/dev/null
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

# The nine options at their built-in defaults.
defaults=('&H000000' '&HFFFFFF' '&HFFFFFF' 'LINE (normal)' '&H00FF00' '&HFF901E' '&HFFFFFF' 'kHz' 'HALYARD UTC')

# --- Linux .deb -----------------------------------------------------------------
arch="$(dpkg --print-architecture)"
deb="$out/halyard_${debversion}_${arch}.deb"
if [ ! -f "$deb" ]; then
  fail "deb: $deb exists"
else
  ok "deb: $(basename "$deb") exists"

  field() { dpkg-deb -f "$deb" "$1"; }
  check "deb: Package is halyard" test "$(field Package)" = halyard
  check "deb: Version is $version with a Debian revision" test "$(field Version)" = "$debversion" -a "${debversion%-*}" = "$version"
  check "deb: Section is utils" test "$(field Section)" = utils
  check "deb: Maintainer is HALYARD developers with an address" \
    bash -c '[[ "$1" =~ ^HALYARD\ developers\ \<[^@\>]+@[^@\>]+\>$ ]]' _ "$(field Maintainer)"

  # lintian as a user runs it, warnings and errors both counted.
  lintian --fail-on error,warning "$deb" >"$scratch/lintian.out" 2>&1
  lint_status=$?
  lint="$(grep -v 'running with root privileges' "$scratch/lintian.out")"
  [ -z "$lint" ] || sed 's/^/     lintian: /' <<<"$lint"
  check "deb: lintian reports no errors and no warnings" \
    bash -c '[ "$1" -eq 0 ] && ! grep -q "^[EW]: " <<<"$2"' _ "$lint_status" "$lint"

  info="$(dpkg-deb -I "$deb")"
  # Package names only, without version constraints.
  depends="$(sed -n 's/^ Depends: //p' <<<"$info" | tr ',' '\n' | sed -e 's/(.*)//' -e 's/[[:space:]]//g')"
  for dep in libx11-6 libxext6 libxrandr2 libfreetype6 libfontconfig1 libpng16-16 fonts-liberation; do
    check "deb: dpkg-deb -I shows dependency $dep" grep -qx "$dep" <<<"$depends"
  done

  contents="$(dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./||' | grep -v '/$')"
  expected=(usr/bin/halyard usr/bin/halyard-options usr/bin/halyard-render
            usr/share/applications/halyard.desktop
            usr/share/man/man1/halyard.1.gz usr/share/man/man1/halyard-render.1.gz
            usr/share/man/man1/halyard-options.1.gz
            usr/share/metainfo/arpa.home.halyard.clock.metainfo.xml
            usr/share/doc/halyard/copyright usr/share/doc/halyard/changelog.Debian.gz
            usr/share/doc/halyard/examples/OPTION.DTA usr/share/lintian/overrides/halyard)
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/halyard.png")
  done
  missing=()
  for f in "${expected[@]}"; do grep -qx "$f" <<<"$contents" || missing+=("$f"); done
  check "deb: holds the programs, desktop entry, icons and manual pages${missing:+ (missing: ${missing[*]})}" \
    test "${#missing[@]}" -eq 0
  extra="$(comm -13 <(printf '%s\n' "${expected[@]}" | sort) <(sort <<<"$contents") | tr '\n' ' ')"
  check "deb: holds nothing else${extra:+ (also: $extra)}" test -z "$extra"

  unpacked="$scratch/deb"
  dpkg -x "$deb" "$unpacked"
  bin="$unpacked/usr/bin"
  debug=()
  for p in halyard halyard-options halyard-render; do
    readelf -S "$bin/$p" 2>/dev/null | grep -q '\.debug_info' && debug+=("$p")
  done
  check "deb: programs are stripped${debug:+ (debug info in: ${debug[*]})}" test "${#debug[@]}" -eq 0
  # Hardening: bound at start (BIND_NOW) with read-only relocations, the stack
  # protector and fortified libc calls linked in, position-independent; and no
  # compiler notes left in a .comment section.
  for p in halyard halyard-options halyard-render; do
    dyn="$(readelf -d "$bin/$p" 2>/dev/null)"
    syms="$(readelf --dyn-syms -W "$bin/$p" 2>/dev/null)"
    check "deb: $p is hardened (bindnow, relro, stack protector, fortify, PIE)" bash -c '
      grep -qE "\((FLAGS|FLAGS_1)\).*\bNOW\b" <<<"$1" && grep -q "PIE" <<<"$1" &&
      readelf -lW "$3" | grep -q GNU_RELRO &&
      grep -q "__stack_chk_fail" <<<"$2" && grep -qE "__[a-z0-9_]+_chk\b" <<<"$2"' _ "$dyn" "$syms" "$bin/$p"
    check "deb: $p has no .comment section" bash -c '! readelf -SW "$1" | grep -qF " .comment "' _ "$bin/$p"
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
  example="$doc/examples/OPTION.DTA"
  check "doc: examples/OPTION.DTA starts with the nine default lines" \
    test "$(head -9 "$example")" = "$(printf '%s\n' "${defaults[@]}")"
  check "doc: examples/OPTION.DTA explains them in comment lines after the ninth" bash -c '
    tail -n +10 "$1" | grep -q "~/.config/halyard/OPTION.DTA" && ! tail -n +10 "$1" | grep -qv "^;"' _ "$example"

  # AppStream: the metainfo alone, then with the desktop entry and icons it names.
  metainfo="$unpacked/usr/share/metainfo/arpa.home.halyard.clock.metainfo.xml"
  check "appstream: appstreamcli validate passes the metainfo" appstreamcli validate --no-net "$metainfo" >/dev/null
  check "appstream: appstreamcli validate-tree passes the installed tree" appstreamcli validate-tree --no-net "$unpacked" >/dev/null

  is_png() { [ "$(head -c 8 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]; }
  "$bin/halyard-render" --time 12:46:30 -o "$scratch/face.png"
  check "deb: halyard-render writes a PNG" is_png "$scratch/face.png"
  "$bin/halyard-render" --icon 48 -o "$scratch/icon.png"
  check "deb: halyard-render --icon writes a PNG" is_png "$scratch/icon.png"
  "$bin/halyard-render" --time 99:00:00 -o "$scratch/bad.png" 2>/dev/null
  check "deb: halyard-render refuses a bad time" test $? -ne 0

  printf '%s\n' '&H000000' '&HFFFFFF' '&HFFFFFF' 'DOT' '&H00FF00' '&H00A5FF' '&HFFFFFF' 'kHz' 'HALYARD UTC' >"$scratch/good.dta"
  "$bin/halyard-options" "$example" | sed 1d >"$scratch/example.out"
  "$bin/halyard-options" "$scratch/no-such-file" | sed -e 1d -e '/not found/d' >"$scratch/defaults.out"
  check "doc: examples/OPTION.DTA reads as the programs' built-in defaults" cmp -s "$scratch/example.out" "$scratch/defaults.out"
  printf '%s\n' '#FF0000' '&HFFFFFF' '&HFFFFFF' 'dot' >"$scratch/traps.dta"
  "$bin/halyard-options" "$scratch/good.dta" >"$scratch/good.out" 2>&1
  check "deb: halyard-options passes a clean file (exit 0)" test $? -eq 0
  check "deb: halyard-options reads the dot style" grep -q 'dot second hand' "$scratch/good.out"
  "$bin/halyard-options" "$scratch/traps.dta" >"$scratch/traps.out" 2>&1
  check "deb: halyard-options warns about a file with traps (exit 1)" test $? -eq 1
  check "deb: halyard-options gives the right form for #FF0000" grep -q 'write &H0000FF' "$scratch/traps.out"
  check "deb: halyard-options --color" test "$("$bin/halyard-options" --color '&HFF901E' '&HFFFF' | tr '\n' ' ')" = "16748574 -1 "
  "$bin/halyard-options" --no-such-option >/dev/null 2>&1
  check "deb: halyard-options refuses an unknown option (exit 2)" test $? -eq 2
  # Installed, the programs read the OPTION.DTA beside them, not the current directory's.
  cp "$scratch/good.dta" "$bin/OPTION.DTA"
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
    if command -v man >/dev/null; then
      warnings="$(MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null)"
      check "man: man -l renders $page.1.gz without warnings${warnings:+: $warnings}" test -z "$warnings"
    fi
    # The page must name every option its program's --help names.
    if [ "$page" != halyard ]; then
      text="$(groff -man -Tascii -rHY=0 -P-cbou "$scratch/$page.1" 2>/dev/null)"
      options=($("$bin/$page" --help | grep -oE -- '(^|[[ ])-(-[a-z][a-z-]*|[a-z])\b' | tr -d '[ ' | sort -u))
      absent=()
      for opt in "${options[@]}"; do
        grep -qF -- "$opt" <<<"$text" || absent+=("$opt")
      done
      check "man: $page.1 describes the ${#options[@]} options of $page --help${absent:+ (not: ${absent[*]})}" \
        test "${#options[@]}" -gt 0 -a "${#absent[@]}" -eq 0
    fi
  done

  # --- the installed clock, as an ordinary user -----------------------------------
  # The package is installed with dpkg and a user added; the user's
  # ~/.config/halyard/OPTION.DTA changes the background and the banner. The
  # clock, started by that user on a private Xvfb, must show exactly what
  # halyard-render draws from the same file. Both are undone afterwards (a
  # halyard installed before the check is left installed, as this version).
  if [ "$(id -u)" -ne 0 ]; then
    fail "installed: run as root to install the package and add a test user"
  else
    user_check
  fi
fi

# --- Windows .zip ---------------------------------------------------------------
zip="$out/halyard-${version}-win64.zip"
if [ ! -f "$zip" ]; then
  fail "zip: $zip exists"
else
  ok "zip: $(basename "$zip") exists"
  top="halyard-${version}-win64"
  listing="$(cmake -E tar tf "$zip" | grep -v '/$' | sort)"
  want="$(printf "$top/%s\n" OPTION.DTA.example README.txt halyard-options.exe halyard.exe | sort)"
  check "zip: holds exactly halyard.exe, halyard-options.exe, OPTION.DTA.example, README.txt" \
    test "$listing" = "$want"
  (mkdir -p "$scratch/zip" && cd "$scratch/zip" && cmake -E tar xf "$zip")
  z="$scratch/zip/$top"

  # Every line ends in CR LF: as many CR LF pairs as LFs and as CRs, and the file ends in one.
  crlf_only() {
    local lf cr pairs
    lf=$(tr -cd '\n' <"$1" | wc -c)
    cr=$(tr -cd '\r' <"$1" | wc -c)
    pairs=$(grep -c $'\r$' "$1")
    [ "$lf" -gt 0 ] && [ "$lf" -eq "$cr" ] && [ "$pairs" -eq "$lf" ] && [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ]
  }
  check "zip: OPTION.DTA.example has CR LF line ends" crlf_only "$z/OPTION.DTA.example"
  check "zip: README.txt has CR LF line ends" crlf_only "$z/README.txt"
  check "zip: OPTION.DTA.example starts with the nine default lines" test \
    "$(tr -d '\r' <"$z/OPTION.DTA.example" | head -9)" = "$(printf '%s\n' "${defaults[@]}")"
  if [ -n "${bin:-}" ] && [ -x "$bin/halyard-options" ]; then
    # The example must say what the programs use when there is no file at all.
    "$bin/halyard-options" "$z/OPTION.DTA.example" | sed 1d >"$scratch/example.out"
    "$bin/halyard-options" "$scratch/no-such-file" | sed -e 1d -e '/not found/d' >"$scratch/defaults.out"
    check "zip: OPTION.DTA.example reads as the programs' built-in defaults" cmp -s "$scratch/example.out" "$scratch/defaults.out"
  fi
  for word in OPTION.DTA '&HBBGGRR' 'halyard.exe' 'LINE (normal)' 'HALYARD UTC' '--options FILE'; do
    check "zip: README.txt mentions $word" grep -qF -- "$word" "$z/README.txt"
  done
  check "zip: README.txt names version $version" grep -qF "HALYARD $version" "$z/README.txt"
  check "zip: README.txt gives the encoding advice" bash -c 'grep -qF "UTF-8 with BOM" "$1" && grep -qF "\"Unicode\"" "$1"' _ "$z/README.txt"
  check "zip: README.txt says halyard-options.exe is a console program" grep -qF "halyard-options.exe is a console program" "$z/README.txt"
  check "zip: README.txt ends with the licence" bash -c 'diff <(tr -d "\r" <"$1" | sed -n "/^MIT License/,\$p") LICENSE >/dev/null' _ "$z/README.txt"

  objdump=x86_64-w64-mingw32-objdump
  for exe in halyard.exe halyard-options.exe; do
    dlls="$($objdump -p "$z/$exe" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
    # The Windows system DLLs; anything else (libstdc++, libgcc, libwinpthread) would have to be shipped.
    foreign="$(grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|comctl32\.dll|comdlg32\.dll|advapi32\.dll|shell32\.dll|ole32\.dll|oleaut32\.dll|msvcrt\.dll|ucrtbase\.dll|api-ms-win-[a-z0-9-]+\.dll|uxtheme\.dll|winmm\.dll|ntdll\.dll|shlwapi\.dll|version\.dll|imm32\.dll' <<<"$dlls" | tr '\n' ' ')"
    check "zip: $exe imports only Windows system DLLs${foreign:+ (also: $foreign)}" \
      test -n "$dlls" -a -z "$foreign"
  done
  subsystem() { $objdump -p "$1" 2>/dev/null | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }
  check "zip: halyard.exe is a GUI program" test "$(subsystem "$z/halyard.exe")" = "(Windows GUI)"
  check "zip: halyard-options.exe is a console program" test "$(subsystem "$z/halyard-options.exe")" = "(Windows CUI)"
fi

echo "Package checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
