// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program without eval, so that a strict Content-Security-Policy lets it run: the
// .wasm is compiled while it downloads, Emscripten's vortani.js runs from a <script> element of
// its own, and Qt's web platform gets from the module settings what it reads there (the canvas,
// the font dpi, main()'s arguments, where its output goes, how it ends). What it downloads goes
// into the service worker's cache too (site-files.js names it), so the worker need not fetch
// the program again.
"use strict";

globalThis.vortaniLoader = (() => {
  const Program = "vortani";
  const site = globalThis.vortaniSite || { cache: null };

  // Whether the browser can run WebAssembly at all: else the game cannot start ("nowasm").
  function runsWasm() {
    return typeof WebAssembly === "object" && typeof WebAssembly.instantiate === "function" &&
      typeof BigInt64Array === "function"; // the program passes 64-bit integers as BigInt
  }

  // Whether the browser lets the page draw with WebGL, as Qt does and only so. The first context
  // of a fresh browser takes up to a second or two to make (its graphics process starting), so
  // this runs while the program downloads; the probe's context is given back at once.
  function drawsWebGL() {
    try {
      const gl = document.createElement("canvas").getContext("webgl");
      if (!gl)
        return false;
      const lose = gl.getExtension("WEBGL_lose_context");
      if (lose)
        lose.loseContext();
      return true;
    } catch (refused) {
      return false;
    }
  }

  // ---- The service worker's cache, filled from the page's own downloads ---------------------
  const stores = [];

  function keep(name, response) {
    if (!site.cache || !globalThis.caches || response.status !== 200)
      return;
    if (navigator.serviceWorker && navigator.serviceWorker.controller)
      return; // the worker stores what it fetches itself
    const copy = response.clone();
    stores.push(caches.open(site.cache).then((cache) => cache.put(name, copy))
      .catch(() => {})); // no storage (a private window): the worker fetches it itself
  }

  // Settled once what the page downloaded is in the cache, whether or not it could be stored.
  function stored() {
    return Promise.all(stores);
  }

  function fetchKept(name, signal) {
    return fetch(name, { signal }).then((response) => {
      if (!response.ok)
        throw new Error(`${name}: ${response.status} ${response.statusText}`);
      keep(name, response);
      return response;
    });
  }

  function compile(response) {
    const type = response.headers.get("Content-Type") || "";
    // Compiled as it streams in, where the server names it as WebAssembly.
    if (typeof WebAssembly.compileStreaming === "function" && type.startsWith("application/wasm"))
      return WebAssembly.compileStreaming(response);
    return response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes));
  }

  function runScript(src) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = src;
      script.onload = resolve;
      script.onerror = () => reject(new Error(`${src} did not load`));
      document.head.appendChild(script);
    });
  }

  // The sharper control pictures a screen of this density draws with, in the order the program
  // loads them; one that does not come is left out, and the program scales the plain ones.
  function sharperNames(ratio) {
    return ["pictures@2x.rcc", "pictures@4x.rcc"].slice(0, ratio > 2 ? 2 : ratio > 1 ? 1 : 0);
  }

  function fetchSharper(signal) {
    return Promise.all(sharperNames(globalThis.devicePixelRatio || 1).map((name) =>
      fetchKept(name, signal).then((response) => response.arrayBuffer()).catch(() => null)))
      .then((pictures) => pictures.filter((bytes) => bytes !== null));
  }

  // Qt's lines on standard error, each said once: some come on every hover.
  const said = new Set();
  function warnOnce(text) {
    if (said.has(text))
      return;
    if (said.size < 200)
      said.add(text);
    console.warn(text);
  }

  // Starts the program on canvas with main()'s args; rejects when a file did not arrive whole
  // (what runsWasm() lets through compiles in any browser), or with an error whose lacking is
  // "nowebgl" when the browser cannot draw it. ended(crashed, what): the program stopped,
  // crashed or with an exit code of its own.
  function start({ canvas, args, ended }) {
    const downloads = new AbortController();
    const wasm = fetchKept(`${Program}.wasm`, downloads.signal).then(compile);
    const sharper = fetchSharper(downloads.signal);
    const script = runScript(`${Program}.js`);
    // After a turn of the event loop, so that the requests above are on their way.
    const drawable = new Promise((resolve) => setTimeout(resolve, 0)).then(() => {
      if (drawsWebGL())
        return;
      downloads.abort();
      throw Object.assign(new Error("no WebGL"), { lacking: "nowebgl" });
    });
    // Without WebGL that is the reason told, whatever the aborted downloads say.
    const all = Promise.all([wasm, sharper, script, drawable])
      .catch((error) => drawable.then(() => Promise.reject(error)));
    return all.then(([module, pictures]) => {
      loader.sharper = pictures;
      const config = {
        arguments: args,
        locateFile: (name) => name,
        instantiateWasm(imports, done) {
          WebAssembly.instantiate(module, imports)
            .then((instance) => done(instance, module), (error) => ended(true, error));
          return {}; // Emscripten waits for done
        },
        print: (text) => console.log(text),
        printErr: warnOnce,
        onAbort: (what) => ended(true, what),
        // Emscripten's exit: 0 while the program runs on, an ExitStatus for main()'s own code,
        // anything else for an exception that ended it.
        quit(code, exception) {
          if (code === 0)
            return;
          const exited = exception && exception.name === "ExitStatus";
          ended(!exited, exited ? code : exception);
        },
        preRun: [(module) => {
          module.qtContainerElements = [canvas];
          module.qtFontDpi = 96;
        }],
      };
      // The promise rejects on abort, which onAbort has told already.
      createQtAppInstance(config).catch(() => {});
    });
  }

  const loader = { runsWasm, start, stored, keep, sharper: [] };
  return loader;
})();
