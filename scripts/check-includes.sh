#!/usr/bin/env bash
# Fails when a folder includes a header of a folder it does not depend on.
# The table follows the layout of the architecture: each folder names the
# folders it depends on directly; what they depend on is allowed as well.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A deps=(
  [src/base]=""
  [src/recorder]="src/base"
  [src/signing]="src/base"
  [src/analysis]="src/recorder"
  [src/report]="src/base"
  [src/screen]="src/analysis"
  [src/forms]="src/screen src/report"
  [src/device]="src/recorder"
  [src/device/qt]="src/device"
  [src/print]="src/screen"
  [src/fleet]="src/analysis src/signing"
  [src/archive]="src/analysis src/signing"
  # ui/ is one library, but each window folder is a unit of its own: the
  # windows share common/; the main window opens the others.
  [src/ui]=""
  [src/ui/common]="src/screen"
  [src/ui/charts]="src/ui/common"
  [src/ui/service]="src/ui/common"
  [src/ui/fleet]="src/ui/common src/fleet"
  [src/ui/archive]="src/ui/common src/archive src/print"
  [src/ui/printing]="src/ui/common src/print"
  [src/ui/help]="src/ui/common"
  [src/ui/reading]="src/ui/common src/ui/archive src/ui/help src/device/qt src/signing"
  [src/ui/main]="src/ui/common src/ui/charts src/ui/service src/ui/fleet src/ui/archive src/ui/printing src/ui/reading src/ui/help src/forms"
  [src/app]="src/ui/main"
  [tools/args]=""
  [tools/generator]="src/recorder"
  [tools/nkp3-sim]="src/recorder tools/generator tools/args"
  [tools/nkp3-tool]="src/forms src/device src/device/qt src/print src/fleet src/archive src/signing tools/generator tools/args"
)

# Where the include "x/Y.h" of a folder's source points: src/x or tools/x.
folder_of() {
  local top=${1%%/*} rest=${1#*/}
  local sub=${rest%%/*}
  for root in src tools; do
    if [[ $rest == */* && -n ${deps[$root/$top/$sub]+x} ]]; then echo "$root/$top/$sub"; return; fi
    if [[ -d $root/$top ]]; then echo "$root/$top"; return; fi
  done
}

# The table folder a source file belongs to: the deepest one holding it
# (src/device/qt/X.cpp belongs to src/device/qt, src/ui/main/X.cpp to src/ui/main).
owner_of() {
  local dir=${1%/*}
  while [[ $dir == */* ]]; do
    [[ -n ${deps[$dir]+x} ]] && { echo "$dir"; return; }
    dir=${dir%/*}
  done
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
  done
  echo "${!seen[@]}"
}

status=0
for folder in "${!deps[@]}"; do
  [[ -d $folder ]] || { echo "check-includes: $folder is missing" >&2; status=1; continue; }
  allowed=" $(allowed_of "$folder") "
  while IFS= read -r line; do
    file=${line%%:*}
    [[ $(owner_of "$file") == "$folder" ]] || continue  # a sub-library's own file
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
for folder in src/*/ tools/*/ src/device/*/ src/ui/*/; do
  folder=${folder%/}
  [[ -n ${deps[$folder]+x} ]] || { echo "check-includes: $folder is not in the table" >&2; status=1; }
done
exit $status
