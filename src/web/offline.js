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

  // What the server offers now, asked past every cache: the build its
  // sw.js names; 'gone' where the page's worker is no longer there (404,
  // 410, or a redirect away: the page moved or was taken down); null where
  // it cannot say (offline, a passing error).
  function serverBuild() {
    return fetch('sw.js', { cache: 'no-store', redirect: 'manual' }).then(function (answer) {
      if (answer.type === 'opaqueredirect' || answer.status === 404 || answer.status === 410) return 'gone';
      if (!answer.ok) return null;
      return answer.text().then(function (text) {
        var named = /const build = '([0-9a-f]+)'/.exec(text);
        return named ? named[1] : null;
      });
    }, function () { return null; });
  }

  // The page's copy here lets go: its worker and the builds it kept. What
  // is open keeps working.
  function letGo() {
    navigator.serviceWorker.getRegistration().then(function (registration) {
      if (!registration) return;
      var prefix = 'plant:' + registration.scope + ':';
      registration.unregister();
      caches.keys().then(function (names) {
        names.forEach(function (name) { if (name.indexOf(prefix) === 0) caches.delete(name); });
      });
      Module.say('offline', 'This address no longer has the page: it has moved or been taken down. ' +
                 'What is open here keeps working, but it will not open offline or be updated.');
    });
  }

  // Registered once the program runs, when every file of this build is in:
  // a newer build that is waiting may then take over for the next visit.
  // The worker's address names the build the server has, so that any other
  // build there, newer or older (a rollback), is taken, whatever the
  // dates of its files say.
  var registered = false;
  Module.onPrint(function () {
    if (registered) return;
    registered = true;
    serverBuild().then(function (build) {
      if (build === 'gone') return letGo();
      return navigator.serviceWorker.register('sw.js?b=' + (build || window.buildId), { updateViaCache: 'none' })
        .then(function (registration) {
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
        });
    }).catch(function (e) {
      console.warn('The page will not open offline: ' + e.message);
    });
  });
})();
