// The browser version in headless Chromium with real input: what only the browser can get wrong
// (the game's rules are tested once, in C++). The dots come from the tests' table of facts.
import {test, before, after} from "node:test";
import assert from "node:assert/strict";
import {readFileSync} from "node:fs";
import {serve, launch, openGame, dialog, choose, at, pixel, pixels} from "./harness.mjs";

// tests/facts.h: each picture's caption, client area, whether its rubber band inverts (those
// windows also keep their progress) and its dot centres, here in pixels.
const facts = readFileSync(new URL("../facts.h", import.meta.url), "utf8").split('{"Bild').slice(1)
  .map((chunk, i) => {
    const [, w, h, inverts] = chunk.match(/^\d", (\d+), (\d+), (true|false)/);
    const dots = [...chunk.matchAll(/\{(\d+), (\d+), \d+, \d+\}/g)].map(([, x, y]) => [x / 15, y / 15]);
    return {n: i + 1, caption: `Bild${i + 1}`, width: +w, height: +h, inverts: inverts === "true", dots};
  });
const START = "Fnork till fnork av Bromle";
const GREY = [128, 128, 128];
const near = (a, b, d = 3) => a.every((v, i) => Math.abs(v - b[i]) <= d);
const gif = (n) => [...readFileSync(new URL(`../../pictures/bild${n}.gif`, import.meta.url))];
const svg = (n) => readFileSync(new URL(`../../pictures/src/bild${n}.svg`, import.meta.url), "utf8");

let server, browser;
before(async () => {
  assert.equal(facts.length, 6);
  server = await serve();
  browser = await launch();
});
after(async () => {
  await browser.close();
  await server.close();
});

// A drag with the mouse from dot `from` to dot `to` (counted from 1); `pause` runs on the way.
async function drag(page, p, from, to, pause) {
  const a = await at(page, p.caption, ...p.dots[from - 1]);
  const b = await at(page, p.caption, ...p.dots[to - 1]);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  await page.mouse.move(b.x, b.y, {steps: 4});
  if (pause) await pause();
  await page.mouse.up();
}

// The pixels along segment k (from dot k to dot k + 1), 3 x 3 around points between its ends.
function along(page, p, k) {
  const [a, b] = [p.dots[k - 1], p.dots[k]], points = [];
  for (const t of [0.3, 0.4, 0.5, 0.6, 0.7]) {
    const x = Math.round(a[0] + t * (b[0] - a[0])), y = Math.round(a[1] + t * (b[1] - a[1]));
    for (let dy = -1; dy <= 1; ++dy)
      for (let dx = -1; dx <= 1; ++dx) points.push([x + dx, y + dy]);
  }
  return pixels(page, p.caption, points);
}

// Whether a line runs along segment k: grey there, or the inverse of what was there before.
async function lineAt(page, p, k, inverseOf) {
  const now = await along(page, p, k);
  return now.some((c, i) => near(c, inverseOf ? inverseOf[i].map((v) => 255 - v) : GREY));
}

// Whether segment k's place shows what it showed before.
async function unchanged(page, p, k, before) {
  return JSON.stringify(await along(page, p, k)) === JSON.stringify(before);
}

// How a window's canvas compares with a picture drawn on another canvas of the same size, away
// from the dots and numbers: the share of sampled pixels alike.
function alike(page, caption, drawPicture, args, dots, ratio = 1) {
  return page.evaluate(async ([caption, drawPicture, args, dots, ratio]) => {
    const d = [...document.querySelectorAll('[role="dialog"]')]
      .find((e) => document.getElementById(e.getAttribute("aria-labelledby")).textContent === caption);
    const c = d.querySelector("canvas"), other = new OffscreenCanvas(c.width, c.height);
    await new Function("return " + drawPicture)()(other.getContext("2d"), ...args);
    const a = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    const b = other.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let same = 0, compared = 0;
    for (let y = 0; y < c.height; y += 3)
      for (let x = 0; x < c.width; x += 3) {
        if (dots.some(([dx, dy]) => Math.hypot(dx * ratio - x, dy * ratio - y) < 36 * ratio)) continue;
        const i = (y * c.width + x) * 4;
        ++compared;
        same += Math.abs(a[i] - b[i]) + Math.abs(a[i + 1] - b[i + 1]) + Math.abs(a[i + 2] - b[i + 2]) < 12;
      }
    return same / compared;
  }, [caption, drawPicture.toString(), args, dots, ratio]);
}

// Draws a picture's bytes onto a canvas context, unsmoothed at the given scale.
async function drawBytes(ctx, bytes, type, scale) {
  const img = new Image();
  img.src = URL.createObjectURL(new Blob([typeof bytes === "string" ? bytes : new Uint8Array(bytes)], {type}));
  await img.decode();
  ctx.imageSmoothingEnabled = false;
  ctx.drawImage(img, 0, 0, img.naturalWidth * scale, img.naturalHeight * scale);
}

test("every picture opened from its menu and played to its end with the mouse, from this origin alone",
  async () => {
    const page = await openGame(browser, server.url);
    const elsewhere = [];
    page.on("request", (r) => {
      if (!r.url().replace(/^blob:/, "").startsWith(server.url)) elsewhere.push(r.url());
    });
    for (const p of facts) {
      await choose(page, START, p.caption);
      const box = await dialog(page, p.caption).locator("canvas").boundingBox();
      assert.deepEqual([box.width, box.height], [p.width, p.height], p.caption);
      assert.deepEqual(await pixel(page, p.caption, ...p.dots[0].map(Math.round)), [0, 0, 0]);
      for (let k = 1; k < p.dots.length; ++k) {
        const before = await along(page, p, k);
        let band;
        await drag(page, p, k, k + 1, async () => {
          band = await lineAt(page, p, k, p.inverts ? before : null);
        });
        assert.ok(band, `${p.caption}: the rubber band to dot ${k + 1}`);
        assert.ok(await lineAt(page, p, k), `${p.caption}: segment ${k}`);
      }
      // The finished picture under the lines, pixel for pixel where no dot or number lies.
      const share = await alike(page, p.caption, drawBytes, [gif(p.n), "image/gif", 1], p.dots);
      assert.ok(share > 0.97, `${p.caption}: the finished picture shows (${share})`);
      await choose(page, p.caption, "Avsluta");
    }
    assert.equal(await page.evaluate(() => Desktop.beeps), 6);
    assert.deepEqual(elsewhere, []);
    assert.deepEqual(page.errors, []);
    await page.context().close();
  });

test("start over, close and reopen: pictures 1, 3 and 4 go on where they were", async () => {
  const page = await openGame(browser, server.url);
  for (const p of facts) {
    await choose(page, START, p.caption);
    const fresh = [await along(page, p, 1), await along(page, p, 2)];
    await drag(page, p, 1, 2);
    await choose(page, p.caption, "Börja om");
    assert.ok(await unchanged(page, p, 1, fresh[0]), `${p.caption}: started over`);
    // The rubber band rests, collapsed and drawing nothing, on dot 2.
    assert.deepEqual(await pixel(page, p.caption, ...p.dots[1].map(Math.round)), [0, 0, 0]);
    await drag(page, p, 1, 2);
    await choose(page, p.caption, "Avsluta");
    assert.equal(await dialog(page, p.caption).count(), 0);
    await choose(page, START, p.caption);
    assert.ok(await unchanged(page, p, 1, fresh[0]), `${p.caption}: no old lines`);
    await drag(page, p, 2, 3);
    assert.equal(!(await unchanged(page, p, 2, fresh[1])), p.inverts, `${p.caption}: progress`);
    await choose(page, p.caption, "Avsluta");
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("numbers take presses; a release outside or a lost pointer ends the drag", async () => {
  const page = await openGame(browser, server.url);
  const p = facts[0];
  await choose(page, START, p.caption);
  // Number 1 lies in dot 1's accepted area but takes the press: no rubber band.
  const label = await at(page, p.caption, 23, 117);
  await page.mouse.move(label.x, label.y);
  await page.mouse.down();
  const fresh = await along(page, p, 1);
  await page.mouse.move(label.x + 200, label.y, {steps: 3});
  assert.ok(await unchanged(page, p, 1, fresh));
  await page.mouse.up();
  // Released far outside the window: a miss; the next drag from dot 1 is taken.
  const a = await at(page, p.caption, ...p.dots[0]);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  await page.mouse.move(a.x - 150, a.y - 200, {steps: 4});
  await page.mouse.up();
  await drag(page, p, 1, 2);
  assert.ok(await lineAt(page, p, 1));
  // The system takes the pointer in the middle of a drag: the next drag goes on from dot 2.
  const b = await at(page, p.caption, ...p.dots[1]);
  await page.mouse.move(b.x, b.y);
  await page.mouse.down();
  await dialog(page, p.caption).locator("canvas")
    .dispatchEvent("pointercancel", {pointerId: 1, pointerType: "mouse", bubbles: true});
  await page.mouse.up();
  await drag(page, p, 2, 3);
  assert.ok(await lineAt(page, p, 2));
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("a finger drags a line; a second finger takes no part", async () => {
  const page = await openGame(browser, server.url, {hasTouch: true, isMobile: true});
  const p = facts[1];
  await choose(page, START, p.caption);
  const cdp = await page.context().newCDPSession(page);
  const a = await at(page, p.caption, ...p.dots[0]), b = await at(page, p.caption, ...p.dots[1]);
  // Points as [id, x, y]; a finger missing from the list has been lifted.
  const touch = (type, points) => cdp.send("Input.dispatchTouchEvent",
    {type, touchPoints: points.map(([id, x, y]) => ({id, x, y}))});
  await touch("touchStart", [[1, a.x, a.y]]);
  await touch("touchMove", [[1, a.x + 20, a.y - 40]]);
  await touch("touchMove", [[1, a.x + 20, a.y - 40], [2, a.x + 300, a.y]]);  // a second finger
  await touch("touchMove", [[1, b.x, b.y], [2, a.x + 320, a.y + 10]]);
  await touch("touchMove", [[2, a.x + 320, a.y + 10]]);
  await touch("touchEnd", []);
  assert.ok(await lineAt(page, p, 1));
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("at two device pixels to a pixel the picture is drawn from its drawing, sharp", async () => {
  const page = await openGame(browser, server.url, {deviceScaleFactor: 2});
  const p = facts[3];
  await choose(page, START, p.caption);
  for (let k = 1; k < p.dots.length; ++k) await drag(page, p, k, k + 1);
  const sharp = await alike(page, p.caption, drawBytes, [svg(p.n), "image/svg+xml", 2], p.dots, 2);
  const enlarged = await alike(page, p.caption, drawBytes, [gif(p.n), "image/gif", 2], p.dots, 2);
  assert.ok(sharp > 0.9 && sharp > enlarged + 0.02, `sharp ${sharp}, enlarged ${enlarged}`);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("Avsluta by its access keys ends the game; once loaded the page starts offline", async () => {
  const page = await openGame(browser, server.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.keyboard.press("Alt+m");
  await page.keyboard.press("1");
  await dialog(page, "Bild1").waitFor();
  // Bild1 moved aside by its title bar; the start window brought to the front by a press on it.
  const title = await dialog(page, "Bild1").locator(".title").boundingBox();
  await page.mouse.move(title.x + 40, title.y + 10);
  await page.mouse.down();
  await page.mouse.move(title.x + 440, title.y + 10, {steps: 5});
  await page.mouse.up();
  await dialog(page, START).locator(".title").click();
  await page.keyboard.press("Alt+m");
  await page.keyboard.press("a");
  await page.getByRole("status").filter({hasText: "Ladda om"}).waitFor();
  assert.equal(await page.getByRole("dialog").count(), 0);
  server.offline(true);
  try {
    await page.reload();
    await dialog(page, START).waitFor();
  } finally {
    server.offline(false);
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("any pointer events, menus and a hidden page over a long play leave no error, drag or leak",
  async () => {
    const page = await openGame(browser, server.url);
    let seed = 7;
    const random = (n) => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
    const heap = () => page.evaluate(() => Module.HEAP8.length);
    const start = await heap();
    for (let i = 0; i < 1500; ++i) {
      const open = await page.getByRole("dialog").evaluateAll((ds) => ds.length);
      const what = random(100);
      if (what < 5 || open === 1) {
        // A menu entry of any window, whatever covers it.
        const [caption, entry] = what < 3 || open === 1 ? [START, `Bild${1 + random(6)}`]
          : [`Bild${1 + random(6)}`, random(2) ? "Börja om" : "Avsluta"];
        await page.evaluate(([caption, entry]) => {
          const d = [...document.querySelectorAll('[role="dialog"]')].find((e) =>
            document.getElementById(e.getAttribute("aria-labelledby")).textContent === caption);
          d?.querySelector(`.dropdown [aria-label="${entry}"]`).click();
        }, [caption, entry]);
      } else if (what < 6) {
        await page.evaluate((hidden) => {
          Object.defineProperty(document, "hidden", {value: hidden, configurable: true});
          document.dispatchEvent(new Event("visibilitychange"));
        }, random(2) === 0);
      } else {
        const x = random(1200), y = random(900);
        if (what < 40) await page.mouse.move(x, y);
        else if (what < 70) await page.mouse.down({button: ["left", "right", "middle"][random(3)]});
        else await page.mouse.up({button: ["left", "right", "middle"][random(3)]});
      }
    }
    // Nothing is stuck: Bild2 opened afresh takes a drag.
    for (const button of ["left", "right", "middle"]) await page.mouse.up({button});
    await page.evaluate(() => {
      for (const b of document.querySelectorAll('.dropdown [aria-label="Avsluta"]'))
        if (b.closest('[role="dialog"]').querySelector(".title").textContent === "Bild2") b.click();
      document.querySelector('.dropdown [aria-label="Bild2"]').click();
    });
    await drag(page, facts[1], 1, 2);
    assert.ok(await lineAt(page, facts[1], 1));
    assert.deepEqual(page.errors, []);
    assert.equal(await heap(), start, "the program's memory grew");
    await page.context().close();
  });
