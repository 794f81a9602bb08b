// The page of the show in Debian's chromium (headless, software WebGL), driven by playwright-core:
// frames against the desktop's, clicks, the "Error" box, Escape, the page options, and the page
// from disk, over HTTP and in an <iframe>. Run by scripts/test-web.sh.
//   node web_test.js PAGE BROKEN_PAGE DESKTOP_FRAMES RECORD OUTDIR
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { test, after, before } = require('node:test');
const { chromium } = require('playwright-core');
const { PNG } = require('pngjs');

const [page, brokenPage, desktopFrames, record, outDir] = process.argv.slice(2).map(p => path.resolve(p));
const root = path.resolve(__dirname, '../..');
const width = 1024, height = 768;
const kFrameTimeoutMs = 10 * 60 * 1000;

// Software WebGL (SwiftShader through ANGLE) is what gives a headless chromium WebGL here.
const kBrowserFlags = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                       '--disable-background-networking', '--disable-component-update', '--no-first-run',
                       '--disable-default-apps', '--disable-sync', '--mute-audio'];

let browser, server, serverUrl;
before(async () => {
  fs.mkdirSync(outDir, { recursive: true });
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: kBrowserFlags });
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
after(async () => {
  await browser?.close();
  server?.close();
});

async function openPage(address, size = { width, height }, deviceScaleFactor = 1) {
  const tab = await browser.newPage({ viewport: size, deviceScaleFactor });
  tab.on('pageerror', e => console.error('page error:', e.message));
  await tab.goto(address);
  return tab;
}
const fileUrl = (file, query = '') => 'file://' + file + query;

async function waitHeld(tab, frame, where = tab) {
  await where.waitForFunction(n => showcasePage.figures.held === n && document.documentElement.dataset.held,
                              frame, { timeout: kFrameTimeoutMs, polling: 100 });
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
// off-screen backend clicks at the same frames.
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
];

test('frames of the page against the desktop', { timeout: kFrameTimeoutMs * 2 }, async t => {
  const figures = [];
  for (const row of kRows) {
    const clicks = row.clicks || [];
    const folder = path.join(outDir, row.name.replace(/[^a-z0-9]+/gi, '-'));
    fs.mkdirSync(folder, { recursive: true });
    // The desktop's frames.
    const desktop = {};
    if (clicks.length === 0) {
      for (const frame of row.frames) {
        const file = path.join(folder, `desktop-${frame}.png`);
        execFileSync(record, ['--size', `${width}x${height}`, `--from-frame=${frame}`,
                              '--quiet', file], { cwd: root, stdio: 'inherit' });
        desktop[frame] = readPng(file);
      }
    } else {
      const extra = row.offByOne ? [String(row.offByOne + 1)] : [];
      execFileSync(desktopFrames, [String(width), String(height), folder, ...row.frames.map(String), ...extra,
                                   ...clicks.map(([f, id]) => `${f}:${id}`)], { cwd: root, stdio: 'inherit' });
      for (const frame of [...row.frames, ...extra.map(Number)]) desktop[frame] = readPpm(path.join(folder, `${frame}.ppm`));
    }
    // The page's, one visit: hold at each frame where something happens.
    const stops = [...new Set([...clicks.map(([f]) => f), ...row.frames])].sort((a, b) => a - b);
    const tab = await openPage(fileUrl(page, '?frame=' + stops[0]));
    let at = stops[0];
    for (const stop of stops) {
      if (stop !== at) {
        await tab.evaluate(n => showcasePage.advance(n), stop - at);
        at = stop;
      }
      await waitHeld(tab, stop);
      if (row.frames.includes(stop)) {
        const image = await heldPixels(tab);
        fs.writeFileSync(path.join(folder, `page-${stop}.png`), PNG.sync.write(image));
        const result = compare(image, desktop[stop], path.join(folder, `difference-${stop}.png`));
        figures.push(`${row.name}, frame ${stop}: ${result.differing} pixels differ (${(result.share * 100).toFixed(3)}%)`);
        await t.test(`${row.name}, frame ${stop}`, () =>
          assert.ok(result.share <= kMaxShare, `${result.differing} pixels differ; see ${folder}`));
        if (row.offByOne === stop) {
          const later = compare(image, desktop[stop + 1], null);
          figures.push(`${row.name}, frame ${stop} against the desktop's ${stop + 1}: ${later.differing} pixels differ`);
          await t.test(`${row.name}, frame ${stop} is not the desktop's frame ${stop + 1}`, () =>
            assert.ok(later.share > kMaxShare, `only ${later.differing} pixels differ`));
        }
      }
      for (const [frame, id] of clicks) {
        if (frame === stop) await tab.getByRole('button', { name: kLabels[id], exact: true }).click();
      }
    }
    await tab.close();
  }
  fs.writeFileSync(path.join(outDir, 'figures.txt'), figures.join('\n') + '\n');
  console.log(figures.join('\n'));
});

test('a broken picture shows the "Error" box, and the show goes on after OK (Escape chooses it)', async () => {
  const tab = await openPage(fileUrl(brokenPage));
  const box = tab.locator('dialog.box[open]');
  await box.waitFor({ timeout: 60000 });
  assert.equal(await box.locator('h2').textContent(), 'Error');
  assert.equal(await box.locator('p').textContent(), 'Unknown DIB file format.');
  assert.deepEqual(await box.locator('.answers button').allTextContents(), ['OK']);
  await tab.keyboard.press('Escape');
  await tab.waitForFunction(() => showcasePage.figures.frame >= 3, null, { timeout: 60000 });
  assert.notEqual(await tab.evaluate(() => document.documentElement.dataset.state), 'ended');
  await tab.close();
});

// Keys that end the show, or not: [address query, keys, the status it ends with or null].
const kEndRows = [
  ['', 'Escape', 27],
  ['?kiosk', 'Escape', null],
  ['?kiosk', 'Control+Alt+Shift+KeyQ', 0],
];
test('Escape ends the show and the page says so; in kiosk mode only the chord does', async () => {
  for (const [query, keys, status] of kEndRows) {
    const tab = await openPage(fileUrl(page, query));
    await tab.waitForFunction(() => showcasePage.figures.frame >= 3, null, { timeout: 60000 });
    await tab.keyboard.press(keys);
    if (status === null) {
      const frame = await tab.evaluate(() => showcasePage.figures.frame);
      await tab.waitForFunction(n => showcasePage.figures.frame > n + 5, frame, { timeout: 30000 });
      assert.equal(await tab.evaluate(() => document.documentElement.dataset.state), 'running', query + keys);
      await tab.close();
      continue;
    }
    await tab.waitForFunction(() => document.documentElement.dataset.state === 'ended', null, { timeout: 30000 });
    assert.equal(await tab.evaluate(() => showcasePage.figures.status), status, query + keys);
    assert.match(await tab.locator('#notice').textContent(), /The show has ended\./);
    assert.equal(await tab.locator('#buttons button').count(), 0);
    await tab.getByRole('button', { name: 'Play again' }).click();
    await tab.waitForFunction(() => typeof showcasePage === 'object' && showcasePage.figures.frame >= 1, null,
                              { timeout: 60000 });
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
    const tab = await openPage(fileUrl(page, query));
    await tab.waitForFunction(() => document.documentElement.dataset.state === 'ended', null, { timeout: 60000 });
    assert.equal(await tab.locator('#notice p').textContent(), message, query);
    assert.equal(await tab.locator('#notice b').count(), 0, query);
    assert.equal(await tab.evaluate(() => showcasePage.figures.frame), 0, query);
    await tab.close();
  }
});

test('the page over HTTP and in an <iframe>; the GL view at the device\'s pixels', async () => {
  // A phone-sized window at pixel ratio 2: the view in device pixels, the buttons in CSS pixels.
  const tab = await openPage(serverUrl + 'showcase.html?frame=3', { width: 390, height: 844 }, 2);
  await waitHeld(tab, 3);
  assert.deepEqual(await tab.evaluate(() => [showcasePage.figures.heldPixels.width, showcasePage.figures.heldPixels.height]),
                   [780, 1688]);
  const button = await tab.getByRole('button', { name: 'Зорна GX - 1', exact: true }).boundingBox();
  assert.deepEqual([button.x, button.y, button.width, button.height], [0, 3, 160, 25]);
  await tab.close();
  const embed = await openPage(serverUrl + 'embed.html', { width: 900, height: 700 });
  const frame = embed.frames().find(f => f.url().includes('showcase.html'));
  await waitHeld(embed, 3, frame);
  assert.equal(await frame.locator('#buttons button').first().textContent(), 'Зорна GX - 1');
  await embed.close();
});

test('F1 where the browser refuses full screen asks the desktop\'s question', async () => {
  const embed = await openPage(serverUrl + 'embed-no-full-screen.html', { width: 900, height: 700 });
  const frame = embed.frames().find(f => f.url().includes('showcase.html'));
  await frame.waitForFunction(() => showcasePage.figures.frame >= 3, null, { timeout: 60000 });
  await frame.locator('canvas').click({ position: { x: 600, y: 300 } });
  await embed.keyboard.press('F1');
  const box = frame.locator('dialog.box[open]');
  await box.waitFor({ timeout: 30000 });
  assert.equal(await box.locator('h2').textContent(), 'Mivo GL');
  assert.equal(await box.locator('p').textContent(),
               'The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?');
  assert.deepEqual(await box.locator('.answers button').allTextContents(), ['Yes', 'No']);
  await embed.keyboard.press('Escape');  // a Yes/No box has no Escape answer
  assert.equal(await box.isVisible(), true);
  await box.getByRole('button', { name: 'Yes' }).click();
  await frame.waitForFunction(() => showcasePage.figures.frame >= 3 && document.title === "Mivo's OpenGL Framework",
                              null, { timeout: 60000 });
  await embed.close();
});
