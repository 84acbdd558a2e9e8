// The page's desktop for the game's windows: it makes a window with its title bar, menu bar and
// canvas for each window the program loads, hands the pointer, the menus and the close buttons to
// the program (fnork.js), and offers the program the drawing primitives it paints with.
"use strict";

const Desktop = (() => {
  const windows = new Map();  // by the program's number for the window
  const pictures = [];        // by the program's number for the picture
  let front = null;           // the window in front
  let zOrder = 0;
  let painting = null;        // the window being painted
  let audio = null;
  let openMenu = null;        // {win, top} of the drop-down that is open
  let firstPaint = false;
  const desktop = document.getElementById("desktop");
  const ratio = () => window.devicePixelRatio || 1;

  // ---- calls into the program; whatever it changed is painted before the event is over ----

  function call(name, ...args) {
    if (!window.Module || !Module["_" + name]) return;
    Module["_" + name](...args);
    paintAll();
  }

  function paintAll() {
    // The frame that first shows a window is marked once, for the benchmark.
    if (!firstPaint && windows.size) {
      firstPaint = true;
      requestAnimationFrame(() => performance.mark("fnork-first-paint"));
    }
    for (const win of windows.values()) {
      const d = win.dirty;
      if (!d) continue;
      win.dirty = null;
      const ctx = win.ctx;
      ctx.save();
      ctx.setTransform(win.ratio, 0, 0, win.ratio, 0, 0);
      ctx.beginPath();
      ctx.rect(d[0], d[1], d[2] - d[0], d[3] - d[1]);
      ctx.clip();
      painting = win;
      try {
        Module._desktop_paint(win.id, d[0], d[1], d[2], d[3]);
      } finally {
        painting = null;
        ctx.restore();
      }
    }
  }

  // ---- windows ----

  // A caption with "&" before its access key: the text, and the key.
  function parseCaption(caption) {
    let text = "", key = "", at = -1;
    for (let i = 0; i < caption.length; ++i) {
      if (caption[i] === "&" && i + 1 < caption.length) {
        ++i;
        if (caption[i] !== "&" && at < 0) {
          at = text.length;
          key = caption[i].toLowerCase();
        }
      }
      text += caption[i];
    }
    return {text, key, at};
  }

  function captionNode(caption) {
    const {text, at} = parseCaption(caption);
    const span = document.createElement("span");
    if (at < 0) {
      span.textContent = text;
    } else {
      const u = document.createElement("u");
      u.textContent = text[at];
      span.append(text.slice(0, at), u, text.slice(at + 1));
    }
    return span;
  }

  function create(id, caption, width, height) {
    const el = document.createElement("div");
    el.className = "window";
    el.setAttribute("role", "dialog");
    el.setAttribute("aria-labelledby", "title-" + id);
    el.hidden = true;
    const bar = document.createElement("div");
    bar.className = "titlebar";
    const icon = document.createElement("img");
    icon.src = "icon-32.png";
    icon.alt = "";
    const title = document.createElement("div");
    title.className = "title";
    title.id = "title-" + id;
    title.textContent = caption;
    const close = document.createElement("button");
    close.className = "close";
    close.setAttribute("aria-label", "Stäng");
    close.textContent = "×";
    bar.append(icon, title, close);
    const menubar = document.createElement("div");
    menubar.className = "menubar";
    menubar.setAttribute("role", "menubar");
    const canvas = document.createElement("canvas");
    el.append(bar, menubar, canvas);
    desktop.append(el);
    const win = {id, el, canvas, ctx: canvas.getContext("2d"), menubar, tops: [], entries: [],
                 width, height, ratio: 1, dirty: null, pointer: null, buttons: 0, shown: false};
    windows.set(id, win);
    fitCanvas(win);

    el.addEventListener("pointerdown", () => toFront(win), true);
    close.addEventListener("click", () => call("desktop_close", id));
    dragToMove(win, title);
    pointerInput(win);
  }

  function fitCanvas(win) {
    win.ratio = ratio();
    win.canvas.style.width = win.width + "px";
    win.canvas.style.height = win.height + "px";
    win.canvas.width = Math.round(win.width * win.ratio);
    win.canvas.height = Math.round(win.height * win.ratio);
    invalidate(win.id, 0, 0, win.width, win.height);
  }

  function show(id) {
    const win = windows.get(id);
    if (!win) return;
    if (!win.shown) {
      // Centred on the desktop the first time.
      win.shown = true;
      win.el.hidden = false;
      const left = Math.max(0, (desktop.clientWidth - win.el.offsetWidth) / 2);
      const top = Math.max(0, (desktop.clientHeight - win.el.offsetHeight) / 2);
      win.el.style.left = Math.round(left) + "px";
      win.el.style.top = Math.round(top) + "px";
    }
    toFront(win);
  }

  function toFront(win) {
    if (front === win) return;
    if (front) front.el.classList.remove("active");
    front = win;
    win.el.style.zIndex = String(++zOrder);
    win.el.classList.add("active");
  }

  function destroy(id) {
    const win = windows.get(id);
    if (!win) return;
    if (openMenu && openMenu.win === win) openMenu = null;
    windows.delete(id);
    win.el.remove();
    if (front === win) {
      front = null;
      let top = null;
      for (const w of windows.values())
        if (!top || Number(w.el.style.zIndex) > Number(top.el.style.zIndex)) top = w;
      if (top) toFront(top);
    }
  }

  function dragToMove(win, handle) {
    let from = null;
    handle.addEventListener("pointerdown", (e) => {
      if (e.button !== 0) return;
      from = {x: e.clientX - win.el.offsetLeft, y: e.clientY - win.el.offsetTop, id: e.pointerId};
      handle.setPointerCapture(e.pointerId);
      e.preventDefault();
    });
    handle.addEventListener("pointermove", (e) => {
      if (!from || e.pointerId !== from.id) return;
      win.el.style.left = Math.round(e.clientX - from.x) + "px";
      win.el.style.top = Math.max(0, Math.round(e.clientY - from.y)) + "px";
    });
    const end = () => { from = null; };
    handle.addEventListener("pointerup", end);
    handle.addEventListener("pointercancel", end);
  }

  // ---- the mouse, pen or finger on the client area, in twips ----

  const BUTTONS = [1, 4, 2];  // the pointer's button 0, 1, 2 as the program numbers them

  function pointerInput(win) {
    const c = win.canvas;
    const send = (kind, button, e) => {
      const r = c.getBoundingClientRect();
      const shift = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
      call("desktop_mouse", win.id, kind, button, shift, (e.clientX - r.left) * 15,
           (e.clientY - r.top) * 15);
    };
    const held = (e) => e.pointerType === "mouse" ? e.buttons & 7 : 1;
    c.addEventListener("pointerdown", (e) => {
      e.preventDefault();
      closeMenu();
      // A second finger (or pen) while one is down takes no part.
      if (win.pointer !== null && win.pointer !== e.pointerId) return;
      win.pointer = e.pointerId;
      c.setPointerCapture(e.pointerId);
      win.buttons = held(e);
      send(0, BUTTONS[e.button] || 1, e);
    });
    c.addEventListener("pointermove", (e) => {
      if (win.pointer !== null && win.pointer !== e.pointerId) return;
      if (win.pointer === null && e.pointerType !== "mouse") return;
      // A second mouse button pressed or let go while one is held.
      if (win.pointer !== null && e.button >= 0 && BUTTONS[e.button]) {
        const b = BUTTONS[e.button];
        win.buttons = held(e);
        send(win.buttons & b ? 0 : 2, b, e);
        return;
      }
      send(1, win.pointer === null ? held(e) : win.buttons, e);
    });
    const up = (e) => {
      if (win.pointer !== e.pointerId) return;
      win.buttons = e.pointerType === "mouse" ? e.buttons & 7 : 0;
      if (win.buttons === 0) win.pointer = null;
      send(2, BUTTONS[e.button] || 1, e);
    };
    c.addEventListener("pointerup", up);
    // The browser or the system took the pointer away: the window no longer keeps the mouse.
    const lost = (e) => {
      if (win.pointer !== e.pointerId) return;
      win.pointer = null;
      win.buttons = 0;
      call("desktop_capture_lost", win.id);
    };
    c.addEventListener("pointercancel", lost);
    c.addEventListener("lostpointercapture", lost);
    c.addEventListener("contextmenu", (e) => e.preventDefault());
  }

  // ---- menus ----

  function menu(id, entry, level, caption, visible) {
    const win = windows.get(id);
    if (!win) return;
    const {text, key} = parseCaption(caption);
    if (level === 0) {
      const top = document.createElement("div");
      top.className = "menu";
      const button = document.createElement("button");
      button.setAttribute("role", "menuitem");
      button.setAttribute("aria-haspopup", "menu");
      button.setAttribute("aria-expanded", "false");
      button.setAttribute("aria-label", text);
      button.append(captionNode(caption));
      const list = document.createElement("div");
      list.className = "dropdown";
      list.setAttribute("role", "menu");
      list.setAttribute("aria-label", text);
      list.hidden = true;
      top.append(button, list);
      top.hidden = !visible;
      win.menubar.append(top);
      const t = {el: top, button, list, key, items: []};
      win.tops.push(t);
      win.entries[entry] = top;
      button.addEventListener("click", () => openMenu && openMenu.top === t ? closeMenu()
                                                                           : open(win, t, false));
      button.addEventListener("keydown", (e) => menuKey(e));
      return;
    }
    const t = win.tops[win.tops.length - 1];
    if (!t) return;
    let item;
    if (caption === "-") {
      item = document.createElement("hr");
      item.setAttribute("role", "separator");
    } else {
      item = document.createElement("button");
      item.setAttribute("role", "menuitem");
      item.setAttribute("aria-label", text);
      item.tabIndex = -1;
      item.append(captionNode(caption));
      item.addEventListener("click", () => choose(win, entry));
      item.addEventListener("keydown", (e) => menuKey(e));
    }
    item.hidden = !visible;
    t.list.append(item);
    t.items.push({el: item, key, entry, separator: caption === "-"});
    win.entries[entry] = item;
  }

  function menuVisible(id, entry, visible) {
    const win = windows.get(id);
    if (win && win.entries[entry]) win.entries[entry].hidden = !visible;
  }

  function open(win, t, focusFirst) {
    closeMenu();
    toFront(win);
    openMenu = {win, top: t};
    t.list.hidden = false;
    t.button.setAttribute("aria-expanded", "true");
    // An open menu takes the mouse: a button let go over it never reaches the window.
    if (win.pointer !== null) {
      try {
        win.canvas.releasePointerCapture(win.pointer);
      } catch (e) {}
      win.pointer = null;
      win.buttons = 0;
    }
    call("desktop_capture_lost", win.id);
    const first = t.items.find((i) => !i.separator && !i.el.hidden);
    (focusFirst && first ? first.el : t.button).focus();
  }

  function closeMenu() {
    if (!openMenu) return;
    const {top} = openMenu;
    openMenu = null;
    top.list.hidden = true;
    top.button.setAttribute("aria-expanded", "false");
  }

  function choose(win, entry) {
    closeMenu();
    call("desktop_menu", win.id, entry);
  }

  function menuKey(e) {
    if (!openMenu) return;
    const {win, top} = openMenu;
    const items = top.items.filter((i) => !i.separator && !i.el.hidden);
    const at = items.findIndex((i) => i.el === document.activeElement);
    if (e.key === "Escape") {
      closeMenu();
      top.button.focus();
    } else if (e.key === "ArrowDown" || e.key === "ArrowUp") {
      const step = e.key === "ArrowDown" ? 1 : items.length - 1;
      const next = items[(at + step + (at < 0 ? 1 - step : 0)) % items.length];
      if (next) next.el.focus();
    } else if (e.key.length === 1 && !e.altKey) {
      const item = items.find((i) => i.key === e.key.toLowerCase());
      if (item) choose(win, item.entry);
    } else {
      return;
    }
    e.preventDefault();
    e.stopPropagation();
  }

  // Alt and a menu's access key open that menu of the window in front.
  document.addEventListener("keydown", (e) => {
    if (openMenu) return menuKey(e);
    if (!e.altKey || !front || e.key.length !== 1) return;
    const t = front.tops.find((t) => t.key === e.key.toLowerCase() && !t.el.hidden);
    if (!t) return;
    e.preventDefault();
    open(front, t, true);
  });
  document.addEventListener("pointerdown", (e) => {
    if (openMenu && !openMenu.top.el.contains(e.target)) closeMenu();
  }, true);

  // ---- painting: CSS pixels of the client area, scaled to the device ----

  function invalidate(id, left, top, right, bottom) {
    const win = windows.get(id);
    if (!win) return;
    left = Math.max(0, left);
    top = Math.max(0, top);
    right = Math.min(win.width, right);
    bottom = Math.min(win.height, bottom);
    if (right <= left || bottom <= top) return;
    const d = win.dirty;
    win.dirty = d ? [Math.min(d[0], left), Math.min(d[1], top), Math.max(d[2], right),
                     Math.max(d[3], bottom)]
                  : [left, top, right, bottom];
    if (!scheduled) {
      scheduled = true;
      queueMicrotask(() => {
        scheduled = false;
        paintAll();
      });
    }
  }
  let scheduled = false;

  const css = (rgb) => "#" + rgb.toString(16).padStart(6, "0");

  function picture(n, gif, svg, width, height) {
    const load = (bytes, type) => {
      if (!bytes) return null;
      const img = new Image();
      img.src = URL.createObjectURL(new Blob([bytes], {type}));
      return img;
    };
    const p = {gif: load(gif, "image/gif"), svg: load(svg, "image/svg+xml"), width, height,
               ready: false};
    pictures[n] = p;
    Promise.all([p.gif, p.svg].filter(Boolean).map((img) => img.decode())).then(() => {
      p.ready = true;
      for (const win of windows.values()) invalidate(win.id, 0, 0, win.width, win.height);
    }, () => {});
  }

  const draw = {
    fillRect(x, y, w, h, rgb) {
      painting.ctx.fillStyle = css(rgb);
      painting.ctx.fillRect(x, y, w, h);
    },
    // At one device pixel to a pixel the GIF itself; above that its drawing, which the browser
    // draws at the device's resolution.
    drawPicture(n, x, y) {
      const p = pictures[n];
      if (!p || !p.ready) return;
      const ctx = painting.ctx;
      ctx.imageSmoothingEnabled = false;
      ctx.drawImage(painting.ratio > 1 && p.svg ? p.svg : p.gif, x, y, p.width, p.height);
    },
    // An inverting line inverts what lies under it: white, by difference.
    drawLine(x1, y1, x2, y2, width, rgb, invert) {
      const ctx = painting.ctx;
      ctx.lineWidth = width;
      ctx.lineCap = "round";
      ctx.strokeStyle = invert ? "#ffffff" : css(rgb);
      ctx.globalCompositeOperation = invert ? "difference" : "source-over";
      ctx.beginPath();
      ctx.moveTo(x1, y1);
      ctx.lineTo(x2, y2);
      ctx.stroke();
      ctx.globalCompositeOperation = "source-over";
    },
    fillCircle(x, y, d, fill, outline) {
      const ctx = painting.ctx;
      ctx.beginPath();
      ctx.arc(x + d / 2, y + d / 2, d / 2 - 0.5, 0, 2 * Math.PI);
      ctx.fillStyle = css(fill);
      ctx.fill();
      ctx.lineWidth = 1;
      ctx.strokeStyle = css(outline);
      ctx.stroke();
    },
    drawText(x, y, w, text, font, rgb) {
      const ctx = painting.ctx;
      ctx.font = font;
      ctx.fillStyle = css(rgb);
      ctx.textAlign = "center";
      ctx.textBaseline = "top";
      ctx.fillText(text, x + w / 2, y);
    },
  };

  // The system's colours: the button face, the button text and the window text.
  const systemColor = (which) => [0x000000, 0xf0f0f0, 0x000000, 0x000000][which] ?? 0;

  // The completion beep: started inside the release that finished the picture.
  function beep() {
    try {
      audio = audio || new AudioContext();
      audio.resume();
      const tone = audio.createOscillator(), gain = audio.createGain();
      tone.frequency.value = 880;
      gain.gain.setValueAtTime(0.2, audio.currentTime);
      gain.gain.exponentialRampToValueAtTime(0.001, audio.currentTime + 0.25);
      tone.connect(gain).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.25);
      Desktop.beeps++;
    } catch (e) {}
  }

  function quit() {
    for (const id of [...windows.keys()]) destroy(id);
    document.getElementById("status").textContent =
      "Fnork till fnork är slut. Ladda om sidan för att börja igen.";
  }

  // A screen of another pixel density: every canvas anew at the device's resolution.
  function watchRatio() {
    const media = matchMedia(`(resolution: ${ratio()}dppx)`);
    media.addEventListener("change", () => {
      for (const win of windows.values()) fitCanvas(win);
      paintAll();
      watchRatio();
    }, {once: true});
  }
  watchRatio();

  // A page that is hidden loses the pointer.
  document.addEventListener("visibilitychange", () => {
    if (!document.hidden) return;
    for (const win of windows.values())
      if (win.pointer !== null) {
        win.pointer = null;
        win.buttons = 0;
        call("desktop_capture_lost", win.id);
      }
  });

  return {create, show, destroy, menu, menuVisible, invalidate, picture, systemColor, beep, quit,
          ...draw, beeps: 0};
})();

// The program (fnork.js, loaded beside this file) starts once the fonts it draws with are there.
var Module = {
  preRun: [() => {
    Module.addRunDependency("fonts");
    Promise.all([document.fonts.load('700 64px "Comic Neue"'), document.fonts.load('12px "DejaVu Sans"')])
      .catch(() => {})
      .then(() => Module.removeRunDependency("fonts"));
  }],
};

if ("serviceWorker" in navigator) {
  addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(() => {}));
}
