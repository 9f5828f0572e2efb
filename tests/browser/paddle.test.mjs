// The web paddle and the setup pages in a real browser: Debian's chromium, headless, against
// `tramox --sim serve` on loopback with a fresh TRAMOX_HOME and the simulator's journal.
// Screenshots at a phone size and a desktop size go to TRAMOX_ARTIFACTS on every run.
import {after, before, test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync, spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TRAMOX = process.env.TRAMOX_BIN;
const CHROMIUM = process.env.TRAMOX_CHROMIUM || '/usr/bin/chromium';
const ARTIFACTS = process.env.TRAMOX_ARTIFACTS || path.resolve('artifacts');
const PHONE = {width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true};
const DESKTOP = {width: 1280, height: 800};
const LATITUDE_MESSAGE = 'Latitude must be in the range [-90°,90°]';

const home = fs.mkdtempSync(path.join(os.tmpdir(), 'tramox-browser-'));
const journal = path.join(home, 'journal.txt');
// Away from the pole, where a second of the mount's drift moves the displayed right ascension
// by minutes and two readings a moment apart could never agree; fast slews, so that a park
// (parked only on arrival) arrives within seconds.
const env = {...process.env, TRAMOX_HOME: home, TRAMOX_SIM_JOURNAL: journal,
             TRAMOX_SIM: 'dec=20,slew=60'};
let server;
let serverLog = '';
let browser;
let base;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(what, check, timeoutMs = 10000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error('Timed out waiting for ' + what);
    await sleep(50);
  }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const {port} = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function journalLines() {
  return fs.existsSync(journal) ? fs.readFileSync(journal, 'utf8').split('\n').filter(Boolean) : [];
}

// The lines after `from` that start with one of the names, by name only.
function callsSince(from, names) {
  return journalLines().slice(from).map((l) => l.split(' ')[0]).filter((n) => names.includes(n));
}

async function openPaddle(viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.on('pageerror', (e) => { throw e; });
  await page.goto(base + '/', {waitUntil: 'load'});
  return page;
}

const textOf = (page, id) => page.$eval('#' + id, (el) => el.textContent);

async function connected(page) {
  await waitFor('the paddle to show the model', () =>
    page.evaluate(() => !!document.getElementById('LabelAD') &&
                        document.getElementById('offline').hidden));
}

// Opens a connected paddle and holds a direction button down until the axis moves; returns the
// page and the journal's length before the press.
async function holdOnNewPage(id) {
  const page = await openPaddle(DESKTOP);
  await connected(page);
  const from = journalLines().length;
  const box = await (await page.$('#' + id)).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await waitFor('the move', () => callsSince(from, ['MoveEngineDevice_DLL']).length > 0, 3000);
  return {page, from};
}

const stopped = (from, withinMs) => waitFor('the stop', () =>
  callsSince(from, ['StopTelescopeEngineDevice_DLL']).length > 0, withinMs);

async function screenshot(page, name) {
  fs.mkdirSync(ARTIFACTS, {recursive: true});
  await page.screenshot({path: path.join(ARTIFACTS, name)});
}

before(async () => {
  assert.ok(TRAMOX, 'TRAMOX_BIN names the tramox program');
  const port = await freePort();
  const discovery = await freePort();
  base = `http://127.0.0.1:${port}`;
  server = spawn(TRAMOX, ['--sim', 'serve', '--bind', '127.0.0.1', '--port', String(port),
                          '--discovery-port', String(discovery)], {env});
  server.stdout.on('data', (d) => { serverLog += d; });
  server.stderr.on('data', (d) => { serverLog += d; });
  await waitFor('the server to answer', async () => {
    try {
      return (await fetch(base + '/management/apiversions')).ok;
    } catch {
      return false;
    }
  }, 20000);
  browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: fs.mkdtempSync(path.join(home, 'chromium-')),
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) {
    server.kill('SIGINT');
    await new Promise((resolve) => {
      const timer = setTimeout(() => { server.kill('SIGKILL'); resolve(); }, 5000);
      server.once('exit', () => { clearTimeout(timer); resolve(); });
    });
  }
  if (process.exitCode) console.log(serverLog);
  fs.rmSync(home, {recursive: true, force: true});
});

test('a page with no driver connected says so and connects through Connected', async () => {
  const page = await openPaddle(DESKTOP);
  await waitFor('the not-connected notice', () =>
    page.$eval('#offline', (el) => !el.hidden).catch(() => false));
  await page.click('#connect-big');
  await connected(page);
  await page.close();
});

// The mount moves, so the script's reading is bracketed by two of the page's (MAJ, then the
// page's labels); a bracket across a change of the display is taken again.
test('the labels show what the paddle command of tramox script shows', async () => {
  const page = await openPaddle(DESKTOP);
  await connected(page);
  const names = ['LabelAD', 'LabelDEC', 'LabelSideOfPier', 'ButtonPark', 'ButtonTracking'];
  const pageLabels = async () => {
    await page.click('#ButtonMaj');
    await sleep(700);  // the page hears of the change within a poll
    return Promise.all(names.map((name) => textOf(page, name)));
  };
  let attempt = 0;
  for (;;) {
    const first = await pageLabels();
    const script = execFileSync(TRAMOX, ['--sim', 'script', '-'],
                                {env, input: 'put Connected true\npaddle\n'}).toString();
    const last = await pageLabels();
    const scripted = names.map((name) => {
      const line = script.split('\n').find((l) => l.startsWith(`control ${name} `));
      assert.ok(line, `${name} in:\n${script}`);
      return JSON.parse(line.match(/text=("(?:[^"\\]|\\.)*")/)[1]);
    });
    if (JSON.stringify(first) !== JSON.stringify(last) && ++attempt < 5) continue;
    assert.deepEqual(first, scripted);
    break;
  }
  await screenshot(page, 'web-paddle-desktop.png');
  await page.close();
});

test('holding North for a second moves the axis and letting go stops it', async () => {
  const {page, from} = await holdOnNewPage('ButtonNorth');
  await sleep(1000);
  await page.mouse.up();
  await stopped(from, 3000);
  assert.deepEqual(callsSince(from, ['MoveEngineDevice_DLL', 'StopTelescopeEngineDevice_DLL']),
                   ['MoveEngineDevice_DLL', 'StopTelescopeEngineDevice_DLL']);
  await page.close();
});

test('on a phone: park, the parked error in the dialog, and unpark', async () => {
  const page = await openPaddle(PHONE);
  await connected(page);
  await screenshot(page, 'web-paddle-phone.png');
  await page.tap('#ButtonSetPark');
  await page.tap('#ButtonPark');
  // Parked on arrival, which the update button's refresh finds out.
  await waitFor('the caption UnPark', async () => {
    await page.tap('#ButtonMaj');
    return (await textOf(page, 'ButtonPark')) === 'UnPark';
  }, 20000);
  await page.tap('#ButtonEast');
  await waitFor('the dialog', () => page.$eval('#dialog', (el) => !el.hidden));
  assert.equal(await textOf(page, 'dialog-text'), 'Telescope is parked.');
  await screenshot(page, 'web-paddle-phone-dialog.png');
  while (await page.$eval('#dialog', (el) => !el.hidden)) await page.tap('#dialog-ok');
  await page.tap('#ButtonPark');
  await waitFor('the caption Park', async () => (await textOf(page, 'ButtonPark')) === 'Park',
                20000);
  await page.close();
});

test('closing the tab while holding East stops the axis within 2 s', async () => {
  const {page, from} = await holdOnNewPage('ButtonEast');
  await page.close();
  await stopped(from, 2000);
});

test('a page that goes silent while holding has its button released', async () => {
  const {page, from} = await holdOnNewPage('ButtonWest');
  await page.setOfflineMode(true);  // its heartbeats no longer reach the server
  await stopped(from, 2500);
  await page.setOfflineMode(false);
  await page.mouse.up();
  await page.close();
});

test('the setup form refuses latitude 100 with the driver\'s message', async () => {
  const page = await browser.newPage();
  await page.setViewport(DESKTOP);
  await page.goto(base + '/setup', {waitUntil: 'load'});
  await page.click('a[href="/setup/v1/telescope/0/setup"]');
  await page.waitForSelector('#SiteLatitude');
  await page.$eval('#SiteLatitude', (el) => { el.value = '100'; });
  await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
  assert.equal(await textOf(page, 'SiteLatitude-error'), LATITUDE_MESSAGE);
  await screenshot(page, 'web-setup-desktop.png');
  await page.close();
});

test('another site cannot change state and the pages carry a security policy', async () => {
  const refused = await fetch(base + '/paddle/event', {
    method: 'POST',
    headers: {'Origin': 'http://evil.example', 'Content-Type': 'text/plain'},
    body: JSON.stringify({page: 'x', action: 'click', control: 'ButtonTracking'}),
  });
  assert.equal(refused.status, 403);
  const page = await fetch(base + '/paddle');
  assert.match(page.headers.get('content-security-policy') || '', /script-src 'self'/);
});
