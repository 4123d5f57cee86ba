#!/usr/bin/env bash
# Builds everything and runs the whole test suite. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

corvane_install_missing_packages
corvane_build
cd "$CORVANE_BUILD_DIR"
ctest --output-on-failure --timeout 600 "$@"
