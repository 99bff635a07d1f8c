// What the page says, in headless Chromium, each case on a page of its own:
//  - a file of the game that cannot be had (the request refused, an HTTP error, a download that
//    stalls, a .wasm that does not compile): within 25 s the page says which file and why, with a
//    "Try again" button that loads the page again; the status line never says "Playing.";
//  - WebGL disabled: the game's own "ERROR" box, and no "Playing." on the status line;
//  - a normal load: "Loading…", then "Starting…" until the first frame, then "Playing." with the
//    frame on the canvas, and never "Playing." while the game's question is open; "Paused." while
//    the page is hidden.
// Every change of the status line is recorded in the page, with whether the canvas held a frame
// and whether a box of the game was open at that moment. Usage: node page_states.js BUILD_WEB_DIR
// [SHOTS_DIR]
'use strict';
const fs = require('fs');
const path = require('path');
const { serve, launch, waitFor, sleep } = require('./browser');

const root = path.resolve(process.argv[2] || 'build/web');
const shots = path.resolve(process.argv[3] || path.join(root, '..', 'web-test', 'shots'));

let failures = 0;
function check(condition, what, detail = '') {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}${detail ? `: ${detail}` : ''}`);
  if (!condition) failures++;
}

// Runs in the page before its scripts: records every text of the status line, the number of lit
// pixels in the canvas's drawing buffer then (-1 before the game has a WebGL context) and whether
// the game's box was open.
function statusRecorder() {
  window.__statuses = [];
  function record() {
    const line = document.getElementById('status');
    const gl = window.__zelu && window.__zelu.gl;
    let lit = -1;
    if (gl) {
      const pixels = new Uint8Array(640 * 480 * 4);
      gl.readPixels(0, 0, 640, 480, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      lit = 0;
      for (let i = 0; i < pixels.length; i += 4) if (pixels[i] + pixels[i + 1] + pixels[i + 2] > 60) lit++;
    }
    const box = document.querySelector('#question.open');
    const entry = { text: line.textContent, lit, box: box !== null };
    const last = window.__statuses[window.__statuses.length - 1];
    if (!last || last.text !== entry.text) window.__statuses.push(entry);
  }
  // From the moment the parser makes the status line: the page may have moved on from its first
  // text before the document has finished loading (its later scripts wait on the network).
  const watchDocument = new MutationObserver(() => {
    const line = document.getElementById('status');
    if (!line || !line.firstChild) return;
    watchDocument.disconnect();
    record();
    new MutationObserver(record).observe(line, { childList: true, characterData: true, subtree: true });
  });
  watchDocument.observe(document, { childList: true, subtree: true });
}

const statuses = (page) => page.evaluate(() => window.__statuses);
const shown = (list) => list.map((s) => `${s.text}${s.box ? ' [box]' : ''}${s.lit >= 0 ? ` (${s.lit} lit)` : ''}`).join(' | ');

// Opens a page whose requests go through `route(request)` (which answers, refuses or holds them);
// counts the page's loads. Runs `scenario(page, loads)`, then closes it.
async function onPage(url, name, { route, chromiumArgs = [] }, scenario) {
  const loads = { count: 0 };
  const { browser, page } = await launch(url, 0, [[statusRecorder]], {
    chromiumArgs,
    beforeLoad: async (p) => {
      await p.setRequestInterception(true);
      p.on('request', (request) => {
        if (request.isInterceptResolutionHandled()) return;
        if (request.resourceType() === 'document') loads.count++;
        if (!route || !route(request)) request.continue();
      });
    },
  });
  console.log(`--- ${name}`);
  try {
    await scenario(page, loads);
  } catch (error) {
    failures++;
    console.log(`FAIL ${error.message}`);
    await page.screenshot({ path: path.join(shots, `${name}-failure.png`) }).catch(() => {});
  } finally {
    await browser.close();
  }
}

const named = (file) => (request) => new URL(request.url()).pathname.endsWith(`/${file}`);

// How each file of the game fails; `route` returns true when it dealt with the request.
const FailureCases = [
  { name: 'wasm-refused', file: 'zelu-line.wasm', expected: /^Could not download zelu-line\.wasm: the network failed \(no connection to the server\)\.$/,
    route: (r) => named('zelu-line.wasm')(r) && (r.abort('connectionrefused'), true) },
  { name: 'js-not-found', file: 'zelu-line.js', expected: /^Could not download zelu-line\.js: the network failed \(the server answered 404 Not Found\)\.$/,
    route: (r) => named('zelu-line.js')(r) && (r.respond({ status: 404, contentType: 'text/plain', body: 'no' }), true) },
  { name: 'wasm-not-compiling', file: 'zelu-line.wasm', expected: /^The game stopped: CompileError: /,
    route: (r) => named('zelu-line.wasm')(r) &&
      (r.respond({ status: 200, contentType: 'application/wasm', body: Buffer.from('not a module') }), true) },
  // Held without an answer: the page gives up after 20 s without progress.
  { name: 'wasm-stalled', file: 'zelu-line.wasm', expected: /^Could not download zelu-line\.wasm: the network failed \(nothing arrived for 20 s\)\.$/,
    route: (r) => named('zelu-line.wasm')(r) },
];

async function failureShown(page) {
  await waitFor(page, () => document.querySelector('#failure.open') !== null, 25, 'the failure message');
  return page.evaluate(() => {
    const button = document.getElementById('try-again');
    const box = button.getBoundingClientRect();
    return {
      text: document.getElementById('failure-text').textContent,
      button: button.textContent,
      buttonVisible: box.width > 0 && box.height > 0,
      status: document.getElementById('status').textContent,
    };
  });
}

async function failingFile(url, c) {
  await onPage(url, c.name, { route: c.route }, async (page, loads) => {
    const started = Date.now();
    const seen = await failureShown(page);
    const took = ((Date.now() - started) / 1000).toFixed(1);
    check(c.expected.test(seen.text), `${c.file}: the page says what failed, after ${took} s`, seen.text);
    check(seen.button === 'Try again' && seen.buttonVisible, 'with a "Try again" button', seen.button);
    await page.screenshot({ path: path.join(shots, `${c.name}.png`) });
    const list = await statuses(page);
    check(list.every((s) => s.text !== 'Playing.') && /^The game (could not load|stopped)\.$/.test(seen.status),
          'the status line never says "Playing.", and at the end that the game failed', shown(list));
    await page.click('#try-again');
    await waitFor(page, (n) => window.__statuses && window.__statuses.length >= 1, 10, 'the page to load again');
    await failureShown(page);
    check(loads.count === 2, '"Try again" loads the page again, which says so again', `${loads.count} loads`);
  });
}

async function withoutWebGL(url) {
  await onPage(url, 'no-webgl', { chromiumArgs: ['--disable-webgl', '--disable-3d-apis'] }, async (page) => {
    await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
    await page.keyboard.press('Enter'); // Yes: the game opens its window and asks for WebGL
    await waitFor(page, () => document.querySelector('#question.open') !== null &&
                        document.getElementById('question-caption').textContent === 'ERROR', 30, 'the ERROR box');
    const box = await page.evaluate(() => ({
      text: document.getElementById('question-text').textContent,
      status: document.getElementById('status').textContent,
    }));
    await page.screenshot({ path: path.join(shots, 'no-webgl.png') });
    check(/Rendering Context/.test(box.text), 'the game\'s "ERROR" box says it has no rendering context', box.text);
    check(box.status !== 'Playing.', 'the status line does not say "Playing." under it', box.status);
    await page.keyboard.press('Enter');
    await waitFor(page, () => document.body.dataset.exitCode !== undefined, 10, 'the game to end');
    const list = await statuses(page);
    check(list.every((s) => s.text !== 'Playing.') && /has ended/.test(list[list.length - 1].text),
          'never "Playing.", and the end as usual', shown(list));
  });
}

async function normalLoad(url) {
  await onPage(url, 'normal-load', {}, async (page) => {
    await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
    await sleep(200);
    await page.keyboard.press('Enter');
    await waitFor(page, () => document.getElementById('status').textContent === 'Playing.', 30, '"Playing."');
    const list = await statuses(page);
    const texts = list.map((s) => s.text);
    const starting = list.filter((s) => s.text === 'Starting…');
    const playing = list.find((s) => s.text === 'Playing.');
    check(texts[0] === 'Loading…' && texts.indexOf('Starting…') === 1, 'first "Loading…", then "Starting…"', shown(list));
    check(starting.length > 0 && starting.every((s) => s.lit <= 0), '"Starting…" while no frame is on the canvas',
          shown(starting));
    check(playing.lit > 1000, '"Playing." once the first frame is on the canvas', `${playing.lit} lit pixels`);
    check(list.every((s) => !(s.text === 'Playing.' && s.box)), 'never "Playing." while a box of the game is open',
          shown(list));
    // Hidden pages pause: the status line follows the page's visibility.
    const hidden = await page.evaluate(() => {
      Object.defineProperty(document, 'hidden', { value: true, configurable: true });
      document.dispatchEvent(new Event('visibilitychange'));
      const text = document.getElementById('status').textContent;
      delete document.hidden;
      document.dispatchEvent(new Event('visibilitychange'));
      return [text, document.getElementById('status').textContent];
    });
    check(hidden[0] === 'Paused.' && hidden[1] === 'Playing.', '"Paused." while the page is hidden', hidden.join(' then '));
    await page.screenshot({ path: path.join(shots, 'normal-load.png') });
  });
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const { server, url } = await serve(root);
  try {
    for (const c of FailureCases) await failingFile(url, c);
    await withoutWebGL(url);
    await normalLoad(url);
  } finally {
    server.close();
  }
  console.log(failures === 0 ? 'page states test passed' : `page states test: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
