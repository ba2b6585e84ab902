#!/usr/bin/env bash
# The installed tree holds both programs, the three templates, the desktop
# file and its icon; the installed nkp3-tool finds the installed templates
# from a folder without "Шаблоны форм"; the Debian package carries the same
# files and depends on the Qt 6 runtime.
set -euo pipefail
build=$1 cmake=$2 cpack=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
p=$work/prefix
for f in bin/nkp3-analyzer bin/nkp3-tool; do
  [[ -x $p/$f ]] || fail "$f missing or not executable"
done
for n in 1 2 3; do
  [[ -s "$p/share/nkp3/templates/Форма $n.rtf" ]] || fail "template Форма $n.rtf missing"
done
desktop=$p/share/applications/nkp3-analyzer.desktop
[[ -s $desktop ]] || fail "desktop file missing"
grep -qx 'Exec=nkp3-analyzer %f' "$desktop" || fail "desktop file does not start nkp3-analyzer with the file"
grep -qx 'MimeType=application/x-nkp3-readout;' "$desktop" || fail "desktop file names no read-out type"
grep -q 'pattern="\*.nkp"' "$p/share/mime/packages/nkp3-analyzer.xml" || fail "read-out MIME type missing"
[[ -s $p/share/nkp3/guide/index.md ]] || fail "user guide missing"
grep -qx 'Icon=nkp3-analyzer' "$desktop" || fail "desktop file names no icon"
[[ -s $p/share/icons/hicolor/scalable/apps/nkp3-analyzer.svg ]] || fail "icon missing"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
[[ ! -e $p/bin/nkp3-sim ]] || fail "the device emulator is a development tool, not installed"

# The installed tool in a folder without templates merges Form 3 from the installed ones.
# A marker in the installed template shows which template the document came from.
sed -i '0,/\\par/s//INSTALLED-TEMPLATE\\par/' "$p/share/nkp3/templates/Форма 3.rtf"
grep -q 'INSTALLED-TEMPLATE' "$p/share/nkp3/templates/Форма 3.rtf" || fail "marker not placed"
mkdir -p "$work/run/out"
cd "$work/run"
"$p/bin/nkp3-tool" generate --seed 3 latest.nkp >/dev/null
doc=$("$p/bin/nkp3-tool" form 3 latest.nkp --out out) || fail "form 3 with installed templates failed"
[[ -s $doc ]] || fail "no document at '$doc'"
head -c 5 "$doc" | grep -q '{\\rtf' || fail "document is no RTF"
grep -q 'INSTALLED-TEMPLATE' "$doc" || fail "document not made from the installed template"

# The package: same files below /usr, Qt 6 runtime dependencies.
(cd "$work" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/*.deb)
[[ -n $deb ]] || fail "no package"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/nkp3-analyzer ./usr/bin/nkp3-tool "./usr/share/nkp3/templates/Форма 1.rtf" \
         ./usr/share/applications/nkp3-analyzer.desktop ./usr/share/nkp3/guide/index.md \
         ./usr/share/mime/packages/nkp3-analyzer.xml; do
  grep -qF -- "$f" <<<"$contents" || fail "package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6serialport6 libqt6sql6-sqlite libqt6sql6-psql libqcustomplot2.1-qt6 qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || fail "package does not depend on $d: $depends"
done
echo "install tree and package ok"
