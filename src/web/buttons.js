// The buttons under the canvas: Save picture, Copy link and Start over.
// They stay disabled, as index.html makes them, until this script runs.
(function () {
  var save = document.getElementById('save-picture');
  var copy = document.getElementById('copy-link');
  var startOver = document.getElementById('start-over');
  var address = window.plantAddress;

  save.disabled = copy.disabled = startOver.disabled = false;
  save.addEventListener('click', function () {
    document.getElementById('canvas').toBlob(function (png) {
      var link = document.createElement('a');
      link.href = URL.createObjectURL(png);
      link.download = 'plant.png';
      link.click();
      setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
    }, 'image/png');
  });

  // Only a link that holds the plant on the page is ever given out.
  copy.addEventListener('click', function () {
    address.holdsShown().then(function (holds) {
      if (!holds) {
        Module.say('address', 'The link does not hold the plant on the page, so there is no link to copy.');
        return;
      }
      var url = location.href;
      if (navigator.share) {
        navigator.share({ title: document.title, url: url }).catch(function () {});
      } else if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(url).then(function () { Module.say('address', 'The link is copied.'); },
                                                function () { Module.say('address', 'Copy this link: ' + url); });
      } else {
        Module.say('address', 'Copy this link: ' + url);
      }
    });
  });

  startOver.addEventListener('click', function () { address.startOver(); });
})();
