#!/usr/bin/env bash
# Installs the built programs to a temporary prefix, as a package would, and checks what a
# user's machine gets: every file, a desktop entry and metainfo that the desktop's own
# validators accept, and programs that answer --help, --version and a wrong option.
# Usage: install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
# The programs' texts in English, as the settings store of a user who chose it says.
export XDG_CONFIG_HOME="$prefix/config"
mkdir -p "$XDG_CONFIG_HOME/Dorvanel"
printf '[General]\nLanguage=en\n' >"$XDG_CONFIG_HOME/Dorvanel/velimoro.ini"
id=org.dorvanel.velimoro
programs=(velimoro velimoro-drive velimoro-check velimoro-content velimoro-studio)
expected=(share/applications/$id.desktop share/applications/$id.studio.desktop
  share/metainfo/$id.metainfo.xml
  share/doc/velimoro/README.md share/doc/velimoro/headless-driver.md)
for p in "${programs[@]}"; do expected+=("bin/$p"); done
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -s "$prefix/$f" ] || fail "the installation lacks $f"
done
for size in 16 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" |
    grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "icon $size is no RGBA PNG"
done

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
desktop-file-validate "$prefix/share/applications/$id.studio.desktop" || fail "studio's desktop entry"
grep -qx "Icon=$id" "$prefix/share/applications/$id.studio.desktop" || fail "the studio's icon"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no release $version"
grep -qx "Exec=velimoro" "$prefix/share/applications/$id.desktop" || fail "Exec"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "Icon"

# expect STATUS STREAM TEXT -- COMMAND...: the exit status and a text its output holds.
expect() {
  local status=$1 stream=$2 text=$3
  shift 4
  local out err got=0
  out=$(mktemp) err=$(mktemp)
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$out" 2>"$err" || got=$?
  local shown
  shown=$(cat "$([ "$stream" = out ] && echo "$out" || echo "$err")")
  rm -f "$out" "$err"
  [ "$got" = "$status" ] || fail "$* exited $got, not $status: $shown"
  grep -qF -- "$text" <<<"$shown" || fail "$* did not say \"$text\": $shown"
}
# The help in English, as the settings above keep it, in an English locale.
english=(env LC_ALL=en_US.UTF-8)
for p in "${programs[@]}"; do
  expect 0 out "$p $version" -- "$prefix/bin/$p" --version
  expect 0 out "Usage: $p" -- "${english[@]}" "$prefix/bin/$p" --help
  expect 0 out "Example" -- "${english[@]}" "$prefix/bin/$p" --help
  expect 2 err "no-such-option" -- "$prefix/bin/$p" --no-such-option
done
# The window: a first "1" is the band display, any other first argument the normal one, a
# second stray argument is a fault; without a display it says so and names the headless driver.
expect 0 out "velimoro $version" -- "$prefix/bin/velimoro" 1 --version
expect 0 out "velimoro $version" -- "$prefix/bin/velimoro" 2 --version
expect 2 err "'3'" -- "$prefix/bin/velimoro" 2 3
expect 2 err "--root" -- "$prefix/bin/velimoro" --root
# With no language kept, the window's help in Japanese for a Japanese or no locale, and in the
# language asked for.
mkdir -p "$prefix/no-settings"
expect 0 out "使い方: velimoro" -- env LC_ALL=C XDG_CONFIG_HOME="$prefix/no-settings" "$prefix/bin/velimoro" --help
expect 0 out "Usage: velimoro" -- env LC_ALL=ja_JP.UTF-8 XDG_CONFIG_HOME="$prefix/no-settings" "$prefix/bin/velimoro" --lang en --help
expect 2 err "--lang" -- "$prefix/bin/velimoro" --lang fr
expect 1 err "velimoro-drive" -- "$prefix/bin/velimoro" --root /nowhere
# The demo goes into the user's data folder only when that holds nothing of the user's.
mkdir -p "$prefix/data/velimoro"
echo mine >"$prefix/data/velimoro/own.dat"
expect 1 err "already holds files" -- env XDG_DATA_HOME="$prefix/data" "$prefix/bin/velimoro-content" --user
[ "$(cat "$prefix/data/velimoro/own.dat")" = mine ] || fail "the user's folder was touched"
# An end signal stops the checker before its next file, with what it found so far, and stops
# the demo rendering with nothing left in the user's data folder. The checker is held on a
# fifo named as its first file until the signal is on its way.
mkdir "$prefix/held"
mkfifo "$prefix/held/dorvanel.dat"
"$prefix/bin/velimoro-check" --root "$prefix/held" >"$prefix/check.out" 2>"$prefix/check.err" &
checker=$!
exec 3>"$prefix/held/dorvanel.dat"
kill -TERM "$checker"
exec 3>&-
got=0
wait "$checker" || got=$?
[ "$got" = 143 ] || fail "velimoro-check after SIGTERM exited $got: $(cat "$prefix/check.err")"
grep -q "ended by signal 15 before every file was checked" "$prefix/check.err" ||
  fail "velimoro-check did not say it was ended: $(cat "$prefix/check.err")"
grep -q "mascon.dat" "$prefix/check.out" && fail "velimoro-check went on after SIGTERM"
mkdir "$prefix/fresh"
XDG_DATA_HOME="$prefix/fresh" "$prefix/bin/velimoro-content" --user >"$prefix/content.out" \
  2>"$prefix/content.err" &
renderer=$!
for _ in $(seq 600); do
  grep -q "^trains:" "$prefix/content.out" && break
  sleep 0.1
done
kill -TERM "$renderer"
got=0
wait "$renderer" || got=$?
[ "$got" = 143 ] || fail "velimoro-content after SIGTERM exited $got: $(cat "$prefix/content.err")"
grep -q "nothing was installed" "$prefix/content.err" || fail "$(cat "$prefix/content.err")"
[ -z "$(ls -A "$prefix/fresh")" ] || fail "an interrupted rendering left $(ls "$prefix/fresh")"
echo "installation checked: ${#expected[@]} files"
