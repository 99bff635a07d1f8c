// Touch controls of the browser build: a swipe on the canvas presses the arrow of its direction,
// a tap presses Space, and the page's fullscreen button presses F1. Each press is a key-down and
// a key-up on the canvas, as the keyboard's, held until the game's key polling has seen it. On a
// touch screen without a fine pointer the page shows these controls in place of the keys.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  var KEY_CODES = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, ' ': 32, F1: 112 };
  var CODES = { ' ': 'Space' };
  // A swipe is a tenth of the canvas's shorter side, or a fling: a shorter, quick movement.
  var SWIPE_SHARE = 0.1;
  var FLING_PIXELS = 16;
  var FLING_SPEED = 0.3; // CSS pixels per millisecond
  var TAP_PIXELS = 12;
  var TAP_MILLIS = 500;

  function keyEvent(type, key) {
    var event = new KeyboardEvent(type, { key: key, code: CODES[key] || key, bubbles: true,
                                          cancelable: true });
    // The game reads the legacy code, which a script cannot set through the constructor.
    Object.defineProperty(event, 'keyCode', { value: KEY_CODES[key] });
    Object.defineProperty(event, 'which', { value: KEY_CODES[key] });
    canvas.dispatchEvent(event);
  }

  // The game polls its keys once per frame, after taking the messages that came before: a key
  // is seen by the second poll after it went down. Until the game polls (it may be loading or
  // waiting on a sound), the key stays down, at most two seconds.
  function press(key) {
    var polled = Module['zeluKeyPolls'] || 0;
    var since = performance.now();
    keyEvent('keydown', key);
    (function release() {
      if ((Module['zeluKeyPolls'] || 0) >= polled + 2 || performance.now() - since > 2000)
        keyEvent('keyup', key);
      else
        setTimeout(release, 4);
    })();
  }

  var touch = null; // the touch being followed: { id, x, y, time, swiped }

  function direction(dx, dy) {
    if (Math.abs(dx) >= Math.abs(dy)) return dx > 0 ? 'ArrowRight' : 'ArrowLeft';
    return dy > 0 ? 'ArrowDown' : 'ArrowUp';
  }

  function swipeDistance() {
    var box = canvas.getBoundingClientRect();
    return Math.min(box.width, box.height) * SWIPE_SHARE;
  }

  function find(list) {
    for (var i = 0; touch && i < list.length; i++)
      if (list[i].identifier === touch.id) return list[i];
    return null;
  }

  // No scrolling, zooming or pull to refresh from the canvas: every touch there is the game's.
  canvas.addEventListener('touchstart', function (event) {
    event.preventDefault();
    if (touch || event.changedTouches.length === 0) return;
    var first = event.changedTouches[0];
    touch = { id: first.identifier, x: first.clientX, y: first.clientY,
              time: event.timeStamp, swiped: false };
  }, { passive: false });

  canvas.addEventListener('touchmove', function (event) {
    event.preventDefault();
    var moved = find(event.changedTouches);
    if (!moved || touch.swiped) return;
    var dx = moved.clientX - touch.x, dy = moved.clientY - touch.y;
    if (Math.hypot(dx, dy) >= swipeDistance()) {
      touch.swiped = true;
      press(direction(dx, dy));
    }
  }, { passive: false });

  canvas.addEventListener('touchend', function (event) {
    event.preventDefault();
    var ended = find(event.changedTouches);
    if (!ended) return;
    var dx = ended.clientX - touch.x, dy = ended.clientY - touch.y;
    var distance = Math.hypot(dx, dy);
    // The events' own times: when the screen saw the touches, however late they are handled.
    var millis = Math.max(event.timeStamp - touch.time, 1);
    if (!touch.swiped) {
      if (distance >= swipeDistance() ||
          (distance >= FLING_PIXELS && distance / millis >= FLING_SPEED))
        press(direction(dx, dy));
      else if (distance < TAP_PIXELS && millis < TAP_MILLIS)
        press(' ');
    }
    touch = null;
  }, { passive: false });

  canvas.addEventListener('touchcancel', function () { touch = null; });

  var fullscreenButton = document.getElementById('fullscreen-button');
  if (fullscreenButton)
    fullscreenButton.addEventListener('click', function () { press('F1'); });

  // Touch screen, no fine pointer: the hints show swipe and tap.
  var coarse = window.matchMedia('(any-pointer: coarse)');
  var fine = window.matchMedia('(any-pointer: fine)');
  function showHints() {
    document.documentElement.classList.toggle('touch', coarse.matches && !fine.matches);
  }
  [coarse, fine].forEach(function (query) {
    if (query.addEventListener) query.addEventListener('change', showHints);
  });
  showHints();
})();
