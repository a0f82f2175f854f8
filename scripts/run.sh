#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (arguments go to the program: a survey
# file to open). Without a display it runs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a ./build/bin/tessivo "$@"
fi
exec ./build/bin/tessivo "$@"
