#!/usr/bin/env bash
# Installs the Debian packages that are missing for one or more purposes:
# "build" (compile the program), "run" (build and show it, also without a
# display), "quick" (build and run ./test.sh --quick), "test" (build and run
# the whole test suite), "bench" or "web" (the explorer as a web page, and a
# headless browser to drive it). Several purposes are installed together, in
# one run of apt-get.
set -euo pipefail

build=(cmake make g++ pkg-config gettext python3 libgtest-dev freeglut3-dev libglu1-mesa-dev
       libgl1-mesa-dri libx11-dev libpng-dev libegl-dev libcli11-dev help2man
       libqhull-dev libcairo2-dev lib3mf-dev libtinygltf-dev libcgal-dev libgmp-dev
       libmpfr-dev)
wanted=()
for purpose in "${@:-build}"; do
  case "$purpose" in
    build) wanted+=("${build[@]}") ;;
    run)   wanted+=("${build[@]}" xvfb) ;;
    quick) wanted+=("${build[@]}" xvfb xdotool admesh) ;;
    test)  wanted+=("${build[@]}" xvfb xdotool clang libclang-rt-14-dev dpkg-dev file lintian
                    poppler-utils python3-shapely admesh unzip) ;;
    bench) wanted+=("${build[@]}" xvfb libbenchmark-dev time geomview imagemagick) ;;
    web)   wanted+=(cmake make gettext emscripten libtinygltf-dev nlohmann-json3-dev chromium chromium-driver
                    python3-selenium python3-numpy) ;;
    *) echo "setup.sh: unknown purpose '$purpose' (build, run, quick, test, bench or web)" >&2; exit 2 ;;
  esac
done

missing=()
for pkg in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: need root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The page's checks run axe-core over it: kept in a cache folder of its
# own, never in the page nor in the source tree.
if [[ " ${*:-build} " == *" web "* ]]; then
  axe=${XDG_CACHE_HOME:-$HOME/.cache}/platonic-duals/axe
  if [ ! -f "$axe/node_modules/axe-core/axe.min.js" ]; then
    command -v npm >/dev/null || { echo "setup.sh: npm is needed to install axe-core" >&2; exit 1; }
    npm install --silent --no-save --prefix "$axe" axe-core@4 >/dev/null
  fi
fi

# The tests check the binary glTF files against the Khronos glTF validator,
# kept like axe-core in a cache folder of its own.
if [[ " ${*:-build} " == *" test "* || " ${*:-build} " == *" quick "* ]]; then
  gltf=${XDG_CACHE_HOME:-$HOME/.cache}/platonic-duals/gltf-validator
  if [ ! -f "$gltf/node_modules/gltf-validator/package.json" ]; then
    command -v npm >/dev/null || { echo "setup.sh: npm is needed to install gltf-validator" >&2; exit 1; }
    npm install --silent --no-save --prefix "$gltf" gltf-validator >/dev/null
  fi
fi
