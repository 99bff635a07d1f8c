// The browser build end to end, in headless Chromium: the page loads, with its icon and licences,
// and asks the fullscreen question in its overlay; Enter answers Yes; the first frame shows the
// title, the board, the head heading right from (6, 5) (the first frame of a game steps at once,
// so it shows the head at (7, 5)) and the food at (9, 10); Down turns the snake; a scripted game
// eats the first food (score 1 on screen) and starts a sound; F1 keeps the game; Escape ends it
// and the page says so. The first frame equals the native build's first frame of a game (written
// by its render test) but for texture filtering. On a second page No to the question ends the
// game after the game's own message. On a third, whose clock and display frames the test drives,
// display frames at 60 Hz run 100 game frames a second, a 2-second stall runs a few frames and not
// 200, and a hidden page runs none.
// Usage: node play_in_browser.js BUILD_WEB_DIR SHOTS_DIR [NATIVE_FIRST_FRAME.ppm]
'use strict';
const fs = require('fs');
const path = require('path');
const { serve, launch, runScenario, captureFrames, waitFor, press, sleep } = require('./browser');

const QUESTION =
  'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?';
const FOOD = '9,10';

const root = path.resolve(process.argv[2] || 'build/web');
const shots = path.resolve(process.argv[3] || path.join(root, '..', 'web-test', 'shots'));
const nativeFirstFrame = process.argv[4];

let failures = 0;
function check(condition, what, detail = '') {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}${detail ? `: ${detail}` : ''}`);
  if (!condition) failures++;
}

// The snake's cells in a frame: the occupied cells other than the food's.
function snakeCells(frame, food = FOOD) {
  return frame.cells().filter((cell) => cell !== food);
}

// The score's first digit and the speed's first digit (both after a seven-character label of
// 15-pixel glyphs from x = 40, at y = 20 and 50): the same glyph when both read 1.
function scoreReadsOne(frame) {
  return frame.sameGlyph(145, 20, 145, 50) && frame.meanBrightness(160, 20, 200, 36) < 2;
}

async function answerQuestion(page) {
  await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
  const asked = await page.evaluate(() => ({
    caption: document.getElementById('question-caption').textContent,
    text: document.getElementById('question-text').textContent,
    buttons: [...document.querySelectorAll('#question button')].map((b) => b.textContent),
  }));
  check(asked.text === QUESTION && asked.caption === 'Zelu GL', 'the overlay asks the fullscreen question', JSON.stringify(asked.text));
  check(asked.buttons.join('/') === 'Yes/No', 'with Yes and No', asked.buttons.join('/'));
  await page.keyboard.press('Enter');
  await waitFor(page, () => document.querySelector('#question.open') === null, 30, 'the overlay to close');
  return asked;
}

// Steers toward the food from the head's cell, one key per step, until the score reads 1.
async function eatFirstFood(page) {
  for (let attempt = 0; attempt < 120; attempt++) {
    const [frame] = await captureFrames(page, 1);
    if (scoreReadsOne(frame)) return frame;
    const snake = snakeCells(frame);
    if (snake.length !== 1) continue; // the head sits on the food in this frame
    const [column, row] = snake[0].split(',').map(Number);
    const key = column !== 9 ? (column < 9 ? 'ArrowRight' : 'ArrowLeft') : row < 10 ? 'ArrowDown' : 'ArrowUp';
    await press(page, key, 60);
  }
  return null;
}

// A binary PPM picture (P6, 8 bits): { width, height, rgb } with the top row first.
function readPixmap(file) {
  const data = fs.readFileSync(file);
  const header = data.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error(`${file} is no 8-bit binary PPM`);
  return { width: Number(header[1]), height: Number(header[2]), rgb: data.subarray(header[0].length) };
}

// Where the frame is textured: the texts above the board, and the cells of the head and the food
// with a pixel around them.
function textured(x, y, cells) {
  if (y < 90) return true;
  return cells.some(([column, row]) => x >= 39 + 40 * column && x <= 81 + 40 * column &&
                                       y >= 89 + 30 * row && y <= 121 + 30 * row);
}

// The browser's first frame against the native build's first frame of a game: the two software
// rasterisers may filter textures a little differently, and nothing else.
function compareWithNative(frame) {
  if (!nativeFirstFrame) {
    check(false, 'the native first frame to compare with is given');
    return;
  }
  const native = readPixmap(nativeFirstFrame);
  const cells = [[7, 5], [9, 10]];
  let differing = 0;
  let outsideTextures = 0;
  let worst = 0;
  for (let y = 0; y < native.height; y++)
    for (let x = 0; x < native.width; x++) {
      const here = frame.at(x, y);
      const offset = (y * native.width + x) * 3;
      const difference = Math.max(...here.map((value, i) => Math.abs(value - native.rgb[offset + i])));
      if (difference === 0) continue;
      differing++;
      worst = Math.max(worst, difference);
      if (!textured(x, y, cells)) outsideTextures++;
    }
  check(native.width === 640 && native.height === 480 && worst <= 8 && outsideTextures === 0,
        'the first frame equals the native one but for texture filtering',
        `${differing} of ${native.width * native.height} pixels differ, by ${worst} at most; ` +
        `${outsideTextures} outside the textured places`);
}

// Waits for the game to end: resolves with the exit code and the status line that the page shows.
async function gameEnd(page) {
  await waitFor(page, () => document.body.dataset.exitCode !== undefined, 10, 'the game to end');
  return page.evaluate(() => ({
    code: document.body.dataset.exitCode,
    status: document.getElementById('status').textContent,
  }));
}

// The whole game on one page: see the top of this file.
async function playAGame(page) {
  // The page's icon and the licences it links to come with the build.
  const linked = await page.evaluate(async () => {
    const names = [document.querySelector('link[rel=icon]').getAttribute('href'),
                   ...[...document.querySelectorAll('footer a')].map((a) => a.getAttribute('href'))];
    return Promise.all(names.map(async (name) => `${name} ${(await fetch(name)).status}`));
  });
  check(linked.length === 3 && linked.every((line) => line.endsWith(' 200')),
        'the icon and the licence links are served', linked.join(', '));

  // The first 40 frames are captured from the start: the very first one, and a step.
  await answerQuestion(page);
  await waitFor(page, () => window.__zelu.frames.length >= 40, 30, 'the first 40 frames');
  const frames = (await captureFramesSoFar(page)).filter((f) => f.titlePixels() > 0);
  const first = frames[0];
  check(first !== undefined, 'frames are presented after the answer');
  check(first.titlePixels() >= 300, 'the first frame shows the title', `${first.titlePixels()} pixels`);
  check(first.gridLinePixels() >= 340, 'and the board', `${first.gridLinePixels()} grid pixels`);
  const firstCells = first.cells();
  check(firstCells.join(' ') === `7,5 ${FOOD}`,
        'the head one step right of (6, 5), at (7, 5), and the food at (9, 10)', firstCells.join(' '));
  compareWithNative(first);
  const stepped = frames.find((f) => snakeCells(f).join() !== snakeCells(first).join());
  check(stepped !== undefined && snakeCells(stepped).join() === '8,5', 'the next step goes right',
        stepped ? snakeCells(stepped).join(' ') : 'no step in 40 frames');

  // Down turns the snake: the head leaves row 5 and goes on down its column.
  await press(page, 'ArrowDown', 80);
  const heads = [];
  for (let i = 0; i < 60 && heads.length < 2; i++) {
    const [frame] = await captureFrames(page, 1);
    const snake = snakeCells(frame);
    if (snake.length !== 1 || snake[0].endsWith(',5')) continue;
    if (heads.length === 0 || heads[0] !== snake[0]) heads.push(snake[0]);
  }
  const [a, b] = heads.map((cell) => cell.split(',').map(Number));
  // Reading a frame back takes about a step, so the second look may come a step or two late.
  const down = b === undefined ? 0 : (b[1] - a[1] + 12) % 12;
  check(b !== undefined && a[0] === b[0] && down >= 1 && down <= 3, 'Down turns the snake',
        heads.join(' then ') || 'still on row 5');

  const soundsBefore = await page.evaluate(() => window.__zelu.soundStarts);
  const eaten = await eatFirstFood(page);
  check(eaten !== null, 'a scripted game eats the first food: score 1 on screen');
  await sleep(300);
  const soundsAfter = await page.evaluate(() => window.__zelu.soundStarts);
  check(soundsAfter > soundsBefore, 'eating starts a sound (Web Audio starts)', `${soundsBefore} -> ${soundsAfter}`);
  await page.screenshot({ path: path.join(shots, 'playing.png') });

  // F1 reopens the game in the other mode (fullscreen when the browser grants it, else the
  // question again); the game goes on with its score.
  await press(page, 'F1', 60);
  await sleep(500);
  if (await page.evaluate(() => document.querySelector('#question.open') !== null))
    await answerQuestion(page);
  const after = await captureFrames(page, 3);
  const last = after[after.length - 1];
  check(last.titlePixels() >= 300 && scoreReadsOne(last), 'F1 keeps the game (score still 1)',
        `title ${last.titlePixels()}, cells ${last.cells().join(' ')}`);
  const fullscreen = await page.evaluate(() => document.fullscreenElement !== null);
  console.log(`     after F1 the page is ${fullscreen ? 'fullscreen' : 'windowed'}`);

  await press(page, 'Escape', 60);
  const ended = await gameEnd(page);
  check(ended.code === '0' && /has ended/.test(ended.status), 'Escape ends the game and the page says so',
        ended.status);
}

// No to the fullscreen question, chosen with the arrow keys as in the desktop box: the game says
// "Program Will Now Close." in a box of its own, whose OK ends the game, and the page says so.
async function answerNo(page) {
  await waitFor(page, () => document.querySelector('#question.open') !== null, 30, 'the question');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  await waitFor(page, () => document.querySelector('#question.open') !== null &&
                      document.getElementById('question-text').textContent === 'Program Will Now Close.',
                10, 'the closing message');
  const box = await page.evaluate(() => ({
    caption: document.getElementById('question-caption').textContent,
    buttons: [...document.querySelectorAll('#question button')].map((b) => b.textContent).join('/'),
  }));
  check(box.caption === 'ERROR' && box.buttons === 'OK', 'No: "Program Will Now Close." in a box "ERROR" with OK',
        `${box.caption}, ${box.buttons}`);
  await page.keyboard.press('Enter');
  const ended = await gameEnd(page);
  check(ended.code === '0' && /has ended/.test(ended.status), 'its OK ends the game and the page says so',
        ended.status);
}

// Runs in the page before its scripts: the page's clock (performance.now) and its display frames
// (requestAnimationFrame) are the test's, as is whether the page is hidden. Counts the game's
// frames by their glClear.
function drivenDisplay() {
  const display = (window.__zeluDisplay = { now: 1000, callbacks: new Map(), next: 1, hidden: false,
                                            clears: 0 });
  performance.now = () => display.now;
  window.requestAnimationFrame = (callback) => {
    display.callbacks.set(display.next, callback);
    return display.next++;
  };
  window.cancelAnimationFrame = (id) => display.callbacks.delete(id);
  Object.defineProperty(document, 'hidden', { get: () => display.hidden });
  Object.defineProperty(document, 'visibilityState', { get: () => (display.hidden ? 'hidden' : 'visible') });
  const clear = WebGLRenderingContext.prototype.clear;
  WebGLRenderingContext.prototype.clear = function (...args) {
    display.clears++;
    return clear.apply(this, args);
  };
  // In the page: moves the clock on by `millis` and runs the display frame then (none when the
  // page is hidden); resolves with the game frames run by the time the game waits again.
  display.frame = async (millis) => {
    const before = display.clears;
    display.now += millis;
    const callbacks = [...display.callbacks.values()];
    display.callbacks.clear();
    if (!display.hidden) for (const callback of callbacks) callback(display.now);
    // The game has run the frames due when it waits for the next display frame (or, hidden, when
    // its timer has seen the time and it waits again); the page's own animation may ask for the
    // next display frame at once, so the game always gets a turn first.
    for (let i = 0; i < 200 && (i === 0 || (display.hidden ? i < 40 : display.callbacks.size === 0)); i++)
      await new Promise((resolve) => setTimeout(resolve, 5));
    return display.clears - before;
  };
}

// The game paced by display frames, on a page whose clock and display the test drives.
async function pacedByTheDisplay(page) {
  await answerQuestion(page);
  await waitFor(page, () => window.__zeluDisplay.callbacks.size > 0, 10, 'the game to wait for a display frame');
  const frame = (millis) => page.evaluate((m) => window.__zeluDisplay.frame(m), millis);
  for (let i = 0; i < 10; i++) await frame(1000 / 60); // past the first frames

  const perDisplayFrame = [];
  for (let i = 0; i < 600; i++) perDisplayFrame.push(await frame(1000 / 60));
  const total = perDisplayFrame.reduce((sum, n) => sum + n, 0);
  const counts = [...new Set(perDisplayFrame)].sort().join(', ');
  check(Math.abs(total - 1000) <= 1 && perDisplayFrame.every((n) => n === 1 || n === 2),
        '600 display frames at 60 Hz run 1,000 game frames, one or two each',
        `${total} game frames, ${counts} per display frame`);

  const afterStall = await frame(2000);
  const next = await frame(1000 / 60);
  check(afterStall >= 1 && afterStall <= 6 && next >= 1 && next <= 2,
        'a display frame after a 2-second stall runs a few game frames, not 200',
        `${afterStall}, then ${next}`);

  await page.evaluate(() => {
    window.__zeluDisplay.hidden = true;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  let hidden = 0;
  for (let i = 0; i < 5; i++) hidden += await frame(200);
  await page.evaluate(() => {
    window.__zeluDisplay.hidden = false;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  let shown = 0;
  for (let i = 0; i < 30; i++) shown += await frame(1000 / 60);
  check(hidden === 0 && shown > 0, 'a hidden page runs no game frame, and frames resume when it shows',
        `${hidden} while hidden, ${shown} in half a second shown again`);
}

// Opens the page, runs `scenario` on it, and counts what fails, the page's own errors included.
async function onPage(url, capture, name, scenario, scripts = []) {
  // Read `failures` only after the scenario, whose checks add to it too.
  const failed = await runScenario(await launch(url, capture, scripts), shots, name, scenario);
  failures += failed;
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const { server, url } = await serve(root);
  try {
    await onPage(url, 40, 'game', playAGame);
    await onPage(url, 0, 'no', answerNo);
    await onPage(url, 0, 'paced', pacedByTheDisplay, [[drivenDisplay]]);
  } finally {
    server.close();
  }
  console.log(failures === 0 ? 'browser test passed' : `browser test: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

async function captureFramesSoFar(page) {
  const { Frame } = require('./browser');
  const frames = await page.evaluate(() => {
    const taken = window.__zelu.frames;
    window.__zelu.frames = [];
    window.__zelu.capture = 0;
    return taken;
  });
  return frames.map((frame) => new Frame(frame));
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
