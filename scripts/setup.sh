# Shared by scripts/run and scripts/test: installs what is missing, then configures and builds.
# Sourced, not run.
set -euo pipefail

KVL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KVL_BUILD="${KVL_BUILD:-$KVL_ROOT/build}"

# Build tools, Qt, Google Benchmark, a font for offscreen text, pdftotext for the
# printing tests, clang with its fuzzing runtime for the loader's fuzz target; help2man for the
# manual pages, and what builds and checks the Debian package (scripts/package).
KVL_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libgl1-mesa-dev
              libbenchmark-dev fonts-dejavu-core poppler-utils clang libclang-rt-14-dev desktop-file-utils
              help2man gzip dpkg-dev fakeroot file lintian)

kvl_install_packages() {
    local missing=()
    for p in "${KVL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Extra arguments go to the configure step (cmake -D options).
kvl_build() {
    cmake -S "$KVL_ROOT" -B "$KVL_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$KVL_BUILD" -j"$(nproc)"
}
