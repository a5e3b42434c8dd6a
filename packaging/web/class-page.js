// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's page: the class's choices become the game's link, to copy, open or show as a
// QR code. The keys and words are the game's own (setup-words.js, written by the build from its
// facts), so the link says exactly what the program reads.
"use strict";

(function () {
  const words = globalThis.vortaniSetupWords;
  const keys = words.setup;
  const soundChoices = [
    { spellings: keys.yes, meaning: "i suoni ci sono" },
    { spellings: keys.no, meaning: "partono spenti, il bambino può accenderli" },
    { spellings: keys.never, meaning: "spenti, e l'interruttore è bloccato" },
  ];
  // What the game offers with no set-up: a key that says only that stays out of the link.
  const defaultSound = 0;

  const linkBox = document.getElementById("link");
  const openLink = document.getElementById("open");
  const copied = document.getElementById("copied");
  const problem = document.getElementById("problem");

  const capitalised = (word) => word.charAt(0).toUpperCase() + word.slice(1);
  // A link is typed or read from the board more easily without accents: "si" before "sì".
  const linkSpelling = (spellings) => spellings.find((s) => /^[a-z]+$/.test(s)) || spellings[0];

  function choice(fieldset, type, value, label, checked) {
    const row = document.createElement("label");
    const input = document.createElement("input");
    input.type = type;
    input.name = fieldset.id;
    input.value = value;
    input.checked = checked;
    row.append(input, " ", label);
    fieldset.querySelector(".choices").append(row);
    return input;
  }

  // The word the link carries in bold, then what it means.
  function labelled(word, rest) {
    const label = document.createElement("span");
    const bold = document.createElement("b");
    bold.textContent = word;
    label.append(bold, rest);
    return label;
  }

  function fieldset(id, key) {
    const set = document.getElementById(id);
    set.querySelector("legend").textContent = capitalised(key);
    set.dataset.key = key;
    return set;
  }

  const operations = fieldset("operations", keys.operations);
  for (const t of words.titles)
    choice(operations, "checkbox", t.title.toLowerCase(), t.title, true);
  const levels = fieldset("levels", keys.levels);
  words.levels.forEach((name, i) => {
    choice(levels, "checkbox", String(i + 1), labelled(String(i + 1), ` ${name}`), true);
  });
  const sound = fieldset("sound", keys.sound);
  soundChoices.forEach((c, i) => {
    choice(sound, "radio", linkSpelling(c.spellings), labelled(c.spellings[0], `: ${c.meaning}`),
           i === defaultSound);
  });

  const voice = fieldset("voice", keys.voice);
  const readAloud = choice(voice, "checkbox", linkSpelling(keys.yes),
                           labelled(keys.yes[0], ": il gioco legge ad alta voce i messaggi e le "
                                                 + "operazioni, per chi non sa ancora leggere"),
                           false);

  // The query's value as written: commas stay commas, so the link reads as the teacher chose.
  const written = (text) => encodeURIComponent(text).replace(/%2C/gi, ",");

  function ticked(set) {
    const all = Array.from(set.querySelectorAll("input"));
    return { all, chosen: all.filter((i) => i.checked).map((i) => i.value) };
  }

  // The link for the choices, or why there is none.
  function linkFor() {
    const pairs = [];
    for (const [set, missing] of [[operations, "Scegli almeno un'operazione."],
                                  [levels, "Scegli almeno un livello."]]) {
      const { all, chosen } = ticked(set);
      if (chosen.length === 0)
        return { problem: missing };
      if (chosen.length < all.length)
        pairs.push(`${written(set.dataset.key)}=${written(chosen.join(","))}`);
    }
    const { all, chosen } = ticked(sound);
    if (chosen[0] !== all[defaultSound].value)
      pairs.push(`${written(sound.dataset.key)}=${written(chosen[0])}`);
    if (readAloud.checked)
      pairs.push(`${written(voice.dataset.key)}=${written(readAloud.value)}`);
    // Beside this page, wherever the site is served.
    const base = new URL("./", location.href).href;
    return { link: pairs.length ? `${base}?${pairs.join("&")}` : base };
  }

  // The QR code as an SVG, each module one unit, in a white margin of four as scanners want.
  function drawCode(holder, text) {
    const code = qrcode(0, "M");
    code.addData(text); // a URL's text is ASCII: percent-encoded, its host in punycode
    code.make();
    const count = code.getModuleCount();
    const margin = 4;
    const size = count + 2 * margin;
    let path = "";
    for (let row = 0; row < count; ++row)
      for (let column = 0; column < count; ++column)
        if (code.isDark(row, column))
          path += `M${column + margin},${row + margin}h1v1h-1z`;
    const ns = "http://www.w3.org/2000/svg";
    const svg = document.createElementNS(ns, "svg");
    svg.setAttribute("viewBox", `0 0 ${size} ${size}`);
    svg.setAttribute("shape-rendering", "crispEdges");
    svg.setAttribute("role", "img");
    svg.setAttribute("aria-label", "Codice QR del collegamento");
    const ground = document.createElementNS(ns, "rect");
    ground.setAttribute("width", size);
    ground.setAttribute("height", size);
    ground.setAttribute("fill", "#ffffff");
    const modules = document.createElementNS(ns, "path");
    modules.setAttribute("d", path);
    modules.setAttribute("fill", "#000000");
    svg.append(ground, modules);
    holder.replaceChildren(svg);
  }

  function update() {
    const made = linkFor();
    const ready = !!made.link;
    problem.hidden = ready;
    problem.textContent = made.problem || "";
    document.getElementById("result").classList.toggle("unready", !ready);
    linkBox.value = made.link || "";
    copied.textContent = "";
    for (const control of [document.getElementById("copy"), document.getElementById("enlarge")])
      control.disabled = !ready;
    if (ready) {
      openLink.href = made.link;
      openLink.removeAttribute("aria-disabled");
      drawCode(document.getElementById("qr"), made.link);
    } else {
      openLink.removeAttribute("href");
      openLink.setAttribute("aria-disabled", "true");
      document.getElementById("qr").replaceChildren();
    }
  }

  // A browser may refuse the clipboard (an address that is not secure, a permission denied):
  // the link is then selected, to copy by hand.
  document.getElementById("copy").addEventListener("click", () => {
    const link = linkBox.value;
    Promise.resolve().then(() => navigator.clipboard.writeText(link)).then(
      () => { copied.textContent = "Collegamento copiato."; },
      () => {
        linkBox.focus();
        linkBox.select();
        copied.textContent = "Il browser non lascia copiare da qui: il collegamento è " +
                             "selezionato, copialo con Ctrl+C.";
      });
  });

  const board = document.getElementById("board");
  document.getElementById("enlarge").addEventListener("click", () => {
    drawCode(document.getElementById("boardQr"), linkBox.value);
    document.getElementById("boardLink").textContent = linkBox.value;
    if (typeof board.showModal === "function")
      board.showModal();
    else
      board.setAttribute("open", "");
  });
  board.addEventListener("click", (event) => {
    if (event.target === board)
      board.close();
  });

  document.getElementById("setup").addEventListener("change", update);
  linkBox.addEventListener("focus", () => linkBox.select());
  update();

  // Offline like the game: the same service worker keeps this page too.
  if ("serviceWorker" in navigator && window.isSecureContext)
    navigator.serviceWorker.register("sw.js").catch(() => {});
})();
