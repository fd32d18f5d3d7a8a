# Shared set-up of scripts/run and scripts/test: the Debian packages the build needs, then a
# configured and built tree. Sourced, not run. Reads BUILD_DIR and CMAKE_EXTRA.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
install_packages cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core ${EXTRA_PACKAGES:-}

build="${BUILD_DIR:-$root/build}"
# Warnings are errors in CI.
[ "${CI:-}" = true ] && CMAKE_EXTRA="${CMAKE_EXTRA:-} -DBRISQUEL_WERROR=ON"
# Configured again when the options change; a failed configuration shows why.
if [ ! -f "$build/build.ninja" ] || [ "${CMAKE_EXTRA:-}" != "$(cat "$build/.brisquel-options" 2>/dev/null)" ]; then
  mkdir -p "$build"
  if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release ${CMAKE_EXTRA:-} > "$build/configure.log" 2>&1; then
    cat "$build/configure.log" >&2
    exit 1
  fi
  echo "${CMAKE_EXTRA:-}" > "$build/.brisquel-options"
fi
cmake --build "$build" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
