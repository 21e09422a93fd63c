#!/usr/bin/env bash
# Mirovex side by side with glibc iconv and ICU's uconv on large generated corpora.
#
#   bench/compare.sh [build-dir] [MiB] [runs]
#
# For every corpus: generates it, checks Mirovex's output byte for byte against the plain
# reference conversion, then runs the three converters alternately `runs` times (warm cache,
# fresh output file each run) and prints the median seconds, MiB/s, peak resident memory and
# Mirovex's speed relative to the fastest peer, as a Markdown table.
set -euo pipefail
build=${1:-build}
mib=${2:-100}
runs=${3:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/mirovex-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
mirovex=$(realpath "$build/Mirovex")
corpus_tool=$(realpath "$build/bench/make-corpus")
reference=$(realpath "$build/bench/reference-convert")

# name | corpus kind | MiB | source | target | iconv from | iconv to | uconv from | uconv to
corpora=(
  "Japanese text|japanese932|$mib|932|936|CP932|GBK|ibm-943_P15A-2003|windows-936-2000"
  "Western European text|western1252|$mib|1252|65001|CP1252|UTF-8|windows-1252|UTF-8"
  "the same text in UTF-8|westernutf8|$mib|65001|1252|UTF-8|CP1252|UTF-8|windows-1252"
  "DOS text with box drawing|dos437|$mib|437|850|CP437|CP850|ibm-437|ibm-850"
  "Simplified Chinese text|chinese936|$mib|936|65001|GBK|UTF-8|windows-936-2000|UTF-8"
  "EBCDIC 037 text, one line|ebcdic37|$mib|37|1252|IBM037|CP1252|ibm-37|windows-1252"
  "one line of 20 MiB|japanese932-oneline|20|932|936|CP932|GBK|ibm-943_P15A-2003|windows-936-2000"
  "5 million empty lines|emptylines|10|932|936|CP932|GBK|ibm-943_P15A-2003|windows-936-2000"
)

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

# Runs a command once; records "seconds peak-KiB" for it.
measure() {  # label, then the command
  local label=$1; shift
  rm -f "$work/out"
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
    echo "failed: $label: $(cat "$work/err")" >&2; return 1; }
  end=$(date +%s%N)
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }') $(cat "$work/time")" \
    >>"$work/$label.times"
}

echo "| input | pair | Mirovex s | Mirovex MiB/s | Mirovex peak RSS | iconv s | iconv MiB/s | iconv RSS | uconv s | uconv MiB/s | uconv RSS | vs fastest peer |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
for entry in "${corpora[@]}"; do
  IFS='|' read -r name kind size source target ifrom ito ufrom uto <<<"$entry"
  input="$work/input.txt"
  if [[ $kind == japanese932-oneline ]]; then
    "$corpus_tool" japanese932 "$size" "$work/lines.txt"
    tr -d '\r\n' <"$work/lines.txt" >"$input"
    rm -f "$work/lines.txt"
  elif [[ $kind == emptylines ]]; then
    "$corpus_tool" emptylines "$size" "$input"
    truncate -s 10000000 "$input"  # exactly 5 million CR LF lines
  else
    "$corpus_tool" "$kind" "$size" "$input"
  fi
  bytes=$(stat -c %s "$input")
  mkdir -p "$work/temp"
  printf '%s %s' "$source" "$target" >"$work/temp/Mirovex_Tempconf.cvt"
  output="$work/input.cvt.txt"

  # Correctness first: the program's bytes must be the plain line-by-line conversion's.
  rm -f "$output"
  TEMP="$work/temp" "$mirovex" "$input"
  "$reference" "$source" "$target" "$input" "$work/expected"
  if ! cmp -s "$output" "$work/expected"; then
    echo "MISMATCH: $name ($source -> $target): output differs from the reference conversion" >&2
    exit 1
  fi
  rm -f "$work/expected"
  cat "$input" >/dev/null  # warm cache

  rm -f "$work"/*.times
  for ((run = 0; run < runs; run++)); do
    rm -f "$output"
    measure mirovex env TEMP="$work/temp" "$mirovex" "$input"
    measure iconv sh -c "iconv -f $ifrom -t $ito '$input' > '$work/out'"
    measure uconv uconv -f "$ufrom" -t "$uto" -o "$work/out" "$input"
  done
  row="| $name | $source -> $target"
  declare -A secs=()
  for tool in mirovex iconv uconv; do
    s=$(cut -d' ' -f1 "$work/$tool.times" | median)
    kib=$(cut -d' ' -f2 "$work/$tool.times" | sort -n | tail -1)
    secs[$tool]=$s
    rate=$(awk -v b="$bytes" -v s="$s" 'BEGIN { printf (s > 0 ? "%.0f" : "n/a"), b / 1048576 / s }')
    row="$row | $s | $rate | $((kib / 1024)) MiB"
  done
  fastest=$(printf '%s\n%s\n' "${secs[iconv]}" "${secs[uconv]}" | sort -g | head -1)
  ratio=$(awk -v p="$fastest" -v m="${secs[mirovex]}" 'BEGIN { printf (m > 0 ? "%.1fx" : "n/a"), p / m }')
  echo "$row | $ratio |"
  rm -f "$input" "$output"
done
