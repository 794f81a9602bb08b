// The three browser engines the page is tested and measured in, each behind one small "tab", so
// tests/web/web_test.js and bench/web_bench.js read the same in every engine. Nothing is downloaded:
// the browsers are Debian's, the drivers come from tests/web/package-lock.json.
//   const { engines, launch } = require('./engines');
//   const browser = await launch('firefox');            // or launch('chromium', { webgl: false })
//   const tab = await browser.open(address, { width, height }, pixelRatio);
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const puppeteer = require('puppeteer-core');

const kNoManager = 'on Xvfb with no window manager, a full-screen window keeps its size';
// cannot: what the engine cannot do here, each with the reason a test gives for what it leaves unchecked.
const engines = [
  { name: 'chromium', driver: 'puppeteer-core over the DevTools protocol', cannot: {} },
  { name: 'firefox', driver: 'puppeteer-core over WebDriver BiDi, on Xvfb', cannot: { fillScreen: kNoManager } },
  { name: 'webkit', driver: 'WebKitWebDriver (W3C WebDriver over HTTP), MiniBrowser on Xvfb, pixel ratio by GDK_SCALE',
    cannot: { pageErrors: 'WebDriver does not report a page\'s uncaught errors', fillScreen: kNoManager } },
];

// Software WebGL (SwiftShader through ANGLE) is what gives a headless chromium WebGL here.
const kChromiumFlags = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                        '--disable-background-networking', '--disable-component-update', '--no-first-run',
                        '--disable-default-apps', '--disable-sync', '--mute-audio'];
const kMiniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// One X server for the run, on a display number it picks itself: firefox's headless mode and
// MiniBrowser have no WebGL without one.
let xServer;
function display() {
  xServer ??= new Promise((resolve, reject) => {
    const child = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1920x1080x24', '-nolisten', 'tcp'],
                        { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    process.on('exit', () => child.kill());
    let number = '';
    child.stdio[3].on('data', data => {
      number += data;
      if (!number.includes('\n')) return;
      // The server lives as long as this process, and does not keep it alive.
      child.unref();
      child.stdio[3].unref();
      resolve(':' + number.trim());
    });
    child.on('error', reject);
    child.on('exit', code => reject(new Error('Xvfb ended with ' + code)));
  });
  return xServer;
}

// Signals end the run through 'exit', which takes the X server and the drivers with it.
for (const signal of ['SIGINT', 'SIGTERM']) process.once(signal, () => process.exit(1));

// A chord as 'Control+Alt+Shift+KeyQ': the keys held down in order, released in reverse.
const chord = keys => keys.split('+');

// --- chromium and firefox: puppeteer-core --------------------------------------------------------

async function launchPuppeteer(name, { webgl = true } = {}) {
  const options = name === 'chromium'
    ? { browser: 'chrome', executablePath: '/usr/bin/chromium', headless: true,
        args: [...kChromiumFlags, ...(webgl ? [] : ['--disable-webgl'])] }
    : { browser: 'firefox', protocol: 'webDriverBiDi', executablePath: '/usr/bin/firefox-esr', headless: false,
        env: { ...process.env, DISPLAY: await display() },
        extraPrefsFirefox: webgl ? {} : { 'webgl.disabled': true } };
  const browser = await puppeteer.launch(options);
  return {
    version: await browser.version(),
    async open(address, size, pixelRatio = 1) {
      const page = await browser.newPage();
      await page.setViewport({ ...size, deviceScaleFactor: pixelRatio });
      const errors = [];
      page.on('pageerror', e => { errors.push(e.message); console.error('page error:', e.message); });
      await page.goto(address);
      const tab = puppeteerTab(page, () => page.mainFrame(), errors);
      // What chromium's DevTools tell of the page (its web app manifest, say); other engines have none.
      if (name === 'chromium') tab.devtools = async (method, params) => (await page.createCDPSession()).send(method, params);
      return tab;
    },
    close: () => browser.close(),
  };
}

function puppeteerTab(page, frame, errors) {
  return {
    errors,
    evaluate: (fn, ...args) => frame().evaluate(fn, ...args),
    async waitFor(fn, arg, timeout = 60000) {
      await (await frame().waitForFunction(fn, { timeout, polling: 100 }, arg)).dispose();
    },
    async press(keys) {
      const held = chord(keys);
      for (const key of held.slice(0, -1)) await page.keyboard.down(key);
      await page.keyboard.press(held.at(-1));
      for (const key of held.slice(0, -1).reverse()) await page.keyboard.up(key);
    },
    async clickButton(text, within = 'body') {
      const button = await frame().evaluateHandle(findButton, within, text);
      if (!button.asElement()) throw new Error(`no button "${text}" in ${within}`);
      await button.asElement().click();
    },
    async click(selector) { await (await frame().$(selector)).click(); },
    texts: selector => frame().$$eval(selector, all => all.map(e => e.textContent)),
    screenshot: file => page.screenshot({ path: file }),
    frame(part) {
      return puppeteerTab(page, () => page.frames().find(f => f.url().includes(part)), errors);
    },
    close: async () => { if (!page.isClosed()) await page.close(); },
  };
}

// Runs in the page: the first shown button under `within` whose text is `text`.
function findButton(within, text) {
  return [...document.querySelectorAll(within + ' button')]
    .find(b => b.textContent === text && b.getClientRects().length > 0) || null;
}

// --- webkit: WebKitWebDriver, plain W3C WebDriver ------------------------------------------------
// A dozen commands over fetch; selenium-webdriver's releases want a newer Node.js than Debian's
// and carry prebuilt driver-manager executables this run must not fetch.

const kElement = 'element-6066-11e4-a52e-4f735466cecf';
const kKeys = { Escape: '\uE00C', F1: '\uE031', Enter: '\uE007', Shift: '\uE008', Control: '\uE009',
                Alt: '\uE00A' };
const webDriverKey = key => kKeys[key] ?? (/^Key[A-Z]$/.test(key) ? key.slice(3).toLowerCase() : key);

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer().once('error', reject);
    server.listen(0, '127.0.0.1', () => { const { port } = server.address(); server.close(() => resolve(port)); });
  });
}

// One WebKitWebDriver per pixel ratio: GTK draws MiniBrowser at the integer scale GDK_SCALE asks for.
async function startWebKitWebDriver(pixelRatio) {
  if (!Number.isInteger(pixelRatio)) throw new Error('webkit: a whole pixel ratio only (GDK_SCALE)');
  const port = await freePort();
  const driver = spawn('WebKitWebDriver', ['--port=' + port], {
    env: { ...process.env, DISPLAY: await display(), GDK_SCALE: String(pixelRatio) },
    stdio: ['ignore', 'ignore', 'inherit'] });
  process.on('exit', () => driver.kill());
  const base = `http://127.0.0.1:${port}`;
  for (let tries = 0; ; ++tries) {
    try { if ((await fetch(base + '/status')).ok) return { driver, base }; } catch (e) { if (tries > 100) throw e; }
    await new Promise(resolve => setTimeout(resolve, 100));
  }
}

async function launchWebKit({ webgl = true } = {}) {
  const drivers = new Map();
  const driverFor = ratio => {
    if (!drivers.has(ratio)) drivers.set(ratio, startWebKitWebDriver(ratio));
    return drivers.get(ratio);
  };
  await driverFor(1);
  const args = ['--automation', ...(webgl ? [] : ['--enable-webgl=false'])];
  const capabilities = { browserName: 'MiniBrowser',
                         'webkitgtk:browserOptions': { binary: kMiniBrowser, args } };
  let version = null;
  const tabs = new Set();
  return {
    get version() { return version; },
    // Each tab is a session of its own: a MiniBrowser that starts clean and ends with the tab.
    async open(address, size, pixelRatio = 1) {
      const { base } = await driverFor(pixelRatio);
      const session = await command(base, 'POST', '/session', { capabilities: { alwaysMatch: capabilities } });
      version = `MiniBrowser ${session.capabilities.browserVersion}`;
      const tab = webDriverTab(`${base}/session/${session.sessionId}`, null, () => tabs.delete(tab));  // true the first time
      tabs.add(tab);
      await tab.resize(size);
      await command(tab.url, 'POST', '/url', { url: address });
      return tab;
    },
    async close() {
      for (const tab of tabs) await tab.close().catch(() => {});
      for (const started of drivers.values()) (await started).driver.kill();
    },
  };
}

async function command(base, method, route, body) {
  const response = await fetch(base + route, {
    method, headers: { 'Content-Type': 'application/json' }, body: body && JSON.stringify(body) });
  const { value } = await response.json();
  if (!response.ok) throw new Error(`WebDriver ${route}: ${value.error}: ${value.message}`);
  return value;
}

function webDriverTab(url, frameOf, closed) {
  const run = (route, body, method = 'POST') => command(url, method, route, body);
  // Every command of a tab runs in its own browsing context: the page or one of its <iframe>s.
  const enter = async () => {
    await run('/frame', { id: null });
    if (frameOf) {
      const element = await run('/execute/sync', {
        script: 'return [...document.querySelectorAll("iframe")].find(f => f.src.includes(arguments[0]))',
        args: [frameOf] });
      await run('/frame', { id: element });
    }
  };
  const evaluate = async (fn, ...args) => {
    await enter();
    return run('/execute/sync', { script: `return (${fn}).apply(null, arguments)`, args });
  };
  return {
    url,
    errors: null,
    evaluate,
    async waitFor(fn, arg, timeout = 60000) {
      const end = Date.now() + timeout;
      for (;;) {
        // A page that is being reloaded has no document to ask for a moment.
        // (A promise is waited for: WebDriver gives back what it resolves to.)
        const script = `() => Promise.resolve((${fn}).apply(null, arguments)).then(value => !!value)`;
        if (await evaluate(script, arg).catch(() => false)) return;
        if (Date.now() > end) throw new Error(`timed out after ${timeout} ms waiting for ${fn}`);
        await new Promise(resolve => setTimeout(resolve, 100));
      }
    },
    async press(keys) {
      const held = chord(keys).map(webDriverKey);
      const actions = [...held.map(value => ({ type: 'keyDown', value })),
                       ...held.reverse().map(value => ({ type: 'keyUp', value }))];
      await enter();
      await run('/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
    },
    async clickButton(text, within = 'body') {
      const button = await evaluate(findButton, within, text);
      if (!button) throw new Error(`no button "${text}" in ${within}`);
      await run(`/element/${button[kElement]}/click`, {});
    },
    async click(selector) {
      const element = await evaluate(s => document.querySelector(s), selector);
      await run(`/element/${element[kElement]}/click`, {});
    },
    texts: selector => evaluate(s => [...document.querySelectorAll(s)].map(e => e.textContent), selector),
    async screenshot(file) {
      await run('/frame', { id: null });
      fs.writeFileSync(file, Buffer.from(await run('/screenshot', undefined, 'GET'), 'base64'));
    },
    frame: part => webDriverTab(url, part, closed),
    // The window's outer size that gives the page this inner size (the toolbar's height differs).
    async resize({ width, height }) {
      await run('/window/rect', { width, height });
      const [w, h] = await evaluate(() => [innerWidth, innerHeight]);
      await run('/window/rect', { width: 2 * width - w, height: 2 * height - h });
    },
    async close() {
      if (!closed()) return;
      await run('', undefined, 'DELETE');
    },
  };
}

function launch(name, options) {
  if (!engines.some(e => e.name === name)) throw new Error(`no engine "${name}"`);
  return name === 'webkit' ? launchWebKit(options) : launchPuppeteer(name, options);
}

// chromiumFlags: what gives chromium its software WebGL, for a chromium launched some other way.
module.exports = { engines, launch, chromiumFlags: kChromiumFlags };
