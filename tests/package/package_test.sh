#!/usr/bin/env bash
# package_test.sh BUILD_DIR DATA_DIR: checks build/skyhog_*.deb as a player
# would get it. The control data names the libraries the game links by their
# Debian packages; the files are the game's whole data tree, the launcher, the
# desktop entry, the software centre's listing, the icons and the documents,
# and nothing from the build's tests; the validators pass the desktop entry and
# the listing without a remark; unpacked into a scratch root, the launcher
# starts the game from an unrelated folder, the first frames are drawn, Escape
# ends it with status 0 and nothing was written into the installed tree.
# lintian finds no error.
set -uo pipefail
build=$1 data=$2
failures=0 game=
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

debs=("$build"/skyhog_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: expected one package in $build, found: ${debs[*]} (scripts/package.sh builds it)"
    exit 1
fi
deb=${debs[0]}
scratch=$(mktemp -d)
trap '[ -n "$game" ] && kill $game 2>/dev/null; rm -rf "$scratch"' EXIT

# Control data.
info=$(dpkg-deb --info "$deb") || fail "dpkg-deb --info cannot read $deb"
echo "$info"
for field in "Package: skyhog" "Section: games" "Architecture: " "Maintainer: " "Description: "; do
    grep -q "^ $field" <<<"$info" || fail "the control data has no '$field'"
done
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for package in libglfw3 libglew libassimp libfreeimage3 libfreetype6 libopenal1 libsndfile1 libgl1-mesa-dri; do
    grep -q "\b$package" <<<"$depends" || fail "Depends does not name $package: $depends"
done
# A long description follows the summary line.
[ "$(sed -n '/^ Description:/,/^ [A-Z][a-zA-Z-]*:/p' <<<"$info" | wc -l)" -gt 4 ] || fail "no long description"

# Files: every file of the data tree, the launcher, the executable, the
# desktop's files, the listing and the documents; nothing else from the build
# folder.
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
expected=(/usr/games/skyhog /usr/lib/games/skyhog/skyhog /usr/share/applications/skyhog.desktop
          /usr/share/metainfo/io.github.skyhog.skyhog.metainfo.xml
          /usr/share/icons/hicolor/48x48/apps/skyhog.png /usr/share/icons/hicolor/128x128/apps/skyhog.png
          /usr/share/icons/hicolor/256x256/apps/skyhog.png /usr/share/doc/skyhog/copyright
          /usr/share/doc/skyhog/changelog.gz /usr/share/man/man6/skyhog.6.gz)
while IFS= read -r file; do expected+=("/usr/share/games/skyhog/Skyhog/$file"); done \
    < <(cd "$data" && find . -type f | sed 's|^\./||' | sort)
[ ${#expected[@]} -gt 100 ] || fail "the data tree $data looks empty"
for file in "${expected[@]}"; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
unexpected=$(grep -v '/$' <<<"$contents" | grep -vxF -f <(printf '%s\n' "${expected[@]}"))
[ -z "$unexpected" ] || fail "the package holds files that are not the game's: $unexpected"

# Unpacked anywhere, it runs from anywhere.
dpkg -x "$deb" "$scratch/root" || fail "dpkg -x cannot unpack $deb"
for size in 48 128 256; do
    icon="$scratch/root/usr/share/icons/hicolor/${size}x${size}/apps/skyhog.png"
    read -r w h corner centre < <(convert "$icon" -format "%w %h %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]\n" info: 2>/dev/null)
    [ "$w $h" = "$size $size" ] || fail "$icon is ${w}x${h}, not ${size}x${size}"
    [ "$corner" = "0" ] && [ "$centre" = "1" ] || fail "$icon: corner alpha $corner, centre alpha $centre (clear edge, opaque pig)"
done
grep -qx "Categories=Game;ArcadeGame;" "$scratch/root/usr/share/applications/skyhog.desktop" ||
    fail "the desktop entry is not in Game;ArcadeGame;"
# The desktop entry and the software centre's listing pass their validators
# without a single remark, pedantic hints included; the listing's launchable
# must name the packaged desktop entry. CI installs both tools.
validator() {
    command -v "$1" >/dev/null && return
    fail "$1 is missing (scripts/install-deps.sh --tests installs it)"; return 1
}
if validator desktop-file-validate; then
    remarks=$(desktop-file-validate "$scratch/root/usr/share/applications/skyhog.desktop" 2>&1)
    echo "desktop-file-validate: ${remarks:-no remarks}"
    [ -z "$remarks" ] || fail "desktop-file-validate has remarks on the desktop entry"
fi
if validator appstreamcli; then
    report=$(appstreamcli validate-tree --pedantic --no-net "$scratch/root" 2>&1)
    status=$?
    echo "appstreamcli validate-tree --pedantic --no-net:"; echo "$report"
    [ $status -eq 0 ] && ! grep -qE '^\s*[EWIP]: ' <<<"$report" || fail "appstreamcli has remarks on the metainfo file"
fi

before=$(cd "$scratch/root" && find . | sort)
mkdir "$scratch/elsewhere" && cd "$scratch/elsewhere" || exit 1
log="$scratch/game.log"
"$scratch/root/usr/games/skyhog" 800 600 >"$log" 2>&1 &
game=$!
running() { kill -0 $game 2>/dev/null; }
# The window, the models loaded, then two new pictures shown; two minutes at
# most for each, and no waiting once the game has ended.
w= i=0
while [ -z "$w" ] && [ $i -lt 1200 ] && running; do
    w=$(xdotool search --onlyvisible --pid $game 2>/dev/null | head -n1); i=$((i + 1)); sleep 0.1
done
for ((i = 0; i < 1200; ++i)); do grep -q "models loaded" "$log" && break; running || break; sleep 0.1; done
grab() { import -window "$w" -depth 8 rgb:- 2>/dev/null | md5sum; }
shown=0
if [ -n "$w" ] && grep -q "models loaded" "$log"; then
    last=$(grab)
    for ((i = 0; i < 1200 && shown < 2; ++i)); do
        running || break
        now=$(grab); [ "$now" != "$last" ] && { shown=$((shown + 1)); last=$now; }; sleep 0.1
    done
fi
if [ $shown -eq 2 ]; then
    # Down and up through XTEST: a key-up sent to a window that has closed would fail and leave Escape held.
    timeout 10 xdotool windowfocus --sync "$w" key Escape >/dev/null 2>&1
    for ((i = 0; i < 600; ++i)); do running || break; sleep 0.1; done
    running && fail "the installed game did not end after Escape"
    wait $game
    status=$?
    [ $status -eq 0 ] || fail "the installed game ended with status $status after Escape"
else
    fail "the installed game did not reach its first frames (window '${w}')"
fi
[ $failures -eq 0 ] || cat "$log"
[ "$(cd "$scratch/root" && find . | sort)" = "$before" ] || fail "the game wrote into its installed tree"

# Without its data the launcher says where it looked, and stops.
rm -rf "$scratch/root/usr/share/games/skyhog/Skyhog/Shaders"
message=$("$scratch/root/usr/games/skyhog" 2>&1) && fail "the launcher ran without the game's data"
grep -q "not installed completely under $scratch/root/usr" <<<"$message" || fail "the launcher said: $message"

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian reports errors"
else
    echo "lintian is not installed: its check is left out"
    [ $failures -eq 0 ] && exit 77
fi
[ $failures -eq 0 ] && echo "package checks passed"
exit $((failures > 0))
