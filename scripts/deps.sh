# Installs the Debian packages Tirak needs, but only those that are missing.
# Sourced by scripts/play (building and playing) and scripts/test (those and
# the test tools).

# To build the game and play it, under Xvfb where there is no display:
# scripts/play runs it there through xvfb-run (which needs xauth), finds its
# window and ends it with xdotool, and saves the screenshot with
# ImageMagick's import; msgfmt (gettext) merges the translations into the
# menu entry and the store listing. Nothing here is for the tests alone.
TIRAK_PACKAGES=(
  cmake g++ make pkg-config
  libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreeimage-dev libgl-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libopenal-dev libsndfile1-dev gettext
  xvfb xauth xdotool imagemagick libgl1-mesa-dri
)
# To build and run every test: the sanitizer and fuzz builds, the package
# and its checkers, the screen reader, the leak check and a Wayland
# compositor.
TIRAK_TEST_PACKAGES=(
  ninja-build dpkg-dev file desktop-file-utils appstream lintian
  clang libclang-rt-14-dev
  libgtest-dev x11-utils x11-xkb-utils valgrind tesseract-ocr tesseract-ocr-deu tesseract-ocr-fra tesseract-ocr-spa weston xclip ffmpeg
)

# install_missing_packages PACKAGE...
install_missing_packages() {
    local missing=()
    local package
    for package in "$@"; do
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
