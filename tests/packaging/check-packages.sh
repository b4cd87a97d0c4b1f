#!/usr/bin/env bash
# Checks the release packages in out/packages/ against the Release builds they were made from:
#   the Debian package's metadata, its exact file list, lintian without errors, the modules in it
#   byte-identical to build-release's, and both modules loading through the packaged velmora-host
#   from a root the package was unpacked into (dpkg -x; nothing is installed on the machine);
#   the Windows zip's exact file list, INSTALL.txt in CR LF, and its modules byte-identical to
#   build-release-windows's.
set -euo pipefail
cd "$(dirname "$0")/../.."

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="out/packages/velmora_${version}_amd64.deb"
zip="out/packages/velmora-${version}-windows-x64.zip"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
field() { dpkg-deb -f "$deb" "$1"; }

# ---- Debian package ----
[ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }
[ "$(field Package)" = velmora ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
[ "$(field Section)" = sound ] || fail "Section is $(field Section)"
[ "$(field Maintainer)" = "Corvane Audio <support@corvaneaudio.com>" ] ||
  fail "Maintainer is $(field Maintainer)"
field Description | grep -q "saturation and soft-clipping" || fail "Description: $(field Description)"
# Computed from the binaries: the C++ runtime and what the editor and the host draw and read with.
for dependency in libc6 libstdc++6 libcairo2 libx11-6 libsndfile1; do
  field Depends | grep -q "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|/$||' | sort >"$work/deb-files"
cat >"$work/deb-expected" <<LIST
./usr
./usr/bin
./usr/bin/velmora-editor-snapshot
./usr/bin/velmora-host
./usr/lib
./usr/lib/clap
./usr/lib/clap/velmora.clap
./usr/lib/vst3
./usr/lib/vst3/velmora.vst3
./usr/lib/vst3/velmora.vst3/Contents
./usr/lib/vst3/velmora.vst3/Contents/x86_64-linux
./usr/lib/vst3/velmora.vst3/Contents/x86_64-linux/velmora.so
./usr/share
./usr/share/doc
./usr/share/doc/velmora
./usr/share/doc/velmora/README
./usr/share/doc/velmora/changelog.gz
./usr/share/doc/velmora/copyright
LIST
sort -o "$work/deb-expected" "$work/deb-expected"
diff -u "$work/deb-expected" "$work/deb-files" || fail "the package's files differ from the list"

if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>/dev/null || true
  cat "$work/lintian"
  if grep -q '^E:' "$work/lintian"; then fail "lintian reports errors"; fi
else
  fail "lintian is not installed"
fi

root="$work/root"
dpkg -x "$deb" "$root"
for pair in "usr/lib/vst3/velmora.vst3/Contents/x86_64-linux/velmora.so:velmora.vst3/Contents/x86_64-linux/velmora.so" \
  "usr/lib/clap/velmora.clap:velmora.clap" "usr/bin/velmora-host:tools/host/velmora-host" \
  "usr/bin/velmora-editor-snapshot:tools/velmora-editor-snapshot"; do
  cmp -s "$root/${pair%%:*}" "build-release/${pair#*:}" || fail "${pair%%:*} is not build-release's"
done
for module in usr/lib/vst3/velmora.vst3 usr/lib/clap/velmora.clap; do
  if "$root/usr/bin/velmora-host" info "$root/$module" >"$work/info.json"; then
    grep -q '"Velmora"' "$work/info.json" || fail "velmora-host info $module names no Velmora"
  else
    fail "velmora-host info $module failed"
  fi
done

# ---- Windows zip ----
[ -f "$zip" ] || { echo "FAIL: no $zip" >&2; exit 1; }
top="velmora-${version}-windows-x64"
cmake -E tar tf "$zip" | sed 's|/$||' | sort >"$work/zip-files"
cat >"$work/zip-expected" <<LIST
$top/INSTALL.txt
$top/LICENSE.txt
$top/velmora-host.exe
$top/velmora.clap
$top/velmora.vst3
$top/velmora.vst3/Contents
$top/velmora.vst3/Contents/x86_64-win
$top/velmora.vst3/Contents/x86_64-win/velmora.vst3
LIST
sort -o "$work/zip-expected" "$work/zip-expected"
# Archivers differ in whether they list folders; the files must match exactly.
grep -v -x -e "$top/velmora.vst3" -e "$top/velmora.vst3/Contents" \
  -e "$top/velmora.vst3/Contents/x86_64-win" "$work/zip-files" >"$work/zip-only-files" || true
grep -v -x -e "$top/velmora.vst3" -e "$top/velmora.vst3/Contents" \
  -e "$top/velmora.vst3/Contents/x86_64-win" "$work/zip-expected" >"$work/zip-expected-files"
diff -u "$work/zip-expected-files" "$work/zip-only-files" || fail "the zip's files differ from the list"

mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$OLDPWD/$zip")
install_txt="$work/zip/$top/INSTALL.txt"
lines=$(wc -l <"$install_txt")
crlf=$(grep -c $'\r$' "$install_txt" || true)
[ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || fail "INSTALL.txt: $crlf of $lines lines end in CR LF"
grep -q 'C:\\Program Files\\Common Files\\VST3\\' "$install_txt" || fail "INSTALL.txt names no VST3 folder"
for pair in "velmora.vst3/Contents/x86_64-win/velmora.vst3:velmora.vst3/Contents/x86_64-win/velmora.vst3" \
  "velmora.clap:velmora.clap" "velmora-host.exe:tools/host/velmora-host.exe"; do
  cmp -s "$work/zip/$top/${pair%%:*}" "build-release-windows/${pair#*:}" ||
    fail "${pair%%:*} in the zip is not build-release-windows's"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "packages OK: $deb, $zip"
