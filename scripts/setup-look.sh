#!/usr/bin/env bash
# Installs the tools for looking at exported drawings by eye: LibreCAD (DXF to PDF) and
# poppler-utils (PDF to PNG). No build or test needs them, so CI's setup leaves them out.
#
#     QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a -t OUTDIR sheet.dxf   # OUTDIR/sheet.pdf
#     pdftoppm -png -r 100 OUTDIR/sheet.pdf OUTDIR/sheet
#
# LibreCAD 2.2 ignores -o (the PDF takes the DXF's base name in the -t folder), and its stroke
# fonts have no Han characters: Chinese texts show as diamonds there; check them in the BMP or
# EMF pictures instead.
set -euo pipefail
exec bash "$(dirname "$0")/setup.sh" librecad poppler-utils
