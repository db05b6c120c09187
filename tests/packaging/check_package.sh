#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages from the source package, as a distribution
# would, and checks them as a packager would: dpkg-buildpackage on a scratch
# copy of the source (with Debian's build flags), lintian --pedantic on the
# source and every binary package (no error, no warning), the desktop entry
# with desktop-file-validate, the AppStream metadata with appstreamcli, the
# split (zel-make pulls no browser engine), the layout (the programs in
# /usr/lib/zel, the editor without the engine and its web windows' module
# beside it, links in /usr/bin, a manual page with the version for every
# program, the Template in /usr/share/zel, the guide with its screenshots),
# and the autopkgtest script against the unpacked programs.
#   tests/packaging/check_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build=$2
for tool in dpkg-buildpackage dh lintian desktop-file-validate appstreamcli dpkg-deb apt-cache git; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup --test" >&2; exit 1; }
done

mkdir -p "$build"
work="$(cd "$build" && pwd)/package"
rm -rf "$work"
mkdir -p "$work"
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
upstream=${version%-*}
copy="$work/zel-$upstream"
mkdir "$copy"
# What git knows of (a build folder in the source stays out), with the
# working tree's changes.
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard) \
  | (cd "$source_dir" && xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh) \
  | (cd "$source_dir" && tar -cf - --null -T -) | tar -xf - -C "$copy"
# Compressed quickly: what is checked is the package built from it.
tar -C "$work" --exclude="zel-$upstream/debian" -cf - "zel-$upstream" | gzip -1 >"$work/zel_$upstream.orig.tar.gz"

failed=0
fail() { echo "FAIL: $*"; failed=1; }

echo "== dpkg-buildpackage"
# Through the compiler cache, the objects of a test build configured by
# scripts/configure (the same flags) are taken rather than compiled again:
# paths are keyed relative to the source folder, which holds the scratch copy
# when the build folder is inside it, as scripts/test has it. Debhelper gives
# the build a home of its own, so the cache is named.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  # The test build's cache (its launcher names it), not one of the tests' own home.
  CCACHE_DIR=$(sed -n 's/^CMAKE_CXX_COMPILER_LAUNCHER:[A-Z]*=.*CCACHE_DIR=\([^;]*\);.*/\1/p' "$build/CMakeCache.txt" 2>/dev/null || true)
  [ -n "$CCACHE_DIR" ] || CCACHE_DIR=$(ccache -k cache_dir 2>/dev/null || echo "$HOME/.cache/ccache")
  basedir=$work
  [[ "$work" == "$source_dir"/* ]] && basedir=$source_dir
  export CCACHE_DIR CCACHE_BASEDIR="$basedir" CCACHE_NOHASHDIR=1 CCACHE_SLOPPINESS=pch_defines,time_macros
fi
# What is checked is the packages' content: compressed quickly, not smallest.
export DPKG_DEB_COMPRESSOR_TYPE=gzip DPKG_DEB_COMPRESSOR_LEVEL=1
if ! (cd "$copy" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc) >"$work/build.log" 2>&1; then
  tail -40 "$work/build.log"
  echo "FAIL: dpkg-buildpackage (the whole log: $work/build.log)"
  exit 1
fi
arch=$(dpkg --print-architecture)
changes="$work/zel_${version}_${arch}.changes"
deb() { echo "$work/${1}_${version}_${arch}.deb"; }

echo "== lintian --pedantic"
lintian --pedantic --fail-on error,warning --display-info "$changes" || fail "lintian reports errors or warnings"
for package in zel-make zel zel-kiosk; do
  [ -f "$(deb "$package")" ] || fail "no package $package"
  ls "$work/${package}-dbgsym_${version}_${arch}".*deb >/dev/null 2>&1 || fail "no package $package-dbgsym"
done

root="$work/root"
for package in zel-make zel zel-kiosk; do
  mkdir -p "$root/$package"
  dpkg-deb -x "$(deb "$package")" "$root/$package"
done
all="$root/all"
mkdir -p "$all"
for package in zel-make zel zel-kiosk; do cp -a "$root/$package/." "$all/"; done

echo "== zel-make alone"
depends=$(dpkg-deb -f "$(deb zel-make)" Depends | tr ',' '\n' | sed 's/(.*//; s/|.*//' | xargs)
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
  --no-enhances $depends 2>/dev/null | grep -v '^ ' | sort -u)
[ -n "$closure" ] || fail "the dependencies of zel-make ($depends) are unknown to apt"
if grep -qiE 'webengine|qt6-qpa|libqt6gui|libqt6widgets' <<<"$closure"; then
  fail "zel-make pulls $(grep -iE 'webengine|qt6-qpa|libqt6gui|libqt6widgets' <<<"$closure" | xargs)"
fi
dpkg-deb -f "$(deb zel)" Depends | grep -q "zel-make (= $version)" || fail "zel does not depend on zel-make"
dpkg-deb -f "$(deb zel-kiosk)" Depends | grep -q "zel-make (= $version)" || fail "zel-kiosk does not depend on zel-make"

echo "== desktop-file-validate"
desktop="$root/zel/usr/share/applications/zel-editor.desktop"
desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'MimeType=text/x-zel-page;' "$desktop" || fail "desktop entry has no MimeType"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$root"/zel/usr/share/metainfo/*.metainfo.xml || fail "AppStream metadata"
grep -q "<li>" "$root"/zel/usr/share/metainfo/*.metainfo.xml || fail "AppStream metadata has no release notes"

echo "== layout"
mime="$root/zel/usr/share/mime/packages/zel.xml"
grep -q '<glob pattern="\*.zel"/>' "$mime" && grep -q '<sub-class-of type="text/plain"/>' "$mime" \
  || fail "MIME type of page sources"
[ "$(ls "$root/zel-make/usr/bin")" = zel-make ] || fail "zel-make's /usr/bin holds $(ls "$root/zel-make/usr/bin" | xargs)"
[ "$(ls "$root/zel/usr/bin")" = zel-editor ] || fail "zel's /usr/bin holds $(ls "$root/zel/usr/bin" | xargs)"
[ "$(readlink "$root/zel-kiosk/usr/bin/zel-kiosk")" = "../lib/zel/zel-kiosk" ] || fail "no /usr/bin/zel-kiosk link"
for entry in zel-make:zel-make zel-make:zel-resample zel-make:zel-makecab zel:zel-editor zel-kiosk:zel-kiosk; do
  package=${entry%%:*} program=${entry#*:}
  [ -x "$root/$package/usr/lib/zel/$program" ] || fail "$program is not in /usr/lib/zel of $package"
  page="$root/$package/usr/share/man/man1/$program.1.gz"
  [ -f "$page" ] || { fail "$program has no manual page"; continue; }
  [[ "$(zcat "$page" | sed -n 1p)" == *"\"ZEL $upstream\""* ]] || fail "the manual page of $program does not name $upstream"
done
# The editor starts without the web engine: its web windows are a module beside it, over its library.
for file in libzel_desktop.so zel_web_windows.so; do
  [ -f "$root/zel/usr/lib/zel/$file" ] || fail "$file is not in /usr/lib/zel of zel"
done
needed=$(readelf -d "$root/zel/usr/lib/zel/zel-editor" | grep NEEDED || true)
grep -q libzel_desktop <<<"$needed" || fail "zel-editor does not link libzel_desktop.so"
! grep -qi webengine <<<"$needed" || fail "zel-editor links the web engine"
# libheif is loaded when a HEIC or AVIF picture is first read, so no program links it and zel-make names it.
for program in zel-editor libzel_desktop.so zel-make zel-resample zel-kiosk; do
  ! readelf -d "$all/usr/lib/zel/$program" | grep NEEDED | grep -qi libheif || fail "$program links libheif"
done
dpkg-deb -f "$(deb zel-make)" Depends | grep -q libheif1 || fail "zel-make does not depend on libheif1"
# libmosquitto (and OpenSSL with it) is loaded when the first broker connection starts.
for program in zel-editor libzel_desktop.so zel-kiosk; do
  ! readelf -d "$all/usr/lib/zel/$program" | grep NEEDED | grep -qi libmosquitto || fail "$program links libmosquitto"
done
for package in zel zel-kiosk; do
  dpkg-deb -f "$(deb $package)" Depends | grep -q libmosquitto1 || fail "$package does not depend on libmosquitto1"
done
[ "$("$all/usr/lib/zel/zel-editor" --version)" = "zel-editor $upstream" ] || fail "zel-editor --version is not $upstream"
for program in zel-make zel-resample zel-makecab; do
  [ "$("$all/usr/lib/zel/$program" --version)" = "$program $upstream" ] || fail "$program --version is not $upstream"
done
[ -f "$root/zel-make/usr/share/zel/Template/configuration.txt" ] || fail "the Template is not in zel-make's /usr/share/zel"
[ -f "$root/zel-kiosk/usr/lib/systemd/user/zel-kiosk.service" ] || fail "zel-kiosk has no user unit"
for package in zel-make zel zel-kiosk; do
  [ -f "$root/$package/usr/share/doc/$package/copyright" ] || fail "$package has no copyright file"
done
for shot in $(grep -o 'screenshots/[A-Za-z0-9._-]*\.png' "$root/zel/usr/share/doc/zel/guide.md" | sort -u); do
  [ -f "$root/zel/usr/share/doc/zel/$shot" ] || fail "the installed guide shows $shot, which is not installed"
done

echo "== autopkgtest make-sample"
(cd "$source_dir" && ZEL_MAKE="$all/usr/lib/zel/zel-make" ZEL_TEMPLATE="$all/usr/share/zel/Template" \
  AUTOPKGTEST_TMP=$(mktemp -d "$work/autopkgtest.XXXXXX") sh debian/tests/make-sample) \
  || fail "the autopkgtest make-sample"

exit $failed
