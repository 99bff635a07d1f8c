// Lets the browser build play offline: once this build has loaded whole and its runtime has
// started, registers the service worker (sw.js) that keeps its files. A build that failed to load
// is never kept. Browsers without service workers, or pages not served over https or from this
// machine, play online as before.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  var started = Module.onRuntimeInitialized;
  Module.onRuntimeInitialized = function () {
    if (started) started.apply(this, arguments);
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('zelu-line plays online only: ' + error);
    });
  };
})();
