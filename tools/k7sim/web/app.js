// The cockpit trainer's page: draws the windows the server's draw lists describe with the
// module's bitmaps, sends the mouse to the module's click areas, plays its sounds, and shows the
// simulator's side, the state, the key events, the windows and scenarios in the drawer.
"use strict";

const $ = (id) => document.getElementById(id);
const MOUSE = { move: 0x00400000, repeat: 0x00200000, leftrelease: 0x00020000, rightrelease: 0x00080000 };
// The simulator's cursors by number (CURSOR_NONE .. CURSOR_GRAB).
const CURSORS = { "-1": "default", 0: "default", 1: "n-resize", 2: "s-resize", 3: "w-resize",
  4: "e-resize", 5: "pointer", 6: "crosshair", 7: "grab" };
// What the drawer shows of the simulator: [label, token, kind].
const SIM_VALUES = [
  ["on the ground", 0x03C, "bool"], ["airspeed (kt)", 0x03D, "number"],
  ["altitude (ft)", 0x04A, "number"], ["radio height", 0x266, "number"],
  ["time: hours", 0x003, "number"], ["time: minutes", 0x004, "number"],
  ["left throttle", 0x22E, "number"], ["right throttle", 0x238, "number"],
  ["left fuel lever", 0x230, "number"], ["right fuel lever", 0x23A, "number"],
  ["left fuel valve", 0x37F, "bool"], ["right fuel valve", 0x380, "bool"],
  ["left fuel selector", 0x133, "number"], ["right fuel selector", 0x38A, "number"],
  ["left N2 (%)", 0x271, "number"], ["right N2 (%)", 0x284, "number"],
];
const watched = SIM_VALUES.map((v) => v[1]);

const k7 = {
  panel: null, windows: new Map(), zoom: 0.75, frame: null, night: false,
  soundSeen: null, cockpit: 0, scenarioVersion: -1, soundsStarted: 0,
  // frame statistics for the page's own measurement: the time to draw, the time between frames
  stats: { frames: 0, drawMs: 0, drawMax: 0, intervalMs: 0, last: 0, samples: [] },
};
window.k7 = k7;

// ---- talking to the server

function showError(message) {
  $("error-text").textContent = message;
  $("error").hidden = false;
}
$("error-close").onclick = () => { $("error").hidden = true; };

async function api(path, body) {
  const init = body === undefined ? {} :
    { method: "POST", headers: { "Content-Type": "application/json" }, body: JSON.stringify(body) };
  let res;
  try {
    res = await fetch(path, init);
  } catch (e) {
    showError("the server does not answer: " + e);
    throw e;
  }
  const type = res.headers.get("Content-Type") || "";
  const data = type.startsWith("application/json") ? await res.json() : await res.text();
  if (!res.ok) {
    showError((data && data.error) || ("refused: " + res.status));
    throw new Error(data && data.error);
  }
  return data;
}

// ---- bitmaps: each loaded once, in the plain, black-is-clear and dimmed (night) copies

const images = new Map();
function image(id, transparent, dim) {
  const key = id + ":" + transparent + ":" + dim;
  let entry = images.get(key);
  if (entry) return entry.ready ? entry.canvas : null;
  entry = { ready: false, canvas: null };
  images.set(key, entry);
  const img = new Image();
  img.onload = () => {
    const c = document.createElement("canvas");
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext("2d");
    g.drawImage(img, 0, 0);
    if (dim) { // at night unlit artwork keeps a third of its light
      g.globalCompositeOperation = "source-atop";
      g.fillStyle = "rgba(0,0,0,0.7)";
      g.fillRect(0, 0, c.width, c.height);
    }
    entry.canvas = c;
    entry.ready = true;
    for (const w of k7.windows.values()) w.drawn = null; // draw again with it
  };
  img.src = "/api/bitmap/" + id + "?transparent=" + (transparent ? 1 : 0);
  return null;
}

// ---- windows

const scratch = document.createElement("canvas");

function colour(ref) { // 0x00BBGGRR
  return "rgb(" + (ref & 255) + "," + ((ref >> 8) & 255) + "," + ((ref >> 16) & 255) + ")";
}

// Draws one item of a draw list; `z` scales window pixels to canvas pixels.
function drawItem(ctx, it, night, z) {
  const flags = it[1];
  const dim = night && !(flags & 2);
  if (flags & 4) {
    const [bx, by, bw, bh, text, fg, bg] = it.slice(8);
    ctx.setTransform(z * it[2], z * it[3], z * it[4], z * it[5], z * it[6], z * it[7]);
    ctx.fillStyle = colour(bg);
    ctx.fillRect(bx * z, by * z, bw * z, bh * z);
    ctx.fillStyle = colour(fg);
    ctx.font = "bold " + (bh * 0.8) + "px 'DejaVu Sans Mono', monospace";
    ctx.fillText(text, bx + 1, by + bh * 0.8);
    return true;
  }
  const img = image(it[0], flags & 1 ? 1 : 0, dim ? 1 : 0);
  if (!img) return false;
  if (it.length > 8) { // slides or turns behind its mask
    const mask = image(it[8], 1, 0);
    if (!mask) return false;
    const m = new DOMMatrix([it[9], it[10], it[11], it[12], it[13], it[14]]);
    const t = m.inverse().multiply(new DOMMatrix([it[2], it[3], it[4], it[5], it[6], it[7]]));
    if (scratch.width < mask.width) scratch.width = mask.width;
    if (scratch.height < mask.height) scratch.height = mask.height;
    const s = scratch.getContext("2d");
    s.setTransform(1, 0, 0, 1, 0, 0);
    s.clearRect(0, 0, mask.width, mask.height);
    s.setTransform(t);
    s.drawImage(img, 0, 0);
    s.setTransform(1, 0, 0, 1, 0, 0);
    s.globalCompositeOperation = "destination-in";
    s.drawImage(mask, 0, 0);
    s.globalCompositeOperation = "source-over";
    ctx.setTransform(new DOMMatrix([z, 0, 0, z, 0, 0]).multiply(m));
    ctx.drawImage(scratch, 0, 0, mask.width, mask.height, 0, 0, mask.width, mask.height);
    return true;
  }
  ctx.setTransform(z * it[2], z * it[3], z * it[4], z * it[5], z * it[6], z * it[7]);
  ctx.drawImage(img, 0, 0);
  return true;
}

// Draws what changed: the boxes of the gauges whose draw lists differ from the last frame's,
// each with everything that lies in it (the whole window after a bitmap came or the light changed).
function drawWindow(w, gauges) {
  const ctx = w.canvas.getContext("2d");
  const info = w.info.gauges;
  const keys = gauges.map((items) => JSON.stringify(items));
  const z = k7.zoom;
  const all = !w.drawn || w.night !== k7.night;
  const dirty = [];
  for (let i = 0; i < keys.length; ++i) if (all || keys[i] !== w.drawn[i]) dirty.push(i);
  if (!dirty.length) return;
  const whole = all || dirty.length > info.length / 3;
  const boxes = whole ? [[0, 0, w.info.width, w.info.height]] :
    dirty.map((i) => [Math.floor(info[i].x) - 1, Math.floor(info[i].y) - 1,
      Math.ceil(info[i].w) + 2, Math.ceil(info[i].h) + 2]);
  let complete = true;
  for (const [bx, by, bw, bh] of boxes) {
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.beginPath();
    ctx.rect(bx * z, by * z, bw * z, bh * z);
    ctx.clip();
    ctx.fillStyle = "rgb(" + ((w.info.background >> 16) & 255) + "," +
      ((w.info.background >> 8) & 255) + "," + (w.info.background & 255) + ")";
    ctx.fillRect(bx * z, by * z, bw * z, bh * z);
    for (let i = 0; i < gauges.length; ++i) {
      const g = info[i];
      if (!whole && (g.x > bx + bw || g.y > by + bh || g.x + g.w < bx || g.y + g.h < by)) continue;
      for (const it of gauges[i]) complete = drawItem(ctx, it, k7.night, z) && complete;
    }
    ctx.restore();
  }
  w.drawn = complete ? keys : null; // missing bitmaps: everything again when they come
  w.night = k7.night;
}

// The canvas holds the window at the zoom's size: no scaling when the page is composed.
function sizeCanvas(w) {
  w.canvas.width = Math.round(w.info.width * k7.zoom);
  w.canvas.height = Math.round(w.info.height * k7.zoom);
  w.drawn = null;
}

function makeWindow(info) {
  const canvas = document.createElement("canvas");
  canvas.dataset.window = info.ident;
  const w = { info, canvas, element: null, drawn: null, open: info.main };
  sizeCanvas(w);
  if (info.main) {
    $("main-window").appendChild(canvas);
    w.element = canvas;
  } else {
    const box = document.createElement("div");
    box.className = "popup";
    box.id = "window-" + info.ident;
    box.hidden = true;
    const title = document.createElement("div");
    title.className = "title";
    title.innerHTML = "<span></span><button title='Close'>×</button>";
    title.firstChild.textContent = info.title || ("window " + info.ident);
    title.lastChild.onclick = () => api("/api/window", { ident: info.ident, action: "close" });
    box.appendChild(title);
    box.appendChild(canvas);
    const n = k7.windows.size;
    box.style.left = 40 + (n % 8) * 30 + "px";
    box.style.top = 40 + (n % 8) * 30 + "px";
    draggable(box, title);
    $("cockpit").appendChild(box);
    w.element = box;
  }
  attachMouse(w);
  k7.windows.set(info.ident, w);
}

function draggable(box, handle) {
  handle.addEventListener("pointerdown", (e) => {
    if (e.target.tagName === "BUTTON") return;
    const x0 = e.clientX - box.offsetLeft, y0 = e.clientY - box.offsetTop;
    handle.setPointerCapture(e.pointerId);
    const move = (m) => {
      box.style.left = m.clientX - x0 + "px";
      box.style.top = m.clientY - y0 + "px";
    };
    const up = () => {
      handle.removeEventListener("pointermove", move);
      handle.removeEventListener("pointerup", up);
    };
    handle.addEventListener("pointermove", move);
    handle.addEventListener("pointerup", up);
    bringToFront(box);
  });
}

let topZ = 10;
function bringToFront(box) { box.style.zIndex = ++topZ; }

// ---- the mouse

// The gauge and click area under a window point (window pixels); the gauge drawn last is on top.
function hit(w, x, y) {
  const gauges = w.info.gauges;
  for (let i = gauges.length - 1; i >= 0; --i) {
    const g = gauges[i];
    if (x < g.x || y < g.y || x >= g.x + g.w || y >= g.y + g.h) continue;
    const gx = (x - g.x) / g.sx, gy = (y - g.y) / g.sy;
    for (const a of g.areas)
      if (gx >= a[0] && gy >= a[1] && gx < a[0] + a[2] && gy < a[1] + a[3]) return { gauge: g, area: a };
    if (g.tooltip || g.areas.length) return { gauge: g, area: null };
  }
  return null;
}

let audio = null;
function wakeAudio() {
  if (!audio) audio = new (window.AudioContext || window.webkitAudioContext)();
  if (audio.state === "suspended") audio.resume();
}

function send(w, x, y, button) {
  return api("/api/click", { window: w.info.ident, x, y, button }).then(poll).catch(() => {});
}

function attachMouse(w) {
  const c = w.canvas;
  const at = (e) => [e.offsetX / k7.zoom, e.offsetY / k7.zoom];
  let held = null, moveBusy = false;
  c.addEventListener("contextmenu", (e) => e.preventDefault());
  c.addEventListener("mousemove", (e) => {
    const [x, y] = at(e);
    const h = hit(w, x, y);
    c.style.cursor = h && h.area ? CURSORS[h.area[4]] || "default" : "default";
    const tip = $("tooltip");
    if (h && h.gauge.tooltip) {
      tip.textContent = h.gauge.tooltip;
      tip.style.left = e.clientX + 14 + "px";
      tip.style.top = e.clientY + 16 + "px";
      tip.hidden = false;
    } else {
      tip.hidden = true;
    }
    if (held) { held.x = x; held.y = y; }
    if (h && h.area && (h.area[5] & MOUSE.move) && !moveBusy) {
      moveBusy = true;
      send(w, x, y, "move").finally(() => { moveBusy = false; });
    }
  });
  c.addEventListener("mouseleave", () => { $("tooltip").hidden = true; stop(); });
  c.addEventListener("mousedown", (e) => {
    wakeAudio();
    if (!w.info.main) bringToFront(w.element);
    const [x, y] = at(e);
    const button = e.button === 2 ? "right" : e.button === 1 ? "middle" : "left";
    const h = hit(w, x, y);
    send(w, x, y, button);
    // A held button repeats while the area asks for it, as the simulator repeats it.
    held = { x, y, button, area: h && h.area, timer: null };
    if (held.area && (held.area[5] & MOUSE.repeat)) {
      const repeat = () => {
        if (!held) return;
        send(w, held.x, held.y, "repeat");
        held.timer = setTimeout(repeat, 1000 / 9);
      };
      held.timer = setTimeout(repeat, 300);
    }
  });
  const stop = () => {
    if (!held) return;
    clearTimeout(held.timer);
    const release = held.button === "right" ? "rightrelease" : "leftrelease";
    if (held.area && (held.area[5] & MOUSE[release])) send(w, held.x, held.y, release);
    held = null;
  };
  c.addEventListener("mouseup", stop);
}

// ---- sounds: the module's sound log, played from the same WAV data

const sounds = { buffers: new Map(), playing: new Map(), gains: new Map() };

async function soundBuffer(name) {
  if (!sounds.buffers.has(name)) {
    sounds.buffers.set(name, fetch("/api/sound/" + encodeURIComponent(name))
      .then((r) => (r.ok ? r.arrayBuffer() : Promise.reject(new Error(name))))
      .then((data) => audio.decodeAudioData(data)));
  }
  return sounds.buffers.get(name);
}

function gainOf(name) { // hundredths of a decibel to a gain
  return Math.pow(10, (sounds.gains.get(name) || 0) / 2000);
}

function stopSound(name) {
  const p = sounds.playing.get(name);
  if (p) { try { p.source.stop(); } catch (e) { /* already ended */ } }
  sounds.playing.delete(name);
}

async function playSound(name, loop) {
  stopSound(name);
  if (!audio) return;
  try {
    const buffer = await soundBuffer(name);
    const source = audio.createBufferSource();
    const gain = audio.createGain();
    source.buffer = buffer;
    source.loop = loop;
    gain.gain.value = gainOf(name);
    source.connect(gain).connect(audio.destination);
    source.start();
    k7.soundsStarted++;
    sounds.playing.set(name, { source, gain });
    source.onended = () => { if (sounds.playing.get(name)?.source === source) sounds.playing.delete(name); };
  } catch (e) { /* a sound the module released before we fetched it */ }
}

function logLine(list, text, keep) {
  const li = document.createElement("li");
  li.textContent = text;
  list.appendChild(li);
  while (list.children.length > keep) list.removeChild(list.firstChild);
  list.scrollTop = list.scrollHeight;
}

function takeSounds(s) {
  if (k7.soundSeen === null) { k7.soundSeen = s.count; return; } // history is not replayed
  for (const [seq, kind, name, value] of s.ops) {
    if (seq <= k7.soundSeen) continue;
    if (kind === "volume") {
      sounds.gains.set(name, value);
      const p = sounds.playing.get(name);
      if (p) p.gain.gain.value = gainOf(name);
      continue;
    }
    logLine($("sounds"), "t=" + k7.frame.time.toFixed(1) + " " + name + " " +
      (kind === "stop" ? "stopped" : value ? "looped" : "played"), 60);
    if (kind === "play") playSound(name, value !== 0);
    else stopSound(name);
  }
  k7.soundSeen = s.count;
  // what the device says is not playing does not play here either
  const live = new Set(s.buffers.filter((b) => b[1]).map((b) => b[0]));
  for (const name of [...sounds.playing.keys()]) if (!live.has(name)) stopSound(name);
}

// ---- the frame

// Frames come pushed on one stream; only the latest is drawn when the page falls behind.
let stream = null, latest = null, scheduled = false;
function follow() {
  if (stream) stream.close();
  stream = new EventSource("/api/stream?tokens=" + watched.join(","));
  stream.onmessage = (e) => {
    latest = e.data;
    if (!scheduled) {
      scheduled = true;
      setTimeout(() => {
        scheduled = false;
        const text = latest;
        latest = null;
        if (text) takeFrame(JSON.parse(text));
      }, 0);
    }
  };
  stream.onopen = () => { $("error").hidden = true; };
  stream.onerror = () => showError("lost the cockpit's frames; trying again");
}
function poll() { /* the stream brings the change */ }

function takeFrame(f) {
  k7.frame = f;
  k7.night = f.night;
  if (f.cockpit !== k7.cockpit) { // a fresh cockpit: its sounds start again
    for (const name of [...sounds.playing.keys()]) stopSound(name);
    sounds.buffers.clear();
    k7.soundSeen = null;
    $("keys").innerHTML = "";
    k7.cockpit = f.cockpit;
  }
  const t0 = performance.now();
  const open = new Set(f.open.map(Number));
  for (const [ident, w] of k7.windows) {
    if (w.info.main) continue;
    const isOpen = open.has(ident);
    if (isOpen && !w.open) bringToFront(w.element);
    w.open = isOpen;
    w.element.hidden = !isOpen;
    if (!isOpen) w.drawn = null;
  }
  for (const [ident, gauges] of Object.entries(f.windows)) {
    const w = k7.windows.get(Number(ident));
    if (w && gauges.length === w.info.gauges.length) drawWindow(w, gauges);
  }
  measure(performance.now() - t0);
  takeSounds(f.sound);
  showFrame(f);
}

function measure(drawMs) {
  const s = k7.stats;
  const now = performance.now();
  if (s.last) s.samples.push(now - s.last);
  if (s.samples.length > 90) s.samples.shift();
  s.last = now;
  s.frames++;
  s.drawMs = s.drawMs ? s.drawMs * 0.9 + drawMs * 0.1 : drawMs;
  s.drawMax = Math.max(s.drawMax, drawMs);
  s.intervalMs = s.samples.length ? s.samples.reduce((a, b) => a + b, 0) / s.samples.length : 0;
  $("perf").textContent = "draw " + s.drawMs.toFixed(1) + " ms, " +
    (s.intervalMs ? (1000 / s.intervalMs).toFixed(1) : "–") + " frames/s";
}

function showFrame(f) {
  $("clock").textContent = "t=" + f.time.toFixed(1) + " s" + (f.night ? " (night)" : "");
  $("pause").textContent = f.paused ? "Resume" : "Pause";
  $("pause").classList.toggle("on", f.paused);
  for (const b of document.querySelectorAll(".speed")) b.classList.toggle("on", Number(b.dataset.speed) === f.speed);
  // simulator values
  for (const [id, value] of Object.entries(f.tokens)) {
    const cell = document.querySelector("#sim-values [data-token='" + id + "'] .value");
    if (cell && document.activeElement !== cell.firstChild) {
      if (cell.firstChild.type === "checkbox") cell.firstChild.checked = value !== 0;
      else cell.firstChild.value = value;
    }
  }
  // key events
  const keys = f.keys;
  for (const [id, value, frame] of keys.recent)
    logLine($("keys"), "frame " + frame + "  0x" + id.toString(16).toUpperCase() + "  " + value, 300);
  $("key-count").textContent = keys.count + " in all";
  // windows list
  for (const box of document.querySelectorAll("#window-list input"))
    box.checked = f.open.includes(Number(box.dataset.ident));
  // scenario progress
  const s = f.scenario;
  $("progress").textContent = s.loaded ? s.name + ": line " + (s.finished ? "end" : s.line) +
    " of " + s.lines_total + (s.running ? " running" : "") +
    (s.pending ? " (" + (s.pending / k7.panel.fps).toFixed(1) + " s to go)" : "") + ", " +
    s.expectations + " checked, " + s.failures + " failed" : "";
  $("scenario-run").textContent = s.running ? "Stop" : "Run";
  if (s.version !== k7.scenarioVersion) {
    k7.scenarioVersion = s.version;
    showScenario();
  }
}

async function showScenario() {
  const s = await api("/api/scenario");
  const list = $("scenario-lines");
  list.innerHTML = "";
  if (!s.loaded) { $("scenario-summary").textContent = "no scenario loaded"; return; }
  $("scenario-summary").textContent = s.name + ": " + s.expectations + " expectations, " +
    s.failures + " failed, " + s.errors + " errors" + (s.finished ? " (finished)" : "");
  $("scenario-summary").dataset.finished = s.finished;
  s.lines.forEach((l, i) => {
    const li = document.createElement("li");
    li.value = l.number;
    li.className = l.status + (i === s.current ? " current" : "");
    li.dataset.status = l.status;
    li.textContent = l.text;
    if (l.output) {
      const pre = document.createElement("pre");
      pre.textContent = l.output;
      li.appendChild(pre);
    }
    list.appendChild(li);
  });
  const current = list.children[s.current];
  if (current) current.scrollIntoView({ block: "nearest" });
}

// ---- the drawer

function buildDrawer() {
  const table = $("sim-values");
  for (const [label, id, kind] of SIM_VALUES) addSimRow(table, label, id, kind);
  for (const b of document.querySelectorAll(".tab"))
    b.onclick = () => {
      for (const t of document.querySelectorAll(".tab")) t.classList.toggle("on", t === b);
      for (const p of document.querySelectorAll(".pane")) p.hidden = p.id !== "tab-" + b.dataset.tab;
      if (b.dataset.tab === "state") refreshState();
    };
  const wl = $("window-list");
  for (const w of k7.panel.windows) {
    if (w.main) continue;
    const li = document.createElement("li");
    li.innerHTML = "<label><input type='checkbox'> </label>";
    const box = li.querySelector("input");
    box.dataset.ident = w.ident;
    box.onchange = () => api("/api/window", { ident: w.ident, action: box.checked ? "open" : "close" }).then(poll);
    li.firstChild.appendChild(document.createTextNode(w.ident + " " + w.title));
    wl.appendChild(li);
  }
}

function addSimRow(table, label, id, kind) {
  const tr = document.createElement("tr");
  tr.dataset.token = id;
  tr.innerHTML = "<td></td><td class='range'></td><td class='value'><input></td>";
  tr.children[0].textContent = label;
  tr.children[1].textContent = "0x" + id.toString(16).toUpperCase();
  const input = tr.querySelector("input");
  if (kind === "bool") input.type = "checkbox"; else input.size = 9;
  input.onchange = () => {
    const value = kind === "bool" ? (input.checked ? 1 : 0) : Number(input.value);
    api("/api/token", { id, value: Number.isFinite(value) ? value : input.value }).then(poll).catch(() => {});
    input.blur();
  };
  table.appendChild(tr);
}

function parseId(text) {
  text = text.trim();
  return /^0x[0-9a-f]+$/i.test(text) ? parseInt(text, 16) : /^[0-9]+$/.test(text) ? Number(text) : text;
}

$("token-set").onclick = () => {
  const v = Number($("token-value").value);
  api("/api/token", { id: parseId($("token-id").value), value: $("token-value").value.trim() !== "" && Number.isFinite(v) ? v : $("token-value").value })
    .then(poll).catch(() => {});
};
$("token-watch").onclick = () => {
  const id = parseId($("token-id").value);
  if (typeof id !== "number" || id > 65535) { showError("a token id is 0..65535 (0x... or decimal)"); return; }
  if (!watched.includes(id)) {
    watched.push(id);
    addSimRow($("sim-values"), "token", id, "number");
    follow();
  }
};

// state inspector: the filter's variables, live while the pane is shown
async function refreshState() {
  if ($("tab-state").hidden) return;
  const filter = $("state-filter").value.trim();
  const data = await api("/api/state?filter=" + encodeURIComponent(filter)).catch(() => null);
  if (!data) return;
  const table = $("state-table");
  const vars = data.variables.slice(0, 400);
  $("state-count").textContent = data.variables.length + " variables" + (data.variables.length > 400 ? " (400 shown)" : "");
  const rows = table.rows;
  for (let i = 0; i < vars.length; ++i) {
    const v = vars[i];
    let tr = rows[i];
    if (!tr || tr.dataset.name !== v.name) {
      tr = document.createElement("tr");
      tr.dataset.name = v.name;
      tr.title = v.meaning;
      tr.innerHTML = "<td></td><td class='range'></td><td class='value'></td>";
      tr.children[0].textContent = v.name;
      tr.children[1].textContent = v.lowest + ".." + v.highest;
      tr.children[2].onclick = () => editState(tr);
      if (rows[i]) table.replaceChild(tr, rows[i]); else table.appendChild(tr);
    }
    const cell = tr.children[2];
    if (!cell.querySelector("input")) cell.textContent = String(v.value);
  }
  while (rows.length > vars.length) table.deleteRow(rows.length - 1);
}

function editState(tr) {
  const cell = tr.children[2];
  if (cell.querySelector("input")) return;
  const input = document.createElement("input");
  input.size = 8;
  input.value = cell.textContent;
  cell.textContent = "";
  cell.appendChild(input);
  input.focus();
  input.select();
  const done = (set) => {
    const text = input.value;
    cell.removeChild(input);
    if (set) {
      const v = Number(text);
      api("/api/state", { name: tr.dataset.name, value: text.trim() !== "" && Number.isFinite(v) ? v : text })
        .then(refreshState).catch(() => {});
    }
    refreshState();
  };
  input.onkeydown = (e) => { if (e.key === "Enter") done(true); if (e.key === "Escape") done(false); };
  input.onblur = () => { if (input.parentNode) done(false); };
}
$("state-filter").oninput = refreshState;

// scenarios
$("scenario-file").onchange = async () => {
  const file = $("scenario-file").files[0];
  if (file) $("scenario-text").value = await file.text();
};
$("scenario-load").onclick = () => {
  const file = $("scenario-file").files[0];
  api("/api/scenario", { name: file ? file.name : "scenario", text: $("scenario-text").value, fresh: $("scenario-fresh").checked })
    .then(() => { $("error").hidden = true; poll(); }).catch(() => {});
};
$("scenario-step").onclick = () => api("/api/scenario/step", {}).then(poll).catch(() => {});
$("scenario-run").onclick = () =>
  api("/api/scenario/run", { run: !(k7.frame && k7.frame.scenario.running) }).then(poll).catch(() => {});

// the bar
$("pause").onclick = () => api("/api/run", { pause: !(k7.frame && k7.frame.paused) }).then(poll).catch(() => {});
$("step").onclick = () => api("/api/run", { step: 1 }).then(poll).catch(() => {});
for (const b of document.querySelectorAll(".speed"))
  b.onclick = () => api("/api/run", { speed: Number(b.dataset.speed) }).then(poll).catch(() => {});
$("reset").onclick = () => api("/api/reset", {}).then(poll).catch(() => {});
$("zoom").onchange = () => {
  k7.zoom = Number($("zoom").value);
  for (const w of k7.windows.values()) sizeCanvas(w);
};

// For tests: a digest of what is drawn in a gauge's box (window pixels).
k7.gaugePixels = (name) => {
  for (const w of k7.windows.values())
    for (const g of w.info.gauges)
      if (g.name === name) {
        const z = k7.zoom;
        const d = w.canvas.getContext("2d")
          .getImageData(g.x * z, g.y * z, Math.ceil(g.w * z), Math.ceil(g.h * z)).data;
        let h = 0;
        for (let i = 0; i < d.length; ++i) h = (h * 31 + d[i]) >>> 0;
        return h;
      }
  return null;
};

async function start() {
  k7.panel = await api("/api/panel");
  for (const info of k7.panel.windows) makeWindow(info);
  buildDrawer();
  setInterval(refreshState, 500);
  follow();
}
start();
