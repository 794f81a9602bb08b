// The site's page keeps the show for offline use through its service worker (worker.js), and asks
// for a newer build at every start. Without a worker (a file:// address, a browser without one,
// plain HTTP away from localhost) the page plays as it is.
'use strict';
if ('serviceWorker' in navigator && window.isSecureContext) {
  navigator.serviceWorker.register('worker.js', { updateViaCache: 'none' })
    .then(registration => registration.update())
    .catch(error => console.warn('showcase: no offline copy: ' + error));
}
