# Shared by the scripts: install missing Debian packages, configure and build.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"

# What building, testing and running need on a fresh Debian or Ubuntu machine.
BASE_PACKAGES=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation python3
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages PKG...: installs those that are not installed yet.
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# What the tests need besides: the validators of the installed desktop files,
# a browser with a driver for the member's page, and poppler to read the PDFs.
TEST_PACKAGES=(desktop-file-utils appstream chromium python3-websocket poppler-utils)

# build PRESET [TARGET...]: configure once, then build incrementally; every
# target unless some are named.
build() {
  local preset="$1"
  shift
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset"
  fi
  local targets=()
  if [ "$#" -gt 0 ]; then targets=(--target "$@"); fi
  cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}"
}
