// Keeps the page's files so that the game starts without a network once it has been loaded.
const CACHE = "fnork-1";
const FILES = ["./", "index.html", "shell.js", "style.css", "fnork.js", "fnork.wasm",
               "manifest.webmanifest", "icon-32.png", "icon-192.png", "icon-512.png",
               "fonts/ComicNeue-Bold.otf", "fonts/DejaVuSans.ttf"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The network first, so that a new version is taken as soon as it is there; the cache when the
// network is out of reach.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(fetch(event.request)
    .then((response) => {
      const copy = response.clone();
      if (response.ok) caches.open(CACHE).then((cache) => cache.put(event.request, copy));
      return response;
    })
    .catch(() => caches.match(event.request, {ignoreSearch: true})));
});
