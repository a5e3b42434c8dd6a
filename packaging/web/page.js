// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: fits the form to the window, starts the program with the class's
// set-up from the link's query, and does for it what only a page can (sound, the live region,
// printing, goodbye, a notice for the grown-up). The program calls globalThis.vortaniPage
// (src/services/WebPage.cpp).
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

  const told = new Set(); // what falls short of the game, told once in the console
  function tellOnce(why) {
    if (!told.has(why)) {
      told.add(why);
      console.info(`Vortani Puzzle: ${why}`);
    }
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

  // Browsers make touch events only for themselves (desktop Firefox has no TouchEvent, WebKit
  // refuses to build one), and the program reads no more than the touches' plain fields: a
  // plain event carries the corrected copies.
  function unscaledTouch(event) {
    const moved = (list) => Array.from(list, (touch) => {
      const [clientX, clientY] = unscaledPoint(touch.clientX, touch.clientY);
      return {
        identifier: touch.identifier, target: touch.target, clientX, clientY,
        pageX: clientX + window.scrollX, pageY: clientY + window.scrollY,
        screenX: touch.screenX, screenY: touch.screenY, radiusX: touch.radiusX,
        radiusY: touch.radiusY, rotationAngle: touch.rotationAngle, force: touch.force };
    });
    const copy = new Event(event.type, { bubbles: event.bubbles, cancelable: event.cancelable });
    return Object.assign(copy, {
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
  // Firefox with no sound device keeps a context suspended and never settles its resume(): a
  // press long after such a resume tries a fresh context, in case a device has come since.
  // Each fresh context is given twice as long as the one before.
  let stuckAfter = 3000; // ms
  let audio = null;
  let resumeAsked = 0; // when the unsettled resume() was asked for, or 0
  let playing = null;
  let latestClip = 0;

  function newAudio(Context) {
    try {
      audio = new Context();
    } catch (refused) {
      audio = null;
    }
    resumeAsked = 0;
  }

  function wakeAudio() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
      return;
    if (!audio) {
      newAudio(Context);
    } else if (audio.state === "suspended" && resumeAsked &&
               performance.now() - resumeAsked > stuckAfter) {
      tellOnce("the sound did not start; trying a new audio context");
      stuckAfter = Math.min(2 * stuckAfter, 60000);
      const stuck = audio;
      Promise.resolve().then(() => stuck.close()).catch(() => {});
      newAudio(Context);
    }
    if (!audio || audio.state !== "suspended" || resumeAsked)
      return;
    const asked = audio;
    resumeAsked = performance.now();
    const settled = () => {
      if (audio === asked)
        resumeAsked = 0;
    };
    Promise.resolve().then(() => asked.resume()).then(settled, settled);
  }
  // In the capture phase, so the context is awake before the game handles the same press.
  for (const type of ["pointerdown", "keydown", "touchstart"])
    window.addEventListener(type, wakeAudio, { capture: true, passive: true });

  function playClip(wav) {
    if (!audio)
      return; // nothing pressed yet: the browser would not let it sound
    const clip = ++latestClip;
    const context = audio;
    context.decodeAudioData(wav).then((buffer) => {
      if (clip !== latestClip || context !== audio)
        return; // a newer clip, or a new context, came while this one was decoded
      try {
        if (playing)
          playing.stop();
      } catch (ended) {
        // its context is gone
      }
      playing = context.createBufferSource();
      playing.buffer = buffer;
      playing.connect(context.destination);
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

  // ---- Read aloud: the browser's own speech, in Italian, for a child who cannot read yet ------
  function speak(text) {
    const speech = globalThis.speechSynthesis;
    if (!speech || typeof SpeechSynthesisUtterance !== "function") {
      tellOnce("this browser cannot read aloud");
      return;
    }
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.lang = "it-IT";
    const voices = speech.getVoices();
    const italian = voices.find((voice) => voice.lang.toLowerCase().startsWith("it"));
    if (italian)
      utterance.voice = italian;
    else if (voices.length)
      tellOnce("no Italian voice is installed; reading aloud with the browser's own");
    speech.cancel();
    speech.speak(utterance);
  }

  // ---- Offline after the first visit, and installable ----------------------------------------
  // The service worker comes once the game is drawn and what the page downloaded is stored for
  // it; then it fetches what the game did not need to start, and so does a newer worker that
  // takes over.
  let offlineAsked = false;

  function keepOffline() {
    if (offlineAsked || !("serviceWorker" in navigator) || !window.isSecureContext)
      return;
    offlineAsked = true;
    const later = (worker) => worker && worker.postMessage("later");
    loader.stored()
      .then(() => {
        const workers = navigator.serviceWorker;
        workers.addEventListener("controllerchange", () => later(workers.controller));
        return workers.register("sw.js").then(() => workers.ready);
      })
      .then((registration) => later(registration.active))
      .catch(() => {}); // no worker (a private window): the game plays online only
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
    if (body.dataset.state !== "loading")
      return;
    body.dataset.state = "playing";
    keepOffline();
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

  // "nowasm": the browser is too old; "nowebgl": it cannot draw the game, and the grown-up is
  // told how to let it.
  function cannotStart(why) {
    body.dataset.state = why;
    show("loading", false);
    show(why, true);
  }

  // The program does not start a game with this link: its words, in place of the game, for the
  // grown-up who made the link.
  let noticeShown = false;

  function showNotice(text, refused) {
    noticeShown = true;
    body.dataset.state = refused ? "refused" : "notice";
    canvas.hidden = true;
    show("loading", false);
    document.getElementById("noticeText").textContent = text;
    show("refusedHeading", refused);
    show("grownUp", true);
    keepManifest(null); // a link that is no game is no app to install
    document.getElementById("classLink").focus({ preventScroll: true }); // read from the top
  }

  // ---- Pictures the program fetches from the site --------------------------------------------
  const loader = globalThis.vortaniLoader;

  function fetchPicture(name) {
    return fetch(name).then((response) => {
      if (!response.ok)
        throw new Error(`${name}: ${response.status} ${response.statusText}`);
      loader.keep(name, response);
      return response.arrayBuffer();
    });
  }

  // Those of a sharp screen, fetched before the program started.
  function sharperPictures() {
    return loader.sharper;
  }

  globalThis.vortaniPage = { playClip, announce, speak, print, formShown, sayGoodbye, showNotice,
                             fetchPicture, sharperPictures };

  // ---- The class's set-up: each pair of the query is one of the program's options ------------
  // ?livelli=1,2&suoni=no starts it as `vortani --livelli=1,2 --suoni=no`; a key alone (?help)
  // is an option alone. The program judges them all, as on the command line.
  function setupArguments(query) {
    const decoded = (text) => {
      try {
        return decodeURIComponent(text.replace(/\+/g, " "));
      } catch (malformed) {
        return text; // the program names it as written
      }
    };
    const args = [];
    for (const pair of query.replace(/^\?/, "").split("&")) {
      if (pair === "")
        continue;
      const equals = pair.indexOf("=");
      if (equals < 0)
        args.push(`--${decoded(pair)}`);
      else
        args.push(`--${decoded(pair.slice(0, equals))}=${decoded(pair.slice(equals + 1))}`);
    }
    return args;
  }

  // Installed from a link with a set-up, the app starts with that set-up: the manifest's
  // start_url keeps the query. The page's manifest is copied with its addresses made whole,
  // since the copy lives at a data: address of its own, where relative ones would not resolve.
  const manifestLink = document.querySelector('link[rel="manifest"]');
  const plainManifest = manifestLink.href;
  let keptQuery = null;

  function keepManifest(query) {
    keptQuery = query;
    if (!query) {
      if (manifestLink.href !== plainManifest)
        manifestLink.href = plainManifest;
      return;
    }
    fetch(plainManifest).then((response) => response.json()).then((manifest) => {
      if (keptQuery !== query)
        return; // refused meanwhile
      const whole = (address) => new URL(address, plainManifest).href;
      const start = new URL(manifest.start_url || ".", plainManifest);
      start.search = query;
      // One installed app per set-up: a class with two set-ups keeps both.
      manifest.id = start.href;
      manifest.start_url = start.href;
      manifest.scope = whole(manifest.scope || ".");
      for (const icon of manifest.icons || [])
        icon.src = whole(icon.src);
      manifestLink.href = "data:application/manifest+json," +
                          encodeURIComponent(JSON.stringify(manifest));
    }).catch(() => {}); // the plain manifest stays: installed, the app starts with every choice
  }

  fitForm();
  window.addEventListener("resize", fitForm);

  for (const again of document.querySelectorAll(".again"))
    again.addEventListener("click", () => location.reload());

  if (!loader.runsWasm()) {
    cannotStart("nowasm");
    return;
  }
  if (location.search.length > 1)
    keepManifest(location.search);
  loader.start({
    canvas,
    args: setupArguments(location.search),
    // A notice's exit is main()'s answer, not a crash.
    ended: (crashed) => {
      if (crashed && !noticeShown)
        stopped();
    },
  }).catch((error) => {
    if (error && error.lacking) {
      cannotStart(error.lacking);
      return;
    }
    console.warn(`Vortani Puzzle did not start: ${error}`);
    stopped(); // what did not come may come at the next try
  });
})();
