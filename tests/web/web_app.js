// The browser build as a web app, in headless Chromium:
//  - gamepad: a scripted pad stands in for navigator.getGamepads from before the page loads; in
//    the question overlay its D-pad moves between the buttons and South answers Yes; in the game
//    D-pad Down turns the snake and Start restarts after a (scripted) death;
//  - touch: a phone emulated (touch events, 390 x 844): the hints show touch controls, a tap
//    answers the overlay, a swipe down and a quick fling turn the snake, a tap restarts after a
//    scripted death, and the canvas is fully in view in portrait and landscape (844 x 390) while
//    the page neither scrolls nor zooms; the page's button switches the mode as F1 does;
//  - installable and offline: Chromium finds no installability errors and the manifest parses;
//    after a first visit a reload with the network off plays; a rebuilt site with another version
//    replaces the cached one; without service workers the page still plays online.
// A scripted death sets the game's gameOver flag in the WebAssembly memory, found by its grid
// record (14, 12, 90, 40, 40, 30 in a row). Usage: node web_app.js BUILD_WEB_DIR [SHOTS_DIR]
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, launch, runScenario, pageProbes, captureFrames, waitFor, sleep, WIDTH, HEIGHT } = require('./browser');

const root = path.resolve(process.argv[2] || 'build/web');
const shots = path.resolve(process.argv[3] || path.join(root, '..', 'web-test', 'shots'));
const repository = path.resolve(__dirname, '..', '..');
const PORTRAIT = { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };
const LANDSCAPE = { ...PORTRAIT, width: 844, height: 390, isLandscape: true };
const DOWN = 3;
const LEFT = 2;

let failures = 0;
function check(condition, what, detail = '') {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}${detail ? `: ${detail}` : ''}`);
  if (!condition) failures++;
}

// Page script: a standard-mapping pad that the test presses through window.__pad.
function scriptedPad() {
  const pad = {
    id: 'zelu-line scripted pad (STANDARD GAMEPAD)', index: 0, connected: true,
    mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
  };
  window.__pad = {
    set(index, down) {
      pad.buttons[index] = { pressed: down, touched: down, value: down ? 1 : 0 };
      pad.timestamp = performance.now();
    },
  };
  Object.defineProperty(Navigator.prototype, 'getGamepads', {
    configurable: true, value: () => [pad, null, null, null] });
}

// Page script: a browser without service workers.
function noServiceWorkers() {
  delete Navigator.prototype.serviceWorker;
}

// The game's record in the page's memory: reads (and writes) its fields by name.
async function game(page, write = {}) {
  return page.evaluate((write) => {
    const heap = Module.HEAP32;
    if (window.__gameAt === undefined) {
      const grid = [14, 12, 90, 40, 40, 30];
      const found = [];
      for (let i = 0; i + grid.length <= heap.length && found.length < 2; i++)
        if (grid.every((value, k) => heap[i + k] === value)) found.push(i);
      if (found.length !== 1) throw new Error(`the game's record found ${found.length} times`);
      window.__gameAt = found[0];
    }
    const at = window.__gameAt;
    const direction = at + 6 + 2 + 400 + 3; // after the grid, length, speed, segments, food
    const gameOverByte = (at + 6 + 2 + 400 + 8) * 4;
    if (write.gameOver !== undefined) Module.HEAPU8[gameOverByte] = write.gameOver ? 1 : 0;
    return { direction: heap[direction], score: heap[direction + 3],
             gameOver: Module.HEAPU8[gameOverByte] === 1, headRow: heap[at + 6 + 2 + 200] };
  }, write);
}

async function waitForGame(page, predicate, seconds, what) {
  const until = Date.now() + seconds * 1000;
  let state;
  while (Date.now() < until) {
    state = await game(page);
    if (predicate(state)) return state;
    await sleep(20);
  }
  throw new Error(`timed out after ${seconds} s waiting for ${what}: ${JSON.stringify(state)}`);
}

async function overlayOpen(page) {
  return page.evaluate(() => document.querySelector('#question.open') !== null);
}

async function focusedButton(page) {
  return page.evaluate(() => document.activeElement && document.activeElement.textContent);
}

// The question answered Yes: the overlay closes, no other box opens, and frames show the game.
async function expectPlaying(page, how) {
  await waitFor(page, () => document.querySelector('#question.open') === null, 30, 'the overlay to close');
  await sleep(300);
  const [frame] = await captureFrames(page, 1);
  check(!(await overlayOpen(page)) && frame.titlePixels() >= 300, `${how} answers Yes: the game plays`,
        `title ${frame.titlePixels()} px`);
}

async function tapOn(page, selector) {
  const box = await (await page.$(selector)).boundingBox();
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
}

// A touch moving from the canvas's middle by (dx, dy) CSS pixels in `steps` moves `millis` apart.
async function swipe(page, dx, dy, steps, millis) {
  const box = await (await page.$('#canvas')).boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  await page.touchscreen.touchStart(x, y);
  for (let i = 1; i <= steps; i++) {
    await sleep(millis);
    await page.touchscreen.touchMove(x + (dx * i) / steps, y + (dy * i) / steps);
  }
  await page.touchscreen.touchEnd();
}

// A fling: a touch that moves `dy` CSS pixels down in `millis` by the events' own clock, which
// the page reads, however long the events take to reach it.
async function fling(page, cdp, dy, millis) {
  const box = await (await page.$('#canvas')).boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  const start = Date.now() / 1000;
  const at = (seconds, type, points) =>
    cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points, timestamp: start + seconds });
  await at(0, 'touchStart', [{ x, y }]);
  await at(millis / 2000, 'touchMove', [{ x, y: y + dy / 2 }]);
  await at(millis / 1000, 'touchMove', [{ x, y: y + dy }]);
  await at(millis / 1000, 'touchEnd', []);
}

async function canvasInView(page) {
  return page.evaluate(() => {
    const box = document.getElementById('canvas').getBoundingClientRect();
    return { inView: box.top >= 0 && box.left >= 0 && box.bottom <= innerHeight && box.right <= innerWidth,
             box: `${Math.round(box.left)},${Math.round(box.top)} ${Math.round(box.width)}x${Math.round(box.height)}`,
             scrolled: scrollX !== 0 || scrollY !== 0 || visualViewport.scale !== 1 };
  });
}

async function gamepad(page) {
  await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
  const pad = (index, down) => page.evaluate((i, d) => window.__pad.set(i, d), index, down);
  const tap = async (index) => {
    await pad(index, true);
    await sleep(120);
    await pad(index, false);
    await sleep(120);
  };
  // A press held until the overlay's focus moves (at most 2 s), then released.
  const move = async (index, to) => {
    await pad(index, true);
    await waitFor(page, (name) => document.activeElement.textContent === name, 2, `focus on ${to}`, to)
      .catch(() => {});
    await pad(index, false);
    await sleep(120);
    return focusedButton(page);
  };
  const afterRight = await move(15, 'No'); // D-pad right
  const afterLeft = await move(14, 'Yes'); // D-pad left
  check(afterRight === 'No' && afterLeft === 'Yes', 'the D-pad moves between the overlay\'s buttons',
        `${afterRight}, then ${afterLeft}`);
  await tap(0);
  await expectPlaying(page, 'South');

  await pad(13, true); // D-pad Down
  const turned = await waitForGame(page, (state) => state.direction === DOWN, 5, 'the snake to turn down')
    .catch((error) => error);
  await pad(13, false);
  check(!(turned instanceof Error), 'D-pad Down turns the snake', turned.message || '');

  await game(page, { gameOver: true });
  await sleep(300);
  const over = await game(page);
  await tap(9); // Start
  const restarted = await waitForGame(page, (state) => !state.gameOver, 5, 'a new game').catch((error) => error);
  check(over.gameOver && !(restarted instanceof Error), 'Start restarts after a death',
        restarted.message || `score ${restarted.score}`);
}

async function touch(page) {
  const hints = await page.evaluate(() => ({
    touch: getComputedStyle(document.getElementById('touch-controls')).display !== 'none',
    keys: getComputedStyle(document.getElementById('controls')).display !== 'none',
    text: document.getElementById('touch-controls').textContent.replace(/\s+/g, ' ').trim(),
  }));
  check(hints.touch && !hints.keys && /Swipe/.test(hints.text) && /Tap/.test(hints.text),
        'the hints show swipe and tap instead of keys', hints.text);
  // The canvas's touches are the game's: the browser neither pans nor zooms for them, and the
  // page prevents their default (scrolling, pull to refresh).
  const own = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const point = new Touch({ identifier: 99, target: canvas, clientX: 100, clientY: 100 });
    const moved = canvas.dispatchEvent(new TouchEvent('touchmove', {
      cancelable: true, bubbles: true, touches: [point], changedTouches: [point] }));
    canvas.dispatchEvent(new TouchEvent('touchcancel', { bubbles: true, changedTouches: [point] }));
    return { touchAction: getComputedStyle(canvas).touchAction, prevented: !moved };
  });
  check(own.touchAction === 'none' && own.prevented, 'touches on the canvas neither scroll nor zoom the page',
        JSON.stringify(own));
  await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
  const buttonHeight = await page.evaluate(() => document.querySelector('#question button').getBoundingClientRect().height);
  check(buttonHeight >= 44, 'the overlay\'s buttons are at least 44 px tall', `${buttonHeight} px`);
  await tapOn(page, '#question button');
  await expectPlaying(page, 'A tap');

  await swipe(page, 0, 90, 6, 16); // about a tenth of a second
  let turned = await waitForGame(page, (state) => state.direction === DOWN, 5, 'a turn down').catch((e) => e);
  check(!(turned instanceof Error), 'a swipe down turns the snake', turned.message || '');
  await swipe(page, -90, 0, 6, 16);
  turned = await waitForGame(page, (state) => state.direction === LEFT, 5, 'a turn left').catch((e) => e);
  check(!(turned instanceof Error), 'a swipe left turns it again', turned.message || '');
  await fling(page, await page.createCDPSession(), 22, 30); // shorter than a swipe, but quick
  turned = await waitForGame(page, (state) => state.direction === DOWN, 5, 'a turn down').catch((e) => e);
  check(!(turned instanceof Error), 'a quick fling down turns the snake', turned.message || '');

  await game(page, { gameOver: true });
  await sleep(300);
  const over = await game(page);
  await tapOn(page, '#canvas');
  const restarted = await waitForGame(page, (state) => !state.gameOver, 5, 'a new game').catch((e) => e);
  check(over.gameOver && !(restarted instanceof Error), 'a tap restarts after a death', restarted.message || '');

  const portrait = await canvasInView(page);
  check(portrait.inView && !portrait.scrolled, 'portrait 390 x 844: the whole canvas in view, no scroll or zoom',
        portrait.box);
  await page.screenshot({ path: path.join(shots, 'phone-portrait.png') });
  await page.setViewport(LANDSCAPE);
  await sleep(500);
  const landscape = await canvasInView(page);
  check(landscape.inView && !landscape.scrolled, 'landscape 844 x 390: the whole canvas in view, no scroll or zoom',
        landscape.box);
  await page.screenshot({ path: path.join(shots, 'phone-landscape.png') });

  // The page's button switches the display mode as F1 does: the browser's fullscreen (a tap is a
  // gesture), or the question again where the browser refuses it; the game goes on either way.
  const windowsBefore = await page.evaluate(() => document.fullscreenElement === null);
  await tapOn(page, '#fullscreen-button');
  await waitFor(page, () => document.fullscreenElement !== null || document.querySelector('#question.open') !== null,
                10, 'fullscreen or the question');
  const switched = await page.evaluate(() => (document.fullscreenElement !== null ? 'fullscreen' : 'the question'));
  if (switched === 'the question') await tapOn(page, '#question button');
  await sleep(300);
  const [frame] = await captureFrames(page, 1);
  check(windowsBefore && frame.titlePixels() >= 300, 'the fullscreen button switches the mode and the game goes on',
        switched);
}

// Answers the question with Enter and waits for a frame of the game.
async function playsFirstFrame(page, how) {
  await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
  await page.keyboard.press('Enter');
  await expectPlaying(page, how);
}

async function cacheNames(page) {
  return page.evaluate(async () => (await caches.keys()).filter((name) => name.startsWith('zelu-line-')));
}

async function installableAndOffline(browser, page, url, site, served) {
  await waitFor(page, () => navigator.serviceWorker.controller !== null, 60, 'the service worker');
  // The worker keeps what the page has downloaded without downloading it again.
  const twice = [...served].filter(([, count]) => count > 1).map(([name, count]) => `${name} ${count}x`);
  check(twice.length === 0 && served.get('/zelu-line.wasm') === 1,
        'a first visit downloads each file once, the service worker\'s copies included',
        twice.join(', ') || `${served.size} files`);
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, 'Chromium finds no installability errors',
        JSON.stringify(installabilityErrors));
  const manifest = await cdp.send('Page.getAppManifest');
  check(manifest.errors.length === 0 && /icon-512/.test(manifest.data), 'the manifest parses with no errors',
        JSON.stringify(manifest.errors));
  const firstCaches = await cacheNames(page);
  check(firstCaches.length === 1 && firstCaches[0].startsWith('zelu-line-1.0.0-'), 'the build is cached under its version',
        firstCaches.join(' '));

  await page.setOfflineMode(true);
  await page.reload();
  await playsFirstFrame(page, 'Offline, after a reload, Enter');
  await page.setOfflineMode(false);

  // Another version of the site on the server: its worker installs beside the old one and takes
  // over once no page of the old one is open.
  const page1 = path.join(site, 'index.html');
  fs.writeFileSync(page1, fs.readFileSync(page1, 'utf8').replace('<title>', '<meta name="zelu-build" content="1.0.1"><title>'));
  childProcess.execFileSync('cmake', ['-DSITE=' + site, '-DVERSION=1.0.1', '-P',
                                      path.join(repository, 'platform/web/make_service_worker.cmake')]);
  await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
  await waitFor(page, async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    return registration.waiting !== null || (registration.active && registration.active.state === 'activated' &&
                                             (await caches.keys()).some((name) => name.startsWith('zelu-line-1.0.1-')));
  }, 60, 'the new build to install');
  // The old worker's last page gone, the new one activates.
  await page.close();
  await sleep(1000);
  const next = await browser.newPage();
  await next.evaluateOnNewDocument(pageProbes, WIDTH, HEIGHT, 0);
  await next.goto(url);
  await waitFor(next, () => navigator.serviceWorker.controller !== null, 30, 'the new service worker');
  await waitFor(next, async () => (await caches.keys()).filter((n) => n.startsWith('zelu-line-')).length === 1 &&
                                  (await caches.keys()).some((n) => n.startsWith('zelu-line-1.0.1-')), 30, 'the old cache to go');
  const rebuilt = await next.evaluate(() => document.querySelector('meta[name=zelu-build]') !== null);
  const names = await cacheNames(next);
  check(rebuilt && names.length === 1 && names[0].startsWith('zelu-line-1.0.1-'),
        'a rebuilt site with another version replaces the cached one', names.join(' '));
  await playsFirstFrame(next, 'The new version, Enter');
}

// Opens a page, runs `scenario` on it, and counts what fails, the page's own errors included.
async function onPage(url, name, scripts, viewport, scenario) {
  const launched = await launch(url, 0, scripts, viewport ? { viewport } : {});
  // Read `failures` only after the scenario, whose checks add to it too.
  const failed = await runScenario(launched, shots, name, scenario);
  failures += failed;
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const { server, url } = await serve(root);
  // The offline run changes its site: a copy of its own.
  const site = fs.mkdtempSync(path.join(os.tmpdir(), 'zelu-web-app-'));
  fs.cpSync(root, site, { recursive: true });
  const copy = await serve(site);
  try {
    await onPage(url, 'gamepad', [[scriptedPad]], undefined, gamepad);
    await onPage(url, 'touch', [], PORTRAIT, touch);
    await onPage(copy.url, 'offline', [], undefined, (page, browser) =>
      installableAndOffline(browser, page, copy.url, site, copy.served));
    await onPage(url, 'no-service-worker', [[noServiceWorkers]], undefined, (page) =>
      playsFirstFrame(page, 'Without service workers, Enter'));
  } finally {
    server.close();
    copy.server.close();
    fs.rmSync(site, { recursive: true, force: true });
  }
  console.log(failures === 0 ? 'web app test passed' : `web app test: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
