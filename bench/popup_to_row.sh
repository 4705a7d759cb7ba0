#!/usr/bin/env bash
# A save from the extension's popup in headless Chromium until the running window has the
# row, timed N times (100 by default) inside the popup: bench/popup_to_row.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
/usr/bin/python3 tests/browser/save_from_chromium.py build --bench "${1:-100}" | tail -1
