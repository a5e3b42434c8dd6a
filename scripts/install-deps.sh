#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that are missing, for one of two uses. Uses sudo when not run as
# root.
#   install-deps.sh play   building and running the game, and nothing that starts a service
#   install-deps.sh windows  building the Windows edition (zip and MSI) from Linux
#   install-deps.sh web    building the web edition
#   install-deps.sh test   all of these, and what the tests, benchmarks, fuzzing and packaging
#                          need
set -euo pipefail

play=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev qt6-speech-dev libgl-dev
  # Qt TextToSpeech's CMake package asks for QmlIntegration, which comes with it
  qt6-declarative-dev
  # reading aloud, when a class's set-up asks for it: speech-dispatcher's Italian voice
  qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng
  # the fonts the forms ask for by name ("Comic Sans MS", "Arial") resolve to these
  fonts-comic-neue fonts-liberation2 fontconfig
  # native windows on a Wayland desktop
  qt6-wayland
)
test=(
  # the layout check of the sources
  clang-format
  # virtual X display, sound server with a null sink, PDF printer
  xvfb xauth xdotool xclip imagemagick sox pulseaudio pulseaudio-utils
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  # headless Wayland compositor
  weston
  # benchmarks (a private session bus, xev to see windows mapped, brotli for the web edition's
  # download) and fuzzing (clang's libFuzzer)
  procps dbus-daemon x11-utils python3-brotli clang libclang-rt-14-dev
  # read the program as a screen reader does, and hear it from the real one: Orca speaking through
  # speech-dispatcher and espeak-ng, under a window manager
  at-spi2-core python3-pyatspi python3-gi
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng openbox
  # package: icon bitmaps, the .deb's library dependencies, checks of the desktop files, of the
  # package and of its hardening
  librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian devscripts
)

windows=(
  # the Windows edition, cross-built: the posix-thread MinGW compilers (Qt needs std::thread),
  # Qt's source package, pictures drawn from SVG, the icon file and the MSI (wixl is
  # a package of its own, apart from msitools), Authenticode signatures when a certificate is
  # given
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev
  librsvg2-bin icoutils msitools wixl osslsigncode
)
web=(
  # the web edition: Qt built once with Debian's emscripten from Debian's source package, the
  # page's icons drawn from SVG
  emscripten dpkg-dev librsvg2-bin
  # the big files also precompressed, for servers that send those; the fonts cut down to the
  # characters the game shows
  brotli fonttools
)
# The teacher's page bundles its QR code library from npm. Only where no npm is on the PATH:
# a Node.js from elsewhere brings its own, which Debian's package would conflict with.
command -v npm >/dev/null || web+=(npm)
web_test=(
  # real browsers, driven by the tests' own clients: Chromium through its DevTools protocol,
  # Firefox through WebDriver BiDi, WebKit (the engine of Safari on iPads and iPhones) through
  # WebKitGTK's WebDriver and MiniBrowser, these two on a private Xvfb; reading back the
  # teacher's page's QR code
  chromium firefox-esr webkit2gtk-driver xvfb zbar-tools
)
windows_test=(
  # running it under Wine, and reading the program file's resources and imports; a throw-away
  # certificate authority for the signatures
  wine wine64 python3-pefile openssl
)

case ${1:-} in
  play) packages=("${play[@]}") ;;
  windows) packages=("${play[@]}" "${windows[@]}") ;;
  web) packages=("${play[@]}" "${web[@]}") ;;
  test)
    packages=("${play[@]}" "${test[@]}" "${windows[@]}" "${windows_test[@]}" "${web[@]}"
      "${web_test[@]}")
    ;;
  *)
    echo "usage: $0 play|windows|web|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
