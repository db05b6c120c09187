#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a packager
# would: lintian (no error, no warning; info tags are listed), the desktop
# entry with desktop-file-validate, the AppStream metadata with appstreamcli,
# the MIME type's glob and parent, and the layout: the programs in
# /usr/lib/zel, links in /usr/bin only for the programs a user calls, every
# program with its manual page and without .comment, one version in the
# package, the programs and the manual pages, the Template in
# /usr/share/zel, from which the installed zel-make makes a kiosk system.
#   tests/packaging/check_package.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in cpack lintian desktop-file-validate appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup --test" >&2; exit 1; }
done

rm -rf "$build/package"
mkdir -p "$build/package"
(cd "$build/package" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$build"/package/zel_*.deb)
root="$build/package/root"
dpkg-deb -x "$deb" "$root"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

echo "== lintian $deb"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/zel-editor.desktop" || fail "desktop entry"
grep -qx 'MimeType=text/x-zel-page;' "$root/usr/share/applications/zel-editor.desktop" || fail "desktop entry has no MimeType"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metadata"

echo "== layout"
mime="$root/usr/share/mime/packages/zel.xml"
grep -q '<glob pattern="\*.zel"/>' "$mime" && grep -q '<sub-class-of type="text/plain"/>' "$mime" \
  || fail "MIME type of page sources"
[ "$(ls "$root/usr/bin")" = "$(printf 'zel-editor\nzel-make')" ] || fail "/usr/bin holds $(ls "$root/usr/bin" | xargs)"
for program in zel-editor zel-make zel-resample zel-makecab; do
  [ -x "$root/usr/lib/zel/$program" ] || fail "$program is not in /usr/lib/zel"
  [ -f "$root/usr/share/man/man1/$program.1.gz" ] || fail "$program has no manual page"
  if readelf -S "$root/usr/lib/zel/$program" | grep -q '\.comment'; then fail "$program keeps .comment"; fi
done
# One version everywhere: the package's, each program's --version, each manual page's.
version=$(dpkg-deb -f "$deb" Version)
for program in zel-make zel-resample zel-makecab; do
  [ "$("$root/usr/lib/zel/$program" --version)" = "$program $version" ] || fail "$program --version is not $version"
done
for program in zel-editor zel-make zel-resample zel-makecab; do
  header=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed -n 1p)
  [[ "$header" == *"\"ZEL $version\""* ]] || fail "the manual page of $program does not name version $version"
done
for shot in $(grep -o 'screenshots/[A-Za-z0-9._-]*\.png' "$root/usr/share/doc/zel/guide.md" | sort -u); do
  [ -f "$root/usr/share/doc/zel/$shot" ] || fail "the installed guide shows $shot, which is not installed"
done
[ -f "$root/usr/share/zel/Template/configuration.txt" ] || fail "the Template is not in /usr/share/zel"
[ ! -e "$root/usr/lib/zel/Template" ] || fail "a Template is left in /usr/lib/zel"

# The installed maker makes a kiosk system made from the installed Template.
kiosk="$build/package/kiosk"
rm -rf "$kiosk" && cp -r "$root/usr/share/zel/Template" "$kiosk"
"$root/usr/lib/zel/zel-make" "$kiosk" >/dev/null || fail "the installed zel-make"
[ -f "$kiosk/root/root.htm" ] || fail "the installed zel-make made no root page"

# The kiosk player's own package.
kiosk_deb=$(ls "$build"/package/zel-kiosk_*.deb)
kiosk_root="$build/package/kiosk-root"
dpkg-deb -x "$kiosk_deb" "$kiosk_root"
echo "== lintian $kiosk_deb"
lintian --fail-on error,warning --display-info "$kiosk_deb" || fail "lintian reports errors or warnings (zel-kiosk)"
[ "$(readlink "$kiosk_root/usr/bin/zel-kiosk")" = "../lib/zel/zel-kiosk" ] || fail "no /usr/bin/zel-kiosk link"
[ -x "$kiosk_root/usr/lib/zel/zel-kiosk" ] || fail "zel-kiosk is not in /usr/lib/zel"
[ -f "$kiosk_root/usr/share/man/man1/zel-kiosk.1.gz" ] || fail "zel-kiosk has no manual page"
[[ "$(zcat "$kiosk_root/usr/share/man/man1/zel-kiosk.1.gz" | sed -n 1p)" == *"\"ZEL $version\""* ]] \
  || fail "the manual page of zel-kiosk does not name version $version"
[ -f "$kiosk_root/usr/lib/systemd/user/zel-kiosk.service" ] || fail "zel-kiosk has no user unit"
dpkg-deb -f "$kiosk_deb" Depends | grep -q "^zel (= " || fail "zel-kiosk does not depend on zel"
[ ! -e "$root/usr/lib/zel/zel-kiosk" ] || fail "zel-kiosk is in the package zel"

exit $failed
