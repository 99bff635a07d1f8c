// What the browser test and the web benchmark share: a server for build/web on 127.0.0.1,
// Debian's Chromium driven by puppeteer-core, and the page-side probes that see the game's frames
// and sounds: each frame is read with readPixels at the moment the game, having drawn, waits for
// the display's next frame (before the browser shows and clears the drawing buffer), and every
// Web Audio start is counted. The probes are injected by the test; the page itself carries none.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const CHROMIUM = process.env.ZELU_CHROMIUM || '/usr/bin/chromium';
const WIDTH = 640;
const HEIGHT = 480;

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8',
  '.css': 'text/css',
  '.webmanifest': 'application/manifest+json',
};

// Serves `root` on 127.0.0.1 at a free port; resolves with { server, url }.
function serve(root) {
  // Bodies served, by address ('/' and '/index.html' apart): a response "not modified" sends none.
  const served = new Map();
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split('?')[0]);
    const file = path.join(root, name === '/' ? 'index.html' : path.normalize(name));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, data) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      // As an ordinary web server: the file's time, and "not modified" when the browser's copy
      // is as new (HTTP dates count whole seconds).
      const modified = new Date(Math.floor(fs.statSync(file).mtimeMs / 1000) * 1000);
      const since = Date.parse(request.headers['if-modified-since'] || '');
      if (!Number.isNaN(since) && since >= modified.getTime()) {
        response.writeHead(304).end();
        return;
      }
      served.set(name, (served.get(name) || 0) + 1);
      response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                                'Last-Modified': modified.toUTCString() });
      response.end(data);
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ server, served, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

// Runs in the page before its scripts.
function pageProbes(width, height, initialCapture) {
  const probe = (window.__zelu = {
    gl: null,
    frames: [],       // { index, time, pixels (base64, bottom row first) } while capturing
    capture: initialCapture, // frames still to capture
    yields: [],       // performance.now() of every frame shown
    frameCount: 0,
    soundStarts: 0,
  });
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (kind, attributes) {
    const context = getContext.call(this, kind, attributes);
    if (context && /webgl/.test(kind) && this.id === 'canvas') probe.gl = context;
    return context;
  };
  // Draw calls since the game last yielded to the display.
  let draws = 0;
  for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!type) continue;
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = type.prototype[name];
      type.prototype[name] = function (...args) {
        draws++;
        return draw.apply(this, args);
      };
    }
  }
  // The game waits for the display's next frame after drawing; the drawing buffer still holds
  // the frame that the page is about to show.
  const requestAnimationFrameOriginal = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    if (draws > 0 && probe.gl) {
      draws = 0;
      probe.frameCount++;
      probe.yields.push(performance.now());
      if (probe.yields.length > 5000) probe.yields.splice(0, 1000);
      if (probe.capture > 0) {
        probe.capture--;
        const pixels = new Uint8Array(width * height * 4);
        probe.gl.readPixels(0, 0, width, height, probe.gl.RGBA, probe.gl.UNSIGNED_BYTE, pixels);
        let text = '';
        for (let i = 0; i < pixels.length; i += 0x8000)
          text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
        probe.frames.push({ index: probe.frameCount, time: performance.now(), pixels: btoa(text) });
      }
    }
    return requestAnimationFrameOriginal.call(this, callback);
  };
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    probe.soundStarts++;
    return start.apply(this, args);
  };
}

// Opens the page with the probes, capturing its first `capture` frames. `scripts`: more page
// scripts, each [function, ...arguments], run after the probes and before the page's own.
// `chromiumArgs`: more switches for Chromium; `beforeLoad(page)`: runs before the page loads
// (to intercept its requests, say); `viewport`: puppeteer's viewport (a phone's, with touch)
// instead of 800 x 640.
async function launch(url, capture = 0, scripts = [],
                      { chromiumArgs = [], beforeLoad, viewport = { width: 800, height: 640 } } = {}) {
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: 'new',
    args: [
      '--use-angle=swiftshader',
      '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required',
      '--no-first-run',
      '--no-sandbox',
      `--window-size=800,640`,
      ...chromiumArgs,
    ],
  });
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const log = [];
  page.on('console', (message) => log.push(`console: ${message.text()}`));
  page.on('pageerror', (error) => log.push(`page error: ${error.message}`));
  await page.evaluateOnNewDocument(pageProbes, WIDTH, HEIGHT, capture);
  for (const [script, ...args] of scripts) await page.evaluateOnNewDocument(script, ...args);
  if (beforeLoad) await beforeLoad(page);
  const started = Date.now();
  await page.goto(url);
  return { browser, page, log, started };
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until `predicate` (run in the page) is true; throws after `seconds`.
async function waitFor(page, predicate, seconds, what, arg) {
  try {
    await page.waitForFunction(predicate, { timeout: seconds * 1000, polling: 20 }, arg);
  } catch (error) {
    throw new Error(`timed out after ${seconds} s waiting for ${what}`);
  }
}

// Captures the next `count` frames; resolves with them as Frame objects.
async function captureFrames(page, count, seconds = 30) {
  await page.evaluate((n) => {
    window.__zelu.frames = [];
    window.__zelu.capture = n;
  }, count);
  await waitFor(page, (n) => window.__zelu.frames.length >= n, seconds, `${count} frames`, count);
  const frames = await page.evaluate(() => {
    const taken = window.__zelu.frames;
    window.__zelu.frames = [];
    return taken;
  });
  return frames.map((frame) => new Frame(frame));
}

// One frame as read back: RGBA, bottom row first; At() takes top-down canvas coordinates.
class Frame {
  constructor({ index, time, pixels }) {
    this.index = index;
    this.time = time;
    this.rgba = Buffer.from(pixels, 'base64');
  }
  at(x, y) {
    const offset = ((HEIGHT - 1 - y) * WIDTH + x) * 4;
    return [this.rgba[offset], this.rgba[offset + 1], this.rgba[offset + 2]];
  }
  meanBrightness(left, top, right, bottom) {
    let sum = 0;
    let count = 0;
    for (let y = top; y < bottom; y++)
      for (let x = left; x < right; x++, count++) {
        const [r, g, b] = this.at(x, y);
        sum += (r + g + b) / 3;
      }
    return sum / count;
  }
  // The grid's lines are greys of 0.4 and 0.5: the pixels of its left line (x = 40, give or take
  // the pixel that line rasterisation allows), which no sprite covers.
  gridLinePixels() {
    let most = 0;
    for (let x = 39; x <= 41; x++) {
      let count = 0;
      for (let y = 90; y < 450; y++) {
        const [r, g, b] = this.at(x, y);
        if (Math.max(r, g, b) - Math.min(r, g, b) <= 24 && Math.min(r, g, b) >= 70 && Math.max(r, g, b) <= 170)
          count++;
      }
      most = Math.max(most, count);
    }
    return most;
  }
  // Pixels in the title's place in its colour (1, 0.5, 1).
  titlePixels() {
    let count = 0;
    for (let y = 10; y < 43; y++)
      for (let x = 247; x < 474; x++) {
        const [r, g, b] = this.at(x, y);
        if (r >= 120 && b >= 120 && g * 10 < Math.min(r, b) * 7 && g * 10 > r * 3) count++;
      }
    return count;
  }
  // Occupied cells ("column,row"): a cell's inside, 4 pixels in from its lines, is black unless
  // a sprite covers it.
  cells() {
    const occupied = [];
    for (let row = 0; row < 12; row++)
      for (let column = 0; column < 14; column++) {
        const left = 40 + 40 * column;
        const top = 90 + 30 * row;
        if (this.meanBrightness(left + 4, top + 4, left + 36, top + 26) > 12)
          occupied.push(`${column},${row}`);
      }
    return occupied;
  }
  // Whether two 16 x 16 glyph cells hold the same picture (within rounding).
  sameGlyph(x1, y1, x2, y2) {
    let lit = 0;
    for (let y = 0; y < 16; y++)
      for (let x = 0; x < 16; x++) {
        const a = this.at(x1 + x, y1 + y);
        const b = this.at(x2 + x, y2 + y);
        if (a.some((value, i) => Math.abs(value - b[i]) > 8)) return false;
        if (a[0] + a[1] + a[2] > 150) lit++;
      }
    return lit > 10;
  }
}

// Holds a key across several frames: the game polls the keys it steers with once per frame.
async function press(page, key, holdMillis = 80) {
  await page.keyboard.down(key);
  await sleep(holdMillis);
  await page.keyboard.up(key);
}

// Runs `scenario` on a page that launch() opened, keeps the page's console in `shots` (and a
// screenshot when the scenario fails) and closes the browser. Returns how many failures it saw,
// the page's own errors included.
async function runScenario({ browser, page, log }, shots, name, scenario) {
  let failed = 0;
  try {
    await scenario(page, browser);
  } catch (error) {
    failed++;
    console.log(`FAIL ${error.message}`);
    await page.screenshot({ path: path.join(shots, `${name}-failure.png`) }).catch(() => {});
  } finally {
    fs.writeFileSync(path.join(shots, `${name}-console.log`), log.join('\n') + '\n');
    const errors = log.filter((line) => /page error|Aborted|RuntimeError/.test(line));
    if (errors.length) {
      failed++;
      console.log(`FAIL the page reported errors:\n  ${errors.join('\n  ')}`);
    }
    await browser.close();
  }
  return failed;
}

module.exports = { serve, launch, runScenario, pageProbes, captureFrames, waitFor, press, sleep, Frame, WIDTH, HEIGHT };
