// The page in the three browser engines of tests/web/engines.js (Debian's chromium headless with
// software WebGL, firefox-esr and WebKitGTK's MiniBrowser on Xvfb): the file's size, the first
// frame after opening the file, frame times at 1280 x 720 at the show's pace, the unpaced time per
// frame at 1024 x 768 beside the desktop's, lost and restored WebGL contexts with the memory
// around them, a long unpaced run in the fastest engine, and a bare WebGL page under chromium
// flags to see where a paced frame's time goes. Figures are printed, never judged.
// Run by bench/web_bench.sh:
//   node web_bench.js PAGE [SECONDS] [--engines=chromium,firefox,webkit] [--cycles=N]
//                    [--long-frames=N] [--long-size=WxH] [--native-frame-us=US] [--no-bare | --bare-only]
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const puppeteer = require('puppeteer-core');
const { engines, launch, chromiumFlags: kChromiumFlags } = require(path.resolve(__dirname, '../tests/web/engines.js'));

const positional = process.argv.slice(2).filter(a => !a.startsWith('--'));
const option = (name, fallback) => {
  const found = process.argv.find(a => a.startsWith(`--${name}=`));
  return found ? found.slice(name.length + 3) : fallback;
};
const [page, seconds = '20'] = positional;
const chosen = option('engines', engines.map(e => e.name).join(',')).split(',');
const cycles = Number(option('cycles', 100));
const longFrames = Number(option('long-frames', 100000));
const [longWidth, longHeight] = option('long-size', '640x480').split('x').map(Number);
const nativeFrameUs = Number(option('native-frame-us', 0));
const bare = !process.argv.includes('--no-bare');
const bareOnly = process.argv.includes('--bare-only');

const pageUrl = (query = '') => 'file://' + fs.realpathSync(page) + query;
const bareUrl = query => 'file://' + path.resolve(__dirname, 'bare_webgl.html') + query;
const kWait = 10 * 60 * 1000;
const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
const ms = value => value.toFixed(1) + ' ms';
const spread = times => {
  const sorted = [...times].sort((a, b) => a - b);
  return `median ${ms(quantile(sorted, 0.5))}, 99th percentile ${ms(quantile(sorted, 0.99))}`;
};
const mb = bytes => (bytes / 1048576).toFixed(2) + ' MB';
const kb = bytes => Math.round(bytes / 1024).toLocaleString('en') + ' kB';
const memoryText = m => m ? `wasm heap ${mb(m.wasmBytes)}, in use ${kb(m.wasmInUse)}, ` +
                            `JS heap ${m.jsHeap == null ? 'not told' : mb(m.jsHeap)}` : 'not told';
const sleep = milliseconds => new Promise(resolve => setTimeout(resolve, milliseconds));
const memory = tab => tab.evaluate(() => (showcasePage.memory ? showcasePage.memory() : null));

// Each part prints its own failure and lets the others run.
async function part(title, run) {
  try {
    return await run();
  } catch (e) {
    console.log(`${title}: failed: ${String(e.message || e).split('\n')[0]}`);
    return null;
  }
}

async function firstFramesAndPace(browser) {
  const firsts = [];
  for (let run = 0; run < 3; ++run) {
    const tab = await browser.open(pageUrl(), { width: 1280, height: 720 });
    await tab.waitFor(() => showcasePage.figures.frame >= 1, null, 120000);
    const f = await tab.evaluate(() => showcasePage.figures);
    firsts.push(f.firstFrame);
    console.log(`  run ${run + 1}: script at ${ms(f.script)}, unpacked at ${ms(f.inflated)}, main at ${ms(f.started)}, ` +
                `first frame at ${ms(f.firstFrame)}`);
    if (run < 2) { await tab.close(); continue; }
    await sleep(Number(seconds) * 1000);
    const { frameTimes, busyTimes, frame } = await tab.evaluate(() => showcasePage.figures);
    await tab.close();
    console.log(`  first frame after opening (3 runs): ${firsts.map(ms).join(', ')}`);
    console.log(`  paced at 1280x720, ${frame} frames in about ${seconds} s: ${spread(frameTimes.slice(1))}`);
    console.log(`  the program's share (animation frame to swap): ${spread(busyTimes)}`);
  }
}

// The time between two holds of ?frame=N, divided by the frames drawn between them; the hold is
// timed in the page, when data-held is set after the held frame's pixels have been read back.
async function unpacedFrame(browser, size, from, frames) {
  const tab = await browser.open(pageUrl(`?frame=${from}`), size);
  try {
    await tab.waitFor(n => showcasePage.figures.held === n && document.documentElement.dataset.held, from, kWait);
    await tab.evaluate(until => {
      window.benchHeld = null;
      new MutationObserver(() => {
        if (document.documentElement.dataset.held === String(until)) window.benchHeld = performance.now();
      }).observe(document.documentElement, { attributes: true, attributeFilter: ['data-held'] });
      window.benchAdvanced = performance.now();
      showcasePage.advance(until - Number(document.documentElement.dataset.held));
    }, from + frames);
    await tab.waitFor(() => window.benchHeld !== null, null, kWait);
    return (await tab.evaluate(() => window.benchHeld - window.benchAdvanced)) / frames;
  } finally {
    await tab.close();
  }
}

// WEBGL_lose_context's loss and restore, `count` times in a row on the playing show: each time
// until the page counts a recovery, says running again and shows a frame past the one before the
// loss. The time is from restoreContext to that frame, sampled in the page every 10 ms.
async function loseAndRestore(browser, count) {
  const tab = await browser.open(pageUrl(), { width: 1024, height: 768 });
  try {
    await tab.waitFor(() => showcasePage.figures.frame >= 10, null, 120000);
    const first = await memory(tab);
    let restored = 0, replaced = 0, failed = 0, lastMemory = null;
    const times = [];
    for (let cycle = 0; cycle < count && failed < 3; ++cycle) {
      await tab.evaluate(() => {
        const f = showcasePage.figures;
        window.benchBefore = { recoveries: f.contextRecoveries, replacements: f.canvasReplacements, frame: f.frame };
        window.benchLoser = document.querySelector('#stage canvas:not([data-retired])').getContext('webgl')
          .getExtension('WEBGL_lose_context');
        window.benchLoser.loseContext();
      });
      const lost = await tab.waitFor(() => document.documentElement.dataset.state === 'lost', null, 5000)
        .then(() => true, () => false);
      await tab.evaluate(() => {
        window.benchBack = null;
        window.benchRestored = performance.now();
        window.benchLoser.restoreContext();
        const watch = setInterval(() => {
          const f = showcasePage.figures, b = window.benchBefore;
          if (f.contextRecoveries > b.recoveries && document.documentElement.dataset.state === 'running' &&
              f.frame > b.frame) {
            window.benchBack = { ms: performance.now() - window.benchRestored,
                                 replaced: f.canvasReplacements > b.replacements };
            clearInterval(watch);
          }
        }, 10);
      });
      const back = lost && await tab.waitFor(() => window.benchBack !== null, null, 10000).then(() => true, () => false);
      if (!back) { ++failed; continue; }
      failed = 0;
      const { ms: time, replaced: fresh } = await tab.evaluate(() => window.benchBack);
      times.push(time);
      if (fresh) ++replaced; else ++restored;
      if (cycle === count - 1) lastMemory = await memory(tab);
    }
    const f = await tab.evaluate(() => showcasePage.figures);
    console.log(`  ${count} losses: ${restored} restored in place, ${replaced} on a fresh canvas, ` +
                `${count - restored - replaced} not recovered (the page counted ${f.contextLosses} losses, ` +
                `${f.contextRecoveries} recoveries, ${f.canvasReplacements} replacements)`);
    if (times.length) console.log(`  restore to the next frame: ${spread(times)}, slowest ${ms(Math.max(...times))}`);
    console.log(`  memory at the first cycle: ${memoryText(first)}`);
    console.log(`  memory after the last cycle: ${memoryText(lastMemory)}`);
  } finally {
    await tab.close();
  }
}

// ?frame=1, then advance() in chunks of 10,000 frames up to `frames`, the memory at every hold.
async function longRun(browser, frames) {
  const chunk = 10000;
  const tab = await browser.open(pageUrl('?frame=1'), { width: longWidth, height: longHeight });
  try {
    const samples = [];
    const wait = n => tab.waitFor(k => showcasePage.figures.held === k && document.documentElement.dataset.held, n, kWait);
    await wait(1);
    samples.push({ frame: 1, memory: await memory(tab) });
    const start = Date.now();
    for (let held = 1; held < frames;) {
      const step = Math.min(chunk, frames - held);
      await tab.evaluate(n => showcasePage.advance(n), step);
      held += step;
      await wait(held);
      samples.push({ frame: held, memory: await memory(tab) });
    }
    const perFrame = (Date.now() - start) / (frames - 1);
    const at = frame => samples.reduce((a, b) => (Math.abs(b.frame - frame) < Math.abs(a.frame - frame) ? b : a));
    console.log(`  ${frames} frames at ${longWidth}x${longHeight} in ${((Date.now() - start) / 1000).toFixed(0)} s ` +
                `(${ms(perFrame)} a frame)`);
    for (const [name, s] of [['start', samples[0]], ['middle', at(frames / 2)], ['end', samples.at(-1)]])
      console.log(`  ${name} (frame ${s.frame}): ${memoryText(s.memory)}`);
    const used = samples.slice(1).map(s => s.memory?.wasmInUse).filter(v => v != null);
    if (used.length) console.log(`  in use from frame ${samples[1].frame} on: ${kb(Math.min(...used))} to ${kb(Math.max(...used))}`);
  } finally {
    await tab.close();
  }
}

// ---- chromium alone, with flags of its own: the bare page beside the show --------------------

// The tests' chromium flags and one more each; launch() takes no flags of its own.
const kVariants = [
  { name: 'the tests\' flags', flags: kChromiumFlags },
  { name: '+ --disable-gpu-vsync', flags: [...kChromiumFlags, '--disable-gpu-vsync'] },
  { name: '+ --disable-frame-rate-limit', flags: [...kChromiumFlags, '--disable-frame-rate-limit'] },
  { name: '--use-angle=gl (Mesa)', flags: kChromiumFlags.map(f => (f === '--use-angle=swiftshader' ? '--use-angle=gl' : f)) },
];
const kBareSize = { width: 1280, height: 720 };
const kBareRuns = [
  { name: 'bare, no quad', query: '?quads=0', size: kBareSize },
  { name: 'bare, no quad, default context', query: '?quads=0&context=default', size: kBareSize },
  { name: 'bare, 20 quads', query: '?quads=20', size: kBareSize },
  { name: 'bare, 20 quads, default context', query: '?quads=20&context=default', size: kBareSize },
  { name: 'bare, 20 quads of a quarter side (1.25 canvases of fill)', query: '?quads=20&side=0.25', size: kBareSize },
];

// Each row: the paced frame times, then the drawing alone (bare: a few frames in a row; the show:
// ?frame=60, then 60 more unpaced).
async function bareAndShow(variant, runSeconds) {
  const browser = await puppeteer.launch({ browser: 'chrome', executablePath: '/usr/bin/chromium', headless: true,
                                           args: variant.flags });
  const paced = async (tab, address, figures) => {
    await tab.goto(address);
    await tab.waitForFunction(`(${figures})() && (${figures})().frameTimes.length > 0`, { timeout: 30000, polling: 100 });
    await sleep(runSeconds * 1000);
    const times = await tab.evaluate(`(${figures})().frameTimes`);
    return times.length > 5 ? `${times.length} frames, ${spread(times.slice(2))}` : `${times.length} frames`;
  };
  try {
    for (const run of kBareRuns) {
      const tab = await browser.newPage();
      await tab.setViewport(run.size);
      const text = await paced(tab, bareUrl(run.query), () => window.bare).catch(() => 'no frames');
      const draw = await tab.evaluate(() => drawCost(3)).catch(() => null);
      await tab.close();
      console.log(`    ${run.name}: ${text}${draw == null ? '' : `; drawing alone ${ms(draw)}`}`);
    }
    const tab = await browser.newPage();
    await tab.setViewport(kBareSize);
    const text = await paced(tab, pageUrl(), () => showcasePage.figures).catch(() => 'no frames');
    await tab.goto(pageUrl('?frame=60'));
    const draw = await tab.waitForFunction(() => showcasePage.figures.held === 60, { timeout: kWait, polling: 100 })
      .then(() => tab.evaluate(() => new Promise(resolve => {
        const start = performance.now();
        new MutationObserver(() => {
          if (document.documentElement.dataset.held === '120') resolve((performance.now() - start) / 60);
        }).observe(document.documentElement, { attributes: true, attributeFilter: ['data-held'] });
        showcasePage.advance(60);
      })), () => null);
    await tab.close();
    console.log(`    the show: ${text}${draw == null ? '' : `; unpaced ${ms(draw)}`}`);
  } finally {
    await browser.close();
  }
}

(async () => {
  const bytes = fs.readFileSync(page);
  console.log(`file: ${bytes.length} bytes, gzipped ${zlib.gzipSync(bytes, { level: 9 }).length} bytes`);
  if (nativeFrameUs) console.log(`desktop program, whole frame at 1024x768 on Mesa: ${ms(nativeFrameUs / 1000)}`);
  const unpaced = {};
  for (const name of bareOnly ? [] : chosen) {
    const browser = await part(name, () => launch(name));
    if (!browser) continue;
    console.log(`${name}:`);
    await part('  first frame and pace', () => firstFramesAndPace(browser));
    console.log(`  browser: ${browser.version}`);
    await part('  unpaced', async () => {
      unpaced[name] = await unpacedFrame(browser, { width: 1024, height: 768 }, 300, 1000);
      console.log(`  unpaced at 1024x768 (held at 300, then 1000 more): ${ms(unpaced[name])} a frame` +
                  (nativeFrameUs ? `, ${(unpaced[name] * 1000 / nativeFrameUs).toFixed(1)} x the desktop's` : ''));
    });
    await part('  lose and restore', () => loseAndRestore(browser, cycles));
    await browser.close();
  }
  const fastest = Object.keys(unpaced).sort((a, b) => unpaced[a] - unpaced[b])[0];
  if (fastest && longFrames > 0) {
    console.log(`long run in ${fastest}, the fastest unpaced:`);
    const browser = await launch(fastest);
    await part('  long run', () => longRun(browser, longFrames));
    await browser.close();
  }
  if (bare && chosen.includes('chromium')) {
    console.log('chromium, the bare WebGL page beside the show at 1280x720 (rAF pace):');
    for (const variant of kVariants) {
      console.log(`  ${variant.name}:`);
      await part('    variant', () => bareAndShow(variant, 8));
    }
  }
  process.exit(0);
})();
