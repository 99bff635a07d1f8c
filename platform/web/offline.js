// Lets the browser build play offline: registers the service worker (sw.js), which keeps this
// build's files. Browsers without service workers, or pages not served over https or from this
// machine, play online as before.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  window.addEventListener('load', function () {
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('zelu-line plays online only: ' + error);
    });
  });
})();
