#!/usr/bin/env bash
# One check of the installed program, chosen by the first argument:
#   desktop   the desktop entry is valid and names an installed icon
#   metainfo  the AppStream file is valid and matches the desktop entry
#   manual    the manual page formats without warnings and covers every
#             command and option of the program's usage text
#   help      the help page has every topic the program jumps to, and its
#             own links lead somewhere
#   prefix    `cmake --install` into a fresh prefix: files, --version,
#             help copied into a demo home, headless commands run
#   readonly  from an installed prefix (read-only or not), KV2001.ini goes to the
#             user's configuration folder; a lone copy keeps it beside itself
#   package   cpack builds a .deb with the right metadata and contents
# Environment: KV_SOURCE, KV_BUILD, KV_EXE. Exit 77 means skipped.
set -uo pipefail

step=${1:?step}
SRC=${KV_SOURCE:?}
BUILD=${KV_BUILD:?}
EXE=${KV_EXE:?}
RES=$SRC/resources
ID=cz.lumora.kvelta
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
skip() {
    echo "SKIPPED: $*"
    exit 77
}
need() {
    command -v "$1" >/dev/null || skip "$1 is not installed"
}
# expect_contains HAYSTACK NEEDLE WHAT
expect_contains() {
    grep -qF -- "$2" <<<"$1" || fail "$3: '$2' missing"
}

TMP=$(mktemp -d)
immutable=""
cleanup() {
    [[ -n $immutable ]] && chattr -R -i "$immutable" 2>/dev/null
    chmod -R u+w "$TMP" 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT
export HOME=$TMP/home XDG_CONFIG_HOME=$TMP/config XDG_DATA_HOME=$TMP/data
mkdir -p "$HOME"

install_into() { # prefix
    cmake --install "$BUILD" --prefix "$1" >"$TMP/install.log" 2>&1 ||
        {
            cat "$TMP/install.log" >&2
            fail "cmake --install into $1"
            exit 1
        }
}

case $step in
desktop)
    need desktop-file-validate
    out=$(desktop-file-validate "$RES/$ID.desktop" 2>&1) || fail "desktop-file-validate: $out"
    [[ -z $out ]] || fail "desktop-file-validate warns: $out"
    entry=$(cat "$RES/$ID.desktop")
    expect_contains "$entry" "Name=Kvelta 2001" "desktop entry"
    expect_contains "$entry" "Name[cs]=" "desktop entry"
    expect_contains "$entry" "GenericName[cs]=" "desktop entry"
    grep -qE '^Categories=(.*;)?Office;' "$RES/$ID.desktop" || fail "category Office missing"
    grep -qx "Icon=$ID" "$RES/$ID.desktop" || fail "icon name is not $ID"
    # Window and entry meet by this name (Wayland app id).
    grep -rqF "setDesktopFileName(QStringLiteral(\"$ID\"))" "$SRC/ui" "$SRC/app" ||
        fail "the program does not name its desktop entry $ID"
    grep -qE '^Exec=kvelta( |$)' "$RES/$ID.desktop" || fail "Exec does not start kvelta"
    # Every size installed is a real picture of that size.
    for s in 16 32 48 64 128 256; do
        info=$(file -b "$RES/icons/kvelta-$s.png")
        expect_contains "$info" "PNG image data, $s x $s" "icon $s"
    done
    grep -q '<svg' "$RES/icons/kvelta.svg" || fail "the scalable icon is not SVG"
    ;;
metainfo)
    need appstreamcli
    out=$(appstreamcli validate --no-net "$RES/$ID.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $out"
    meta=$(cat "$RES/$ID.metainfo.xml")
    expect_contains "$meta" "<id>$ID</id>" "metainfo"
    expect_contains "$meta" "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "metainfo"
    expect_contains "$meta" "<binary>kvelta</binary>" "metainfo"
    version=$("$EXE" --version | awk '{print $2}')
    expect_contains "$meta" "<release version=\"$version\"" "metainfo release of --version"
    ;;
manual)
    need groff
    warnings=$(groff -man -ww -z "$RES/kvelta.1" 2>&1)
    [[ -z $warnings ]] || fail "groff warns: $warnings"
    page=$(sed 's/\\-/-/g' "$RES/kvelta.1")
    # The usage text the program prints for a bad argument lists every form.
    usage=$("$EXE" --no-such-option 2>&1 >/dev/null | sed -n '/usage:/,$p')
    [[ $usage == *"usage: kvelta"* ]] || fail "no usage text: $usage"
    while read -r first second; do
        [[ $first == -* || -z $first ]] && continue
        heading=$first
        [[ $first == print ]] && heading="$first $second"
        grep -q "^\.SS \"$heading" <<<"$page" || fail "manual has no section for '$heading'"
    done < <(sed -n 's/^.*kvelta \([a-z][a-z-]*\)\( [a-z][a-z]*\)\?.*$/\1\2/p' <<<"$usage")
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u); do
        expect_contains "$page" "$option" "manual option"
    done
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES; do
        grep -q "^\.SH \"\?$section" <<<"$page" || fail "manual lacks section $section"
    done
    ;;
help)
    page=$RES/KV2001.html
    grep -q '<html lang="cs">' "$page" || fail "help is not marked Czech"
    grep -qi '<meta charset="utf-8">' "$page" || fail "help has no charset"
    anchors=$(grep -o 'name="[a-z]*"' "$page" | sed 's/name="\(.*\)"/\1/' | sort -u)
    # Topics the windows ask for, e.g. helpRequested(QStringLiteral("vyber")).
    topics=$(grep -rhoE '(helpRequested|showHelp)\(QStringLiteral\("[a-z]+"\)' \
        "$SRC/ui" | sed 's/.*("\(.*\)")/\1/' | sort -u)
    [[ -n $topics ]] || fail "no help topics found in the sources"
    for t in $topics; do
        grep -qx "$t" <<<"$anchors" || fail "help has no topic '$t'"
    done
    for link in $(grep -o 'href="#[a-z]*"' "$page" | sed 's/href="#\(.*\)"/\1/' | sort -u); do
        grep -qx "$link" <<<"$anchors" || fail "help links to missing '#$link'"
    done
    # One topic per window of the program.
    for t in hlavni seznam profil vyber kriteria tip hledatobor vyjmout vyjmute poznamky reklama \
        export tiskseznam tiskprofil stitky obsahstitku nahled nastaveni prezentace oprogramu; do
        grep -qx "$t" <<<"$anchors" || fail "help lacks the topic '$t'"
    done
    ;;
prefix)
    need cmake
    P=$TMP/prefix
    install_into "$P"
    for f in bin/kvelta share/kvelta/KV2001.html share/kvelta/strings.tsv \
        share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml \
        share/mime/packages/$ID.xml share/man/man1/kvelta.1 \
        share/icons/hicolor/scalable/apps/$ID.svg share/doc/kvelta/labels-LICENSE; do
        [[ -f $P/$f ]] || fail "not installed: $f"
    done
    for s in 16 32 48 64 128 256; do
        [[ -f $P/share/icons/hicolor/${s}x$s/apps/$ID.png ]] || fail "no ${s}px icon"
    done
    [[ -x $P/bin/kvelta ]] || fail "bin/kvelta is not executable"
    cmp -s "$RES/KV2001.html" "$P/share/kvelta/KV2001.html" || fail "installed help differs"
    version=$("$P/bin/kvelta" --version) || fail "installed kvelta --version failed"
    [[ $version =~ ^kvelta\ [0-9]+(\.[0-9]+)+$ ]] || fail "--version printed '$version'"
    # A demo home made by the installed program carries the help.
    "$P/bin/kvelta" make-demo "$TMP/demo" --firms 30 >/dev/null 2>"$TMP/err" ||
        fail "make-demo: $(cat "$TMP/err")"
    cmp -s "$RES/KV2001.html" "$TMP/demo/KV2001.html" || fail "demo home lacks the help"
    # Headless commands of the usage text answer, not "unknown command".
    n=$("$P/bin/kvelta" export --home "$TMP/demo" -o "$TMP/firms.txt" 2>"$TMP/err")
    [[ $n == 30 && -s $TMP/firms.txt ]] || fail "export: '$n' $(cat "$TMP/err")"
    "$P/bin/kvelta" print list --home "$TMP/demo" -o "$TMP/list.pdf" 2>"$TMP/err" ||
        fail "print list: $(cat "$TMP/err")"
    [[ $(head -c 5 "$TMP/list.pdf") == %PDF- ]] || fail "print list wrote no PDF"
    ;;
readonly)
    need cmake
    P=$TMP/prefix
    install_into "$P"
    if [[ $(id -u) -eq 0 ]]; then
        # Root writes through permission bits; an immutable folder stops it.
        command -v chattr >/dev/null || skip "running as root and chattr is missing"
        chattr -R +i "$P/bin" 2>/dev/null || skip "running as root and chattr +i fails here"
        immutable=$P/bin
    else
        chmod -R a-w "$P"
    fi
    touch "$P/bin/probe" 2>/dev/null && fail "the prefix is still writable"
    user_ini=$XDG_CONFIG_HOME/Lumora/KV2001.ini
    "$P/bin/kvelta" config --set MdiMod=1 2>"$TMP/err" || fail "config --set: $(cat "$TMP/err")"
    [[ -f $user_ini ]] || fail "no $user_ini"
    [[ -e $P/bin/KV2001.ini ]] && fail "KV2001.ini written into the read-only prefix"
    where=$("$P/bin/kvelta" config | head -n 1)
    [[ $where == "$user_ini" ]] || fail "config reports '$where', not $user_ini"
    lines=$("$P/bin/kvelta" oxo-dump "$user_ini")
    [[ $lines == "MdiMod=1" ]] || fail "user file holds '$lines'"
    # The stored file is masked, not plain text.
    grep -q MdiMod "$user_ini" && fail "KV2001.ini written as plain text"
    # Installed in a prefix that may be written (root in /usr/bin): still
    # the user's folder, never the program's.
    W=$TMP/writable
    install_into "$W"
    "$W/bin/kvelta" config --set MdiMod=3 2>"$TMP/err" || fail "writable: $(cat "$TMP/err")"
    [[ -e $W/bin/KV2001.ini ]] && fail "KV2001.ini written beside an installed program"
    [[ $("$W/bin/kvelta" oxo-dump "$user_ini") == MdiMod=3 ]] || fail "writable prefix ignored $user_ini"
    "$P/bin/kvelta" config --set MdiMod=1 2>"$TMP/err" || fail "config --set: $(cat "$TMP/err")"
    # A copy of the program alone in a writable folder keeps the file beside itself.
    mkdir -p "$TMP/portable"
    cp "$P/bin/kvelta" "$TMP/portable/"
    "$TMP/portable/kvelta" config --set MdiMod=2 2>"$TMP/err" || fail "portable: $(cat "$TMP/err")"
    [[ $("$TMP/portable/kvelta" oxo-dump "$TMP/portable/KV2001.ini") == MdiMod=2 ]] ||
        fail "portable program did not keep KV2001.ini beside itself"
    [[ $("$P/bin/kvelta" oxo-dump "$user_ini") == MdiMod=1 ]] || fail "user file changed"
    ;;
package)
    need cpack
    need dpkg-deb
    need dpkg-shlibdeps
    cpack -G DEB -B "$TMP/pkg" --config "$BUILD/CPackConfig.cmake" >"$TMP/cpack.log" 2>&1 ||
        {
            cat "$TMP/cpack.log" >&2
            fail "cpack"
            exit 1
        }
    deb=$(ls "$TMP"/pkg/kvelta_*.deb 2>/dev/null | head -n 1)
    [[ -f $deb ]] || {
        fail "no kvelta_*.deb in $(ls "$TMP/pkg")"
        exit 1
    }
    info=$(dpkg-deb --info "$deb")
    version=$("$EXE" --version | awk '{print $2}')
    expect_contains "$info" "Package: kvelta" "control"
    expect_contains "$info" "Version: $version" "control"
    depends=$(dpkg-deb --field "$deb" Depends)
    for lib in libqt6widgets6 libqt6printsupport6 libqt6network6 libqt6gui6 libqt6core6 \
        libsqlite3-0 libmdb3 libc6 fonts-liberation; do
        expect_contains "$depends" "$lib" "Depends"
    done
    contents=$(dpkg-deb --contents "$deb")
    for f in ./usr/bin/kvelta ./usr/share/applications/$ID.desktop \
        ./usr/share/metainfo/$ID.metainfo.xml ./usr/share/man/man1/kvelta.1 \
        ./usr/share/kvelta/KV2001.html ./usr/share/icons/hicolor/48x48/apps/$ID.png \
        ./usr/share/icons/hicolor/scalable/apps/$ID.svg; do
        expect_contains "$contents" "$f" "package contents"
    done
    # The packed program runs.
    dpkg-deb -x "$deb" "$TMP/root"
    [[ $("$TMP/root/usr/bin/kvelta" --version) == "kvelta $version" ]] ||
        fail "packed kvelta --version"
    ;;
*)
    echo "unknown step $step" >&2
    exit 2
    ;;
esac

if ((failures > 0)); then
    echo "$step: $failures failure(s)" >&2
    exit 1
fi
echo "$step: ok"
