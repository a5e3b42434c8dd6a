// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: fits the form to the window, starts the program, and does for it
// what only a page can (sound, the live region, printing, goodbye). The program calls
// globalThis.vortaniPage (src/services/WebPage.cpp).
"use strict";

(function () {
  // The form's own size, as the build wrote it into facts.css.
  const rootStyle = getComputedStyle(document.documentElement);
  const FormWidth = parseFloat(rootStyle.getPropertyValue("--form-width"));
  const FormHeight = parseFloat(rootStyle.getPropertyValue("--form-height"));
  const KeptMessages = 20;

  const body = document.body;
  const canvas = document.getElementById("screen");
  const messages = document.getElementById("messages");

  function show(id, shown) {
    document.getElementById(id).hidden = !shown;
  }

  // ---- The form's size: its own, or scaled down whole to fit a small window --------------------
  let formScale = 1;

  function fitForm() {
    const margin = 16;
    const fit = Math.min(1, (window.innerWidth - margin) / FormWidth,
                         (window.innerHeight - margin) / FormHeight);
    formScale = Math.max(0.25, fit);
    document.documentElement.style.setProperty("--scale", String(formScale));
  }

  // The program measures its screen by the canvas's box, and reads touches and the wheel from
  // that box too: it is told the box of the unscaled form, and a touch or a turn of the wheel
  // on the scaled-down form reaches it again at the point it means on the full-size one. The
  // mouse needs nothing: the program reads it in the canvas's own, unscaled pixels.
  const scaledBox = canvas.getBoundingClientRect.bind(canvas);
  canvas.getBoundingClientRect = () => {
    const box = scaledBox();
    return new DOMRect(box.left, box.top, box.width / formScale, box.height / formScale);
  };

  function unscaledPoint(x, y) {
    const box = scaledBox();
    return [box.left + (x - box.left) / formScale, box.top + (y - box.top) / formScale];
  }

  function unscaledWheel(event) {
    const [clientX, clientY] = unscaledPoint(event.clientX, event.clientY);
    return new WheelEvent(event.type, {
      bubbles: event.bubbles, cancelable: event.cancelable, view: event.view,
      screenX: event.screenX, screenY: event.screenY, clientX, clientY,
      ctrlKey: event.ctrlKey, shiftKey: event.shiftKey, altKey: event.altKey,
      metaKey: event.metaKey, button: event.button, buttons: event.buttons,
      deltaX: event.deltaX, deltaY: event.deltaY, deltaZ: event.deltaZ,
      deltaMode: event.deltaMode });
  }

  function unscaledTouch(event) {
    const moved = (list) => Array.from(list, (touch) => {
      const [clientX, clientY] = unscaledPoint(touch.clientX, touch.clientY);
      return new Touch({
        identifier: touch.identifier, target: touch.target, clientX, clientY,
        pageX: clientX + window.scrollX, pageY: clientY + window.scrollY,
        screenX: touch.screenX, screenY: touch.screenY, radiusX: touch.radiusX,
        radiusY: touch.radiusY, rotationAngle: touch.rotationAngle, force: touch.force });
    });
    return new TouchEvent(event.type, {
      bubbles: event.bubbles, cancelable: event.cancelable, view: event.view,
      touches: moved(event.touches), targetTouches: moved(event.targetTouches),
      changedTouches: moved(event.changedTouches), ctrlKey: event.ctrlKey,
      shiftKey: event.shiftKey, altKey: event.altKey, metaKey: event.metaKey });
  }

  // Registered before the program's own handlers, which then see only the corrected copies.
  function correctPoint(event) {
    if (formScale === 1 || !event.isTrusted)
      return;
    event.stopImmediatePropagation();
    if (event.cancelable)
      event.preventDefault();
    canvas.dispatchEvent(event.type === "wheel" ? unscaledWheel(event) : unscaledTouch(event));
  }
  for (const type of ["wheel", "touchstart", "touchmove", "touchend", "touchcancel"])
    canvas.addEventListener(type, correctPoint, { capture: true, passive: false });

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

  // The program stopped unexpectedly: never a frozen canvas, a way to start afresh.
  function stopped() {
    body.dataset.state = "crashed";
    canvas.hidden = true;
    show("loading", false);
    show("crashed", true);
    document.querySelector("#crashed .again").focus();
  }

  function cannotStart() {
    body.dataset.state = "nowasm";
    show("loading", false);
    show("nowasm", true);
  }

  globalThis.vortaniPage = { playClip, announce, print, formShown, sayGoodbye };

  fitForm();
  window.addEventListener("resize", fitForm);

  for (const again of document.querySelectorAll(".again"))
    again.addEventListener("click", () => location.reload());

  // Offline after the first visit, and installable.
  if ("serviceWorker" in navigator && window.isSecureContext)
    navigator.serviceWorker.register("sw.js").catch(() => {});

  if (typeof WebAssembly !== "object" || typeof QtLoader !== "function") {
    cannotStart();
    return;
  }
  const loader = QtLoader({
    canvasElements: [canvas],
    showLoader: () => show("loading", true),
    showCanvas: () => canvas,
    showError: cannotStart,
    showExit: (crashed) => {
      if (crashed)
        stopped();
    },
  });
  if (!loader.canLoadQt) {
    cannotStart();
    return;
  }
  loader.loadEmscriptenModule("vortani");
})();
