// The browser build's timings in headless Chromium, for `make bench` (bench/sections/60_web.sh).
// Each load is a fresh browser (an empty cache) opening build/web: the page answers the
// fullscreen question itself, with Enter, the moment its overlay is on the screen, and notes when
// frames are presented: a yield of the game to the browser after something was drawn (to a display frame,
// or, in builds before the game was paced by the display, to a zero-delay timeout). All times are
// the page's performance.now(), which counts from the navigation's start. The last load goes on
// for a minute of play after the game has run a second: the gaps between presented frames, the
// game's own frames (one glClear each) per second, and the page's busy time.
// Three more loads answer the question after two seconds, as a player who reads it. And as many
// loads again open the page in a browser that already shows another page, as a player's
// browser does: a fresh Chromium starts its GPU side (SwiftShader) only when a page first needs
// it, which makes the first WebGL context of its first page wait for it.
// Prints one `load ...` line per load, one `open ...` line per load in an open browser, one
// `read ...` line per load of a reader and one `pace ...` line, or `failed: REASON`.
// Usage: node web_bench.js BUILD_WEB_DIR [LOADS]
'use strict';
const path = require('path');
const { serve, launch } = require('../tests/web/browser');

const root = path.resolve(process.argv[2] || 'build/web');
const loads = Number(process.argv[3] || 5);
const PlaySeconds = Number(process.env.ZELU_BENCH_WEB_SECONDS || 60);
const SettleMillis = 1000;
// Loads whose question is answered after the time a player takes to read it.
const ReadLoads = 3;
const ReadMillis = 2000;

// Runs in the page before its scripts, after the shared probes. The question is answered
// `readMillis` after it opens.
function benchProbes(readMillis) {
  const bench = (window.__zeluBench = {
    questionAt: null, // the question overlay opened, then was on the screen
    answeredAt: null, // Enter was given to it
    presented: [], // every presented frame
    draws: 0, // draw calls since the last yield
    clears: 0, // glClear calls: one per game frame drawn
    onPresented: null,
  });
  for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!type) continue;
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = type.prototype[name];
      type.prototype[name] = function (...args) {
        bench.draws++;
        return draw.apply(this, args);
      };
    }
    const clear = type.prototype.clear;
    type.prototype.clear = function (...args) {
      bench.clears++;
      return clear.apply(this, args);
    };
  }
  const yielded = () => {
    if (bench.draws === 0) return;
    bench.draws = 0;
    bench.presented.push(performance.now());
    if (bench.onPresented) bench.onPresented();
  };
  const requestAnimationFrameBefore = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    yielded();
    return requestAnimationFrameBefore.call(this, callback);
  };
  const setTimeoutBefore = window.setTimeout;
  window.setTimeout = function (callback, delay, ...rest) {
    if (!delay) yielded();
    return setTimeoutBefore.call(this, callback, delay, ...rest);
  };
  // The first question is answered as a player would, with Enter on its default button, as soon
  // as the overlay is on the screen (the display frame after it opens) or after reading it for
  // `readMillis`.
  const answer = () => {
    bench.answeredAt = performance.now();
    (document.activeElement || document.body).dispatchEvent(
      new KeyboardEvent('keydown', { key: 'Enter', code: 'Enter', bubbles: true, cancelable: true }));
  };
  new MutationObserver(() => {
    const overlay = document.getElementById('question');
    if (bench.questionAt !== null || !overlay || !overlay.classList.contains('open')) return;
    bench.questionAt = performance.now();
    requestAnimationFrameBefore.call(window, () => {
      bench.questionAt = performance.now();
      if (readMillis > 0) setTimeoutBefore.call(window, answer, readMillis);
      else answer();
    });
  }).observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ['class'] });
}

// Resolves with the promise's value, or throws after `seconds`.
function within(seconds, what, promise) {
  let timer;
  const late = new Promise((_, reject) => {
    const error = new Error(`timed out after ${seconds} s waiting for ${what}`);
    timer = setTimeout(() => reject(error), seconds * 1000);
  });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// In the page: resolves with the question's and the answer's times and the first frame's after
// the answer.
function firstFrame() {
  const bench = window.__zeluBench;
  return new Promise((resolve) => {
    const check = () => {
      const frame = bench.presented.find((t) => bench.answeredAt !== null && t > bench.answeredAt);
      if (frame === undefined) return;
      bench.onPresented = null;
      resolve({ question: bench.questionAt, answered: bench.answeredAt, frame });
    };
    bench.onPresented = check;
    check();
  });
}

// In the page: counts from now on (presented frames' times and glClear calls).
function startCounting() {
  const bench = window.__zeluBench;
  bench.presented = [];
  bench.countFrom = { time: performance.now(), clears: bench.clears };
}

// In the page: what was counted since startCounting.
function counted() {
  const bench = window.__zeluBench;
  return { times: bench.presented.slice(), millis: performance.now() - bench.countFrom.time,
           clears: bench.clears - bench.countFrom.clears };
}

// The value below which `share` of the sorted values lie, as the native frame-pace probe takes it.
function quantile(sorted, share) {
  return sorted[Math.min(Math.round(share * (sorted.length - 1)), sorted.length - 1)];
}

// Before the game's page loads: another page is opened and shown for two display frames, then
// the game's tab comes to the front again.
async function showAnotherPageFirst(page) {
  const other = await page.browser().newPage();
  await other.goto('data:text/html,<p>Another page</p>');
  await other.evaluate(() => new Promise((resolve) => {
    requestAnimationFrame(() => requestAnimationFrame(resolve));
  }));
  await page.bringToFront();
}

async function oneLoad(url, withPace, { readMillis = 0, openBrowser = false } = {}) {
  const options = openBrowser ? { beforeLoad: showAnotherPageFirst } : {};
  const { browser, page, log } = await within(
    60, 'Chromium to start', launch(url, 0, [[benchProbes, readMillis]], options));
  try {
    const first = await within(60, 'the first frame', page.evaluate(firstFrame));
    const f = (value) => value.toFixed(1);
    const kind = readMillis > 0 ? 'read' : openBrowser ? 'open' : 'load';
    console.log(`${kind} question_ms=${f(first.question)} ` +
                `answer_to_frame_ms=${f(first.frame - first.answered)} first_frame_ms=${f(first.frame)}`);
    if (withPace) {
      // The page's main thread's busy time over the minute (Chromium's own metrics; the GPU
      // process, which draws, is not in it).
      await new Promise((resolve) => setTimeout(resolve, SettleMillis));
      await page.evaluate(startCounting);
      const busyBefore = await page.metrics();
      await new Promise((resolve) => setTimeout(resolve, PlaySeconds * 1000));
      const busyAfter = await page.metrics();
      const { times, millis, clears } = await page.evaluate(counted);
      if (times.length < 2) throw new Error(`${times.length} frames presented in ${PlaySeconds} s`);
      const seconds = busyAfter.Timestamp - busyBefore.Timestamp;
      const share = (name) => ((busyAfter[name] - busyBefore[name]) / seconds).toFixed(3);
      const gaps = times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
      const ms = (value) => value.toFixed(3);
      console.log(`pace periods=${gaps.length} median_ms=${ms(quantile(gaps, 0.5))} ` +
                  `p99_ms=${ms(quantile(gaps, 0.99))} max_ms=${ms(gaps[gaps.length - 1])} ` +
                  `busy_s_per_s=${share('TaskDuration')} script_s_per_s=${share('ScriptDuration')} ` +
                  `game_frames=${clears} game_fps=${(clears / (millis / 1000)).toFixed(2)}`);
    }
    const errors = log.filter((line) => /page error|Aborted|RuntimeError/.test(line));
    if (errors.length) throw new Error(errors[0]);
  } finally {
    await browser.close();
  }
}

async function main() {
  const { server, url } = await serve(root);
  try {
    for (let i = 0; i < loads; i++) await oneLoad(url, i === loads - 1);
    for (let i = 0; i < loads; i++) await oneLoad(url, false, { openBrowser: true });
    for (let i = 0; i < ReadLoads; i++) await oneLoad(url, false, { readMillis: ReadMillis });
  } finally {
    server.close();
  }
}

main().then(
  () => process.exit(0),
  (error) => {
    console.log(`failed: ${String(error.message || error).split('\n')[0]}`);
    process.exit(1);
  });
