#!/usr/bin/env bash
# The main job: build the driver, the simulated controller and the client, then take the tour.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh demo
cmake --preset demo >/dev/null
cmake --build --preset demo --target tramox
exec build/demo/tools/tramox --sim demo
