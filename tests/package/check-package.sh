#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder, checks its control
# fields and file list, unpacks it and runs the unpacked command line from there.
# Usage: check-package.sh BUILD_DIR SOURCE_DIR VERSION   (exit 77: skipped, tools missing)
set -euo pipefail
build=$1
source=$2
version=$3

for tool in dpkg-deb dpkg-shlibdeps file cpack; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    fail "cpack did not build the package"
fi
arch=$(dpkg --print-architecture)
deb="$tmp/out/mervex_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$tmp/out"; fail "no $(basename "$deb")"; }

# Control fields: the name and version of the project, dependencies found in the binaries.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = mervex ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for lib in libc6 libqt6core6 libqt6serialport6 libqt6widgets6 libqt6printsupport6 libqt6svg6 \
    libxlsxwriter4; do
    grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(field Recommends)" = "qt6-translations-l10n, xdg-utils" ] ||
    fail "Recommends: $(field Recommends)"
# The administrator's Settings.ini is a configuration file: an upgrade keeps its edits.
dpkg-deb -e "$deb" "$tmp/control"
[ "$(cat "$tmp/control/conffiles")" = /etc/mervex/Settings.ini ] ||
    fail "conffiles: $(cat "$tmp/control/conffiles")"

# File list: every path relative to the root, all owned by root.
dpkg-deb -c "$deb" >"$tmp/contents"
awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' "$tmp/contents" ||
    fail "files not owned by root/root"
sed -E 's|.* \./|/|; s| -> .*||' "$tmp/contents" | grep -v '/$' | sort >"$tmp/files"
for f in /etc/mervex/Settings.ini /usr/bin/mervex /usr/bin/mervex-cli /usr/bin/mervex-meter-sim \
    /usr/share/applications/mervex.desktop /usr/share/icons/hicolor/256x256/apps/mervex.png \
    /usr/share/metainfo/org.example.mervex.metainfo.xml \
    /usr/share/man/man1/mervex.1.gz /usr/share/man/man1/mervex-cli.1.gz \
    /usr/share/man/man1/mervex-meter-sim.1.gz /usr/lib/udev/rules.d/70-mervex-serial.rules \
    /usr/share/doc/mervex/copyright /usr/share/doc/mervex/changelog.gz; do
    grep -qx "$f" "$tmp/files" || fail "package lacks $f"
done
# Everything under resources/ goes to share/mervex, whatever new folders appear there.
(cd "$source/resources" && find . -type f | sed 's|^\.|/usr/share/mervex|' | sort) >"$tmp/resources"
missing=$(comm -23 "$tmp/resources" "$tmp/files")
[ -z "$missing" ] || fail "resources not packaged: $missing"
programs=$(grep '^/usr/bin/' "$tmp/files" | tr '\n' ' ')
[ "$programs" = "/usr/bin/mervex /usr/bin/mervex-cli /usr/bin/mervex-meter-sim " ] ||
    fail "programs in /usr/bin: $programs"

# The unpacked command line runs from its own prefix and answers like the built one.
dpkg-deb -x "$deb" "$tmp/root"
unset MERVEX_PROGRAM_DIR MERVEX_STRINGS
cli="$tmp/root/usr/bin/mervex-cli"
"$cli" --help >"$tmp/help" || fail "mervex-cli --help failed"
grep -q '^usage: mervex-cli' "$tmp/help" || fail "unexpected --help: $(head -1 "$tmp/help")"
MERVEX_PROGRAM_DIR="$build/bin" "$build/bin/mervex-cli" --help | cmp -s - "$tmp/help" ||
    fail "--help differs from the built program's"
"$cli" strings >"$tmp/strings" || fail "mervex-cli strings failed"
[ -s "$tmp/strings" ] || fail "mervex-cli strings printed nothing"
MERVEX_PROGRAM_DIR="$build/bin" "$build/bin/mervex-cli" strings | cmp -s - "$tmp/strings" ||
    fail "strings differ from the built program's"
# It reads the unpacked etc/mervex/Settings.ini before the shipped defaults in share/mervex:
# switched to the Ardel 60 edition there, a failed search names that meter.
settings="$tmp/root/etc/mervex/Settings.ini"
cmp -s "$settings" "$tmp/root/usr/share/mervex/Settings.ini" ||
    fail "etc/mervex/Settings.ini differs from the shipped defaults"
sed -i 's/^OnlyArdel60=.*/OnlyArdel60=True/I' "$settings"
grep -qi '^OnlyArdel60=True' "$settings" || fail "Settings.ini has no OnlyArdel60 switch"
if "$cli" --port "$tmp/no-such-port" search >"$tmp/search.out" 2>"$tmp/search.err"; then
    fail "search without a meter succeeded"
fi
grep -q "Pas de Ardel 60 reconnu!" "$tmp/search.err" ||
    fail "the unpacked program did not read etc/mervex/Settings.ini: $(cat "$tmp/search.err")"

# Manual pages render without warnings; desktop entry and metadata validate.
if command -v man >/dev/null; then
    for page in "$tmp"/root/usr/share/man/man1/*.1.gz; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [ -z "$out" ] || fail "$(basename "$page"): $out"
    done
else
    echo "man not installed: manual page rendering not checked"
fi
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$tmp/root/usr/share/applications/mervex.desktop" 2>&1) ||
        fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate not installed: desktop entry not checked"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic \
        "$tmp/root/usr/share/metainfo/org.example.mervex.metainfo.xml" >"$tmp/as.log" 2>&1 ||
        { cat "$tmp/as.log"; fail "appstreamcli validate"; }
else
    echo "appstreamcli not installed: AppStream metadata not checked"
fi
echo "package $(basename "$deb") builds, installs its files and runs from its own prefix"
