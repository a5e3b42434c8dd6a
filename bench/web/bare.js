// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the bare window as Emscripten's output allows with nothing else: the .wasm compiled
// while it streams in, Qt's web platform given the canvas and the font dpi. Its first paint is
// told as the game's is (vortaniPage.formShown), and shown as the game's page shows it.
"use strict";

globalThis.vortaniPage = {
  formShown() {
    document.body.dataset.state = "playing";
  },
};

createQtAppInstance({
  locateFile: (name) => name,
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  preRun: [(module) => {
    module.qtContainerElements = [document.getElementById("screen")];
    module.qtFontDpi = 96;
  }],
}).catch((error) => {
  document.body.dataset.state = "crashed";
  console.error(error);
});
