// The page around the graph: the controls call the C++ side (fv_... in
// src/web/page.cpp), which draws into the canvas; this script only places
// the text over it, keeps the address in step and saves files.
'use strict';

const started = performance.now();
const $ = (id) => document.getElementById(id);
const canvas = $('graph');
// Messages the engine prints while a call runs are shown beside the field
// that made the call; others go to the console as notes.
let captured = null;

var Module = {
  canvas,
  print: (line) => (captured ? captured.push(line) : console.log(line)),
  printErr: (line) => (captured ? captured.push(line) : console.warn(line)),
  onRuntimeInitialized: start,
};

const call = (name, returns, types, args) => Module.ccall(name, returns, types, args);
// Runs a call and gives what the engine printed meanwhile.
function printed(fn) {
  captured = [];
  let result;
  try { result = fn(); } finally { var lines = captured; captured = null; }
  return { result, lines: lines.join('\n') };
}

const TURN_PLANES = ['XY', 'YZ', 'ZX', 'WX', 'WY', 'WZ'];
// A held button steps as the desktop's controller does: every 50 ms.
const HELD_STEP_MS = 50;
const EQUATION_NAMES = ['x(s,t)', 'y(s,t)', 'f(x,y,s,t)', 'g(x,y,s,t)'];

let dirty = true;
let size = null;  // a fixed drawing size (?size=WxH), else the stage's
let addressTimer = 0;
let lastOverlay = '';

function redraw() {
  dirty = true;
  clearTimeout(addressTimer);
  addressTimer = setTimeout(writeAddress, 200);
}

function writeAddress() {
  const state = call('fv_state', 'string', [], []);
  history.replaceState(null, '', '#' + state);
}

function notice(text) { $('notice').textContent = text; }

function fitCanvas() {
  const w = size ? size[0] : Math.max(1, Math.round(canvas.clientWidth));
  const h = size ? size[1] : Math.max(1, Math.round(canvas.clientHeight));
  if (canvas.width !== w || canvas.height !== h) {
    canvas.width = w;
    canvas.height = h;
    call('fv_resize', null, ['number', 'number'], [w, h]);
    dirty = true;
  }
}

function frame() {
  fitCanvas();
  if (dirty) {
    dirty = false;
    const overlay = call('fv_frame', 'string', [], []);
    if (overlay !== lastOverlay) showOverlay(overlay);
    lastOverlay = overlay;
    refreshControls();
  }
  requestAnimationFrame(frame);
}

const AXIS_COLOURS = ['#f00', '#0a0', '#00f', '#000'];
function showOverlay(text) {
  const box = $('overlay');
  box.textContent = '';
  let axis = 0;
  for (const line of text.split('\n')) {
    if (!line) continue;
    const [kind, x, y, words] = line.split('\t');
    const span = document.createElement('span');
    span.className = kind;
    span.textContent = words;
    // The desktop's text stands on its baseline 8 pixels below y (the
    // caption) or at the point (the axis letters).
    const baseline = kind === 'axis' ? 0 : 8;
    const em = kind === 'small' ? 13 : kind === 'line' ? 15 : 24;
    span.style.left = x + 'px';
    span.style.top = (Number(y) + baseline - em * 0.8) + 'px';
    if (kind === 'axis') span.style.color = AXIS_COLOURS[axis++ % 4];
    box.appendChild(span);
  }
  // The scale of colour by w, from -R to +R of the model's radius.
  const w = call('fv_flag', 'number', ['number'], [59]);
  $('colourbar').hidden = !w;
  const r = call('fv_value', 'number', ['number'], [10]);
  $('bar-low').textContent = String(Number((-r).toPrecision(3)));
  $('bar-high').textContent = '+' + Number(r.toPrecision(3));
}

function refreshControls() {
  for (const b of document.querySelectorAll('.toggles [data-command]'))
    b.setAttribute('aria-pressed', call('fv_flag', 'number', ['number'], [Number(b.dataset.command)]) ? 'true' : 'false');
  const projection = call('fv_value', 'number', ['number'], [8]);
  for (const b of document.querySelectorAll('[data-projection]'))
    b.setAttribute('aria-pressed', Number(b.dataset.projection) === projection ? 'true' : 'false');
  $('rotation-mode').textContent = call('fv_value', 'number', ['number'], [9]) === 63 ? 'Global Rotation' : 'Local Rotation';
  const polytope = call('fv_polytope_text', 'string', [], []);
  $('model').value = polytope ? 'u:' + polytope : String(call('fv_value', 'number', ['number'], [7]));
  const offset = call('fv_value', 'number', ['number'], [5]);
  if (document.activeElement !== $('offset')) $('offset').value = offset;
  $('offset-value').textContent = offset.toFixed(2);
}

function refreshFields() {
  const inputs = $('plane').querySelectorAll('input');
  inputs.forEach((input, k) => { input.value = call('fv_value', 'number', ['number'], [k]); });
  $('equations').querySelectorAll('input').forEach((input, k) => {
    input.value = call('fv_equation_text', 'string', ['number'], [k]);
  });
  $('ranges').querySelectorAll('input').forEach((input, k) => {
    input.value = call('fv_range_text', 'string', ['number'], [k]);
  });
}

function command(code) {
  call('fv_command', null, ['number'], [code]);
  if (code === 99) refreshFields();
  redraw();
}

function download(name, data, type) {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// The picture with its text: the canvas and the overlay drawn together.
function savePicture() {
  const out = document.createElement('canvas');
  out.width = canvas.width;
  out.height = canvas.height;
  const g = out.getContext('2d');
  g.drawImage(canvas, 0, 0);
  for (const span of $('overlay').children) {
    const style = getComputedStyle(span);
    g.font = style.font;
    g.textBaseline = 'top';
    if (span.className === 'name') { g.fillStyle = '#000'; g.fillText(span.textContent, parseFloat(span.style.left) + 1, parseFloat(span.style.top) + 1); }
    g.fillStyle = style.color;
    g.fillText(span.textContent, parseFloat(span.style.left), parseFloat(span.style.top));
  }
  out.toBlob((blob) => download('fourview.png', blob, 'image/png'), 'image/png');
}

function saveModel(stl) {
  const n = call('fv_export', 'number', ['number'], [stl ? 1 : 0]);
  const at = call('fv_export_data', 'number', [], []);
  const bytes = Module.HEAPU8.slice(at, at + n);
  if (stl) {
    download('fourview.stl', bytes, 'model/stl');
  } else {
    download('fourview.obj', bytes, 'model/obj');
    download('fourview.mtl', call('fv_export_materials', 'string', [], []), 'text/plain');
  }
}

function buildControls() {
  for (const line of call('fv_models', 'string', [], []).split('\n')) {
    if (!line) continue;
    const [id, name] = line.split('\t');
    const option = document.createElement('option');
    option.value = id;
    option.textContent = `${name} (${id})`;
    $('model').appendChild(option);
  }
  // The uniform polychora by family; their values are "u:" and the symbol.
  const groups = {};
  for (const line of call('fv_uniforms', 'string', [], []).split('\n')) {
    if (!line) continue;
    const [family, name, symbol] = line.split('\t');
    if (!groups[family]) {
      groups[family] = document.createElement('optgroup');
      groups[family].label = family;
      $('model').appendChild(groups[family]);
    }
    const option = document.createElement('option');
    option.value = 'u:' + symbol;
    option.textContent = name;
    groups[family].appendChild(option);
  }
  $('model').addEventListener('change', () => {
    const value = $('model').value;
    if (value.startsWith('u:')) {
      const why = call('fv_polytope', 'string', ['string'], [value.slice(2)]);
      if (why) notice(why);
    } else {
      call('fv_model', null, ['number'], [Number(value)]);
    }
    redraw();
  });
  for (const b of document.querySelectorAll('[data-command]'))
    b.addEventListener('click', () => command(Number(b.dataset.command)));
  for (const b of document.querySelectorAll('[data-projection]'))
    b.addEventListener('click', () => command(Number(b.dataset.projection)));

  // The twelve steps: plane k turns forward with request 2k+1, back with 2k+2.
  TURN_PLANES.forEach((plane, k) => {
    const label = document.createElement('span');
    label.textContent = plane;
    $('turns').appendChild(label);
    for (const [text, request] of [['+', 2 * k + 1], ['−', 2 * k + 2]]) {
      const b = document.createElement('button');
      b.textContent = text;
      b.setAttribute('aria-label', `${plane} ${text === '+' ? 'forward' : 'back'}`);
      b.dataset.request = request;
      let timer = 0;
      const step = () => { call('fv_rotate', null, ['number'], [request]); redraw(); };
      const stop = () => { clearInterval(timer); timer = 0; };
      b.addEventListener('pointerdown', (e) => { e.preventDefault(); step(); stop(); timer = setInterval(step, HELD_STEP_MS); });
      for (const end of ['pointerup', 'pointerleave', 'pointercancel']) b.addEventListener(end, stop);
      b.addEventListener('keydown', (e) => { if (e.key === 'Enter' || e.key === ' ') { e.preventDefault(); step(); } });
      $('turns').appendChild(b);
    }
  });

  $('plane-set').addEventListener('click', setPlane);
  $('plane').addEventListener('keydown', (e) => { if (e.key === 'Enter') setPlane(); });
  $('offset').addEventListener('input', () => {
    call('fv_offset', null, ['number'], [Number($('offset').value)]);
    redraw();
  });

  EQUATION_NAMES.forEach((name, k) => {
    const label = document.createElement('label');
    label.textContent = name + ' = ';
    const input = document.createElement('input');
    input.setAttribute('aria-label', name);
    input.spellcheck = false;
    const message = document.createElement('div');
    message.className = 'message';
    input.addEventListener('change', () => {
      const r = printed(() => call('fv_equation', 'number', ['number', 'string'], [k, input.value]));
      // Refused, the set stays as it was; the text stays for mending.
      message.textContent = r.result ? '' : (r.lines || 'refused');
      redraw();
    });
    label.appendChild(input);
    $('equations').append(label, message);
  });
  for (const [k, name] of [[0, 's'], [1, 't']]) {
    const row = document.createElement('div');
    row.className = 'row';
    row.append(`${name} from `);
    const low = document.createElement('input');
    const high = document.createElement('input');
    low.setAttribute('aria-label', `${name}_min`);
    high.setAttribute('aria-label', `${name}_max`);
    low.style.width = high.style.width = '9em';
    const message = document.createElement('div');
    message.className = 'message';
    const apply = () => {
      const r = printed(() => call('fv_range', 'string', ['number', 'string', 'string'], [k, low.value, high.value]));
      message.textContent = r.result ? [r.lines, r.result].filter(Boolean).join('\n') : '';
      redraw();
    };
    low.addEventListener('change', apply);
    high.addEventListener('change', apply);
    row.append(low, ' to ', high);
    $('ranges').append(row, message);
  }

  $('save-png').addEventListener('click', savePicture);
  $('save-obj').addEventListener('click', () => saveModel(false));
  $('save-stl').addEventListener('click', () => saveModel(true));
  $('copy-link').addEventListener('click', () => {
    writeAddress();
    if (navigator.clipboard) navigator.clipboard.writeText(location.href).catch(() => {});
    notice('The address now holds this view.');
  });
}

function setPlane() {
  const v = Array.from($('plane').querySelectorAll('input'), (input) => Number(input.value === '' ? NaN : input.value));
  const why = call('fv_hyperplane', 'string', ['number', 'number', 'number', 'number', 'number'], v);
  $('plane-message').textContent = why;
  if (!why) refreshFields();
  redraw();
}

// The keys of the desktop's graph window; the arrows move the cut.
function onKey(e) {
  if (e.target instanceof HTMLInputElement || e.target instanceof HTMLSelectElement) return;
  if (e.ctrlKey || e.metaKey || e.altKey) return;
  const arrows = { ArrowLeft: 1037, ArrowRight: 1039, ArrowDown: 1040 };
  const code = arrows[e.key] || (e.key.length === 1 ? e.key.charCodeAt(0) : 0);
  if (!code || code > 0xffff) return;
  if (call('fv_key', 'number', ['number'], [code])) {
    e.preventDefault();
    redraw();
  }
}

// Mouse and touch: one pointer turns the view (Shift: zooms), two pinch.
function pointers() {
  const down = new Map();
  let pinch = 0;
  canvas.addEventListener('pointerdown', (e) => {
    canvas.focus();
    canvas.setPointerCapture(e.pointerId);
    down.set(e.pointerId, { x: e.clientX, y: e.clientY });
    pinch = 0;
  });
  canvas.addEventListener('pointermove', (e) => {
    const last = down.get(e.pointerId);
    if (!last) return;
    if (down.size === 2) {
      down.set(e.pointerId, { x: e.clientX, y: e.clientY });
      const [a, b] = [...down.values()];
      const d = Math.hypot(a.x - b.x, a.y - b.y);
      if (pinch > 0 && d > 0) call('fv_zoom', null, ['number'], [d / pinch]);
      pinch = d;
      redraw();
      return;
    }
    const dx = Math.round(e.clientX - last.x), dy = Math.round(e.clientY - last.y);
    if (dx === 0 && dy === 0) return;
    call('fv_drag', null, ['number', 'number', 'number'], [dx, dy, e.shiftKey ? 1 : 0]);
    down.set(e.pointerId, { x: last.x + dx, y: last.y + dy });
    redraw();
  });
  for (const end of ['pointerup', 'pointercancel']) canvas.addEventListener(end, (e) => { down.delete(e.pointerId); pinch = 0; });
  canvas.addEventListener('wheel', (e) => {
    e.preventDefault();
    call('fv_zoom', null, ['number'], [e.deltaY < 0 ? 1.1 : 1 / 1.1]);
    redraw();
  }, { passive: false });
}

function start() {
  const params = new URLSearchParams(location.search);
  const fixed = /^(\d+)x(\d+)$/.exec(params.get('size') || '');
  if (fixed) {
    size = [Number(fixed[1]), Number(fixed[2])];
    $('stage').classList.add('fixed');
    canvas.style.width = size[0] + 'px';
    canvas.style.height = size[1] + 'px';
  }
  fitCanvas();
  const before = performance.now();
  const made = call('fv_start', 'number', ['number', 'number'], [canvas.width, canvas.height]);
  const contextMs = performance.now() - before;
  if (!made) {
    notice('This browser has no WebGL2: the graph cannot be drawn.');
    return;
  }
  buildControls();
  const hash = decodeURIComponent(location.hash.slice(1));
  if (hash) {
    const why = call('fv_restore', 'string', ['string'], [hash]);
    if (why) notice(`The address holds no view this page can show (${why}); this is the start view.`);
  }
  refreshFields();
  pointers();
  document.addEventListener('keydown', onKey);
  const firstFrame = performance.now();
  frame();
  const frameMs = performance.now() - firstFrame;
  requestAnimationFrame(() => {
    // Milliseconds since the navigation began: the page is interactive.
    window.fourviewReady = { ms: performance.now(), script_ms: performance.now() - started,
                             context_ms: contextMs, first_frame_ms: frameMs };
  });
}

// For bench/web_frame_bench.py and docs/performance.md: the median time of
// `frames` frames of a model, as bench/frame_bench times the desktop's: Solid,
// Transparent, Wireframe, Cross Section, Axes and Label on, one step in WX,
// WY, WZ in turn per frame, each frame finished (a pixel read back).
window.fourviewBench = function (model, frames) {
  const gl = canvas.getContext('webgl2');
  const pixel = new Uint8Array(4);
  call('fv_start_state', null, [], []);
  call('fv_model', null, ['number'], [model]);
  call('fv_command', null, ['number'], [57]);
  const finish = () => gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
  call('fv_frame', 'string', [], []);
  finish();
  const times = [];
  for (let k = 0; k < frames; ++k) {
    const t0 = performance.now();
    call('fv_rotate', null, ['number'], [7 + 2 * (k % 3)]);
    call('fv_frame', 'string', [], []);
    finish();
    times.push(performance.now() - t0);
  }
  times.sort((a, b) => a - b);
  redraw();
  return { median: times[Math.floor(frames / 2)], worst: times[frames - 1] };
};

// For the tests: the page's calls, the start state, and keys typed with a
// frame drawn after each, as the desktop's --keys types them.
window.fourview = {
  call,
  startState() {
    call('fv_start_state', null, [], []);
    refreshFields();
    redraw();
  },
  typeKeys(keys) {
    let overlay = call('fv_frame', 'string', [], []);
    for (const k of keys) {
      call('fv_key', 'number', ['number'], [k.charCodeAt(0)]);
      overlay = call('fv_frame', 'string', [], []);
    }
    showOverlay(overlay);
    lastOverlay = overlay;
    return overlay;
  },
};
