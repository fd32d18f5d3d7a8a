# Shared set-up of scripts/run and scripts/test: the Debian packages the build needs, then a
# configured and built tree. Sourced, not run. Reads BUILD_DIR and CMAKE_EXTRA.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
install_packages cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core ${EXTRA_PACKAGES:-}

build="${BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release ${CMAKE_EXTRA:-} >/dev/null
fi
cmake --build "$build"
