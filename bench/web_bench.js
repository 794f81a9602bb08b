// The page in Debian's headless chromium (software WebGL): the file's size plain and gzipped,
// the time from opening the file to its first frame, and the frame times at 1280 x 720 while
// the show plays at its pace. Run by bench/web_bench.sh.
//   node web_bench.js PAGE [SECONDS]
'use strict';
const fs = require('node:fs');
const zlib = require('node:zlib');
const { chromium } = require('playwright-core');

const [page, seconds = '20'] = process.argv.slice(2);
const kFlags = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                '--disable-background-networking', '--no-first-run'];
const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
const ms = value => value.toFixed(1) + ' ms';

(async () => {
  const bytes = fs.readFileSync(page);
  console.log(`file: ${bytes.length} bytes, gzipped ${zlib.gzipSync(bytes, { level: 9 }).length} bytes`);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: kFlags });
  const firsts = [];
  for (let run = 0; run < 3; ++run) {
    const tab = await browser.newPage({ viewport: { width: 1280, height: 720 } });
    await tab.goto('file://' + fs.realpathSync(page));
    await tab.waitForFunction(() => showcasePage.figures.frame >= 1, null, { timeout: 60000 });
    firsts.push(await tab.evaluate(() => showcasePage.figures.firstFrame));
    const f = await tab.evaluate(() => showcasePage.figures);
    console.log(`run ${run + 1}: script at ${ms(f.script)}, unpacked at ${ms(f.inflated)}, main at ${ms(f.started)}, first frame at ${ms(f.firstFrame)}`);
    if (run < 2) await tab.close();
    else {
      await tab.waitForTimeout(Number(seconds) * 1000);
      const times = (await tab.evaluate(() => showcasePage.figures.frameTimes)).slice(1).sort((a, b) => a - b);
      const shown = await tab.evaluate(() => showcasePage.figures.frame);
      const busy = (await tab.evaluate(() => showcasePage.figures.busyTimes)).sort((a, b) => a - b);
      console.log(`first frame after opening (3 runs): ${firsts.map(ms).join(', ')}`);
      console.log(`1280x720, ${shown} frames in about ${seconds} s: median ${ms(quantile(times, 0.5))}, ` +
                  `99th percentile ${ms(quantile(times, 0.99))}, fastest ${ms(times[0])}`);
      console.log(`the program's share (animation frame to swap): median ${ms(quantile(busy, 0.5))}, ` +
                  `99th percentile ${ms(quantile(busy, 0.99))}`);
      // Where the time goes: one frame's GL work, measured unpaced (no wait for the display).
      await tab.goto('file://' + fs.realpathSync(page) + '?frame=300');
      const start = Date.now();
      await tab.waitForFunction(() => showcasePage.figures.held === 300, null, { timeout: 600000, polling: 50 });
      console.log(`unpaced: 300 frames in ${Date.now() - start} ms, including loading`);
    }
  }
  await browser.close();
})();
