#!/bin/sh
# Installs the build into a prefix of its own and checks the installed utility from another
# folder: the files that a desktop, man and a software centre look for, the programs' answers,
# and the help pages, which the installed program must find in ../share/kestrelx/help.
#
#   install-test.sh CMAKE BUILD_DIR HELP_SOURCE_DIR
set -eu
cmake=$1
build=$2
help_source=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/kx-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
elsewhere=$work/elsewhere
mkdir "$elsewhere"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install $build" >&2
  exit 1
fi

# --- the installed files ----------------------------------------------------------------------
for program in kestrelx-setup kxctl kestrelx-sim; do
  [ -f "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ] ||
    fail "bin/$program is not installed as a program"
  [ -f "$prefix/share/man/man1/$program.1.gz" ] || fail "no man page for $program"
done
while read -r file; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done <<EOF
share/applications/kestrelx-setup.desktop
share/icons/hicolor/scalable/apps/kestrelx-setup.svg
share/doc/kestrelx/copyright
share/doc/kestrelx/changelog.gz
EOF

# every help page and nothing else (the folder's README is for developers)
expected=$(cd "$help_source" && ls | grep -vx README.md)
installed=$(cd "$prefix/share/kestrelx/help" && ls)
[ "$expected" = "$installed" ] ||
  fail "share/kestrelx/help holds $(echo $installed), not $(echo $expected)"

# the icon in each hicolor size: a PNG of that size
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/kestrelx-setup.png
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  # the signature, then the IHDR chunk's width and height (big-endian)
  set -- $(od -An -tu1 -N24 "$icon")
  [ "$1 $2 $3 $4" = "137 80 78 71" ] || fail "the ${size}x${size} icon is not a PNG"
  shift 16
  width=$((($1 << 24) | ($2 << 16) | ($3 << 8) | $4))
  height=$((($5 << 24) | ($6 << 16) | ($7 << 8) | $8))
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] ||
    fail "the ${size}x${size} icon is ${width}x${height}"
done

# --- the desktop entry and the software centre's metadata ---------------------------------------
desktop=$prefix/share/applications/kestrelx-setup.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses kestrelx-setup.desktop"
grep -qx 'Exec=kestrelx-setup' "$desktop" || fail "the desktop entry does not start kestrelx-setup"
grep -qx 'Icon=kestrelx-setup' "$desktop" || fail "the desktop entry does not name the icon"
grep -qx 'Name\[ja\]=KESTRELX 設定ユーティリティ' "$desktop" || fail "no Japanese name"

set -- "$prefix"/share/metainfo/*.metainfo.xml
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  fail "share/metainfo holds $# metainfo files, not one"
else
  appstreamcli validate --no-net "$1" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate refuses $(basename "$1"): $(cat "$work/appstream.log")"
  grep -q '<launchable type="desktop-id">kestrelx-setup.desktop</launchable>' "$1" ||
    fail "the metainfo does not launch kestrelx-setup.desktop"
fi

# --- the man pages --------------------------------------------------------------------------
for program in kestrelx-setup kxctl kestrelx-sim; do
  page=$prefix/share/man/man1/$program.1.gz
  [ -f "$page" ] || continue
  gzip -dc "$page" | grep -q "^\.TH \"$program\" \"1\"" || fail "$program.1.gz is not a roff page"
  if command -v man >/dev/null 2>&1; then
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null ||
      echo "man cannot show it")
    [ -z "$warnings" ] || fail "man warns about $program.1: $warnings"
  fi
done

# --- the installed programs, started from another folder ------------------------------------------
cd "$elsewhere"
version=$("$prefix/bin/kestrelx-setup" --version) || fail "kestrelx-setup --version failed"
case $version in
  "kestrelx-setup Version "*) ;;
  *) fail "kestrelx-setup --version printed: $version" ;;
esac
"$prefix/bin/kxctl" --help >"$work/kxctl-help" 2>&1 || fail "kxctl --help failed"
grep -q '^Usage: kxctl' "$work/kxctl-help" || fail "kxctl --help printed: $(cat "$work/kxctl-help")"
"$prefix/bin/kestrelx-sim" --help >"$work/sim-help" 2>&1 || fail "kestrelx-sim --help failed"
grep -q '^Usage: kestrelx-sim' "$work/sim-help" || fail "kestrelx-sim --help printed no usage"

# every item name kxctl knows is documented in its man page (numbers of ports and entries aside)
undocumented=$("$prefix/bin/kxctl" names | cut -f1 | sed 's/.*\.//' | grep -v '^[0-9]*$' |
  sort -u | while read -r item; do
    gzip -dc "$prefix/share/man/man1/kxctl.1.gz" | sed 's/\\f[BIRP]//g' | grep -qw -- "$item" ||
      echo "$item"
  done)
[ -z "$undocumented" ] || fail "kxctl.1 does not document: $(echo $undocumented)"

# The help key in the main window, against the emulated adapter, headless. With the pages
# installed nothing is shown; without them the program says which page it misses (the script
# answers that message box), so the pages found are the installed ones.
start='dialog 129
click 1
dialog 102
key F1'
leave='dialog 102
click 1590'
missing='message: ヘルプファイル（10000.html）が見つかりません。'
for pages in installed removed; do
  rm -f setutily.ini
  if [ "$pages" = installed ]; then
    printf '%s\n%s\n' "$start" "$leave" >session.script
  else
    mv "$prefix/share/kestrelx/help" "$work/help-aside"
    printf '%s\nanswer ok\n%s\n' "$start" "$leave" >session.script
  fi
  status=0
  "$prefix/bin/kestrelx-setup" --demo --headless --script session.script >"$work/run.out" \
    2>"$work/run.err" || status=$?
  [ "$pages" = removed ] && mv "$work/help-aside" "$prefix/share/kestrelx/help"
  [ "$status" -eq 0 ] || fail "help with the pages $pages: exit status $status:
$(cat "$work/run.out" "$work/run.err")"
  messages=$(grep '^message: ' "$work/run.out" || true)
  if [ "$pages" = installed ]; then
    [ -z "$messages" ] || fail "help with the pages installed showed: $messages"
  else
    [ "$messages" = "$missing" ] || fail "help with the pages removed showed: $messages"
  fi
  # the settings file stays in the folder the program was started in
  grep -qx '\[PORTSEL\]' setutily.ini 2>/dev/null || fail "no setutily.ini in the start folder"
  [ ! -e "$prefix/bin/setutily.ini" ] || fail "setutily.ini was written beside the program"
done

if [ "$failures" -ne 0 ]; then
  echo "install test: $failures check(s) failed" >&2
  exit 1
fi
echo "install test: the installed utility works from $elsewhere"
