#!/usr/bin/env bash
# Renders the editor offscreen to docs/screenshot.png (or the path given) in a lively state: wide,
# adaptive, both suppression amounts up, after a few seconds of strummed guitar through the processor.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

corvane_install_missing_packages
corvane_build --target corvane_screenshot
cd "$CORVANE_ROOT"
"$CORVANE_BUILD_DIR/corvane-screenshot" "${1:-docs/screenshot.png}"
