#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs both programs from
# there, so a missing install rule or a program that only runs from the build
# tree shows up here. Arguments: BUILD_DIR EXPECTED_VERSION [gui]
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

out=$("$prefix/bin/velkor" --version)
[[ "$out" == *"$version"* ]] || { echo "velkor --version printed: $out" >&2; exit 1; }

if [[ "${3:-}" == gui ]]; then
  for f in share/applications/velkorforphone.desktop \
           share/icons/hicolor/scalable/apps/velkorforphone.svg; do
    [[ -s "$prefix/$f" ]] || { echo "not installed: $f" >&2; exit 1; }
  done
  # The desktop program starts, paints its window, saves a picture of it and
  # quits by itself.
  QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/VelkorForPhone" --screenshot "$prefix/shot.png"
  [[ -s "$prefix/shot.png" ]] || { echo "the desktop program saved no picture" >&2; exit 1; }
fi
echo "installed programs run"
