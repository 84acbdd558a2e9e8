// The browser version's benchmark (a program, not a test): the sizes of fnork.js and fnork.wasm,
// the time from navigation to the start window's first paint against a blank page in the same
// Chromium, and the main thread's CPU time per pointer move during a drag in Bild1.
//   node bench/web.mjs [--runs N] [--moves N]      (after `bash scripts/web.sh --build`)
import {readFileSync} from "node:fs";
import {gzipSync} from "node:zlib";
import {serve, launch, site, at, choose} from "../tests/web/harness.mjs";

const arg = (name, fallback) => {
  const i = process.argv.indexOf(name);
  return i > 0 ? Number(process.argv[i + 1]) : fallback;
};
const runs = arg("--runs", 15), moves = arg("--moves", 500);
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kb = (n) => (n / 1024).toFixed(1) + " KB";

console.log("== Sizes (the program; fonts and the page's own files apart)");
let total = 0;
for (const file of ["fnork.js", "fnork.wasm"]) {
  const bytes = readFileSync(site + file), gz = gzipSync(bytes, {level: 9}).length;
  total += gz;
  console.log(`${file.padEnd(12)} ${kb(bytes.length).padStart(10)} raw ${kb(gz).padStart(10)} gzipped`);
}
console.log(`${"together".padEnd(12)} ${"".padStart(10)}     ${kb(total).padStart(10)} gzipped`);

const server = await serve();
const browser = await launch();
const timing = async (path, script) => {
  const times = [];
  for (let i = 0; i <= runs; ++i) {  // the first run warms the caches and is not counted
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(server.url + path);
    const t = await page.evaluate(script);
    if (i > 0) times.push(t);
    await context.close();
  }
  return times;
};
const blank = await timing("blank.html", () => new Promise((done) => {
  const seen = () => performance.getEntriesByName("first-contentful-paint")[0];
  if (seen()) return done(seen().startTime);
  new PerformanceObserver(() => seen() && done(seen().startTime)).observe({type: "paint", buffered: true});
}));
const game = await timing("", () => new Promise((done) => {
  const poll = () => {
    const m = performance.getEntriesByName("fnork-first-paint")[0];
    m ? done(m.startTime) : setTimeout(poll, 5);
  };
  poll();
}));
console.log(`\n== From navigation to the first paint, median of ${runs} page loads`);
console.log(`blank page      ${median(blank).toFixed(1).padStart(7)} ms`);
console.log(`start window    ${median(game).toFixed(1).padStart(7)} ms   ` +
            `(${(median(game) / median(blank)).toFixed(2)} x the blank page)`);

const context = await browser.newContext();
const page = await context.newPage();
await page.goto(server.url);
await page.getByRole("dialog", {name: "Fnork till fnork av Bromle"}).waitFor();
await choose(page, "Fnork till fnork av Bromle", "Bild1");
const cdp = await context.newCDPSession(page);
await cdp.send("Performance.enable");
const cpu = async () => (await cdp.send("Performance.getMetrics")).metrics
  .find((m) => m.name === "TaskDuration").value;
const a = await at(page, "Bild1", 32, 127);
await page.mouse.move(a.x, a.y);
await page.mouse.down();
const before = await cpu();
for (let i = 0; i < moves; ++i)
  await page.mouse.move(a.x + 150 + 100 * Math.cos(i / 20), a.y + 100 * Math.sin(i / 20));
await page.evaluate(() => new Promise((f) => requestAnimationFrame(() => requestAnimationFrame(f))));
const perMove = ((await cpu()) - before) / moves * 1000;
await page.mouse.up();
console.log(`\n== A rubber-band drag in Bild1, ${moves} pointer moves`);
console.log(`main-thread CPU per move ${perMove.toFixed(3)} ms (handler, painting and the browser's own work)`);
await browser.close();
await server.close();
