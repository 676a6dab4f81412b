#!/bin/sh
# Takes the picture of the search window in docs/: archives the Netscape sample cache
# with the arkivo tool, starts ArkivoNav on an X server of its own (Xvfb), opens the
# search window from the View menu, finds the items whose URL holds "harbor" and
# saves the window as a PNG.
#
#   tests/gui/search_window_screenshot.sh BUILD_DIR OUTPUT.png
#
# Needs xvfb (xvfb-run), xdotool, x11-apps (xwd) and netpbm.
set -eu
if [ "${1:-}" = "--inside-x" ]; then
    build=$2 out=$3 work=$4
    # The window as laid out, at 120 pixels per inch.
    QT_FONT_DPI=120 "$build/src/app/ArkivoNav" >"$work/nav.log" 2>&1 &
    nav=$!
    main=$(xdotool search --sync --onlyvisible --name '^Arkivo$' | head -1)
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers alt+v s
    search=$(xdotool search --sync --onlyvisible --name 'Search Archive' | head -1)
    xdotool windowfocus --sync "$search"
    xdotool type --delay 40 harbor
    xdotool key Return
    sleep 2
    xwd -id "$search" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out"
    kill "$nav"
    exit 0
fi
build=$(cd "$1" && pwd) out=$(realpath "$2")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" WINEPREFIX="$work/wine" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/Quenlow" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$build/src/app/arkivo" archive --nav "$source_dir/samples/netscape/FAT.DB" \
    --to "$work/Archive" >"$work/archive.log" 2>&1
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quenlow\\Arkivo\\Search properties]\r\n"Search directory"="%s"\r\n\r\n' \
    "$work/Archive" >"$XDG_CONFIG_HOME/Quenlow/Arkivo.reg"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-x "$build" "$out" "$work"
echo "wrote $out"
