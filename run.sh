#!/usr/bin/env bash
# Builds the program, prepares the start folder run/ with a demo read-out and
# starts the program there.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
nkp_install_deps
cmake --preset dev
cmake --build --preset dev

mkdir -p "run/Inf" "run/Файлы" "run/Шаблоны форм" "run/Формы"
if compgen -G "templates/*.rtf" >/dev/null; then
  # A template changed in the project replaces its copy; a copy edited in run/
  # since then is newer and stays.
  cp -u templates/*.rtf "run/Шаблоны форм/"
fi
# The reading window starts from the last identification in Inf/Default.inf.
if [[ ! -f run/Inf/Default.inf ]]; then
  printf '%s\r\n' 'ООО "Кран-Сервис"' 'Иванов И.И.' '000000' '31.12.2027' 'КС-35714' '178' '2006' 'А5' \
    'ОАО "Автокран", г. Иваново' 'ООО "Строймеханизация"' 'ТРВ-140-25М' '00123654' '1' \
    | iconv -f UTF-8 -t CP1251 >run/Inf/Default.inf
fi
demo="run/Файлы/demo.nkp"
[[ -f "$demo" ]] || build/tools/nkp3-tool/nkp3-tool generate --seed 1 "$demo"
# A few more cranes for "Обзор парка" (Ctrl+F).
mkdir -p "run/Файлы/Парк"
for seed in 2 3 4 5 6; do
  f="run/Файлы/Парк/crane$seed.nkp"
  [[ -f "$f" ]] || build/tools/nkp3-tool/nkp3-tool generate --seed "$seed" "$f" >/dev/null
done
# One crane's read-outs over the years (a limiter replaced on the way), kept in
# the demo archive "Архив/archive.sqlite" ("Файл" -> "Архив кранов...").
if [[ ! -d "run/Файлы/История" ]]; then
  build/tools/nkp3-tool/nkp3-tool generate --history 16 --seed 7 --replace-limiter-at 10 "run/Файлы/История"
fi
build/tools/nkp3-tool/nkp3-tool archive import "run/Архив/archive.sqlite" "run/Файлы/История" "run/Файлы/Парк" >/dev/null \
  || echo "The demo archive could not be written."
# That crane's log holds examinations (added once): the partial one falls due
# soon, the full one later, while its reading is long overdue; its read-outs
# carry a remark ("Сроки", "Журнал", "Замечания").
mapfile -t crane < <(build/tools/nkp3-tool/nkp3-tool archive cranes "run/Архив/archive.sqlite" 2>/dev/null \
  | awk -F';' '$4 == 16 { print $1; print $2; exit }')
if [[ ${#crane[@]} -eq 2 ]] && ! build/tools/nkp3-tool/nkp3-tool archive log "run/Архив/archive.sqlite" "${crane[@]}" \
  | grep -q 'освидетельствование'; then
  note() { build/tools/nkp3-tool/nkp3-tool archive note "run/Архив/archive.sqlite" "${crane[@]}" --author 'Иванов И.И.' "$@" >/dev/null; }
  note --kind full --date "$(date -d '-2 years' +%d.%m.%Y)" --text 'Полное техническое освидетельствование, замечаний нет'
  note --kind partial --date "$(date -d '-11 months -20 days' +%d.%m.%Y)" --text 'Частичное техническое освидетельствование'
  note --kind repair --date "$(date -d '-6 months' +%d.%m.%Y)" --text 'Заменён канат грузовой лебёдки'
  build/tools/nkp3-tool/nkp3-tool archive set "run/Архив/archive.sqlite" "${crane[@]}" --service-life-years 25 >/dev/null
fi

if [[ -x build/src/app/nkp3-analyzer ]]; then
  if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display here; the demo read-out holds:"
    build/tools/nkp3-tool/nkp3-tool info "$demo"
    echo "To see the window under a virtual display: (cd run && xvfb-run -a ../build/src/app/nkp3-analyzer)"
    exit 0
  fi
  cd run && exec ../build/src/app/nkp3-analyzer
else
  build/tools/nkp3-tool/nkp3-tool info "$demo"
fi
