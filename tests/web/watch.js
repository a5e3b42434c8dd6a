// SPDX-License-Identifier: GPL-3.0-or-later
// Run before the page's own scripts, for the browser tests: what #messages receives, the
// clips started, the print calls and what reaches the browser's speech.
window.__said = []; window.__starts = 0; window.__printed = []; window.__spoken = [];
(() => {
  // What reaches the browser's speech, and in which language. On the prototype: WebKit may
  // hand the page another speechSynthesis object later.
  if (globalThis.SpeechSynthesis) {
    const speak = SpeechSynthesis.prototype.speak;
    SpeechSynthesis.prototype.speak = function (utterance) {
      window.__spoken.push([utterance.text, utterance.lang]);
      return speak.call(this, utterance);
    };
  }
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.__starts++;
    return start.apply(this, args);
  };
  // Printing would open a dialogue no one answers: note the call and what was to be printed.
  window.print = () => window.__printed.push(!!document.querySelector('#printout img'));
  const listen = () => {
    const box = document.getElementById('messages');
    if (!box) return false;
    const note = node => {
      const text = (node.textContent || '').trim();
      if (text) window.__said.push(text);
    };
    box.childNodes.forEach(note);
    new MutationObserver(records => records.forEach(r => r.addedNodes.forEach(note)))
      .observe(box, {childList: true});
    return true;
  };
  if (!listen()) {
    const early = new MutationObserver(() => listen() && early.disconnect());
    early.observe(document, {childList: true, subtree: true});
  }
})();
