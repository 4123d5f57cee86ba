#!/usr/bin/env bash
# Builds the Release plug-in in all formats and starts the stand-alone app; without a display it
# renders the demo phrase with the command-line renderer and prints its report.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

corvane_install_missing_packages
corvane_build --target Corvane_Standalone Corvane_VST3 Corvane_LV2 corvane_render

artefacts="$CORVANE_BUILD_DIR/Corvane_artefacts/Release"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$artefacts/Standalone/Corvane" "$@"
fi

# Without a display, render the built-in demo phrase through the default settings instead.
demo="$CORVANE_BUILD_DIR/corvane-demo.wav"
echo "No display found, so the stand-alone app is not started. Rendering the demo phrase instead:"
"$CORVANE_BUILD_DIR/corvane-render" --out "$demo" --report "$@"
echo "Rendered: $demo"
echo "The built plug-in:"
echo "  Standalone: $artefacts/Standalone/Corvane"
echo "  VST3:       $artefacts/VST3/Corvane.vst3"
echo "  LV2:        $artefacts/LV2/Corvane.lv2"
