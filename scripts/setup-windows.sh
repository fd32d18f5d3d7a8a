# Shared set-up of the Windows scripts: the mingw-w64 and Wine packages, a Qt 6 for Windows, and a
# configured and built cross tree in build-win/. Sourced, not run. Reads CMAKE_EXTRA.
#
# The Qt for Windows is the one beside the project (../shared/qt-6.4.2-mingw-x64), or
# BRISQUEL_QT_WINDOWS; without either it is built once from Debian's Qt source into a cache folder
# outside the checkout (about an hour on two cores; an interrupted build goes on where it stopped).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
install_packages g++-mingw-w64-x86-64-posix wine64 cmake ninja-build qt6-base-dev qt6-base-dev-tools zip unzip \
  xvfb xdotool openbox icoutils

qt="${BRISQUEL_QT_WINDOWS:-}"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/brisquel/qt-6.4.2-mingw-x64"
if [ -z "$qt" ]; then
  for candidate in "$root/../shared/qt-6.4.2-mingw-x64" "$cache"; do
    if [ -f "$candidate/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -f "$candidate/bin/Qt6Widgets.dll" ]; then
      qt="$candidate"
      break
    fi
  done
fi
if [ -z "$qt" ]; then
  echo "No Qt for Windows in ../shared/qt-6.4.2-mingw-x64: building one into $cache (about an hour)."
  "$root/../shared/tools/build-qt-mingw" "$cache"
  qt="$cache"
fi
export BRISQUEL_QT_WINDOWS="$qt"

# Wine's loader and server live in its library folder, not on PATH.
wine=$(dpkg -L wine64 | grep -E '/wine64$' | head -n1)
wineserver=$(dpkg -L wine64 | grep -E '/wineserver64$' | head -n1)

build_win="$root/build-win"
if [ ! -f "$build_win/build.ninja" ] || [ "${CMAKE_EXTRA:-}" != "$(cat "$build_win/.brisquel-options" 2>/dev/null)" ]; then
  mkdir -p "$build_win"
  if ! cmake -S "$root" -B "$build_win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DQT_HOST_PATH=/usr ${CMAKE_EXTRA:-} \
      > "$build_win/configure.log" 2>&1; then
    cat "$build_win/configure.log" >&2
    exit 1
  fi
  echo "${CMAKE_EXTRA:-}" > "$build_win/.brisquel-options"
fi
cmake --build "$build_win"

# What a program built against this Qt needs beside it on a machine with nothing else installed.
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix/libstdc++-6.dll
               /usr/lib/gcc/x86_64-w64-mingw32/*-posix/libgcc_s_seh-1.dll
               /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
lay_out_runtime() {  # folder [with tests]
  local folder=$1
  cp "$qt"/bin/Qt6Core.dll "$qt"/bin/Qt6Gui.dll "$qt"/bin/Qt6Widgets.dll "${mingw_runtime[@]}" "$folder/"
  # The compiler's runtime comes with its debugging symbols (libstdc++ is 23 MB with them, 2 without).
  for dll in "${mingw_runtime[@]}"; do x86_64-w64-mingw32-strip --strip-unneeded "$folder/$(basename "$dll")"; done
  [ "${2:-}" = tests ] && cp "$qt/bin/Qt6Test.dll" "$folder/"
  mkdir -p "$folder/platforms" "$folder/styles" "$folder/imageformats"
  cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
  [ "${2:-}" = tests ] && cp "$qt/plugins/platforms/qminimal.dll" "$folder/platforms/"
  cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
  cp "$qt/plugins/imageformats/qico.dll" "$folder/imageformats/"
}
