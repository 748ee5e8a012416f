#!/usr/bin/env bash
# Builds the Debian package of zentrix in build/ and checks what it holds (and runs lintian
# where it is installed). Prints the path of the package on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
(cd build && rm -f zentrix_*.deb && cpack -G DEB >/dev/null)
deb=$(ls build/zentrix_*.deb)

fail=0
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/zentrix /usr/bin/zentrix-cli /usr/libexec/zentrix/devsim /usr/libexec/zentrix/cardio \
            /usr/share/zentrix/zentrix.sys /usr/share/applications/zentrix.desktop \
            /usr/share/icons/hicolor/48x48/apps/zentrix.png /usr/share/icons/hicolor/256x256/apps/zentrix.png \
            /usr/share/mime/packages/zentrix.xml /usr/share/metainfo/org.zentrix.Zentrix.metainfo.xml \
            /usr/share/man/man1/zentrix.1.gz /usr/share/man/man1/zentrix-cli.1.gz \
            /usr/share/bash-completion/completions/zentrix-cli /usr/share/doc/zentrix/copyright; do
  grep -qx "$path" <<<"$contents" || { echo "package.sh: $path is missing from $deb" >&2; fail=1; }
done
# Every default file of data/ comes along.
for f in $(cd data && find . -type f | sed 's|^\./||'); do
  grep -qx "/usr/share/zentrix/$f" <<<"$contents" || { echo "package.sh: data/$f is missing from $deb" >&2; fail=1; }
done
# The chip-tool stand-in must never lie where the program looks for the real tool.
grep -qx /usr/bin/cardio <<<"$contents" && { echo "package.sh: cardio is on the PATH" >&2; fail=1; }
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || { echo "package.sh: Depends lacks the Qt libraries: $depends" >&2; fail=1; }
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" || fail=1
else
  echo "package.sh: lintian is not installed; skipped" >&2
fi
[ "$fail" -eq 0 ] || exit 1
echo "Depends: $depends" >&2
echo "$deb"
