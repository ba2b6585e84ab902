#!/usr/bin/env bash
# Fails when a folder includes a header of a folder it does not depend on.
# The table follows the layout of the architecture: each folder names the
# folders it depends on directly; what they depend on is allowed as well.
# codec, fileio and prompts together form the base library.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A deps=(
  [src/codec]=""
  [src/fileio]="src/codec"
  [src/prompts]=""
  [src/recorder]="src/codec src/fileio src/prompts"
  [src/analysis]="src/recorder"
  [src/report]="src/codec src/fileio src/prompts"
  [src/forms]="src/analysis src/report"
  [src/device]="src/recorder"
  [src/print]="src/analysis"
  [src/fleet]="src/analysis"
  [src/ui]="src/analysis src/report src/forms src/device src/print src/fleet"
  [src/app]="src/ui"
  [tools/readout_generator]="src/recorder"
  [tools/nkp3-sim]="src/recorder tools/readout_generator"
  [tools/nkp3-tool]="src/forms src/device src/print src/fleet tools/readout_generator"
)
# The base folders may use each other.
base="src/codec src/fileio src/prompts"

# Where the include "x/Y.h" of a folder's source points: src/x or tools/x.
folder_of() {
  local top=${1%%/*}
  if [[ -d src/$top ]]; then echo "src/$top"; elif [[ -d tools/$top ]]; then echo "tools/$top"; fi
}

# Every folder a folder may include: itself, its dependencies, theirs, ...
allowed_of() {
  local -A seen=()
  local queue=("$1") f d
  while ((${#queue[@]})); do
    f=${queue[0]}
    queue=("${queue[@]:1}")
    [[ -n ${seen[$f]:-} ]] && continue
    seen[$f]=1
    for d in ${deps[$f]:-}; do queue+=("$d"); done
    case " $base " in *" $f "*) for d in $base; do queue+=("$d"); done ;; esac
  done
  echo "${!seen[@]}"
}

status=0
for folder in "${!deps[@]}"; do
  [[ -d $folder ]] || { echo "check-includes: $folder is missing" >&2; status=1; continue; }
  allowed=" $(allowed_of "$folder") "
  while IFS= read -r line; do
    file=${line%%:*}
    header=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"${line#*:}")
    [[ $header == */* ]] || continue  # a header beside the source
    target=$(folder_of "$header")
    [[ -n $target ]] || continue
    if [[ $allowed != *" $target "* ]]; then
      echo "check-includes: $file includes \"$header\", but $folder does not depend on $target" >&2
      status=1
    fi
  done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder" --include='*.cpp' --include='*.h' || true)
done
# Every folder with sources must be in the table.
for folder in src/*/ tools/*/; do
  folder=${folder%/}
  [[ -n ${deps[$folder]+x} ]] || { echo "check-includes: $folder is not in the table" >&2; status=1; }
done
exit $status
