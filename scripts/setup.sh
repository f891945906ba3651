# Shared by scripts/run and scripts/test: installs what is missing, then configures and builds.
# Sourced, not run.

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${MAROVINK_BUILD_DIR:-$repo_root/build}"

required_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-translations-l10n libgl-dev
    ffmpeg mjpegtools dvdauthor m2vrequantiser genisoimage
    libgtest-dev libgmock-dev
)

install_missing_packages() {
    local missing=()
    local package
    for package in "${required_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$repo_root" -B "$dir" -G Ninja "$@"
    elif [ $# -gt 0 ]; then
        # The options given here win over those of an older configuration of the folder.
        cmake "$dir" "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel
}
