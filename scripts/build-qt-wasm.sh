#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt for the web (WebAssembly) with Debian's emscripten, from Debian's own qt6-base source
# package, once, into the cache of scripts/lib/qt-cache.sh, keyed by the configure options and the
# versions of the host Qt and of emscripten. Prints the Qt prefix on its last line.
#   build-qt-wasm.sh [--prefix | --seed-only]
# Building takes 35 to 45 minutes on two cores; the install is about 65 MB, static.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/qt-cache.sh
source "$here/scripts/lib/qt-cache.sh"

# What the game needs: Core, Gui, Widgets, the wasm platform, the JPEG plugin; no threads (a page
# served without cross-origin isolation has none), no printing (the browser prints). Every byte is
# a child's wait on a school's shared line: built for size, without the widgets, dialogs, image
# formats, document formats and data the game never uses (those the features below need go with
# them: item views take the combo box, the completer and the file dialog along).
configure_options=(
  -release -optimize-size -static -xplatform wasm-emscripten -qt-host-path /usr
  -no-feature-thread -nomake examples -nomake tests -no-pkg-config -no-dbus -no-icu
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent
  -no-feature-testlib -no-feature-printsupport
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-freetype -qt-pcre -qt-doubleconversion
  # Core: the MIME database, calendars no one here uses
  -no-feature-mimetype-database -no-feature-jalalicalendar -no-feature-islamiccivilcalendar
  # Gui: image and document formats beyond PNG and JPEG, PDF, QPicture, QMovie, undo stacks
  -no-feature-gif -no-feature-ico -no-feature-imageformat_bmp -no-feature-imageformat_ppm
  -no-feature-imageformat_xbm -no-feature-movie -no-feature-picture -no-feature-pdf
  -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
  -no-feature-undocommand -no-feature-desktopservices -no-feature-systemtrayicon
  -no-feature-sessionmanager
  # Widgets: the game shows buttons, labels, a line edit, group boxes, tooltips and a message box
  -no-feature-style-stylesheet -no-feature-itemviews -no-feature-graphicsview
  -no-feature-graphicseffect -no-feature-effects -no-feature-mainwindow -no-feature-dockwidget
  -no-feature-toolbar -no-feature-menubar -no-feature-statusbar -no-feature-mdiarea
  -no-feature-textedit -no-feature-datetimeedit -no-feature-calendarwidget -no-feature-spinbox
  -no-feature-filedialog -no-feature-colordialog -no-feature-fontdialog -no-feature-progressdialog
  -no-feature-inputdialog -no-feature-errormessage -no-feature-wizard -no-feature-tabwidget
  -no-feature-tabbar -no-feature-toolbox -no-feature-splitter -no-feature-splashscreen
  -no-feature-lcdnumber -no-feature-dial -no-feature-slider -no-feature-scroller
  -no-feature-keysequenceedit -no-feature-commandlinkbutton -no-feature-sizegrip
  -no-feature-rubberband -no-feature-progressbar -no-feature-combobox -no-feature-fontcombobox
  -no-feature-stackedwidget -no-feature-radiobutton
)
# Qt's own fonts and style pictures left out, the clipboard's unread permission queries dropped,
# the game's pointing hand shown as a CSS cursor.
patch_file=$here/scripts/qt-wasm.patch
emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

# The host's moc, rcc and uic generate code for this build, so the source is the very version of
# the installed host Qt.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
emscripten=$(dpkg-query -W -f='${Version}' emscripten)
family=qt6-wasm
label="Qt for the web"
key=$( (printf '%s\n' "${configure_options[@]}" && echo "$version $emscripten" &&
  cat "$patch_file") | sha256sum | cut -c1-16)
qt_cache_open "${1:-}"

# Qt's configure looks for an emsdk: a stand-in one naming Debian's emcc is enough. It stays in the
# prefix, where the game's build finds it too. Debian's emcc wants its node modules found.
emsdk=$prefix/emsdk
mkdir -p "$emsdk/e"
echo "EMSCRIPTEN_ROOT = 'e'" >"$emsdk/.emscripten"
ln -sf /usr/bin/emcc "$emsdk/e/emcc"
ln -sf /usr/bin/em++ "$emsdk/e/em++"
export EMSDK=$emsdk NODE_PATH=/usr/share/nodejs
export PKG_CONFIG_LIBDIR=

qt_fetch_source "$version"
patch -d "$src" -p1 --forward --quiet <"$patch_file"
qt_gather_notices "$version"
qt_build_and_install "${configure_options[@]}" \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$emscripten_toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
