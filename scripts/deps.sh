# Installs the Debian packages Tirak needs to build, run and test, but only
# those that are missing. Sourced by scripts/play and scripts/test.

TIRAK_PACKAGES=(
  cmake g++ make ninja-build pkg-config dpkg-dev file desktop-file-utils
  clang libclang-rt-14-dev
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev libgl-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libopenal-dev libsndfile1-dev
  libgtest-dev
  xvfb xauth xdotool x11-utils imagemagick libgl1-mesa-dri
  assimp-testmodels valgrind tesseract-ocr
)

install_missing_packages() {
    local missing=()
    local package
    for package in "${TIRAK_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
