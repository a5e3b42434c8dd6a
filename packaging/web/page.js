// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: fits the form to the window, starts the program, and does for it
// what only a page can (sound, the live region, printing, goodbye). The program calls
// globalThis.vortaniPage (src/services/WebPage.cpp).
"use strict";

(function () {
  const FormWidth = 632;
  const FormHeight = 453;
  const KeptMessages = 20;

  const body = document.body;
  const canvas = document.getElementById("screen");
  const messages = document.getElementById("messages");

  function show(id, shown) {
    document.getElementById(id).hidden = !shown;
  }

  // The largest scale up to 1 at which the whole form fits, whole pixels wide. The program draws
  // at that scale from its start, so the page keeps it: a later, smaller window scrolls.
  function fittingScale() {
    const margin = 16;
    const fit = Math.min(1, (window.innerWidth - margin) / FormWidth,
                         (window.innerHeight - margin) / FormHeight);
    return Math.max(0.25, Math.floor(fit * FormWidth) / FormWidth);
  }

  // ---- Sound: Web Audio, started by the child's first press as browsers ask ----------------
  let audio = null;
  let playing = null;
  let latestClip = 0;

  function wakeAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
      return;
    if (!audio)
      audio = new Context();
    if (audio.state === "suspended")
      audio.resume();
  }
  // In the capture phase, so the context is awake before the game handles the same press.
  for (const type of ["pointerdown", "keydown", "touchstart"])
    window.addEventListener(type, wakeAudio, { capture: true, passive: true });

  function playClip(wav) {
    if (!audio)
      return; // nothing pressed yet: the browser would not let it sound
    const clip = ++latestClip;
    audio.decodeAudioData(wav).then((buffer) => {
      if (clip !== latestClip)
        return; // a newer clip came while this one was decoded
      if (playing)
        playing.stop();
      playing = audio.createBufferSource();
      playing.buffer = buffer;
      playing.connect(audio.destination);
      playing.start();
    }, () => {}); // a clip that cannot be decoded is silence
  }

  // ---- Read out: a live region, one paragraph per message ------------------------------------
  function announce(text) {
    const line = document.createElement("p");
    line.textContent = text;
    messages.appendChild(line);
    while (messages.childElementCount > KeptMessages)
      messages.firstElementChild.remove();
  }

  // ---- Printing: the form's picture alone on a landscape page --------------------------------
  let printedUrl = null;

  function print(png, title) {
    const printout = document.getElementById("printout");
    if (printedUrl)
      URL.revokeObjectURL(printedUrl);
    printedUrl = URL.createObjectURL(new Blob([png], { type: "image/png" }));
    const picture = new Image();
    picture.alt = title;
    picture.onload = () => {
      // Later, so the game's click has finished before the dialog holds the page.
      setTimeout(() => window.print(), 0);
    };
    picture.src = printedUrl;
    printout.replaceChildren(picture);
  }

  // ---- The game's states --------------------------------------------------------------------
  function formShown() {
    if (body.dataset.state === "loading")
      body.dataset.state = "playing";
  }

  function sayGoodbye() {
    body.dataset.state = "goodbye";
    canvas.hidden = true;
    show("goodbye", true);
    document.getElementById("playAgain").focus();
  }

  function cannotStart() {
    body.dataset.state = "nowasm";
    show("loading", false);
    show("nowasm", true);
  }

  globalThis.vortaniPage = { playClip, announce, print, formShown, sayGoodbye };

  document.getElementById("playAgain").addEventListener("click", () => location.reload());

  // Offline after the first visit, and installable.
  if ("serviceWorker" in navigator && window.isSecureContext)
    navigator.serviceWorker.register("sw.js").catch(() => {});

  if (typeof WebAssembly !== "object" || typeof QtLoader !== "function") {
    cannotStart();
    return;
  }
  const scale = fittingScale();
  document.documentElement.style.setProperty("--scale", String(scale));
  const environment = scale < 1 ? { QT_SCALE_FACTOR: String(scale) } : {};
  const loader = QtLoader({
    canvasElements: [canvas],
    environment,
    showLoader: () => show("loading", true),
    showCanvas: () => canvas,
    showError: cannotStart,
    showExit: (crashed) => {
      if (crashed)
        cannotStart();
    },
  });
  if (!loader.canLoadQt) {
    cannotStart();
    return;
  }
  loader.loadEmscriptenModule("vortani");
})();
