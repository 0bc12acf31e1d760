// The studio page: the running demo's timeline, live playhead, parameters and curves, and edits that the
// player writes back into the document. Plain JavaScript, no build step; the player serves this file.
//
// Sections: formatting and units, API client, live link, timeline view, parameter panel, curve view, and
// the Studio itself (state, selection, edits, undo, keyboard). `window.studio` is the Studio object; its
// `doc`, `state` and `selection` and the geometry helpers are what the tests look at.
"use strict";

// ---------------------------------------------------------------------------------------------------
// Formatting and units

const SNAP_MS = 10;

function clamp(value, low, high) {
  return Math.min(high, Math.max(low, value));
}

// 83456 -> "1:23.456"
function formatClock(ms) {
  const total = Math.max(0, Math.round(ms));
  const minutes = Math.floor(total / 60000);
  const seconds = Math.floor((total % 60000) / 1000);
  const millis = total % 1000;
  return `${minutes}:${String(seconds).padStart(2, "0")}.${String(millis).padStart(3, "0")}`;
}

// A number with at most `digits` decimals and no trailing zeros.
function formatNumber(value, digits = 4) {
  if (!Number.isFinite(value)) return String(value);
  return String(Number(value.toFixed(digits)));
}

function snapTime(ms) {
  return Math.round(ms / SNAP_MS) * SNAP_MS;
}

// A stable, pleasant colour for an effect name.
function effectHue(name) {
  let hash = 0;
  for (let i = 0; i < name.length; ++i) hash = (hash * 31 + name.charCodeAt(i)) | 0;
  return ((hash % 360) + 360) % 360;
}

// How a raw parameter word reads for a person, from the effect's description of that argument.
// Units written as a fixed-point factor ("x0.001", "/256") name no unit: the kind gives it.
class Units {
  constructor(description, afterRotate) {
    this.description = description || null;
    this.afterRotate = afterRotate; // 0, or 1..3: the angle about x, y or z following a rotate
  }

  get scale() {
    const scale = this.description && this.description.scale;
    return scale ? scale : 1;
  }

  get isAngle() {
    return this.afterRotate > 0 || (this.description && this.description.kind === "angle");
  }

  get kind() {
    if (this.afterRotate > 0) return "angle";
    return this.description ? this.description.kind : "unknown";
  }

  // The value in the unit shown (degrees for angles given in milliradians).
  real(raw) {
    if (this.isAngle) return (raw / this.scale / 1000) * (180 / Math.PI);
    return raw / this.scale;
  }

  raw(real) {
    return Math.round(this.exactRaw(real));
  }

  exactRaw(real) {
    return this.isAngle ? ((real * Math.PI) / 180) * 1000 * this.scale : real * this.scale;
  }

  get unit() {
    if (this.isAngle) return "°";
    const d = this.description;
    if (!d || !d.unit) return "";
    const fixedPoint = /^(x[0-9.]+|\/[0-9]+)/.test(d.unit);
    if (fixedPoint) {
      if (d.kind === "position") return "scene units";
      if (d.kind === "scale") return "×";
      return d.unit.includes("mrad") ? "rad" : "";
    }
    if (d.unit.includes("..") || d.unit.includes(",") || d.kind === "text" || d.kind === "colour") return "";
    return d.unit;
  }

  format(raw) {
    const unit = this.unit;
    return formatNumber(this.real(raw), this.isAngle ? 2 : 4) + (unit ? " " + unit : "");
  }

  tooltip() {
    const d = this.description;
    if (this.afterRotate > 0) return `angle about ${"xyz"[this.afterRotate - 1]} in milliradians, shown in degrees`;
    if (!d) return "not described by its library";
    const parts = [d.meaning || d.name];
    if (d.unit) parts.push(`unit: ${d.unit}`);
    if (d.minimum !== null && d.minimum !== undefined)
      parts.push(`range ${d.minimum} .. ${d.maximum === null || d.maximum === undefined ? "" : d.maximum}`);
    if (d.typicalText) parts.push(`typical: ${d.typicalText}`);
    else if (d.typical !== null && d.typical !== undefined) parts.push(`typical: ${d.typical}`);
    return parts.join("; ");
  }
}

// ---------------------------------------------------------------------------------------------------
// API client

class ApiError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

class Api {
  constructor() {
    // The cookie set with the page carries the token; a token in the address is sent as well, so that
    // a page whose cookie was refused still works.
    this.token = new URLSearchParams(window.location.search).get("token");
  }

  async call(method, path, body) {
    const options = { method, headers: {}, credentials: "same-origin", cache: "no-store" };
    if (this.token) options.headers["X-Vortel-Token"] = this.token;
    if (body !== undefined) {
      options.headers["Content-Type"] = "application/json";
      options.body = JSON.stringify(body);
    }
    let response;
    try {
      response = await fetch(path, options);
    } catch (error) {
      throw new ApiError(0, "The player does not answer; is it still running?");
    }
    const text = await response.text();
    let data = null;
    try {
      data = text ? JSON.parse(text) : null;
    } catch (error) {
      data = null;
    }
    if (!response.ok) {
      const reason = data && typeof data.error === "string" ? data.error : `${response.status} ${response.statusText}`;
      throw new ApiError(response.status, reason);
    }
    return data;
  }

  document() { return this.call("GET", "/api/document"); }
  state() { return this.call("GET", "/api/state"); }
  seek(time) { return this.call("POST", "/api/seek", { time: Math.round(time) }); }
  pause() { return this.call("POST", "/api/pause", {}); }
  play() { return this.call("POST", "/api/play", {}); }
  loop(from, to) { return this.call("POST", "/api/loop", { from: Math.round(from), to: Math.round(to) }); }
  loopOff() { return this.call("POST", "/api/loop", { off: true }); }
  edit(change) { return this.call("POST", "/api/edit", change); }
  undo() { return this.call("POST", "/api/undo", {}); }
  redo() { return this.call("POST", "/api/redo", {}); }
  waveform(points) { return this.call("GET", `/api/waveform?points=${points}`); }
  curve(track, event, param, step) {
    return this.call("GET", `/api/curve?track=${track}&event=${event}&param=${param}&step=${step}`);
  }
}

// ---------------------------------------------------------------------------------------------------
// Live link: the player's state 20 times a second over server-sent events. The browser retries a dropped
// stream by itself; a stream it gave up on, or one that went silent, is opened again here once `mayOpen`
// (which asks the player whether it answers us at all) says so.

class LiveLink {
  constructor(onState, onLinked, mayOpen) {
    this.onState = onState;
    this.onLinked = onLinked;
    this.mayOpen = mayOpen;
    this.source = null;
    this.lastMessage = 0;
    this.retry = null;
    setInterval(() => this.watch(), 1000);
  }

  open() {
    this.close();
    this.lastMessage = performance.now();
    const source = new EventSource("/api/events");
    source.onmessage = (message) => {
      this.lastMessage = performance.now();
      let state;
      try {
        state = JSON.parse(message.data);
      } catch (error) {
        return;
      }
      this.onLinked(true);
      this.onState(state);
    };
    source.onerror = () => {
      this.onLinked(false);
      if (source.readyState === EventSource.CLOSED) this.reopenSoon();
    };
    this.source = source;
  }

  close() {
    if (this.source) this.source.close();
    this.source = null;
  }

  reopenSoon() {
    if (this.retry) return;
    this.retry = setTimeout(async () => {
      if (await this.mayOpen()) this.open();
      this.retry = null;
    }, 1000);
  }

  watch() {
    if (this.source && performance.now() - this.lastMessage > 3000) {
      this.onLinked(false);
      this.close();
      this.reopenSoon();
    }
  }
}

// ---------------------------------------------------------------------------------------------------
// Canvas helpers

// Keeps a canvas's backing store at its CSS size times the device pixel ratio and calls `draw` after
// every change of size.
function fitCanvas(canvas, onResize) {
  const observer = new ResizeObserver(() => {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    onResize();
  });
  observer.observe(canvas);
}

function beginDraw(canvas) {
  const ctx = canvas.getContext("2d");
  const ratio = canvas.width / Math.max(1, canvas.clientWidth);
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  return ctx;
}

// A tick spacing (ms) from a list of round steps so that ticks stand at least `minPx` apart.
function niceStep(pxPerMs, minPx, steps) {
  for (const step of steps) if (step * pxPerMs >= minPx) return step;
  return steps[steps.length - 1];
}

const TIME_STEPS = [1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 15000, 30000, 60000, 120000,
  300000, 600000, 1200000, 3600000];

// ---------------------------------------------------------------------------------------------------
// Timeline view: ruler (seconds, bars and beats, loop range), waveform, and one row of event boxes per
// track. Only what is visible is drawn; each track keeps its events sorted by start with a running
// maximum of their ends, so the visible ones are found by binary search.

const LABEL_W = 64;
const SECONDS_H = 20;
const BEATS_H = 16;
const WAVE_H = 46;
const TRACK_H = 26;
const EDGE_PX = 6;

class TimelineView {
  constructor(studio, canvas, scroller, spacer) {
    this.studio = studio;
    this.canvas = canvas;
    this.scroller = scroller;
    this.spacer = spacer;
    this.pxPerMs = 0.1;
    this.viewStart = 0;
    this.scrollY = 0;
    this.fitted = false;
    this.rows = []; // per track: {order: [event indices by start], maxEnd: [running maximum of ends]}
    this.peaks = null; // {duration, peaks}
    this.drag = null;
    this.loopPreview = null;
    this.queued = false;
    // Everything but the playhead and the loop range is drawn into this layer, again only when the
    // document, the view or the selection changed; a playing demo only moves the playhead over it.
    this.layer = document.createElement("canvas");
    this.layerDirty = true;

    fitCanvas(canvas, () => {
      if (!this.fitted && this.studio.doc) this.fit();
      this.clampView();
      this.invalidate();
    });
    canvas.addEventListener("pointerdown", (e) => this.pointerDown(e));
    canvas.addEventListener("pointermove", (e) => this.pointerMove(e));
    canvas.addEventListener("pointerup", (e) => this.pointerUp(e));
    canvas.addEventListener("pointercancel", () => this.cancelDrag());
    canvas.addEventListener("wheel", (e) => this.wheel(e), { passive: false });
    scroller.addEventListener("scroll", () => {
      const start = this.scroller.scrollLeft / this.pxPerMs;
      if (Math.abs(start - this.viewStart) * this.pxPerMs >= 1) {
        this.viewStart = start;
        this.invalidate();
      }
    });
  }

  // --- geometry

  get width() { return this.canvas.clientWidth; }
  get height() { return this.canvas.clientHeight; }
  get rulerHeight() { return SECONDS_H + (this.studio.doc && this.studio.doc.beat ? BEATS_H : 0); }
  get waveHeight() { return this.studio.doc && this.studio.doc.music ? WAVE_H : 0; }
  get tracksTop() { return this.rulerHeight + this.waveHeight; }
  get duration() {
    const doc = this.studio.doc;
    if (!doc) return 1000;
    let end = doc.runningTime;
    for (const row of this.rows) if (row.maxEnd.length) end = Math.max(end, row.maxEnd[row.maxEnd.length - 1]);
    return Math.max(end, 1000);
  }

  timeToX(ms) { return LABEL_W + (ms - this.viewStart) * this.pxPerMs; }
  xToTime(x) { return this.viewStart + (x - LABEL_W) / this.pxPerMs; }
  trackTop(track) { return this.tracksTop + track * TRACK_H - this.scrollY; }

  // The box of an event in canvas coordinates, or null when the indices do not exist.
  eventBox(track, event) {
    const doc = this.studio.doc;
    const e = doc && doc.tracks[track] && doc.tracks[track].events[event];
    if (!e) return null;
    const span = this.shownSpan(track, event, e);
    const left = this.timeToX(span.start);
    const right = this.timeToX(span.end);
    const top = this.trackTop(track) + 2;
    return { left, right, top, bottom: top + TRACK_H - 4 };
  }

  // Where the event shows: its own span, or the one it is being dragged to.
  shownSpan(track, event, e) {
    const d = this.drag;
    if (d && d.kind === "event" && d.track === track && d.event === event && d.moved)
      return { start: d.start, end: d.end };
    return { start: e.start, end: e.end };
  }

  fit() {
    const usable = Math.max(50, this.width - LABEL_W - 12);
    this.pxPerMs = usable / this.duration;
    this.viewStart = 0;
    this.fitted = this.width > 0;
    this.clampView();
    this.invalidate();
  }

  zoom(factor, anchorX = null) {
    const x = anchorX === null ? this.zoomAnchor() : anchorX;
    const anchorTime = this.xToTime(x);
    const fitScale = Math.max(50, this.width - LABEL_W - 12) / this.duration;
    this.pxPerMs = clamp(this.pxPerMs * factor, Math.min(fitScale, 0.001) * 0.5, 4);
    this.viewStart = anchorTime - (x - LABEL_W) / this.pxPerMs;
    this.clampView();
    this.invalidate();
  }

  // Keyboard zoom keeps the playhead in place when it is visible, else the middle.
  zoomAnchor() {
    const x = this.timeToX(this.studio.displayTime());
    return x >= LABEL_W && x <= this.width ? x : LABEL_W + (this.width - LABEL_W) / 2;
  }

  clampView() {
    const visible = (this.width - LABEL_W) / this.pxPerMs;
    this.viewStart = clamp(this.viewStart, 0, Math.max(0, this.duration + 200 / this.pxPerMs - visible));
    const rows = this.studio.doc ? this.studio.doc.tracks.length : 0;
    const tracksShown = this.height - this.tracksTop;
    this.scrollY = clamp(this.scrollY, 0, Math.max(0, rows * TRACK_H - tracksShown));
    this.spacer.style.width = `${Math.ceil(LABEL_W + (this.duration + 200 / this.pxPerMs) * this.pxPerMs)}px`;
    const left = Math.round(this.viewStart * this.pxPerMs);
    if (Math.abs(this.scroller.scrollLeft - left) >= 1) this.scroller.scrollLeft = left;
  }

  // --- data

  setDocument(doc) {
    this.rows = doc.tracks.map((track) => {
      const order = track.events.map((e, i) => i).sort((a, b) => track.events[a].start - track.events[b].start);
      const maxEnd = [];
      let running = -Infinity;
      for (const i of order) {
        running = Math.max(running, track.events[i].end);
        maxEnd.push(running);
      }
      return { order, maxEnd };
    });
    // The timeline takes the height its tracks need, up to 60% of the window; the rest is for the
    // parameters and curves.
    const wanted = this.tracksTop + doc.tracks.length * TRACK_H + 8 + this.scroller.offsetHeight;
    this.canvas.parentElement.style.flex = `0 0 ${clamp(wanted, 120, window.innerHeight * 0.6)}px`;
    if (!this.fitted) this.fit();
    this.clampView();
    this.invalidate();
  }

  setWaveform(waveform) {
    this.peaks = waveform && waveform.duration > 0 && waveform.peaks.length ? waveform : null;
    this.invalidate();
  }

  // Indices of the events of a track that overlap [from, to), in start order.
  *visibleEvents(track, from, to) {
    const row = this.rows[track];
    const events = this.studio.doc.tracks[track].events;
    let low = 0;
    let high = row.maxEnd.length;
    while (low < high) {
      const mid = (low + high) >> 1;
      if (row.maxEnd[mid] > from) high = mid;
      else low = mid + 1;
    }
    for (let k = low; k < row.order.length; ++k) {
      const i = row.order[k];
      const e = events[i];
      if (e.start >= to) break;
      if (e.end > from) yield i;
    }
  }

  // --- drawing

  invalidate() {
    this.layerDirty = true;
    this.movePlayhead();
  }

  movePlayhead() {
    if (this.queued) return;
    this.queued = true;
    requestAnimationFrame(() => {
      this.queued = false;
      this.draw();
      if (this.studio.isPlaying()) this.movePlayhead();
    });
  }

  draw() {
    const w = this.width;
    const h = this.height;
    const layer = this.layer;
    if (layer.width !== this.canvas.width || layer.height !== this.canvas.height) {
      layer.width = this.canvas.width;
      layer.height = this.canvas.height;
      this.layerDirty = true;
    }
    if (this.layerDirty) {
      this.layerDirty = false;
      const under = layer.getContext("2d");
      under.setTransform(layer.width / Math.max(1, w), 0, 0, layer.width / Math.max(1, w), 0, 0);
      under.fillStyle = "#15171c";
      under.fillRect(0, 0, w, h);
      if (this.studio.doc) {
        this.drawTracks(under, w, h);
        this.drawWaveform(under, w);
        this.drawRuler(under, w);
      }
    }
    const ctx = this.canvas.getContext("2d");
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.drawImage(layer, 0, 0);
    if (!this.studio.doc) return;
    beginDraw(this.canvas);
    this.drawLoop(ctx, h);
    this.drawPlayhead(ctx, h);
  }

  drawTracks(ctx, w, h) {
    const doc = this.studio.doc;
    const top = this.tracksTop;
    const from = this.xToTime(LABEL_W);
    const to = this.xToTime(w);
    const end = this.timeToX(doc.runningTime);
    ctx.save();
    ctx.beginPath();
    ctx.rect(0, top, w, h - top);
    ctx.clip();
    ctx.font = "12px system-ui, sans-serif";
    ctx.textBaseline = "middle";
    const charWidth = ctx.measureText("abcdefghijklmnopqrstuvwxyz").width / 26;
    const selection = this.studio.selection;

    const first = Math.max(0, Math.floor(this.scrollY / TRACK_H));
    const last = Math.min(doc.tracks.length - 1, Math.floor((this.scrollY + h - top) / TRACK_H));
    for (let t = first; t <= last; ++t) {
      const y = this.trackTop(t);
      ctx.fillStyle = t % 2 ? "#1a1d24" : "#1d2029";
      ctx.fillRect(LABEL_W, y, w - LABEL_W, TRACK_H);
      if (end < w) {
        ctx.fillStyle = "rgba(0,0,0,0.35)";
        ctx.fillRect(Math.max(LABEL_W, end), y, w - Math.max(LABEL_W, end), TRACK_H);
      }
      // Boxes too narrow to tell apart are joined into one run, drawn once.
      let run = null;
      const flush = () => {
        if (!run) return;
        ctx.fillStyle = `hsl(${run.hue} 35% 32%)`;
        ctx.fillRect(run.x0, y + 2, run.x1 - run.x0, TRACK_H - 4);
        run = null;
      };
      const selectedHere = selection && selection.track === t ? selection.event : -1;
      for (const i of this.visibleEvents(t, from, to)) {
        if (i === selectedHere) continue;
        const e = doc.tracks[t].events[i];
        const x0 = Math.max(LABEL_W - 2, this.timeToX(e.start));
        const x1 = Math.min(w + 2, this.timeToX(e.end));
        if (x1 - x0 < 2) {
          if (run && x0 <= run.x1 + 1) run.x1 = Math.max(run.x1, x0 + 1, x1);
          else {
            flush();
            run = { x0, x1: Math.max(x0 + 1, x1), hue: effectHue(e.function) };
          }
          continue;
        }
        flush();
        this.drawBox(ctx, e, x0, x1, y, charWidth, false);
      }
      flush();
      // The selected event on top, where it is being dragged to.
      const chosen = doc.tracks[t].events[selectedHere];
      if (chosen) {
        const span = this.shownSpan(t, selectedHere, chosen);
        const x0 = Math.max(LABEL_W - 2, this.timeToX(span.start));
        const x1 = Math.min(w + 2, this.timeToX(span.end));
        if (x1 > LABEL_W && x0 < w) this.drawBox(ctx, chosen, x0, Math.max(x1, x0 + 1), y, charWidth, true);
      }
    }
    // Track numbers
    ctx.fillStyle = "#1d2028";
    ctx.fillRect(0, top, LABEL_W, h - top);
    ctx.fillStyle = "#8a90a0";
    ctx.textAlign = "right";
    for (let t = first; t <= last; ++t) ctx.fillText(`track ${t}`, LABEL_W - 6, this.trackTop(t) + TRACK_H / 2);
    ctx.textAlign = "left";
    ctx.restore();
  }

  drawBox(ctx, e, x0, x1, y, charWidth, selected) {
    const bw = x1 - x0;
    const hue = effectHue(e.function);
    ctx.fillStyle = `hsl(${hue} 45% ${selected ? 48 : 34}%)`;
    ctx.fillRect(x0, y + 2, bw, TRACK_H - 4);
    if (bw > 3) {
      ctx.fillStyle = `hsl(${hue} 60% 60%)`;
      ctx.fillRect(x0, y + 2, 1, TRACK_H - 4);
    }
    if (selected) {
      ctx.strokeStyle = "#f0a030";
      ctx.lineWidth = 2;
      ctx.strokeRect(x0 + 1, y + 3, Math.max(1, bw - 2), TRACK_H - 6);
    }
    const room = Math.floor((bw - 8) / charWidth);
    if (room >= 3) {
      const name = e.function.length > room ? e.function.slice(0, room - 1) + "…" : e.function;
      ctx.fillStyle = "#eef0f5";
      ctx.fillText(name, x0 + 5, y + TRACK_H / 2);
    }
  }

  drawWaveform(ctx, w) {
    const height = this.waveHeight;
    if (!height) return;
    const top = this.rulerHeight;
    ctx.fillStyle = "#111318";
    ctx.fillRect(0, top, w, height);
    const wave = this.peaks;
    if (!wave) return;
    const mid = top + height / 2;
    const half = height / 2 - 2;
    const n = wave.peaks.length;
    // One outline: the maxima from left to right, then the minima back, filled at once.
    const firstX = Math.max(LABEL_W, Math.floor(this.timeToX(0)));
    const lastX = Math.min(w, Math.ceil(this.timeToX(wave.duration)));
    const lows = [];
    ctx.beginPath();
    for (let x = firstX; x < lastX; ++x) {
      const i0 = clamp(Math.floor((this.xToTime(x) / wave.duration) * n), 0, n - 1);
      const i1 = clamp(Math.floor((this.xToTime(x + 1) / wave.duration) * n), i0 + 1, n);
      let low = wave.peaks[i0][0];
      let high = wave.peaks[i0][1];
      for (let i = i0 + 1; i < i1; ++i) {
        low = Math.min(low, wave.peaks[i][0]);
        high = Math.max(high, wave.peaks[i][1]);
      }
      ctx.lineTo(x, mid - high * half - 0.5);
      lows.push(mid - low * half + 0.5);
    }
    for (let k = lows.length - 1; k >= 0; --k) ctx.lineTo(firstX + k + 1, lows[k]);
    ctx.fillStyle = "#4f8fbf";
    ctx.fill();
    ctx.fillStyle = "#8a90a0";
    ctx.font = "11px system-ui, sans-serif";
    ctx.textBaseline = "top";
    ctx.fillText("music", 6, top + 4);
  }

  drawRuler(ctx, w) {
    const doc = this.studio.doc;
    const height = this.rulerHeight;
    ctx.fillStyle = "#23262f";
    ctx.fillRect(0, 0, w, height);
    ctx.strokeStyle = "#3a3f4c";
    ctx.beginPath();
    ctx.moveTo(0, height - 0.5);
    ctx.lineTo(w, height - 0.5);
    ctx.stroke();
    ctx.font = "11px system-ui, sans-serif";
    ctx.textBaseline = "middle";

    // Seconds
    const step = niceStep(this.pxPerMs, 70, TIME_STEPS);
    const minor = niceStep(this.pxPerMs, 8, TIME_STEPS.filter((s) => step % s === 0));
    const from = Math.max(0, Math.floor(this.xToTime(LABEL_W) / minor) * minor);
    const to = this.xToTime(w);
    ctx.fillStyle = "#5c6272";
    for (let t = from; t <= to; t += minor) {
      const x = Math.round(this.timeToX(t)) + 0.5;
      if (x < LABEL_W) continue;
      const major = t % step === 0;
      ctx.fillRect(x - 0.5, major ? 0 : SECONDS_H - 5, 1, major ? SECONDS_H : 5);
    }
    ctx.fillStyle = "#c5c9d4";
    for (let t = Math.floor(from / step) * step; t <= to; t += step) {
      const x = this.timeToX(t);
      if (x < LABEL_W) continue;
      ctx.fillText(this.timeLabel(t, step), x + 4, SECONDS_H / 2);
    }

    if (doc.beat) this.drawBeats(ctx, w);

    ctx.fillStyle = "#23262f";
    ctx.fillRect(0, 0, LABEL_W, height);
    ctx.fillStyle = "#8a90a0";
    ctx.fillText("s", 8, SECONDS_H / 2);
    if (doc.beat) ctx.fillText("bars", 8, SECONDS_H + BEATS_H / 2);
  }

  timeLabel(t, step) {
    if (step >= 60000) return `${Math.floor(t / 60000)}:${String(Math.floor((t % 60000) / 1000)).padStart(2, "0")}`;
    return `${formatNumber(t / 1000, 3)}s`;
  }

  drawBeats(ctx, w) {
    const beat = this.studio.doc.beat;
    const top = SECONDS_H;
    if (!(beat.bar > 0)) return;
    ctx.fillStyle = "#1f2229";
    ctx.fillRect(LABEL_W, top, w - LABEL_W, BEATS_H);
    const barPx = beat.bar * this.pxPerMs;
    const beatPx = beat.beats > 0 ? barPx / beat.beats : 0;
    let labelEvery = 1;
    while (labelEvery * barPx < 34) labelEvery *= 2;
    const firstBar = Math.max(0, Math.floor((this.xToTime(LABEL_W) - beat.start) / beat.bar));
    const lastTime = Math.min(this.xToTime(w), Math.max(beat.start + beat.length, this.studio.doc.runningTime));
    for (let b = firstBar; beat.start + b * beat.bar <= lastTime; ++b) {
      const barTime = beat.start + b * beat.bar;
      const x = Math.round(this.timeToX(barTime)) + 0.5;
      if (barPx >= 3 || b % labelEvery === 0) {
        ctx.fillStyle = "#b08040";
        ctx.fillRect(x - 0.5, top, 1, BEATS_H);
      }
      if (beatPx >= 5) {
        ctx.fillStyle = "#6a5a40";
        for (let k = 1; k < beat.beats; ++k) ctx.fillRect(Math.round(x + k * beatPx), top + BEATS_H - 5, 1, 5);
      }
      if (b % labelEvery === 0 && x >= LABEL_W) {
        ctx.fillStyle = "#e0b070";
        ctx.fillText(String(b + 1), x + 3, top + BEATS_H / 2);
      }
    }
  }

  drawLoop(ctx, h) {
    const loop = this.loopPreview || (this.studio.state && this.studio.state.loop);
    if (!loop) return;
    const x0 = Math.max(LABEL_W, this.timeToX(loop.from));
    const x1 = this.timeToX(loop.to);
    if (x1 <= x0) return;
    ctx.fillStyle = "rgba(240,160,48,0.35)";
    ctx.fillRect(x0, 0, x1 - x0, this.rulerHeight);
    ctx.fillStyle = "rgba(240,160,48,0.07)";
    ctx.fillRect(x0, this.rulerHeight, x1 - x0, h - this.rulerHeight);
    ctx.fillStyle = "#f0a030";
    ctx.fillRect(x0, 0, 2, h);
    ctx.fillRect(x1 - 2, 0, 2, h);
  }

  drawPlayhead(ctx, h) {
    const x = Math.round(this.timeToX(this.studio.displayTime()));
    if (x < LABEL_W || x > this.width) return;
    ctx.fillStyle = "#ff5050";
    ctx.fillRect(x - 0.5, 0, 1.5, h);
    ctx.beginPath();
    ctx.moveTo(x - 6, 0);
    ctx.lineTo(x + 6, 0);
    ctx.lineTo(x, 8);
    ctx.fill();
  }

  // --- interaction

  localPoint(e) {
    const rect = this.canvas.getBoundingClientRect();
    return { x: e.clientX - rect.left, y: e.clientY - rect.top };
  }

  // What is under a point: {track, event, part: "start" | "end" | "body"} or null.
  hit(x, y) {
    const doc = this.studio.doc;
    if (!doc || y < this.tracksTop || x < LABEL_W) return null;
    const track = Math.floor((y - this.tracksTop + this.scrollY) / TRACK_H);
    if (track < 0 || track >= doc.tracks.length) return null;
    const slack = EDGE_PX / this.pxPerMs;
    const t = this.xToTime(x);
    let found = null;
    for (const i of this.visibleEvents(track, t - slack, t + slack)) {
      const box = this.eventBox(track, i);
      if (x < box.left - EDGE_PX || x > box.right + EDGE_PX) continue;
      const edge = Math.min(EDGE_PX, (box.right - box.left) / 3);
      let part = "body";
      if (Math.abs(x - box.right) <= edge || (x > box.right && x <= box.right + EDGE_PX)) part = "end";
      else if (Math.abs(x - box.left) <= edge || x < box.left) part = "start";
      if (part === "body" && (x < box.left || x > box.right)) continue;
      // The selected event is drawn on top of all, later ones in start order over earlier ones.
      const selection = this.studio.selection;
      const selected = selection && selection.track === track && selection.event === i;
      if (!found || !found.selected || selected) found = { track, event: i, part, selected };
    }
    return found;
  }

  pointerDown(e) {
    if (e.button !== 0 || !this.studio.doc) return;
    const p = this.localPoint(e);
    this.canvas.setPointerCapture(e.pointerId);
    if (p.y < this.tracksTop) {
      const t = clamp(this.xToTime(Math.max(LABEL_W, p.x)), 0, this.studio.doc.runningTime);
      if (e.shiftKey) {
        this.drag = { kind: "loop", anchor: snapTime(t) };
        this.loopPreview = null;
      } else {
        this.drag = { kind: "seek" };
        this.studio.seek(t);
      }
      return;
    }
    const target = this.hit(p.x, p.y);
    if (!target) {
      this.studio.select(null);
      return;
    }
    this.studio.select({ track: target.track, event: target.event });
    const ev = this.studio.doc.tracks[target.track].events[target.event];
    this.drag = {
      kind: "event", track: target.track, event: target.event, part: target.part,
      downX: p.x, original: { start: ev.start, end: ev.end }, start: ev.start, end: ev.end, moved: false,
    };
  }

  pointerMove(e) {
    const p = this.localPoint(e);
    const d = this.drag;
    if (!d) {
      this.hover(p);
      return;
    }
    const doc = this.studio.doc;
    if (d.kind === "seek") {
      this.studio.seek(clamp(this.xToTime(Math.max(LABEL_W, p.x)), 0, doc.runningTime));
    } else if (d.kind === "loop") {
      const t = snapTime(clamp(this.xToTime(Math.max(LABEL_W, p.x)), 0, doc.runningTime));
      this.loopPreview = { from: Math.min(d.anchor, t), to: Math.max(d.anchor, t) };
      this.invalidate();
    } else if (d.kind === "event") {
      if (!d.moved && Math.abs(p.x - d.downX) < 3) return;
      d.moved = true;
      const delta = (p.x - d.downX) / this.pxPerMs;
      const snap = (t) => (e.shiftKey ? this.studio.snapToBeat(t) : snapTime(t));
      const { start, end } = d.original;
      if (d.part === "start") {
        d.start = clamp(snap(start + delta), 0, end - SNAP_MS);
        d.end = end;
      } else if (d.part === "end") {
        d.start = start;
        d.end = Math.max(start + SNAP_MS, snap(end + delta));
      } else {
        d.start = Math.max(0, snap(start + delta));
        d.end = d.start + (end - start);
      }
      this.studio.showMessage(`${formatClock(d.start)} – ${formatClock(d.end)} (${d.end - d.start} ms)`);
      this.invalidate();
    }
  }

  pointerUp(e) {
    const d = this.drag;
    if (!d) return;
    if (d.kind === "loop" && this.loopPreview && this.loopPreview.to - this.loopPreview.from >= SNAP_MS) {
      const range = this.loopPreview;
      this.studio.setLoop(range.from, range.to).finally(() => {
        this.loopPreview = null;
        this.invalidate();
      });
    } else if (d.kind === "loop") {
      this.loopPreview = null;
    } else if (d.kind === "event" && d.moved &&
               (d.start !== d.original.start || d.end !== d.original.end)) {
      // The box stays where it was dropped until the reloaded document arrives.
      const kept = { ...d };
      this.studio.editEvent(d.track, d.event, d.start, d.end).finally(() => {
        if (this.drag === kept) this.drag = null;
        this.invalidate();
      });
      this.drag = kept;
      this.invalidate();
      return;
    }
    this.drag = null;
    this.invalidate();
  }

  cancelDrag() {
    this.drag = null;
    this.loopPreview = null;
    this.invalidate();
  }

  hover(p) {
    let cursor = "default";
    if (p.y < this.tracksTop && p.x >= LABEL_W) cursor = "text";
    else {
      const target = this.hit(p.x, p.y);
      if (target) cursor = target.part === "body" ? "grab" : "ew-resize";
    }
    this.canvas.style.cursor = cursor;
  }

  wheel(e) {
    if (!this.studio.doc) return;
    e.preventDefault();
    const p = this.localPoint(e);
    if (e.ctrlKey || e.metaKey) {
      this.zoom(Math.exp(-e.deltaY * 0.002), Math.max(LABEL_W, p.x));
      return;
    }
    const rows = this.studio.doc.tracks.length * TRACK_H;
    const vertical = !e.shiftKey && Math.abs(e.deltaY) > Math.abs(e.deltaX) && rows > this.height - this.tracksTop;
    if (vertical) this.scrollY += e.deltaY;
    else this.viewStart += (e.shiftKey ? e.deltaY : e.deltaX || e.deltaY) / this.pxPerMs;
    this.clampView();
    this.invalidate();
  }
}

// ---------------------------------------------------------------------------------------------------
// Parameter panel: the selected event's times and every parameter in real units, const values editable.

const COMBI_OPS = { add: "adds its parts", multiply: "multiplies its parts", negate: "negates its part", abs: "absolute value of its part" };

class ParamPanel {
  constructor(studio, element) {
    this.studio = studio;
    this.element = element;
  }

  // The description of argument `index` and how far it stands behind a rotate parameter.
  unitsFor(event, index) {
    const effects = this.studio.doc.effects[event.library];
    const effect = effects && effects[event.function];
    const description = effect && effect.params ? effect.params[index] : null;
    let afterRotate = 0;
    for (let back = 1; back <= 3 && index - back >= 0; ++back)
      if (event.params[index - back].kind === "rotate") afterRotate = back;
    return new Units(description, afterRotate);
  }

  // The declared name, else the described one; an angle after a rotate says which axis it turns about.
  paramName(event, index) {
    const units = this.unitsFor(event, index);
    const name = event.params[index].name || (units.description && units.description.name) || `#${index}`;
    return units.afterRotate ? `${name} (${"xyz"[units.afterRotate - 1]} angle)` : name;
  }

  // Consecutive colour parameters are red, green, blue triples from the first of them; the swatch shows
  // the triple a parameter belongs to. One left over (an alpha) shows as grey; animated channels as 128.
  swatchColour(event, index) {
    const isColour = (i) => i >= 0 && i < event.params.length && this.unitsFor(event, i).kind === "colour";
    let first = index;
    while (isColour(first - 1)) --first;
    let last = index;
    while (isColour(last + 1)) ++last;
    const start = index - ((index - first) % 3);
    const level = (i) => (event.params[i].kind === "const" ? clamp(Math.round(event.params[i].value), 0, 255) : 128);
    if (start + 2 > last) return `rgb(${level(index)}, ${level(index)}, ${level(index)})`;
    return `rgb(${level(start)}, ${level(start + 1)}, ${level(start + 2)})`;
  }

  textName(index) {
    const texts = this.studio.doc.texts || [];
    return index >= 0 && index < texts.length ? `“${texts[index]}”` : `text ${index} (none)`;
  }

  render() {
    const studio = this.studio;
    const el = this.element;
    el.replaceChildren();
    const selection = studio.selection;
    const event = studio.selectedEvent();
    if (!event) {
      el.append(make("p", { class: "hint" }, "Click an event to see its parameters. Drag its edges or body to retime it; Shift snaps to beats."));
      return;
    }
    const effects = studio.doc.effects[event.library];
    const effect = effects && effects[event.function];
    el.append(make("h2", { title: effect && effect.about ? effect.about : "" }, event.function));
    el.append(make("div", { class: "sub" }, `${event.library} · track ${selection.track}, event ${selection.event}`));

    const times = make("div", { class: "times" });
    const start = make("input", { type: "number", step: "10", min: "0", value: String(event.start), "aria-label": "start (ms)" });
    const end = make("input", { type: "number", step: "10", min: "0", value: String(event.end), "aria-label": "end (ms)" });
    const commitTimes = () => {
      const s = Number(start.value);
      const t = Number(end.value);
      if (!Number.isFinite(s) || !Number.isFinite(t) || s >= t) {
        studio.showError("The start must come before the end.");
        return;
      }
      if (s !== event.start || t !== event.end) studio.editEvent(selection.track, selection.event, s, t);
    };
    for (const input of [start, end]) {
      input.addEventListener("change", commitTimes);
    }
    times.append("from ", start, " to ", end, make("span", { class: "unit" }, "ms"));
    el.append(times);

    if (!event.params.length) {
      el.append(make("p", { class: "hint" }, "This effect takes no parameters."));
      return;
    }
    const table = make("table");
    table.append(make("tr", {}, make("th", {}, "#"), make("th", {}, "name"), make("th", {}, "kind"), make("th", {}, "value")));
    event.params.forEach((param, index) => {
      const units = this.unitsFor(event, index);
      const name = this.paramName(event, index);
      const animated = studio.curves.isDrawable(param);
      const row = make("tr", {
        class: `param${animated ? " animated" : ""}${studio.focusedParam === index ? " focused" : ""}`,
        title: units.tooltip(),
        "data-param": String(index),
      });
      row.append(make("td", { class: "index" }, String(index)), make("td", {}, name), make("td", { class: "kind" }, param.kind));
      row.append(this.valueCell(event, param, units, index));
      if (animated) row.addEventListener("click", () => studio.focusParam(index));
      table.append(row);
    });
    el.append(table);
  }

  valueCell(event, param, units, index) {
    const cell = make("td");
    const studio = this.studio;
    switch (param.kind) {
      case "const": {
        if (units.kind === "colour")
          cell.append(make("span", { class: "swatch", style: `background: ${this.swatchColour(event, index)}` }));
        const input = make("input", { type: "number", step: "any", value: formatNumber(units.real(param.value), 6) });
        input.addEventListener("change", () => {
          if (input.value.trim() === "") return; // emptied, not yet typed again
          const real = Number(input.value);
          if (!Number.isFinite(real)) {
            studio.showError("A value must be a number.");
            return;
          }
          const raw = units.raw(real);
          if (raw !== param.value) studio.editValue(index, raw);
        });
        cell.append(input);
        if (units.unit) cell.append(make("span", { class: "unit" }, units.unit));
        if (units.kind === "text") cell.append(make("span", { class: "unit" }, this.textName(param.value)));
        if (units.kind === "boolean") cell.append(make("span", { class: "unit" }, param.value ? "yes" : "no"));
        break;
      }
      case "sine":
        cell.textContent = `${units.format(param.height)} ± ${units.format(param.ampli)}, period ${param.period} ms` +
          (param.offset ? `, offset ${param.offset} ms` : "");
        break;
      case "multi": {
        const keys = param.keys || [];
        const how = param.linearForm ? "straight line" : `${param.interpolation}, ${keys.length} keys`;
        const last = keys.length ? units.format(keys[keys.length - 1].value) : "";
        const first = keys.length > 1 ? `${formatNumber(units.real(keys[0].value), 4)} → ` : "";
        cell.textContent = `${first}${last} (${how})`;
        break;
      }
      case "combi":
        cell.textContent = COMBI_OPS[param.op] || String(param.op);
        break;
      case "beat":
        cell.textContent = `beat of ${this.textName(param.text)}: ${units.format(param.min)} .. ${units.format(param.max)}`;
        break;
      case "loops":
        cell.textContent = `whole bars of ${this.textName(param.text)}`;
        break;
      case "rotate":
        cell.textContent = "quaternion from the next three angles";
        break;
      default:
        cell.textContent = "";
    }
    return cell;
  }
}

// A DOM element with attributes and children.
function make(tag, attributes = {}, ...children) {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
  element.append(...children);
  return element;
}

// ---------------------------------------------------------------------------------------------------
// Curve view: the focused parameter's values over its event, as the player evaluates them, with the keys
// of a multi parameter as handles to drag, add and remove.

const CURVE_PAD = { left: 64, right: 16, top: 14, bottom: 24 };
const WORD_COLOURS = ["#f0a030", "#5fb0f0", "#7fd080", "#e070c0"];
const HANDLE_PX = 6;

class CurveView {
  constructor(studio, canvas, tabs) {
    this.studio = studio;
    this.canvas = canvas;
    this.tabs = tabs;
    this.curve = null; // {key, which, data} for the focused parameter
    this.keys = null; // the keys being edited (a copy), for multi parameters
    this.selectedKey = null;
    this.drag = null;
    this.frozen = null; // the frame kept while a key is dragged, so the view does not rescale under it
    this.request = 0;
    fitCanvas(canvas, () => this.draw());
    canvas.addEventListener("pointerdown", (e) => this.pointerDown(e));
    canvas.addEventListener("pointermove", (e) => this.pointerMove(e));
    canvas.addEventListener("pointerup", () => this.pointerUp());
    canvas.addEventListener("pointercancel", () => this.cancel());
    canvas.addEventListener("dblclick", (e) => this.addKey(e));
    canvas.addEventListener("contextmenu", (e) => this.contextMenu(e));
  }

  isDrawable(param) {
    return param.animated && param.kind !== "const";
  }

  // Called after a new selection, focus or document.
  async refresh() {
    const studio = this.studio;
    const event = studio.selectedEvent();
    this.renderTabs(event);
    this.drag = null;
    const index = studio.focusedParam;
    if (!event || index === null || !event.params[index]) {
      this.curve = null;
      this.keys = null;
      this.draw();
      return;
    }
    const param = event.params[index];
    this.keys = param.kind === "multi" && param.keys ? param.keys.map((k) => ({ ...k })) : null;
    if (this.selectedKey !== null && (!this.keys || this.selectedKey >= this.keys.length)) this.selectedKey = null;
    const { track, event: eventIndex } = studio.selection;
    const step = clamp(Math.ceil((event.end - event.start) / 1000), 1, 60000);
    const which = `${track}/${eventIndex}/${index}/${step}`;
    const key = `${studio.doc.generation}/${which}`;
    if (this.curve && this.curve.key === key) {
      this.draw();
      return;
    }
    // After an edit the old curve stays until the new one comes; another parameter's does not.
    if (this.curve && this.curve.which !== which) this.curve = null;
    const request = ++this.request;
    try {
      const data = await studio.api.curve(track, eventIndex, index, step);
      if (request !== this.request) return;
      this.curve = { key, which, data };
    } catch (error) {
      if (request !== this.request) return;
      this.curve = null;
      studio.reportError(error);
    }
    this.draw();
  }

  renderTabs(event) {
    this.tabs.replaceChildren();
    if (!event) return;
    const panel = this.studio.panel;
    event.params.forEach((param, index) => {
      if (!this.isDrawable(param)) return;
      const units = panel.unitsFor(event, index);
      const button = make("button", { type: "button", title: units.tooltip(), "data-param": String(index) },
        `${index} ${panel.paramName(event, index)}`);
      if (this.studio.focusedParam === index) button.classList.add("focused");
      button.addEventListener("click", () => this.studio.focusParam(index));
      this.tabs.append(button);
    });
    if (!this.tabs.children.length) this.tabs.append(make("span", { class: "hint" }, "No animated parameters."));
  }

  // --- geometry: x from event-local time, y from the raw value

  frame() {
    if (this.frozen) return this.frozen;
    const event = this.studio.selectedEvent();
    const w = this.canvas.clientWidth;
    const h = this.canvas.clientHeight;
    let low = Infinity;
    let high = -Infinity;
    if (this.curve) for (const word of this.curve.data.values) for (const v of word) { low = Math.min(low, v); high = Math.max(high, v); }
    if (this.keys) for (const k of this.keys) { low = Math.min(low, k.value); high = Math.max(high, k.value); }
    if (!Number.isFinite(low)) { low = 0; high = 1; }
    if (high - low < 1e-9) { low -= 1; high += 1; }
    const pad = (high - low) * 0.08;
    low -= pad;
    high += pad;
    const length = event ? Math.max(1, event.end - event.start) : 1;
    const innerW = Math.max(10, w - CURVE_PAD.left - CURVE_PAD.right);
    const innerH = Math.max(10, h - CURVE_PAD.top - CURVE_PAD.bottom);
    return {
      w, h, low, high, length,
      x: (t) => CURVE_PAD.left + (t / length) * innerW,
      y: (v) => CURVE_PAD.top + (1 - (v - low) / (high - low)) * innerH,
      time: (x) => ((x - CURVE_PAD.left) / innerW) * length,
      value: (y) => low + (1 - (y - CURVE_PAD.top) / innerH) * (high - low),
    };
  }

  draw() {
    const ctx = beginDraw(this.canvas);
    const w = this.canvas.clientWidth;
    const h = this.canvas.clientHeight;
    ctx.fillStyle = "#15171c";
    ctx.fillRect(0, 0, w, h);
    const event = this.studio.selectedEvent();
    if (!event || this.studio.focusedParam === null) {
      ctx.fillStyle = "#8a90a0";
      ctx.font = "13px system-ui, sans-serif";
      ctx.fillText(event ? "This event has no animated parameters." : "Select an event to see its curves.", 16, 24);
      return;
    }
    const f = this.frame();
    const units = this.studio.panel.unitsFor(event, this.studio.focusedParam);
    this.drawAxes(ctx, f, units);
    if (this.curve) this.drawCurve(ctx, f);
    if (this.keys) this.drawKeys(ctx, f);
  }

  drawAxes(ctx, f, units) {
    ctx.font = "11px system-ui, sans-serif";
    ctx.textBaseline = "middle";
    ctx.fillStyle = "#8a90a0";
    ctx.strokeStyle = "#2a2e39";
    ctx.lineWidth = 1;
    // About four value lines at round numbers of the unit shown.
    const low = units.real(f.low);
    const high = units.real(f.high);
    const rough = (high - low) / 4;
    const power = Math.pow(10, Math.floor(Math.log10(rough)));
    const valueStep = [1, 2, 5, 10].map((k) => k * power).find((k) => k >= rough);
    ctx.textAlign = "right";
    for (let v = Math.ceil(low / valueStep) * valueStep; v <= high; v += valueStep) {
      const y = Math.round(f.y(units.exactRaw(v))) + 0.5;
      ctx.beginPath();
      ctx.moveTo(CURVE_PAD.left, y);
      ctx.lineTo(f.w - CURVE_PAD.right, y);
      ctx.stroke();
      ctx.fillText(formatNumber(v, 6), CURVE_PAD.left - 6, y);
    }
    const step = niceStep((f.w - CURVE_PAD.left - CURVE_PAD.right) / f.length, 70, TIME_STEPS);
    ctx.textAlign = "center";
    ctx.textBaseline = "top";
    for (let t = 0; t <= f.length; t += step) {
      const x = Math.round(f.x(t)) + 0.5;
      ctx.beginPath();
      ctx.moveTo(x, CURVE_PAD.top);
      ctx.lineTo(x, f.h - CURVE_PAD.bottom);
      ctx.stroke();
      ctx.fillText(`${formatNumber(t / 1000, 3)}s`, x, f.h - CURVE_PAD.bottom + 5);
    }
    ctx.textAlign = "left";
    if (units.unit) {
      ctx.textBaseline = "top";
      ctx.fillText(units.unit, 4, 2);
    }
    // The player's time inside the event.
    const event = this.studio.selectedEvent();
    const now = this.studio.displayTime() - event.start;
    if (now >= 0 && now <= f.length) {
      ctx.fillStyle = "rgba(255,80,80,0.7)";
      ctx.fillRect(Math.round(f.x(now)), CURVE_PAD.top, 1, f.h - CURVE_PAD.top - CURVE_PAD.bottom);
    }
  }

  drawCurve(ctx, f) {
    const data = this.curve.data;
    const event = this.studio.selectedEvent();
    if (data.values.length === 4) {
      ctx.font = "11px system-ui, sans-serif";
      ctx.textBaseline = "top";
      ctx.textAlign = "right";
      ["x", "y", "z", "w"].forEach((name, w) => {
        ctx.fillStyle = WORD_COLOURS[w];
        ctx.fillText(`quaternion ${name}`, f.w - CURVE_PAD.right - (3 - w) * 84, 1);
      });
      ctx.textAlign = "left";
    }
    ctx.lineWidth = 1.5;
    data.values.forEach((word, w) => {
      ctx.strokeStyle = WORD_COLOURS[w % WORD_COLOURS.length];
      ctx.beginPath();
      word.forEach((v, i) => {
        const x = f.x(data.start + i * data.step - event.start);
        const y = f.y(v);
        if (i === 0) ctx.moveTo(x, y);
        else ctx.lineTo(x, y);
      });
      ctx.stroke();
    });
  }

  drawKeys(ctx, f) {
    this.keys.forEach((key, i) => {
      const x = f.x(key.time);
      const y = f.y(key.value);
      ctx.fillStyle = i === this.selectedKey ? "#ffffff" : "#f0a030";
      ctx.strokeStyle = "#15171c";
      ctx.lineWidth = 1.5;
      ctx.beginPath();
      ctx.rect(x - HANDLE_PX / 2 - 1, y - HANDLE_PX / 2 - 1, HANDLE_PX + 2, HANDLE_PX + 2);
      ctx.fill();
      ctx.stroke();
    });
  }

  // --- key editing

  point(e) {
    const rect = this.canvas.getBoundingClientRect();
    return { x: e.clientX - rect.left, y: e.clientY - rect.top };
  }

  keyAt(p) {
    if (!this.keys) return null;
    const f = this.frame();
    let best = null;
    let bestDistance = HANDLE_PX + 3;
    this.keys.forEach((key, i) => {
      const distance = Math.max(Math.abs(f.x(key.time) - p.x), Math.abs(f.y(key.value) - p.y));
      if (distance <= bestDistance) {
        best = i;
        bestDistance = distance;
      }
    });
    return best;
  }

  pointerDown(e) {
    if (e.button !== 0) return;
    const p = this.point(e);
    const index = this.keyAt(p);
    this.selectedKey = index;
    if (index !== null) {
      this.canvas.setPointerCapture(e.pointerId);
      this.drag = { index, moved: false, downX: p.x, downY: p.y };
      this.frozen = this.frame();
    }
    this.draw();
  }

  pointerMove(e) {
    const p = this.point(e);
    const d = this.drag;
    if (!d) {
      this.canvas.style.cursor = this.keyAt(p) !== null ? "move" : "crosshair";
      return;
    }
    if (!d.moved && Math.abs(p.x - d.downX) < 3 && Math.abs(p.y - d.downY) < 3) return;
    d.moved = true;
    const f = this.frame();
    const key = this.keys[d.index];
    // The first key stays at the event's start; the others stay between their neighbours.
    if (d.index > 0) {
      const before = this.keys[d.index - 1].time;
      const after = d.index + 1 < this.keys.length ? this.keys[d.index + 1].time : f.length;
      key.time = clamp(snapTime(f.time(p.x)), before, after);
    }
    key.value = Math.round(f.value(p.y));
    const units = this.studio.panel.unitsFor(this.studio.selectedEvent(), this.studio.focusedParam);
    this.studio.showMessage(`key ${d.index}: ${key.time} ms, ${units.format(key.value)}`);
    this.draw();
  }

  pointerUp() {
    const d = this.drag;
    this.drag = null;
    this.frozen = null;
    if (d && d.moved) this.commitKeys();
  }

  cancel() {
    this.drag = null;
    this.frozen = null;
    this.refresh();
  }

  addKey(e) {
    if (!this.keys) return;
    const p = this.point(e);
    if (this.keyAt(p) !== null) return;
    const f = this.frame();
    const time = snapTime(f.time(p.x));
    if (time <= 0 || time > f.length) return;
    const at = this.keys.findIndex((k) => k.time > time);
    const index = at < 0 ? this.keys.length : at;
    this.keys.splice(index, 0, { time, value: Math.round(f.value(p.y)) });
    this.selectedKey = index;
    this.commitKeys();
  }

  removeKey(index) {
    if (!this.keys || index === null || index >= this.keys.length) return;
    if (index === 0) {
      this.studio.showError("The first key stays: it gives the value at the event's start.");
      return;
    }
    this.keys.splice(index, 1);
    this.selectedKey = null;
    this.commitKeys();
  }

  removeSelectedKey() {
    if (this.selectedKey === null) return false;
    this.removeKey(this.selectedKey);
    return true;
  }

  contextMenu(e) {
    const index = this.keyAt(this.point(e));
    if (index === null) return;
    e.preventDefault();
    this.removeKey(index);
  }

  commitKeys() {
    this.draw();
    this.studio.editKeys(this.studio.focusedParam, this.keys.map((k) => ({ time: k.time, value: k.value })));
  }
}

// ---------------------------------------------------------------------------------------------------
// The studio: document and state, selection, edits and undo, keyboard.

class Studio {
  constructor() {
    this.api = new Api();
    this.doc = null;
    this.state = null;
    this.stateAt = 0; // performance.now() when `state` arrived
    this.selection = null; // {track, event}
    this.focusedParam = null;
    this.loading = null;
    this.waveformFor = null;
    this.seeking = { busy: false, next: null };
    this.blocked = false;
    this.ready = false;
    this.elements = {};
    for (const id of ["path", "play", "clock", "fps", "link", "loop", "loop-off", "undo", "redo", "message",
      "zoom-in", "zoom-out", "zoom-fit", "panel"]) this.elements[id] = document.getElementById(id);

    this.timeline = new TimelineView(this, document.getElementById("timeline-canvas"),
      document.getElementById("hscroll"), document.getElementById("hscroll-space"));
    this.panel = new ParamPanel(this, this.elements.panel);
    this.curves = new CurveView(this, document.getElementById("curve-canvas"), document.getElementById("curve-tabs"));
    this.link = new LiveLink((state) => this.setState(state), (up) => this.setLinked(up), () => this.answers());
    this.bindControls();
  }

  async start() {
    try {
      await this.loadDocument();
      this.showMessage("Click or drag on the ruler to seek, Shift+drag to loop a range; Space pauses. " +
        "Click an event for its parameters and curves.");
      this.setState(await this.api.state());
    } catch (error) {
      this.reportError(error);
      if (this.blocked) return;
    }
    this.link.open();
    this.ready = true;
  }

  // --- document and state

  async loadDocument() {
    if (this.loading) return this.loading;
    this.loading = (async () => {
      try {
        const doc = await this.api.document();
        this.setDocument(doc);
      } finally {
        this.loading = null;
      }
    })();
    return this.loading;
  }

  setDocument(doc) {
    this.doc = doc;
    document.body.dataset.generation = String(doc.generation);
    this.elements.path.textContent = doc.path;
    document.title = `${doc.path.split("/").pop()} · Vortel studio`;
    // The selection stays on the same track and event index while that still exists.
    if (this.selection && !this.selectedEvent()) this.selection = null;
    const event = this.selectedEvent();
    if (!event || this.focusedParam === null || !event.params[this.focusedParam] ||
        !this.curves.isDrawable(event.params[this.focusedParam])) this.focusedParam = this.firstAnimated(event);
    this.timeline.setDocument(doc);
    this.panel.render();
    this.curves.refresh();
    this.loadWaveform();
  }

  async loadWaveform() {
    const music = this.doc.music ? this.doc.music.file : null;
    if (music === this.waveformFor) return;
    this.waveformFor = music;
    if (!music) {
      this.timeline.setWaveform(null);
      return;
    }
    try {
      this.timeline.setWaveform(await this.api.waveform(8000));
    } catch (error) {
      this.reportError(error);
    }
  }

  setState(state) {
    const wasPlaying = this.isPlaying();
    this.state = state;
    this.stateAt = performance.now();
    const e = this.elements;
    e.clock.textContent = formatClock(state.time);
    e.fps.textContent = `${formatNumber(state.fps, 1)} fps`;
    e.play.textContent = state.paused ? "Play" : "Pause";
    e.link.textContent = state.paused ? "paused" : "playing";
    e.link.className = state.paused ? "paused" : "";
    e.loop.textContent = state.loop ? `loop ${formatClock(state.loop.from)} – ${formatClock(state.loop.to)}` : "no loop";
    e["loop-off"].disabled = !state.loop;
    e.undo.disabled = !(state.undo > 0);
    e.redo.disabled = !(state.redo > 0);
    e.undo.title = `Undo (Ctrl+Z): ${state.undo} step${state.undo === 1 ? "" : "s"}`;
    e.redo.title = `Redo (Ctrl+Shift+Z, Ctrl+Y): ${state.redo} step${state.redo === 1 ? "" : "s"}`;
    if (this.doc && state.generation !== this.doc.generation) this.loadDocument().catch((error) => this.reportError(error));
    if (!wasPlaying || state.paused) this.timeline.movePlayhead();
    if (this.curves.curve) this.curves.draw();
  }

  // Whether the player answers the API (a 403 means this page's token is no longer valid).
  async answers() {
    try {
      this.setState(await this.api.state());
      return true;
    } catch (error) {
      if (error.status === 403) this.reportError(error);
      return !this.blocked;
    }
  }

  setLinked(up) {
    if (up) return;
    const link = this.elements.link;
    link.textContent = "reconnecting";
    link.className = "down";
  }

  isPlaying() {
    return !!(this.state && !this.state.paused);
  }

  // The demo time now: the last reported time moved on by the time since, while playing.
  displayTime() {
    const s = this.state;
    if (!s) return 0;
    if (s.paused) return s.time;
    let t = s.time + Math.min(250, performance.now() - this.stateAt);
    if (s.loop && s.time < s.loop.to) t = Math.min(t, s.loop.to);
    return Math.min(t, s.runningTime);
  }

  snapToBeat(ms) {
    const beat = this.doc && this.doc.beat;
    if (!beat || !(beat.bar > 0)) return snapTime(ms);
    const length = beat.bar / Math.max(1, beat.beats);
    return snapTime(beat.start + Math.round((ms - beat.start) / length) * length);
  }

  // --- selection

  selectedEvent() {
    const s = this.selection;
    const track = s && this.doc && this.doc.tracks[s.track];
    return (track && track.events[s.event]) || null;
  }

  firstAnimated(event) {
    if (!event) return null;
    const index = event.params.findIndex((p) => this.curves.isDrawable(p));
    return index < 0 ? null : index;
  }

  select(selection) {
    const same = selection && this.selection && selection.track === this.selection.track &&
      selection.event === this.selection.event;
    if (same) return;
    this.selection = selection;
    this.curves.selectedKey = null;
    this.focusedParam = this.firstAnimated(this.selectedEvent());
    this.timeline.invalidate();
    this.panel.render();
    this.curves.refresh();
  }

  focusParam(index) {
    this.focusedParam = index;
    this.curves.selectedKey = null;
    this.panel.render();
    this.curves.refresh();
  }

  // --- transport

  // Seeks as fast as the player answers: while one seek is on its way, only the latest next one waits.
  seek(time) {
    const seeking = this.seeking;
    const target = Math.round(time);
    if (this.state) {
      this.state = { ...this.state, time: target };
      this.stateAt = performance.now();
      this.timeline.movePlayhead();
    }
    if (seeking.busy) {
      seeking.next = target;
      return;
    }
    seeking.busy = true;
    this.api.seek(target)
      .then((state) => this.setState(state))
      .catch((error) => this.reportError(error))
      .finally(() => {
        seeking.busy = false;
        if (seeking.next !== null) {
          const next = seeking.next;
          seeking.next = null;
          this.seek(next);
        }
      });
  }

  togglePause() {
    const call = this.isPlaying() ? this.api.pause() : this.api.play();
    return call.then((state) => this.setState(state)).catch((error) => this.reportError(error));
  }

  setLoop(from, to) {
    return this.api.loop(from, to)
      .then((state) => {
        this.setState(state);
        this.showMessage(`Looping ${formatClock(from)} – ${formatClock(to)}`);
      })
      .catch((error) => this.reportError(error));
  }

  clearLoop() {
    return this.api.loopOff().then((state) => this.setState(state)).catch((error) => this.reportError(error));
  }

  // --- edits: every edit answers with the new generation; the document is then read again

  async change(call, done) {
    try {
      const answer = await call();
      if (this.state) this.state = { ...this.state, undo: answer.undo, redo: answer.redo };
      await this.loadDocument();
      if (this.doc.generation < answer.generation) await this.loadDocument();
      this.showMessage(done);
      return true;
    } catch (error) {
      this.reportError(error);
      if (error.status === 409 || error.status === 400) await this.loadDocument().catch(() => {});
      this.panel.render();
      this.curves.refresh();
      return false;
    }
  }

  editEvent(track, event, start, end) {
    return this.change(() => this.api.edit({ op: "event", track, event, start: Math.round(start), end: Math.round(end) }),
      `Track ${track}, event ${event}: ${start} – ${end} ms`);
  }

  editValue(param, value) {
    const { track, event } = this.selection;
    return this.change(() => this.api.edit({ op: "value", track, event, param, value }), `Parameter ${param} set`);
  }

  editKeys(param, keys) {
    const { track, event } = this.selection;
    return this.change(() => this.api.edit({ op: "keys", track, event, param, keys }), `Parameter ${param}: ${keys.length} keys`);
  }

  undo() {
    return this.change(() => this.api.undo(), "Undone");
  }

  redo() {
    return this.change(() => this.api.redo(), "Redone");
  }

  // --- messages

  showMessage(text) {
    const line = this.elements.message;
    line.className = "";
    line.textContent = text;
  }

  showError(text) {
    const line = this.elements.message;
    line.className = "error";
    line.textContent = text;
  }

  reportError(error) {
    if (error.status === 403) {
      this.block("Open the address the player printed (with ?token=...)");
      return;
    }
    if (error.status === 409) {
      this.showError(`${error.message} The document was read again.`);
      return;
    }
    this.showError(error.message || String(error));
  }

  block(text) {
    this.blocked = true;
    this.link.close();
    this.showError(text);
    if (!document.getElementById("blocked")) document.body.append(make("div", { id: "blocked" }, text));
  }

  // --- controls and keyboard

  bindControls() {
    const e = this.elements;
    e.play.addEventListener("click", () => this.togglePause());
    e["loop-off"].addEventListener("click", () => this.clearLoop());
    e.undo.addEventListener("click", () => this.undo());
    e.redo.addEventListener("click", () => this.redo());
    e["zoom-in"].addEventListener("click", () => this.timeline.zoom(1.5));
    e["zoom-out"].addEventListener("click", () => this.timeline.zoom(1 / 1.5));
    e["zoom-fit"].addEventListener("click", () => this.timeline.fit());
    // A button keeps no focus after a click, so that Space goes on pausing instead of pressing it again.
    for (const button of document.querySelectorAll("#bar button"))
      button.addEventListener("click", () => button.blur());
    window.addEventListener("keydown", (event) => this.key(event));
  }

  key(event) {
    const target = event.target;
    if (target && (target.tagName === "INPUT" || target.tagName === "TEXTAREA" || target.tagName === "SELECT")) {
      if (event.key === "Escape") target.blur(); // back to the studio's keys
      return;
    }
    const ctrl = event.ctrlKey || event.metaKey;
    const key = event.key;
    let handled = true;
    if (ctrl && (key === "z" || key === "Z") && !event.shiftKey) this.undo();
    else if (ctrl && ((key === "z" || key === "Z") && event.shiftKey || key === "y" || key === "Y")) this.redo();
    else if (ctrl) handled = false;
    else if (key === " ") this.togglePause();
    else if (key === "+" || key === "=") this.timeline.zoom(1.5);
    else if (key === "-" || key === "_") this.timeline.zoom(1 / 1.5);
    else if (key === "Delete" || key === "Backspace") handled = this.curves.removeSelectedKey();
    else handled = false;
    if (handled) event.preventDefault();
  }

  // --- for tests: where things are on the screen (viewport coordinates)

  eventRect(track, event) {
    const box = this.timeline.eventBox(track, event);
    if (!box) return null;
    const r = this.timeline.canvas.getBoundingClientRect();
    return { left: r.left + box.left, right: r.left + box.right, top: r.top + box.top, bottom: r.top + box.bottom };
  }

  rulerPoint(time) {
    const r = this.timeline.canvas.getBoundingClientRect();
    return { x: r.left + this.timeline.timeToX(time), y: r.top + SECONDS_H / 2 };
  }

  // The handle of key `index` of the focused multi parameter, or null.
  keyPoint(index) {
    const keys = this.curves.keys;
    if (!keys || !keys[index]) return null;
    const f = this.curves.frame();
    const r = this.curves.canvas.getBoundingClientRect();
    return { x: r.left + f.x(keys[index].time), y: r.top + f.y(keys[index].value) };
  }
}

window.studio = new Studio();
window.studio.start();
