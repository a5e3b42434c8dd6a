# SPDX-License-Identifier: GPL-3.0-or-later
"""class_page.py SITE BUILD: the teacher's page in headless Chromium. Its choices are the game's
own words, ticking them gives the link the program reads, its QR code reads back as that link at
1x and 2x and shown large, copying works or says why not, and the page works offline."""
import base64
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from browser import built_site, errors, offline, site_page  # noqa: E402
from vortani_e2e import check, finish, need, wait_for  # noqa: E402

# (what is ticked: operation words, level numbers, the sound's value, reading aloud; the link's
# query)
CHOICES = [
    (["divisione"], ["3", "4"], "no", False, "?operazioni=divisione&livelli=3,4&suoni=no"),
    (["addizione", "sottrazione"], ["1", "2", "3", "4"], "mai", False,
     "?operazioni=addizione,sottrazione&suoni=mai"),
    (["addizione", "sottrazione", "moltiplicazione", "divisione"], ["2"], "si", True,
     "?livelli=2&voce=si"),
    (["addizione", "sottrazione", "moltiplicazione", "divisione"], ["1", "2", "3", "4"], "si",
     False, ""),
]

FORM = """(() => {
  const set = (id) => Array.from(document.querySelectorAll(`#${id} input`), (i) => ({
    value: i.value, checked: i.checked, label: i.parentElement.textContent.trim()}));
  const legend = (id) => document.querySelector(`#${id} legend`).textContent;
  const seen = (e) => !e.hidden && e.getClientRects().length > 0;
  return {operations: set('operations'), levels: set('levels'), sound: set('sound'),
          voice: set('voice'),
          legends: ['operations', 'levels', 'sound'].map(legend),
          link: document.getElementById('link').value,
          open: document.getElementById('open').getAttribute('href'),
          problem: seen(document.getElementById('problem')) ?
                   document.getElementById('problem').textContent : null,
          copyDisabled: document.getElementById('copy').disabled,
          qr: !!document.querySelector('#qr svg')};
})()"""


def box(page, selector):
    return page.evaluate(f"""(() => {{ const e = document.querySelector({json.dumps(selector)});
      if (!e) return null; e.scrollIntoView({{block: 'center'}});
      const r = e.getBoundingClientRect();
      return {{x: r.left, y: r.top, width: r.width, height: r.height}}; }})()""")


def click(page, selector):
    r = box(page, selector)
    x, y = r["x"] + r["width"] / 2, r["y"] + r["height"] / 2
    for kind, buttons in (("mousePressed", 1), ("mouseReleased", 0)):
        page.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                  buttons=buttons, clickCount=1)


def tick(page, operations, levels, sound, voice=False):
    """Clicks, as the teacher does, each box that is not yet as wanted, and the sound."""
    form = page.evaluate(FORM)
    if form["voice"][0]["checked"] != voice:
        click(page, "#voice input")
    for name, wanted in (("operations", operations), ("levels", levels)):
        for item in form[name]:
            if item["checked"] != (item["value"] in wanted):
                click(page, f'#{name} input[value="{item["value"]}"]')
    click(page, f'#sound input[value="{sound}"]')


def decoded(page, selector, tag):
    """What zbarimg reads in a screenshot of the element at selector."""
    r = box(page, selector)
    shot = page.send("Page.captureScreenshot", format="png", clip=dict(r, scale=1),
                     captureBeyondViewport=True)
    with tempfile.NamedTemporaryFile(suffix=f"-{tag}.png", delete=False) as png:
        png.write(base64.b64decode(shot["data"]))
    try:
        run = subprocess.run(["zbarimg", "--quiet", "--raw", png.name], capture_output=True,
                             text=True, stdin=subprocess.DEVNULL)
        return run.stdout.strip()
    finally:
        os.unlink(png.name)


def words_of(build):
    with open(os.path.join(build, "facts", "facts.json"), encoding="utf-8") as f:
        facts = json.load(f)
    return facts["setup"], [t["title"] for t in facts["titles"]], facts["levels"]


def choices_are_the_games(page, build):
    setup, titles, levels = words_of(build)
    form = page.evaluate(FORM)
    check([o["value"] for o in form["operations"]] == [t.lower() for t in titles] and
          [o["label"] for o in form["operations"]] == titles,
          f"the operations are the game's, by title ({[o['label'] for o in form['operations']]})")
    check([o["value"] for o in form["levels"]] == [str(n + 1) for n in range(len(levels))] and
          all(name in o["label"] for o, name in zip(form["levels"], levels)),
          f"the levels are numbered and named ({[o['label'] for o in form['levels']]})")
    check([o["label"].split(":")[0] for o in form["sound"]] ==
          [setup["yes"][0], setup["no"][0], setup["never"][0]],
          f"the sound offers the game's words ({[o['label'] for o in form['sound']]})")
    check([w.lower() for w in form["legends"]] ==
          [setup["operations"], setup["levels"], setup["sound"]],
          f"each group is named by its key ({form['legends']})")


def links(page, base):
    for operations, levels, sound, voice, query in CHOICES:
        tick(page, operations, levels, sound, voice)
        form = page.evaluate(FORM)
        check(form["link"] == base + query and form["open"] == base + query,
              f"ticking {operations}, {levels}, {sound} gives {base + query} ({form['link']})")
    tick(page, ["divisione"], ["3", "4"], "no")
    link = page.evaluate(FORM)["link"]
    for scale in (1, 2):
        page.send("Emulation.setDeviceMetricsOverride", width=1000, height=900,
                  deviceScaleFactor=scale, mobile=False)
        got = wait_for(lambda: decoded(page, "#qr svg", scale), 5, 0.2)
        check(got == link, f"at {scale}x the QR code reads back as the link ({got!r})")
    click(page, "#enlarge")
    got = wait_for(lambda: decoded(page, "#boardQr svg", "board"), 5, 0.2)
    check(got == link, f"shown large for the board, it reads back as the link ({got!r})")
    page.evaluate("document.getElementById('board').close()")
    page.send("Emulation.clearDeviceMetricsOverride")

    tick(page, ["divisione"], [], "no")
    form = page.evaluate(FORM)
    check(form["problem"] and "livello" in form["problem"] and form["copyDisabled"] and
          not form["qr"] and not form["open"],
          f"with no level ticked there is no link, and the page says why ({form['problem']!r})")
    tick(page, ["divisione"], ["3", "4"], "no")


def copying(page, origin, link):
    mark = len(page.events)
    for setting, said in (("granted", "copiato"), ("denied", "Ctrl+C")):
        for name in ("clipboard-write", "clipboard-read"):
            page.send("Browser.setPermission", permission={"name": name}, setting=setting,
                      origin=origin)
        click(page, "#copy")
        status = wait_for(lambda: said in page.evaluate(
            "document.getElementById('copied').textContent"), 5) and page.evaluate(
            "document.getElementById('copied').textContent")
        check(status, f"Copia with the clipboard {setting} says so ({status!r})")
        if setting == "granted":
            held = page.evaluate("navigator.clipboard.readText()", wait=True)
            check(held == link, f"the clipboard holds the link ({held!r})")
        else:
            selected = page.evaluate("(() => { const l = document.getElementById('link');"
                                     " return document.activeElement === l &&"
                                     " l.selectionEnd - l.selectionStart === l.value.length; })()")
            check(selected, "refused, the link is left selected to copy by hand")
    problems = errors(page.events[mark:])
    check(not problems, f"copying leaves no error and no unhandled rejection {problems[:3]}")


def main(argv):
    site = built_site(argv[0])
    need("zbarimg")
    with site_page(site, 1000, 900) as (server, page):
        page.send("Page.navigate", url=server.url + "classe.html")
        check(wait_for(lambda: page.evaluate("document.querySelectorAll('#sound input').length"),
                       20, 0.1) == 3, "classe.html builds its form", fatal=True)
        choices_are_the_games(page, argv[1])
        links(page, server.url)
        copying(page, server.url.rstrip("/"), page.evaluate(FORM)["link"])
        check(not errors(page.events), f"no errors in the console {errors(page.events)[:3]}")

        check(offline(page, server), "the site's service worker is active")
        page.send("Page.reload")
        check(wait_for(lambda: page.evaluate(
            "document.querySelectorAll('#operations input').length === 4 &&"
            " !!document.querySelector('#qr svg')"), 20, 0.2),
              "with the server gone classe.html still builds its form and its code")
    return finish()

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
