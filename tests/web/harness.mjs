// The browser tests' harness: build/web served on a port of this machine, headless Chromium driven
// by playwright-core, and helpers that find the game's windows on the page.
import {createServer} from "node:http";
import {readFile} from "node:fs/promises";
import {extname, join, normalize} from "node:path";
import {fileURLToPath} from "node:url";
import {chromium} from "playwright-core";

export const site = fileURLToPath(new URL("../../build/web/", import.meta.url));
const types = {".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
               ".wasm": "application/wasm", ".png": "image/png", ".otf": "font/otf",
               ".ttf": "font/ttf", ".webmanifest": "application/manifest+json"};

// Serves the site; `offline()` makes every request fail, as a network that is gone.
export async function serve() {
  let down = false;
  const server = createServer(async (req, res) => {
    let path = normalize(decodeURIComponent(new URL(req.url, "http://x").pathname));
    if (path.endsWith("/")) path += "index.html";
    if (path === "/blank.html") {  // the benchmark's yardstick
      res.writeHead(200, {"content-type": types[".html"]});
      return res.end("<!DOCTYPE html><title>blank</title><p>blank</p>");
    }
    try {
      if (down) throw new Error("offline");
      const body = await readFile(join(site, path));
      res.writeHead(200, {"content-type": types[extname(path)] || "application/octet-stream"});
      res.end(body);
    } catch {
      if (down) req.socket.destroy();
      else res.writeHead(404).end();
    }
  });
  await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
  return {url: `http://127.0.0.1:${server.address().port}/`, offline: (v) => { down = v; },
          close: () => new Promise((ok) => server.close(ok))};
}

export async function launch() {
  return chromium.launch({executablePath: "/usr/bin/chromium",
                          args: ["--autoplay-policy=no-user-gesture-required"]});
}

// A page of the game with its start window shown; page errors are collected in `page.errors`.
export async function openGame(browser, url, options = {}) {
  const context = await browser.newContext({viewport: {width: 1200, height: 900}, ...options});
  const page = await context.newPage();
  page.errors = [];
  page.on("pageerror", (e) => page.errors.push(String(e)));
  page.on("console", (m) => { if (m.type() === "error") page.errors.push(m.text()); });
  await page.goto(url);
  await page.getByRole("dialog", {name: "Fnork till fnork av Bromle"}).waitFor();
  return page;
}

export const dialog = (page, caption) => page.getByRole("dialog", {name: caption, exact: true});

// Chooses an entry of a window's menu as the mouse does.
export async function choose(page, caption, entry) {
  const w = dialog(page, caption);
  await w.getByRole("menubar").getByRole("menuitem", {name: "Meny"}).click();
  await w.getByRole("menuitem", {name: entry, exact: true}).click();
}

// The page position of a point of a window's client area, in CSS pixels.
export async function at(page, caption, x, y) {
  const box = await dialog(page, caption).locator("canvas").boundingBox();
  return {x: box.x + x, y: box.y + y};
}

// Pixels of a window's canvas (device pixels) as [r, g, b] each, once the input sent so far has
// been handled (the browser hands pointer moves over with the next frame).
export async function pixels(page, caption, points) {
  return page.evaluate(async ([caption, points]) => {
    await new Promise((frame) => requestAnimationFrame(() => requestAnimationFrame(frame)));
    const dialog = [...document.querySelectorAll('[role="dialog"]')]
      .find((d) => document.getElementById(d.getAttribute("aria-labelledby")).textContent === caption);
    const ctx = dialog.querySelector("canvas").getContext("2d");
    return points.map(([x, y]) => [...ctx.getImageData(x, y, 1, 1).data.slice(0, 3)]);
  }, [caption, points]);
}

export async function pixel(page, caption, x, y) {
  return (await pixels(page, caption, [[x, y]]))[0];
}
