// The gamepad in the page's question overlay: while a question is open, a press of South
// (A / Cross) chooses the focused button (Yes at first) and the D-pad moves between the buttons.
// The game itself reads the pads through its own key polling.
(function () {
  'use strict';
  var SOUTH = 0, UP = 12, DOWN = 13, LEFT = 14, RIGHT = 15;
  // The buttons down at the last look: one press acts once, and a button already down when a
  // question opens does not answer it.
  var held = {};

  function firstPad() {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (var i = 0; pads && i < pads.length; i++)
      if (pads[i] && pads[i].connected) return pads[i];
    return null;
  }

  function look() {
    var pad = firstPad();
    var overlay = document.getElementById('question');
    var open = overlay !== null && overlay.classList.contains('open');
    [SOUTH, UP, DOWN, LEFT, RIGHT].forEach(function (index) {
      var button = pad && pad.buttons[index];
      var down = !!button && (button.pressed || button.value > 0.5);
      var pressed = down && !held[index];
      held[index] = down;
      if (!pressed || !open) return;
      var buttons = Array.prototype.slice.call(overlay.querySelectorAll('button'));
      if (buttons.length === 0) return;
      var focused = Math.max(buttons.indexOf(document.activeElement), 0);
      if (index === SOUTH) {
        buttons[focused].click();
      } else {
        var step = index === LEFT || index === UP ? -1 : 1;
        buttons[(focused + step + buttons.length) % buttons.length].focus();
      }
    });
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
})();
