#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs this build's program into a .deb (stripped, as tools/package.sh does for a Release
# build) and checks it the way Debian and a desktop would: contents, control fields, the
# changelog's version, then lintian, appstreamcli and desktop-file-validate when installed.
#   check_package.sh CPACK BUILD_DIR WORK_DIR
# Exit 77 (skipped) when everything present passed but a checker is not installed.
set -eu
cpack="$1"
build="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb="$(ls "$work"/*.deb)"
echo "package: $deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -f "$deb" >"$work/control"
cat "$work/control"

# What a desktop and Debian look for, path by path.
while read -r path; do
    [ -f "$work/root/$path" ] || fail "missing from the package: $path"
done <<'PATHS'
usr/bin/lexorquine
usr/share/applications/lexorquine.desktop
usr/share/icons/hicolor/16x16/apps/lexorquine.png
usr/share/icons/hicolor/32x32/apps/lexorquine.png
usr/share/icons/hicolor/48x48/apps/lexorquine.png
usr/share/man/man1/lexorquine.1.gz
usr/share/metainfo/example.lexo.lexorquine.metainfo.xml
usr/share/doc/lexorquine/copyright
usr/share/doc/lexorquine/changelog.Debian.gz
usr/share/lintian/overrides/lexorquine
PATHS

# Control fields: field, then a pattern its value must match (grep -E).
while IFS='|' read -r field pattern; do
    value="$(dpkg-deb -f "$deb" "$field")"
    printf '%s\n' "$value" | grep -Eq -- "$pattern" || fail "control field $field: '$value' lacks /$pattern/"
done <<'FIELDS'
Package|^lexorquine$
Architecture|^[a-z0-9]+$
Depends|(^|, )libc6 
Depends|(^|, )libqt6widgets6 
Depends|(^|, )libqt6gui6 
Depends|(^|, )qt6-qpa-plugins(,|$)
Section|^text$
Priority|^optional$
Homepage|^https://
FIELDS
# An extended description: more lines after the synopsis.
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "the description has no extended part"

# The changelog must describe the version being shipped.
version="$(dpkg-deb -f "$deb" Version)"
top="$(gzip -dc "$work/root/usr/share/doc/lexorquine/changelog.Debian.gz" | head -n 1)"
case "$top" in
"lexorquine ($version) "*) ;;
*) fail "the changelog starts at '$top', the package is $version" ;;
esac

# The AppStream release list starts at the upstream version too.
upstream="${version%-*}"
grep -q "<release version=\"$upstream\"" "$work/root/usr/share/metainfo/example.lexo.lexorquine.metainfo.xml" ||
    fail "the AppStream metadata has no release $upstream"

# Stripped: no symbol table, no debugging sections.
if readelf -S "$work/root/usr/bin/lexorquine" | grep -Eq '\.(symtab|debug_)'; then
    fail "usr/bin/lexorquine is not stripped"
fi

missing=""
if command -v lintian >/dev/null 2>&1; then
    # Errors and warnings fail; the informational tags are shown only.
    lintian --fail-on error,warning --display-info "$deb" || fail "lintian"
else
    missing="$missing lintian"
fi
if command -v appstreamcli >/dev/null 2>&1; then
    # The tree check also makes sure the launchable desktop entry is there.
    appstreamcli validate --no-net "$work/root/usr/share/metainfo/example.lexo.lexorquine.metainfo.xml" ||
        fail "appstreamcli validate"
    appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli validate-tree"
else
    missing="$missing appstreamcli"
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$work/root/usr/share/applications/lexorquine.desktop" || fail "desktop-file-validate"
else
    missing="$missing desktop-file-validate"
fi

[ "$failures" -eq 0 ] || exit 1
if [ -n "$missing" ]; then
    echo "not installed (tools/install-deps.sh --tests):$missing"
    exit 77
fi
echo "package ok"
