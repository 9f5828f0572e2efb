// The hand paddle in a browser: draws what the server's paddle model holds and sends the
// user's actions back, to run through the paddle's own handlers. No framework, no network
// access beyond this server.
'use strict';
(() => {
  const DESIGN_WIDTH = 157;
  const DESIGN_HEIGHT = 286;
  const HEARTBEAT_MS = 200;  // the server lets a silent hold go after 1 s
  const RED_LABELS = new Set(['LabelAD', 'LabelDEC']);
  const OPAQUE_LABELS = new Set(['LabelSideOfPier']);
  // Glyph triangles in a 32 x 32 box, pointing as the window's bitmaps do.
  const GLYPHS = {
    ButtonNorth: '16,5 28,26 4,26',
    ButtonSouth: '4,6 28,6 16,27',
    ButtonEast: '5,16 26,4 26,28',
    ButtonWest: '6,4 27,16 6,28',
  };
  const NAMES = {ButtonNorth: 'North', ButtonSouth: 'South', ButtonEast: 'East', ButtonWest: 'West'};

  const page = (self.crypto && crypto.randomUUID ? crypto.randomUUID() :
      String(Math.random()).slice(2) + String(Date.now())).replace(/[^A-Za-z0-9-]/g, '');
  const paddle = document.getElementById('paddle');
  const status = document.getElementById('status');
  const elements = new Map();
  const held = new Map();  // control name -> pointer id
  let heartbeat = null;
  let connected = null;
  const seenDialogs = new Set();
  const dialogQueue = [];

  const px = (v, whole) => (100 * v / whole) + '%';

  function post(url, body, keepalive) {
    return fetch(url, {
      method: 'POST',
      headers: {'Content-Type': 'application/json'},
      body: JSON.stringify(body),
      keepalive: !!keepalive,
      credentials: 'same-origin',
    }).then((r) => r.ok ? r.json() : r.text().then((t) => { throw new Error(t || r.statusText); }));
  }

  function send(action, control, extra) {
    const body = Object.assign({page, action}, control ? {control} : {}, extra || {});
    return post('/paddle/event', body, action === 'leave' || action === 'release')
        .then((answer) => { showDialogs(answer.dialogs || []); return answer; })
        .catch((e) => { status.textContent = 'Server unreachable: ' + e.message; return {}; });
  }

  // ---- dialogs ----
  function showDialogs(list) {
    for (const d of list) {
      if (seenDialogs.has(d.id) || (d.page && d.page !== page)) continue;
      seenDialogs.add(d.id);
      dialogQueue.push(d);
    }
    if (document.getElementById('dialog').hidden) nextDialog();
  }
  function nextDialog() {
    const d = dialogQueue.shift();
    const shade = document.getElementById('dialog');
    if (!d) { shade.hidden = true; return; }
    document.getElementById('dialog-text').textContent = d.text;
    const hint = document.getElementById('dialog-hint');
    hint.textContent = d.hint || '';
    hint.hidden = !d.hint;
    const icon = document.getElementById('dialog-icon');
    icon.className = 'dialog-icon' + (d.kind === 'error' ? '' : ' info');
    icon.textContent = d.kind === 'error' ? '\u2716' : '\u2139';
    shade.hidden = false;
    document.getElementById('dialog-ok').focus();
  }
  document.getElementById('dialog-ok').addEventListener('click', nextDialog);

  // ---- building the controls from the model ----
  function build(control) {
    let el;
    if (control.kind === 'label') {
      el = document.createElement('div');
      el.className = 'control label ' + (RED_LABELS.has(control.name) ? 'red' : 'lime') +
          (OPAQUE_LABELS.has(control.name) ? ' opaque' : '');
      el.setAttribute('aria-live', 'polite');
    } else if (control.kind === 'slider') {
      el = document.createElement('input');
      el.type = 'range';
      el.min = '0';
      el.max = '2';
      el.step = '1';
      el.className = 'control slider';
      el.setAttribute('aria-label', 'Speed');
      el.addEventListener('change', () => send('slider', null, {position: Number(el.value)}));
    } else if (control.kind === 'direction') {
      el = document.createElement('button');
      el.type = 'button';
      el.className = 'control direction';
      el.setAttribute('aria-label', NAMES[control.name] || control.name);
      el.innerHTML = '<svg viewBox="0 0 32 32"><polygon points="' + GLYPHS[control.name] +
          '"/></svg>';
      bindHold(el, control.name);
    } else {
      el = document.createElement('button');
      el.type = 'button';
      el.className = 'control push';
      el.addEventListener('click', () => send('click', control.name));
    }
    el.id = control.name;
    el.dataset.control = control.name;
    el.style.left = px(control.left, DESIGN_WIDTH);
    el.style.top = px(control.top, DESIGN_HEIGHT);
    el.style.width = px(control.width, DESIGN_WIDTH);
    el.style.height = px(control.height, DESIGN_HEIGHT);
    paddle.insertBefore(el, document.getElementById('offline'));
    elements.set(control.name, el);
    return el;
  }

  function render(state) {
    const wasConnected = connected;
    connected = !!state.connected;
    document.getElementById('offline').hidden = connected;
    const barButton = document.getElementById('connect');
    barButton.hidden = false;
    barButton.textContent = connected ? 'Disconnect' : 'Connect';
    status.textContent = connected ? 'Connected' : 'Not connected';
    if (!connected && wasConnected) releaseAllLocally();
    const alarm = document.getElementById('alarm');
    alarm.hidden = !state.alarm;
    alarm.textContent = state.alarm || '';
    for (const control of state.controls || []) {
      const el = elements.get(control.name) || build(control);
      if (control.kind === 'label' || control.kind === 'button') {
        if (el.textContent !== control.text) el.textContent = control.text;
      }
      if (control.kind === 'slider' && document.activeElement !== el) {
        el.value = String(control.position);
      }
      el.classList.toggle('hidden-control', !control.visible);
      el.classList.toggle('moving', !!control.moving);
      if ('disabled' in el) el.disabled = !control.enabled;
      el.dataset.visible = String(control.visible);
      el.dataset.enabled = String(control.enabled);
    }
  }

  // ---- holding a direction button: the dead man's switch ----
  function bindHold(el, name) {
    el.addEventListener('contextmenu', (e) => e.preventDefault());
    el.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      if (held.has(name) || el.disabled) return;
      held.set(name, e.pointerId);
      el.classList.add('held');
      send('press', name);
      startHeartbeat();
    });
    const letGo = (e) => {
      if (held.get(name) !== e.pointerId) return;
      releaseLocally(name);
      send('release', name);
    };
    for (const type of ['pointerup', 'pointercancel', 'pointerleave']) el.addEventListener(type, letGo);
  }
  function releaseLocally(name) {
    held.delete(name);
    const el = elements.get(name);
    if (el) el.classList.remove('held');
    if (held.size === 0 && heartbeat !== null) {
      clearInterval(heartbeat);
      heartbeat = null;
    }
  }
  function releaseAllLocally() {
    for (const name of Array.from(held.keys())) releaseLocally(name);
  }
  function startHeartbeat() {
    if (heartbeat !== null) return;
    heartbeat = setInterval(() => {
      for (const name of held.keys()) {
        send('heartbeat', name).then((answer) => {
          if (answer.held === false) releaseLocally(name);  // the server let it go
        });
      }
    }, HEARTBEAT_MS);
  }
  function leave() {
    if (held.size === 0) return;
    releaseAllLocally();
    send('leave');
  }
  window.addEventListener('pagehide', leave);
  window.addEventListener('blur', leave);
  document.addEventListener('visibilitychange', () => { if (document.hidden) leave(); });

  // ---- connecting ----
  function toggleConnection() {
    post('/paddle/connect', {connected: !connected, page})
        .then((answer) => { showDialogs(answer.dialogs || []); if (answer.state) render(answer.state); })
        .catch((e) => { status.textContent = e.message; });
  }
  document.getElementById('connect').addEventListener('click', toggleConnection);
  document.getElementById('connect-big').addEventListener('click', toggleConnection);

  // ---- red light ----
  const redButton = document.getElementById('redlight');
  function setRed(on) {
    document.documentElement.classList.toggle('red', on);
    redButton.setAttribute('aria-pressed', String(on));
    try { localStorage.setItem('tramox-red', on ? '1' : '0'); } catch (e) { /* private mode */ }
  }
  redButton.addEventListener('click', () => setRed(!document.documentElement.classList.contains('red')));
  try { setRed(localStorage.getItem('tramox-red') === '1'); } catch (e) { /* private mode */ }

  // ---- the sky: stars and a spiral galaxy, the same on every load ----
  function drawSky() {
    const canvas = document.getElementById('sky');
    const ratio = window.devicePixelRatio || 1;
    const w = Math.max(1, Math.round(paddle.clientWidth * ratio));
    const h = Math.max(1, Math.round(paddle.clientHeight * ratio));
    canvas.width = w;
    canvas.height = h;
    const g = canvas.getContext('2d');
    const scale = w / DESIGN_WIDTH;
    let seed = 20261208;
    const rand = () => ((seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0) >>> 8) / 16777216;
    g.fillStyle = '#000';
    g.fillRect(0, 0, w, h);
    for (let i = 0; i < 260; ++i) {
      const x = rand() * w, y = rand() * h, r = (0.2 + rand() * rand() * 0.9) * scale * 0.5;
      const light = 90 + Math.floor(rand() * 130);
      g.fillStyle = 'rgb(' + light + ',' + light + ',' + Math.min(255, light + 30) + ')';
      g.beginPath();
      g.arc(x, y, r, 0, 2 * Math.PI);
      g.fill();
    }
    // Two logarithmic arms of dim dots round a soft core, seen at an angle.
    const cx = 80 * scale, cy = 150 * scale;
    g.save();
    g.translate(cx, cy);
    g.scale(1, 0.62);
    const core = g.createRadialGradient(0, 0, 0, 0, 0, 22 * scale);
    core.addColorStop(0, 'rgba(255,240,210,0.55)');
    core.addColorStop(1, 'rgba(255,240,210,0)');
    g.fillStyle = core;
    g.beginPath();
    g.arc(0, 0, 22 * scale, 0, 2 * Math.PI);
    g.fill();
    for (let arm = 0; arm < 2; ++arm) {
      for (let i = 0; i < 700; ++i) {
        const t = rand() * 3.2;
        const radius = 5 * Math.exp(0.55 * t) * scale;
        const angle = t * 1.9 + arm * Math.PI + (rand() - 0.5) * 0.5;
        const a = 0.25 * (1 - t / 3.6);
        g.fillStyle = 'rgba(170,190,255,' + a.toFixed(3) + ')';
        g.fillRect(Math.cos(angle) * radius, Math.sin(angle) * radius, scale * 0.7, scale * 0.7);
      }
    }
    g.restore();
  }
  window.addEventListener('resize', drawSky);

  // ---- live updates: a long poll, answered when the model changes ----
  const POLL_GAP_MS = 500;  // never more than two requests a second
  let version = 0;
  let lastDialog = -1;  // -1: only windows raised from now on
  async function poll() {
    for (;;) {
      const started = Date.now();
      try {
        const r = await fetch(`/paddle/state?version=${version}&dialog=${lastDialog}`,
                              {cache: 'no-store', credentials: 'same-origin'});
        if (!r.ok) throw new Error(r.statusText);
        const answer = await r.json();
        version = answer.version;
        lastDialog = answer.lastDialog;
        render(answer.state);
        showDialogs(answer.dialogs || []);
      } catch (e) {
        status.textContent = 'Server unreachable, retrying...';
        await sleep(1000);
      }
      await sleep(Math.max(0, POLL_GAP_MS - (Date.now() - started)));
    }
  }
  const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

  drawSky();
  poll();
})();
