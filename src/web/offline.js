// The page as an installable web app that opens offline: its manifest, and
// the service worker that keeps its files (sw.js). Both only where the page
// is served: a page opened from a folder has neither, and needs neither.
(function () {
  if (!/^https?:$/.test(location.protocol)) return;
  var manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.appendChild(manifest);
  if (!('serviceWorker' in navigator)) return;

  // Registered once the program runs, when every file of this build is in:
  // a newer build that is waiting may then take over for the next visit.
  var registered = false;
  Module.onPrint(function () {
    if (registered) return;
    registered = true;
    navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).then(function (registration) {
      function takeOver() {
        if (registration.waiting) registration.waiting.postMessage('take over');
      }
      takeOver();
      registration.addEventListener('updatefound', function () {
        var worker = registration.installing;
        worker.addEventListener('statechange', function () {
          if (worker.state === 'installed') takeOver();
        });
      });
      // Each visit asks the server for a newer build; offline, nothing comes.
      registration.update().catch(function () {});
    }, function (e) {
      console.warn('The page will not open offline: ' + e.message);
    });
  });
})();
