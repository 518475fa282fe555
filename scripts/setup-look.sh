#!/usr/bin/env bash
# Installs the tools for looking at exported drawings by eye: LibreCAD (DXF to PDF) and
# poppler-utils (PDF to PNG). No build or test needs them, so scripts/setup.sh leaves them out.
#
#     QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a -t OUTDIR sheet.dxf   # OUTDIR/sheet.pdf
#     pdftoppm -png -r 100 OUTDIR/sheet.pdf OUTDIR/sheet
#
# LibreCAD 2.2 ignores -o (the PDF takes the DXF's base name in the -t folder), and its stroke
# fonts have no Han characters: Chinese texts show as diamonds there; check them in the BMP or
# EMF pictures instead.
set -euo pipefail

packages=(librecad poppler-utils)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-look: all ${#packages[@]} packages present"
  exit 0
fi
echo "setup-look: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
