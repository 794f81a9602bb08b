// The page of the show in each engine of tests/web/engines.js: frames against the desktop's, clicks,
// the boxes, Escape, the page options, full screen, a lost WebGL context, the page from disk,
// over HTTP and in an <iframe>, and the show as an installed web app. Run by scripts/test-web.sh;
// SHOWCASE_WEB_ENGINES=chromium,firefox picks engines (all of them by default).
//   node web_test.js PAGE BROKEN_PAGE DESKTOP_FRAMES RECORD OUTDIR
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { test, after, before, describe } = require('node:test');
const { PNG } = require('pngjs');
const { engines, launch } = require('./engines');

const [page, brokenPage, desktopFrames, record, outDir] = process.argv.slice(2).map(p => path.resolve(p));
const root = path.resolve(__dirname, '../..');
const width = 1024, height = 768;
const kFrameTimeoutMs = 10 * 60 * 1000;
const chosen = (process.env.SHOWCASE_WEB_ENGINES || engines.map(e => e.name).join(',')).split(',');
for (const name of chosen) assert.ok(engines.some(e => e.name === name), `no engine "${name}"`);

let server, serverUrl;
before(async () => {
  fs.mkdirSync(outDir, { recursive: true });
  // The page's folder over HTTP, with a page that embeds it in an <iframe>.
  server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (name === '/embed.html' || name === '/embed-no-full-screen.html') {
      // A page of the same origin may go full screen unless the <iframe> forbids it.
      const query = name === '/embed.html' ? '?frame=3' : '';
      const allow = name === '/embed.html' ? ' allow="fullscreen"' : ' allow="fullscreen \'none\'"';
      response.writeHead(200, { 'Content-Type': 'text/html' });
      response.end(`<!DOCTYPE html><title>embed</title><iframe src="showcase.html${query}" width="800" ` +
                   `height="600"${allow}></iframe>`);
      return;
    }
    const file = path.join(path.dirname(page), path.basename(name));
    if (!fs.existsSync(file)) { response.writeHead(404); response.end(); return; }
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  serverUrl = 'http://127.0.0.1:' + server.address().port + '/';
});
after(() => server?.close());

const fileUrl = (file, query = '') => 'file://' + file + query;
const state = tab => tab.evaluate(() => document.documentElement.dataset.state);
// What `read` gives in the page once `check` takes it, within 30 s.
async function until(tab, read, check) {
  for (const end = Date.now() + 30000; ;) {
    const value = await tab.evaluate(read);
    if (check(value)) return value;
    if (Date.now() > end) assert.fail(`still ${JSON.stringify(value)}`);
    await new Promise(resolve => setTimeout(resolve, 100));
  }
}

async function waitHeld(tab, frame, timeout = kFrameTimeoutMs) {
  await tab.waitFor(n => showcasePage.figures.held === n && document.documentElement.dataset.held &&
                         showcasePage.figures.heldPixels, frame, timeout);
}
async function heldPixels(tab) {
  const address = await tab.evaluate(() => showcasePage.heldPicture());
  return PNG.sync.read(Buffer.from(address.split(',')[1], 'base64'));
}

function readPpm(file) {
  const data = fs.readFileSync(file);
  const header = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(data.toString('latin1', 0, 64));
  const w = Number(header[1]), h = Number(header[2]);
  const rgb = data.subarray(header[0].length);
  const rgba = Buffer.alloc(w * h * 4, 255);
  for (let i = 0, j = 0; i < rgb.length; i += 3, j += 4) rgb.copy(rgba, j, i, i + 3);
  return { width: w, height: h, data: rgba };
}
function readPng(file) { return PNG.sync.read(fs.readFileSync(file)); }

// The measure: a pixel of the page differs when one of its channels lies more than kTolerance
// outside the range that channel takes in the desktop's 3 x 3 neighbourhood of the same pixel.
// An edge rasterised half a pixel apart stays inside that range; a wrong light, texture or
// missing piece moves whole areas out of it. The frames match when at most kMaxShare of the
// pixels differ. Both figures are justified in the README and checked by the "one frame later"
// row, which must not match.
const kTolerance = 12;
const kMaxShare = 0.001;
function compare(pageImage, desktopImage, differencePicture) {
  assert.equal(pageImage.width, desktopImage.width);
  assert.equal(pageImage.height, desktopImage.height);
  const w = pageImage.width, h = pageImage.height, p = pageImage.data, d = desktopImage.data;
  const diff = new PNG({ width: w, height: h });
  let differing = 0;
  for (let y = 0; y < h; ++y) {
    for (let x = 0; x < w; ++x) {
      const at = (y * w + x) * 4;
      let excess = 0;
      for (let c = 0; c < 3; ++c) {
        let low = 255, high = 0;
        for (let dy = -1; dy <= 1; ++dy) {
          const yy = Math.min(h - 1, Math.max(0, y + dy));
          for (let dx = -1; dx <= 1; ++dx) {
            const xx = Math.min(w - 1, Math.max(0, x + dx));
            const v = d[(yy * w + xx) * 4 + c];
            if (v < low) low = v;
            if (v > high) high = v;
          }
        }
        const v = p[at + c];
        excess = Math.max(excess, low - v, v - high);
      }
      const bad = excess > kTolerance;
      if (bad) ++differing;
      const grey = (d[at] + d[at + 1] + d[at + 2]) / 12;
      diff.data[at] = bad ? 255 : grey;
      diff.data[at + 1] = bad ? 0 : grey;
      diff.data[at + 2] = bad ? 0 : grey;
      diff.data[at + 3] = 255;
    }
  }
  const share = differing / (w * h);
  if (share > kMaxShare && differencePicture) fs.writeFileSync(differencePicture, PNG.sync.write(diff));
  return { differing, share };
}

// The frames: what the page holds at a frame, against the desktop at the same frame. Rows
// with clicks press the page's buttons while it holds the frame before, and the desktop's
// off-screen backend clicks at the same frames. A row with `lose` takes the page's WebGL context
// away at that frame and gives it back before the frame is compared.
const kDevice9 = 1009, kDevice13 = 1013, kFaster = 1201, kColours = 1204;
const kLabels = { [kDevice9]: 'Зорна GX - 9', [kDevice13]: 'Зорна GX - 13', [kFaster]: 'Скорость ++',
                  [kColours]: 'Цвета' };
const kRows = [
  { name: 'splash', frames: [60] },
  { name: 'splash turning, caption in', frames: [240] },
  // A device jumped to: assembly half done, then whole, then turning in the other colour scheme.
  { name: 'device 9 clicked', clicks: [[2, kDevice9], [420, kColours]], frames: [150, 300, 480],
    offByOne: 150 },
  { name: 'device 13, faster', clicks: [[2, kDevice13], [2, kFaster], [2, kFaster], [2, kFaster]], frames: [250] },
  // A held poster whose context is lost and restored draws its frame again, and goes on from it.
  { name: 'poster, context lost and restored', frames: [400, 420], lose: 400 },
];
const folderOf = (base, row) => path.join(base, row.name.replace(/[^a-z0-9]+/gi, '-'));

// The desktop's frames, rendered once for every engine.
const desktop = new Map();
before(() => {
  for (const row of kRows) {
    const clicks = row.clicks || [];
    const folder = folderOf(path.join(outDir, 'desktop'), row);
    fs.mkdirSync(folder, { recursive: true });
    const frames = {};
    if (clicks.length === 0) {
      for (const frame of row.frames) {
        const file = path.join(folder, `${frame}.png`);
        execFileSync(record, ['--size', `${width}x${height}`, `--from-frame=${frame}`,
                              '--quiet', file], { cwd: root, stdio: 'inherit' });
        frames[frame] = readPng(file);
      }
    } else {
      const extra = row.offByOne ? [String(row.offByOne + 1)] : [];
      execFileSync(desktopFrames, [String(width), String(height), folder, ...row.frames.map(String), ...extra,
                                   ...clicks.map(([f, id]) => `${f}:${id}`)], { cwd: root, stdio: 'inherit' });
      for (const frame of [...row.frames, ...extra.map(Number)]) frames[frame] = readPpm(path.join(folder, `${frame}.ppm`));
    }
    desktop.set(row.name, frames);
  }
});

// The live canvas's WebGL context taken away, as a driver reset does; restoreContext() is
// window.lostContext's to call.
async function loseContext(tab) {
  await tab.evaluate(() => {
    const canvas = document.querySelector('#stage canvas:not([data-retired])');
    window.lostCanvas = canvas;
    window.lostContext = canvas.getContext('webgl').getExtension('WEBGL_lose_context');
    window.lostContext.loseContext();
  });
  await tab.waitFor(() => document.documentElement.dataset.state === 'lost', null, 10000);
}
const contextCounts = tab => tab.evaluate(() =>
  [showcasePage.figures.contextLosses, showcasePage.figures.contextRecoveries, showcasePage.figures.canvasReplacements]);

const kNoWebGl = 'This browser did not let the show draw in 3D: WebGL is turned off or not available. Turn on ' +
                 'hardware acceleration (or WebGL) in the browser\'s settings, or open the page in another browser.';

for (const engine of engines.filter(e => chosen.includes(e.name))) {
  describe(engine.name, () => {
    const out = path.join(outDir, engine.name);
    const figures = [];
    let browser, started;
    before(async () => {
      started = Date.now();
      fs.mkdirSync(out, { recursive: true });
      browser = await launch(engine.name);
    });
    after(async () => {
      figures.unshift(`${engine.name} (${browser?.version}, ${engine.driver}): ${((Date.now() - started) / 1000).toFixed(0)} s`);
      await browser?.close();
      fs.writeFileSync(path.join(out, 'figures.txt'), figures.join('\n') + '\n');
      console.log(figures.join('\n'));
    });
    // One tab at a time: one a failed test left open is closed when the next opens (WebKitWebDriver
    // takes one session only, and a show left playing takes the others' time).
    let last = null;
    const open = async (address, size = { width, height }, pixelRatio = 1) => {
      await last?.close().catch(() => {});
      return (last = await browser.open(address, size, pixelRatio));
    };

    test('frames of the page against the desktop', { timeout: kFrameTimeoutMs * 2 }, async t => {
      for (const row of kRows) {
        const clicks = row.clicks || [];
        const folder = folderOf(out, row);
        fs.mkdirSync(folder, { recursive: true });
        // The page's, one visit: hold at each frame where something happens.
        const stops = [...new Set([...clicks.map(([f]) => f), ...row.frames])].sort((a, b) => a - b);
        const tab = await open(fileUrl(page, '?frame=' + stops[0]));
        let at = stops[0];
        for (const stop of stops) {
          if (stop !== at) {
            await tab.evaluate(n => showcasePage.advance(n), stop - at);
            at = stop;
          }
          await waitHeld(tab, stop);
          if (row.lose === stop) {
            await loseContext(tab);
            await tab.evaluate(() => { showcasePage.figures.heldPixels = null; window.lostContext.restoreContext(); });
            await waitHeld(tab, stop, 30000);
            await t.test(`${row.name}: lost, then running at frame ${stop} again`, async () => {
              assert.equal(await state(tab), 'running');
              assert.deepEqual(await contextCounts(tab), [1, 1, 0]);
            });
          }
          if (row.frames.includes(stop)) {
            const image = await heldPixels(tab);
            fs.writeFileSync(path.join(folder, `page-${stop}.png`), PNG.sync.write(image));
            const result = compare(image, desktop.get(row.name)[stop], path.join(folder, `difference-${stop}.png`));
            figures.push(`${row.name}, frame ${stop}: ${result.differing} pixels differ (${(result.share * 100).toFixed(3)}%)`);
            await t.test(`${row.name}, frame ${stop}`, () =>
              assert.ok(result.share <= kMaxShare, `${result.differing} pixels differ; see ${folder}`));
            if (row.offByOne === stop) {
              const later = compare(image, desktop.get(row.name)[stop + 1], null);
              figures.push(`${row.name}, frame ${stop} against the desktop's ${stop + 1}: ${later.differing} pixels differ`);
              await t.test(`${row.name}, frame ${stop} is not the desktop's frame ${stop + 1}`, () =>
                assert.ok(later.share > kMaxShare, `only ${later.differing} pixels differ`));
            }
          }
          for (const [frame, id] of clicks) {
            if (frame === stop) await tab.clickButton(kLabels[id], '#buttons');
          }
        }
        await tab.close();
      }
    });

    // Boxes at the start: [row, the page, whether WebGL is on, the box's title and text, how it
    // is answered, then the status the page ends with (null: the show goes on) and its notice].
    const kBoxRows = [
      ['a broken picture', brokenPage, true, 'Error', 'Unknown DIB file format.', 'Escape', null, null],
      ['no WebGL', page, false, 'ERROR', "Can't Create A GL Rendering Context.", 'OK', 1, kNoWebGl],
    ];
    test('the boxes at the start: a broken picture\'s (Escape chooses OK, the show goes on), no WebGL\'s', async t => {
      for (const [name, address, webgl, title, message, answer, status, notice] of kBoxRows) {
        await t.test(name, async t => {
          const other = webgl ? null : await launch(engine.name, { webgl });
          try {
            const tab = other ? await other.open(fileUrl(address), { width, height }) : await open(fileUrl(address));
            await tab.waitFor(() => document.querySelector('dialog.box[open]') ||
                                    ['stopped', 'ended'].includes(document.documentElement.dataset.state));
            assert.deepEqual(await tab.texts('dialog.box[open] :is(h2, p, .answers button)'), [title, message, 'OK'],
                             (await tab.texts('#notice')).join());
            if (answer === 'Escape') await tab.press('Escape');
            else await tab.clickButton(answer, 'dialog.box[open]');
            if (status === null) {
              await tab.waitFor(() => showcasePage.figures.frame >= 3);
              assert.notEqual(await state(tab), 'ended');
            } else {
              await tab.waitFor(() => document.documentElement.dataset.state === 'ended');
              assert.equal(await tab.evaluate(() => showcasePage.figures.status), status);
              assert.deepEqual(await tab.texts('#notice :is(p, button)'), [notice, 'Play again']);
            }
            assert.notEqual(await state(tab), 'stopped');
            if (engine.cannot.pageErrors) t.diagnostic(`page errors not checked: ${engine.cannot.pageErrors}`);
            else assert.deepEqual(tab.errors, []);
            await tab.close();
          } finally {
            await other?.close();
          }
        });
      }
    });

    // Keys that end the show, or not: [address query, keys, the status it ends with or null].
    const kEndRows = [
      ['', 'Escape', 27],
      ['?kiosk', 'Escape', null],
      ['?kiosk', 'Control+Alt+Shift+KeyQ', 0],
    ];
    test('Escape ends the show and the page says so, "Play again" plays it again; in kiosk mode only the chord ends it', async () => {
      for (const [query, keys, status] of kEndRows) {
        const tab = await open(fileUrl(page, query));
        await tab.waitFor(() => showcasePage.figures.frame >= 3);
        await tab.press(keys);
        if (status === null) {
          const frame = await tab.evaluate(() => showcasePage.figures.frame);
          await tab.waitFor(n => showcasePage.figures.frame > n + 5, frame, 30000);
          assert.equal(await state(tab), 'running', query + keys);
          await tab.close();
          continue;
        }
        await tab.waitFor(() => document.documentElement.dataset.state === 'ended', null, 30000);
        assert.equal(await tab.evaluate(() => showcasePage.figures.status), status, query + keys);
        assert.match((await tab.texts('#notice'))[0], /The show has ended\./);
        assert.deepEqual(await tab.texts('#buttons button'), []);
        // "Play again" loads the page afresh: what this page set is gone, and the show counts from its start.
        await tab.evaluate(() => { window.beforePlayAgain = true; });
        await tab.clickButton('Play again', '#notice');
        await tab.waitFor(() => !window.beforePlayAgain && typeof showcasePage === 'object' &&
                                document.documentElement.dataset.state === 'running' && showcasePage.figures.frame >= 1);
        const frame = await tab.evaluate(() => showcasePage.figures.frame);
        await tab.waitFor(n => showcasePage.figures.frame > n + 5, frame, 30000);
        assert.ok(frame < 60, `the show played again from frame ${frame}`);
        await tab.close();
      }
    });

    // The page's options give the command line's messages, shown as text.
    const kOptionRows = [
      ['?frame=abc', "showcase: invalid frame number 'abc' (1 to 10000000)"],
      ['?frame=0', "showcase: invalid frame number '0' (1 to 10000000)"],
      ['?bogus', "showcase: unrecognized option '--bogus'"],
      ['?idle-reset=soon', "showcase: invalid idle time 'soon' (seconds, 0 to 86400)"],
      ['?idle-reset', "showcase: option '--idle-reset' requires an argument"],
      ['?%3Cb%3Ebold%3C/b%3E', "showcase: unrecognized option '--<b>bold</b>'"],
    ];
    test('page options: the command line\'s one-line messages, as text', async () => {
      for (const [query, message] of kOptionRows) {
        const tab = await open(fileUrl(page, query));
        await tab.waitFor(() => document.documentElement.dataset.state === 'ended');
        assert.deepEqual(await tab.texts('#notice p'), [message], query);
        assert.deepEqual(await tab.texts('#notice b'), [], query);
        assert.equal(await tab.evaluate(() => showcasePage.figures.frame), 0, query);
        await tab.close();
      }
    });

    test('the page over HTTP and in an <iframe>; the GL view at the device\'s pixels', async t => {
      await t.test('pixel ratio 2', async () => {
        // A phone-sized window at pixel ratio 2: the view in device pixels, the buttons in CSS pixels.
        // (MiniBrowser's window is no narrower than its toolbar, 447 pixels at this ratio.)
        const tab = await open(serverUrl + 'showcase.html?frame=3', { width: 390, height: 844 }, 2);
        await waitHeld(tab, 3);
        const [pixels, page] = await tab.evaluate(() =>
          [[showcasePage.figures.heldPixels.width, showcasePage.figures.heldPixels.height], [innerWidth, innerHeight]]);
        figures.push(`pixel ratio 2: a page of ${page.join(' x ')}, the view ${pixels.join(' x ')}`);
        assert.deepEqual(pixels, page.map(n => 2 * n));
        const button = await tab.evaluate(() => {
          const box = document.querySelector('#buttons button').getBoundingClientRect();
          return [box.x, box.y, box.width, box.height];
        });
        assert.deepEqual(button, [0, 3, 160, 25]);
        await tab.close();
      });
      await t.test('in an <iframe>, over HTTP', async () => {
        const embed = await open(serverUrl + 'embed.html', { width: 900, height: 700 });
        const frame = embed.frame('showcase.html');
        await waitHeld(frame, 3);
        assert.equal((await frame.texts('#buttons button'))[0], 'Зорна GX - 1');
        await embed.close();
      });
    });

    test('F1: full screen until the browser leaves it; where the browser refuses, the desktop\'s question', async t => {
      await t.test('full screen, then the browser leaves it', async t => {
        const size = { width: 800, height: 600 };
        const tab = await open(fileUrl(page), size);
        await tab.waitFor(() => showcasePage.figures.frame >= 3);
        // The view as the visitor sees it: the live canvas's box on the page, and the device pixels it draws.
        const view = () => {
          const canvas = document.querySelector('#stage canvas:not([data-retired])');
          if (!canvas) return null;  // between a window's closing and the next one's opening
          const box = canvas.getBoundingClientRect();
          return { box: [box.x, box.y, box.width, box.height].map(Math.round), pixels: [canvas.width, canvas.height],
                   page: [innerWidth, innerHeight], screen: [screen.width, screen.height], full: !!document.fullscreenElement };
        };
        await tab.press('F1');
        // Full screen: the mode's picture scaled to fill the page in proportion, centred.
        const fillsPage = ({ box: [x, y, w, h], page: [pw, ph] }) =>
          (w === pw || h === ph) && Math.abs(2 * x + w - pw) <= 1 && Math.abs(2 * y + h - ph) <= 1;
        const full = await until(tab, view, v => v?.full && fillsPage(v));
        figures.push(`full screen: the view ${full.pixels.join(' x ')} shown at ${full.box.slice(2).join(' x ')} ` +
                     `on a page of ${full.page.join(' x ')}, a screen of ${full.screen.join(' x ')}`);
        if (engine.cannot.fillScreen) t.diagnostic(`the page filling the screen not checked: ${engine.cannot.fillScreen}`);
        else assert.deepEqual(full.page, full.screen);
        // The browser leaves full screen: the show goes on in its window, the view at the window's size.
        await tab.evaluate(() => document.exitFullscreen());
        const windowed = [[0, 0, size.width, size.height], [size.width, size.height]];
        await until(tab, view, v => v && !v.full && JSON.stringify([v.box, v.pixels]) === JSON.stringify(windowed));
        const frame = await tab.evaluate(() => showcasePage.figures.frame);
        await tab.waitFor(n => showcasePage.figures.frame > n + 5, frame, 30000);
        assert.equal(await state(tab), 'running');
        await tab.close();
      });
      await t.test('refused in an <iframe>: the question, Escape does nothing, Yes goes on in a window', async () => {
        const embed = await open(serverUrl + 'embed-no-full-screen.html', { width: 900, height: 700 });
        const frame = embed.frame('showcase.html');
        await frame.waitFor(() => showcasePage.figures.frame >= 3);
        await frame.click('#stage canvas');
        await embed.press('F1');
        await frame.waitFor(() => document.querySelector('dialog.box[open]'), null, 30000);
        assert.deepEqual(await frame.texts('dialog.box[open] :is(h2, p, .answers button)'),
                         ['Mivo GL', 'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?',
                          'Yes', 'No']);
        await embed.press('Escape');  // a Yes/No box has no Escape answer
        assert.equal(await frame.evaluate(() => !!document.querySelector('dialog.box[open]')), true);
        await frame.clickButton('Yes', 'dialog.box[open]');
        await frame.waitFor(() => showcasePage.figures.frame >= 3 && document.title === "Mivo's OpenGL Framework", null, 60000);
        await embed.close();
      });
    });

    // The show as a web app (scripts/build-web.sh --site): a folder served at /app/ by a server
    // the test can cut off (the network gone) or make fail some files (a publish caught half-way).
    test('the web app: its manifest and icons, offline after the first visit, whole updates, its start options', async t => {
      const folder = path.join(out, 'site');
      const publish = (from, start = '') => execFileSync('python3', [
        path.join(root, 'scripts/web-site.py'), '--page', from, '--icons', path.join(root, 'packaging/icons'),
        '--worker', path.join(root, 'platform/subset/web/site/worker.js'),
        '--registration', path.join(root, 'platform/subset/web/site/start.js'), '--start', start, '--output', folder]);
      fs.rmSync(folder, { recursive: true, force: true });
      publish(page, 'kiosk');
      const site = { up: true, failing: null };
      const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
                      '.webmanifest': 'application/manifest+json' };
      const siteServer = http.createServer((request, response) => {
        if (!site.up) return request.socket.destroy();
        const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
        const file = path.join(folder, name.replace(/^\/app\//, '').replace(/^$/, 'index.html'));
        if (site.failing?.test(path.basename(file))) { response.writeHead(500); return response.end(); }
        if (!name.startsWith('/app/') || !fs.existsSync(file)) { response.writeHead(404); return response.end(); }
        response.writeHead(200, { 'Content-Type': types[path.extname(file)] });
        fs.createReadStream(file).pipe(response);
      });
      await new Promise(resolve => siteServer.listen(0, '127.0.0.1', resolve));
      const app = `http://127.0.0.1:${siteServer.address().port}/app/`;
      // A start of the app in the same browser, as a visitor's next one: the page loaded again.
      const restart = async (tab, ready) => {
        await tab.evaluate(() => { setTimeout(() => location.reload(), 10); });
        await new Promise(resolve => setTimeout(resolve, 1000));
        await tab.waitFor(ready);
      };
      const builds = tab => tab.evaluate(() => caches.keys());
      const plays = () => typeof showcasePage === 'object' && showcasePage.figures.frame >= 3;
      try {
        await t.test('the start options reach the show: the app starts in kiosk mode, which refuses Escape', async () => {
          const { start_url: start } = JSON.parse(fs.readFileSync(path.join(folder, 'manifest.webmanifest'), 'utf8'));
          assert.equal(start, './?kiosk');
          const kiosk = await open(new URL(start, app).href);
          await kiosk.waitFor(plays);
          await kiosk.press('Escape');
          const frame = await kiosk.evaluate(() => showcasePage.figures.frame);
          await kiosk.waitFor(n => showcasePage.figures.frame > n + 5, frame, 30000);
          assert.equal(await state(kiosk), 'running');
          await kiosk.close();
        });
        const tab = await open(app + '?frame=60');
        await waitHeld(tab, 60);
        await tab.waitFor(() => navigator.serviceWorker.controller && caches.keys().then(k => k.length === 1));
        const [first] = await builds(tab);
        await t.test('the manifest and its icons', async t => {
          const manifest = await tab.evaluate(async () => {
            const data = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
            for (const icon of data.icons) {
              const picture = await createImageBitmap(await (await fetch(new URL(icon.src, location.href))).blob());
              icon.loaded = picture.width + 'x' + picture.height;
            }
            return data;
          });
          for (const icon of manifest.icons) assert.equal(icon.loaded, icon.sizes, icon.src);
          assert.deepEqual([manifest.start_url, manifest.scope, manifest.display], ['./?kiosk', './', 'fullscreen']);
          if (!tab.devtools) return t.skip('icons checked; only chromium tells what it makes of a manifest (DevTools)');
          const read = await tab.devtools('Page.getAppManifest');
          assert.deepEqual(read.errors, []);
          assert.deepEqual((await tab.devtools('Page.getInstallabilityErrors')).installabilityErrors, []);
          figures.push(`web app: the manifest read with no errors, installable; ${read.data.length} bytes`);
        });
        await t.test('offline: the next start plays from the worker\'s copy, the frame the desktop\'s', async () => {
          site.up = false;
          const offlineAt = Date.now();
          await restart(tab, () => typeof showcasePage === 'object' && showcasePage.figures.held === 60 &&
                                   showcasePage.figures.heldPixels);
          figures.push(`web app: an offline start to frame 60 held in ${Date.now() - offlineAt} ms`);
          const result = compare(await heldPixels(tab), desktop.get('splash')[60], null);
          assert.ok(result.share <= kMaxShare, `${result.differing} pixels differ`);
        });
        await t.test('a publish that fails half-way leaves the working build, offline too', async () => {
          site.up = true;
          const oldPage = fs.readFileSync(path.join(folder, 'index.html'));
          publish(brokenPage);
          // The new page fails to download; then the folder is caught half-way, the new worker
          // beside the old page.
          for (const halfWay of [() => { site.failing = /^index\.html$/; },
                                 () => { site.failing = null; fs.writeFileSync(path.join(folder, 'index.html'), oldPage); }]) {
            halfWay();
            await restart(tab, plays);
            await new Promise(resolve => setTimeout(resolve, 3000));  // the new build's download, failing
            assert.deepEqual(await builds(tab), [first]);
          }
          site.up = false;
          await restart(tab, plays);
          assert.equal(await tab.evaluate(() => !!document.querySelector('dialog.box')), false, 'the new build runs');
        });
        await t.test('a whole publish: the start after the one that downloads it runs it, the old build gone', async () => {
          site.up = true;
          publish(brokenPage);
          const publishedAt = Date.now();
          await restart(tab, plays);
          await until(tab, () => caches.keys(), keys => keys.length === 1 && keys[0] !== first);
          figures.push(`web app: a new build downloaded and in place ${Date.now() - publishedAt} ms after the start`);
          await restart(tab, () => document.querySelector('dialog.box[open]'));
          assert.deepEqual(await tab.texts('dialog.box[open] p'), ['Unknown DIB file format.']);
        });
      } finally {
        siteServer.close();
      }
    });

    test('a WebGL context the browser never gives back: a fresh canvas, and the show goes on', async () => {
      const tab = await open(fileUrl(page));
      await tab.waitFor(() => showcasePage.figures.frame >= 3);
      await loseContext(tab);
      const lostAt = Date.now();
      await tab.waitFor(() => showcasePage.figures.canvasReplacements >= 1, null, 30000);
      figures.push(`a context never restored: a fresh canvas after ${Date.now() - lostAt} ms`);
      const frame = await tab.evaluate(() => showcasePage.figures.frame);
      await tab.waitFor(n => showcasePage.figures.frame > n + 5, frame, 30000);
      assert.equal(await state(tab), 'running');
      assert.deepEqual(await contextCounts(tab), [1, 1, 1]);
      assert.equal(await tab.evaluate(() => document.querySelector('#stage canvas:not([data-retired])') !== window.lostCanvas), true);
      await tab.close();
    });
  });
}
