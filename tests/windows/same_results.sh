#!/usr/bin/env bash
# velkor.exe under Wine must write what the Linux velkor writes: the same
# bytes in the five exports of every format, in report.json but for the
# fields that name the run (times, command line), in the found-file lists and
# the saved files, the same log lines and the same exit status. The images:
# the sample image, a copy of it with hostile texts, the current phone
# layouts as raw images and as a backup folder of Chinese names, the sample
# past 4 GiB in a sparse image; every path has Chinese characters and a
# space; and a scan stopped by Ctrl-C.
#   same_results.sh LINUX_BUILD VELKOR_EXE
set -euo pipefail
linux_build=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
export WINEDEBUG=-all
work=$(mktemp -d "${TMPDIR:-/tmp}/velkor 对比.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "DIFFERENT: $*" >&2
  failures=$((failures + 1))
}

# Runs one program with its output in $work/out, then keeps that folder, the
# program's stdout, stderr and status under $work/<side>/<case>: the paths
# in the log lines are the same for both programs.
run_side() {
  local side=$1 name=$2
  shift 2
  rm -rf "$work/out"
  local status=0
  "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  mkdir -p "$work/$side/$name"
  [[ -d "$work/out" ]] && mv "$work/out" "$work/$side/$name/out"
  # Wine's own loader and debug messages are not the program's output.
  [[ $side == windows ]] && sed -i -E '/^(wine: |[0-9a-f]{4}:(err|fixme|warn|trace):)/d' "$work/stderr"
  mv "$work/stdout" "$work/stderr" "$work/$side/$name/"
  echo "$status" >"$work/$side/$name/status"
}

same_reports() {
  python3 - "$1" "$2" <<'PY'
import json, sys
a, b = (json.load(open(p, encoding="utf-8")) for p in sys.argv[1:3])
for report in (a, b):
    for key in ("started_utc", "ended_utc", "command_line"):
        report.pop(key, None)
sys.exit(a != b)
PY
}

# compare NAME ARGS...: velkor ARGS on both; @OUT@ stands for the output folder.
compare() {
  local name=$1
  shift
  local -a args=("${@//@OUT@/$work/out}")
  run_side linux "$name" "$linux_build/cli/velkor" "${args[@]}"
  run_side windows "$name" "$wine" "$exe" "${args[@]}"
  local l="$work/linux/$name" w="$work/windows/$name"
  for file in status stdout stderr; do
    if ! cmp -s "$l/$file" "$w/$file"; then
      fail "$name: $file"
      diff "$l/$file" "$w/$file" | head -20 >&2 || true
    fi
  done
  if [[ -d "$l/out" || -d "$w/out" ]]; then
    diff -r -q -x report.json "$l/out" "$w/out" >/dev/null || fail "$name: output files"
    if [[ -f "$l/out/report.json" ]]; then
      same_reports "$l/out/report.json" "$w/out/report.json" || fail "$name: report.json"
    fi
  fi
  echo "$name: exit status $(cat "$l/status"), $(find "$l" -type f | wc -l) files compared"
}

sample="$work/样本 镜像.img"
"$linux_build/tests/fixtures/velkor-make-sample" "$sample" >/dev/null
python3 "$here/hostile_copy.py" "$sample" "$work/恶意 文本.img" >/dev/null
for platform in android ios; do
  "$linux_build/tests/phones/velkor-make-phones" "$platform" "$work/手机 $platform" >/dev/null
done
big="$work/大 镜像.img"
truncate -s $(((4 << 30) + 4093)) "$big"
cat "$sample" >>"$big"

for image in "$sample" "$work/恶意 文本.img"; do
  tag=$(basename "$image" .img)
  compare "$tag txt" records "$image" --out @OUT@
  compare "$tag csv deep" records "$image" --format csv --deep --out @OUT@
  compare "$tag jsonl unicode" records "$image" --format jsonl --unicode --threads 3 --out @OUT@
done
for platform in android ios; do
  compare "$platform image" records "$work/手机 $platform.img" --platform "$platform" \
    --format jsonl --out @OUT@
done
compare "backup folder" records "$work/手机 ios" --platform itunes --format csv --out @OUT@
compare "past 4 GiB" records "$big" --format csv --no-hash --out @OUT@
compare "pictures" pictures "$sample" --formats all --block 4096 --out @OUT@
compare "pictures jsonl" pictures "$big" --formats all --block 512 --length structure \
  --signatures extended --format jsonl
compare "videos" videos "$sample" --block 512 --format jsonl
compare "missing image" records "$work/无 此.img" --out @OUT@

# Ctrl-C: both stop, write what they found and say so in the status.
truncate -s 64G "$work/停止.img"
for side in linux windows; do
  command=("$linux_build/cli/velkor")
  [[ $side == windows ]] && command=("$wine" "$exe")
  "${command[@]}" records "$work/停止.img" --no-hash --out "$work/$side-stop" \
    >/dev/null 2>"$work/$side-stop.log" &
  pid=$!
  sleep 4
  kill -INT "$pid"
  status=0
  wait "$pid" || status=$?
  exports=$(find "$work/$side-stop" -name '*.txt' | wc -l)
  grep -q '扫描已停止于偏移' "$work/$side-stop.log" || fail "Ctrl-C ($side): no stop line"
  [[ $status == 3 && $exports == 5 ]] || fail "Ctrl-C ($side): status $status, $exports exports"
  echo "Ctrl-C ($side): exit status $status, $exports exports"
done

if ((failures > 0)); then
  echo "$failures differences between velkor.exe and velkor" >&2
  exit 1
fi
echo "velkor.exe and velkor agree on every case."
