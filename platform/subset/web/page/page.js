// The page's side of the web backend (platform/subset/web/): the options of the address, the
// pictures and the program inflated from the page itself, the view's canvas, the push buttons as
// buttons of the page, message boxes as dialogs, input queued for the program, and the page
// shown once the program has ended. Nothing that comes from the address or the program is
// ever written into the page as markup: every text goes in through textContent.
'use strict';

const showcasePage = (() => {
  const stage = document.getElementById('stage');
  const buttonBox = document.getElementById('buttons');
  const notice = document.getElementById('notice');

  // Kinds of queued events, as web_events.cpp reads them.
  const kEvent = { key: 1, pointer: 2, buttonClick: 3, resize: 4, hidden: 5, shown: 6, focus: 7,
                   leftFullScreen: 8 };
  const events = [];
  const push = (...event) => { if (running) events.push(event); };
  // What happened to a canvas's WebGL context, as web_present.cpp reads it: [kind, canvas].
  const kContextEvent = { lost: 1, restored: 2, replace: 3 };
  const contextEvents = [];
  // A context the browser does not give back within this time is replaced, canvas and all.
  const kRestoreWaitMs = 3000;
  let losses = 0;

  let running = false;
  let boxOpen = 0;
  let canvas = null;
  let modeChanged = false;
  let windowSize = { width: 0, height: 0 };
  let glFailure = null;  // 'none': no WebGL context to be had; 'lost': taken away for good
  let program = null;    // the running program's module
  const output = [];
  const errors = [];

  // Figures the tests and the benchmark read; times in milliseconds from the page's opening.
  // busyTimes: from the browser's animation frame to the swap, the program's own share of a frame.
  // script: the page parsed, its script running; inflated: the program and pictures unpacked;
  // started: main called. contextLosses: WebGL contexts the browser took away; contextRecoveries:
  // the show back after one (given back, or on a new canvas: canvasReplacements).
  const figures = { script: performance.now(), inflated: 0, started: 0, firstFrame: 0, frame: 0, frameTimes: [], busyTimes: [], resumed: 0, status: null,
                    held: 0, heldPixels: null, contextLosses: 0, contextRecoveries: 0, canvasReplacements: 0 };
  const setState = state => { document.documentElement.dataset.state = state; };

  // ---- Options: "?kiosk&idle-reset=30" as the command line's "--kiosk --idle-reset=30" ----

  const kMaxFrame = 10000000;
  // The program's arguments, the frame to hold (0: none), or the one-line problem.
  function readOptions(search) {
    const args = [];
    let frame = 0;
    for (const part of search.replace(/^\?/, '').split('&')) {
      if (part === '') continue;
      const at = part.indexOf('=');
      let name, value;
      try {
        name = decodeURIComponent((at < 0 ? part : part.slice(0, at)).replace(/\+/g, ' '));
        value = at < 0 ? null : decodeURIComponent(part.slice(at + 1).replace(/\+/g, ' '));
      } catch (e) {
        return { problem: "showcase: unreadable option '" + part + "'" };
      }
      if (name === 'frame') {
        if (value === null || !/^[0-9]+$/.test(value) || Number(value) < 1 || Number(value) > kMaxFrame)
          return { problem: "showcase: invalid frame number '" + (value === null ? '' : value) +
                            "' (1 to " + kMaxFrame + ")" };
        frame = Number(value);
        continue;
      }
      args.push('--' + name + (value === null ? '' : '=' + value));
    }
    return { args, frame };
  }
  const options = readOptions(location.search);

  // ---- The notice over the page: a problem, the end of the show ----

  function showNotice(build) {
    notice.replaceChildren();
    const box = document.createElement('div');
    build(box);
    notice.appendChild(box);
    notice.classList.add('shown');
  }
  function paragraph(parent, text) {
    const p = document.createElement('p');
    p.textContent = text;
    parent.appendChild(p);
    return p;
  }
  function playAgainButton(parent) {
    const again = document.createElement('button');
    again.type = 'button';
    again.id = 'play-again';
    again.textContent = 'Play again';
    again.addEventListener('click', () => location.reload());
    parent.appendChild(again);
    again.focus();
  }

  // What a visitor can do about a show without 3D drawing: nothing in the page, so the plain words.
  const kGlFailureTexts = {
    none: 'This browser did not let the show draw in 3D: WebGL is turned off or not available. Turn on ' +
          'hardware acceleration (or WebGL) in the browser\'s settings, or open the page in another browser.',
    lost: 'The browser took away the show\'s 3D drawing (WebGL) and did not give it back. Reload the page; if ' +
          'that does not help, turn on hardware acceleration (or WebGL) in the browser\'s settings, or open the ' +
          'page in another browser.',
  };

  function ended(status) {
    if (!running) return;
    running = false;
    figures.status = status;
    for (const dialog of document.querySelectorAll('dialog.box')) dialog.remove();
    document.body.style.cursor = '';
    if (glFailure) {
      document.body.classList.add('ended');
      buttonBox.replaceChildren();
      showNotice(box => {
        paragraph(box, kGlFailureTexts[glFailure]);
        playAgainButton(box);
      });
      setState('ended');
      return;
    }
    if (figures.frame === 0) {
      // Ended before any frame: a usage error, --help or --version, or a window that never opened.
      showNotice(box => {
        if (status === 0 && output.length) {
          const pre = document.createElement('pre');
          pre.textContent = output.join('\n');
          box.appendChild(pre);
        } else {
          paragraph(box, errors.length ? errors[0] : 'The show could not start (status ' + status + ').');
        }
        if (status !== 2) playAgainButton(box);
      });
      document.documentElement.dataset.state = 'ended';
      return;
    }
    document.body.classList.add('ended');
    buttonBox.replaceChildren();
    showNotice(box => {
      paragraph(box, 'The show has ended.');
      playAgainButton(box);
    });
    document.documentElement.dataset.state = 'ended';
  }

  function stopped(what) {
    running = false;
    showNotice(box => paragraph(box, 'The show stopped: ' + what));
    document.documentElement.dataset.state = 'stopped';
  }

  // ---- The window ----

  function viewport() {
    const ratio = window.devicePixelRatio || 1;
    return { width: Math.max(1, Math.round(innerWidth * ratio)), height: Math.max(1, Math.round(innerHeight * ratio)) };
  }

  // A window's canvas. Its WebGL context is kept restorable when the browser takes it away, and
  // one not given back in time is replaced (replaceCanvas).
  function newCanvas(number) {
    const view = document.createElement('canvas');
    view.id = 'view' + number;
    view.setAttribute('aria-hidden', 'true');
    view.addEventListener('webglcontextlost', event => {
      event.preventDefault();
      if (view !== canvas || !running) return;
      figures.contextLosses++;
      const loss = ++losses;
      view.dataset.lost = '1';
      setState('lost');
      contextEvents.push([kContextEvent.lost, number]);
      wakeHeld();
      setTimeout(() => {
        if (loss !== losses || view !== canvas || !view.dataset.lost || !running) return;
        contextEvents.push([kContextEvent.replace, number]);
        wakeHeld();
      }, kRestoreWaitMs);
    });
    view.addEventListener('webglcontextrestored', () => {
      if (view !== canvas || !running) return;
      delete view.dataset.lost;
      contextEvents.push([kContextEvent.restored, number]);
      wakeHeld();
    });
    return view;
  }

  function createCanvas(number, title) {
    document.title = title;
    canvas = newCanvas(number);
    stage.insertBefore(canvas, buttonBox);
  }

  // A fresh canvas, of the same size, in place of one whose context was not given back.
  function replaceCanvas(number) {
    const old = document.getElementById('view' + number);
    const fresh = newCanvas(number);
    if (old) {
      fresh.width = old.width;
      fresh.height = old.height;
      old.replaceWith(fresh);
    } else {
      stage.insertBefore(fresh, buttonBox);
    }
    canvas = fresh;
    figures.canvasReplacements++;
  }

  function contextBack() { figures.contextRecoveries++; }
  function glFailed(kind) { glFailure = kind; }

  // The canvas of a closed window stays until the next window shows a frame.
  function retireCanvas(number) {
    const old = document.getElementById('view' + number);
    if (old) old.dataset.retired = '1';
    buttonBox.replaceChildren();
  }

  // The window's client area is width x height device pixels. In a window it fills the viewport;
  // in a changed mode the mode's picture is scaled to fill the screen, kept in proportion.
  function layout(number, width, height, changed) {
    const view = document.getElementById('view' + number);
    if (!view) return;
    if (view.width !== width) view.width = width;
    if (view.height !== height) view.height = height;
    modeChanged = changed;
    windowSize = { width, height };
    if (!changed) {
      const ratio = window.devicePixelRatio || 1;
      stage.style.width = width / ratio + 'px';
      stage.style.height = height / ratio + 'px';
      stage.style.transform = '';
    } else {
      const scale = Math.min(innerWidth / width, innerHeight / height);
      stage.style.width = width + 'px';
      stage.style.height = height + 'px';
      stage.style.transform = 'translate(' + (innerWidth - width * scale) / 2 + 'px,' +
                              (innerHeight - height * scale) / 2 + 'px) scale(' + scale + ')';
    }
  }

  // The push buttons: [{id, label, x, y, width, height}] in client pixels, kept in CSS pixels.
  function setButtons(list) {
    const wanted = JSON.parse(list);
    const existing = new Map();
    for (const b of buttonBox.children) existing.set(Number(b.dataset.id), b);
    for (const b of wanted) {
      let button = existing.get(b.id);
      existing.delete(b.id);
      if (!button) {
        button = document.createElement('button');
        button.type = 'button';
        button.dataset.id = String(b.id);
        button.addEventListener('click', () => {
          push(kEvent.buttonClick, b.id, 0, 0, 0);
          // Keys stay with the show, as on the desktop, where the buttons never keep the focus.
          if (button.matches(':focus:not(:focus-visible)')) button.blur();
        });
        buttonBox.appendChild(button);
      }
      if (button.textContent !== b.label) button.textContent = b.label;
      button.style.left = b.x + 'px';
      button.style.top = b.y + 'px';
      button.style.width = b.width + 'px';
      button.style.height = b.height + 'px';
    }
    for (const button of existing.values()) button.remove();
  }

  function setCursorVisible(visible) { document.body.style.cursor = visible ? '' : 'none'; }

  let wakeLock = null;
  function keepScreenOn(on) {
    if (on && !wakeLock && navigator.wakeLock && document.visibilityState === 'visible') {
      wakeLock = navigator.wakeLock.request('screen').catch(() => null);
    } else if (!on && wakeLock) {
      wakeLock.then(lock => lock && lock.release()).catch(() => {});
      wakeLock = null;
    }
  }

  // ---- Full screen in place of the desktop's mode change ----

  // An app started full screen from a home screen (display-mode fullscreen, or standalone where
  // the system gives it the screen) has the screen already: F1 switches between the show's window
  // and its mode there without asking the browser, which on a tablet may have no full screen to
  // give a page at all.
  const kAppOwnsScreen = '(display-mode: fullscreen), (display-mode: standalone)';
  let appFullScreen = false;
  async function requestFullScreen() {
    const root = document.documentElement;
    if (window.matchMedia && matchMedia(kAppOwnsScreen).matches) {
      appFullScreen = true;
      return 1;
    }
    if (!document.fullscreenEnabled || !root.requestFullscreen) return 0;
    try {
      await root.requestFullscreen({ navigationUI: 'hide' });
      return document.fullscreenElement ? 1 : 0;
    } catch (e) {
      return 0;
    }
  }
  function leaveFullScreen() {
    if (appFullScreen) appFullScreen = false;
    else if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }

  // ---- Frames ----

  let lastFrameAt = 0;
  function frameShown(number, frame) {
    const now = performance.now();
    if (frame === 1) figures.firstFrame = now;
    else if (figures.frameTimes.length < 100000) figures.frameTimes.push(now - lastFrameAt);
    if (figures.resumed && figures.busyTimes.length < 100000) figures.busyTimes.push(now - figures.resumed);
    lastFrameAt = now;
    figures.frame = frame;
    if (document.documentElement.dataset.state !== 'running') setState('running');
    for (const old of stage.querySelectorAll('canvas[data-retired]')) if (old.id !== 'view' + number) old.remove();
  }

  function holdFrame() { return options.frame || 0; }

  // The frame to hold has been drawn (shown: on screen, not on a lost context): its pixels are
  // kept (top row first), and the program waits until advance() asks for more frames, or until
  // something happens to the context (-1), after which the frame is drawn and held again.
  let resumeHeld = null;
  function frameHeld(frame, shown) {
    const gl = shown && canvas && canvas.getContext('webgl');
    if (gl) {
      const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
      const pixels = new Uint8Array(width * height * 4);
      gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      figures.heldPixels = { width, height, pixels };
      figures.held = frame;
      document.documentElement.dataset.held = String(frame);
      setState('running');
    } else {
      delete document.documentElement.dataset.held;
    }
    if (contextEvents.length) return Promise.resolve(-1);
    return new Promise(resolve => { resumeHeld = resolve; });
  }
  function wakeHeld() {
    if (!resumeHeld) return;
    const resume = resumeHeld;
    resumeHeld = null;
    resume(-1);
  }

  // Draws `frames` more frames unpaced and holds the last; 0 lets the show run on at its pace.
  function advance(frames) {
    if (!resumeHeld) return false;
    const resume = resumeHeld;
    resumeHeld = null;
    delete document.documentElement.dataset.held;
    resume(Math.max(0, frames | 0));
    return true;
  }

  // The held frame as a PNG data address, top row first.
  function heldPicture() {
    const held = figures.heldPixels;
    if (!held) return null;
    const flat = document.createElement('canvas');
    flat.width = held.width;
    flat.height = held.height;
    const context = flat.getContext('2d');
    const image = context.createImageData(held.width, held.height);
    const row = held.width * 4;
    for (let y = 0; y < held.height; ++y)
      image.data.set(held.pixels.subarray((held.height - 1 - y) * row, (held.height - y) * row), y * row);
    for (let i = 3; i < image.data.length; i += 4) image.data[i] = 255;
    context.putImageData(image, 0, 0);
    return flat.toDataURL('image/png');
  }

  // ---- Message boxes ----

  const kBoxLabels = { 1: 'OK', 2: 'Cancel', 3: 'Abort', 4: 'Retry', 5: 'Ignore', 6: 'Yes', 7: 'No' };
  const kIconNames = ['', 'error', 'question', 'warning', 'information'];

  function messageBox(text, caption, ids, defaultId, escapeId, icon) {
    return new Promise(resolve => {
      const dialog = document.createElement('dialog');
      dialog.className = 'box';
      dialog.dataset.icon = kIconNames[icon] || '';
      const title = document.createElement('h2');
      title.textContent = caption;
      const body = document.createElement('p');
      body.textContent = text.replace(/\n+$/, '');
      const answers = document.createElement('div');
      answers.className = 'answers';
      dialog.append(title, body, answers);
      const labelId = 'box-caption-' + Math.random().toString(36).slice(2);
      title.id = labelId;
      dialog.setAttribute('aria-labelledby', labelId);
      const choose = id => {
        boxOpen--;
        dialog.close();
        dialog.remove();
        resolve(id);
      };
      let focus = null;
      for (const id of ids) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = kBoxLabels[id] || String(id);
        button.dataset.id = String(id);
        button.addEventListener('click', () => choose(id));
        answers.appendChild(button);
        if (id === defaultId) focus = button;
      }
      // Escape chooses the button it chooses on the desktop, if any.
      dialog.addEventListener('cancel', event => {
        event.preventDefault();
        if (escapeId) choose(escapeId);
      });
      document.body.appendChild(dialog);
      boxOpen++;
      dialog.showModal();
      if (focus) focus.focus();
    });
  }

  // ---- Input ----

  const kNamedKeys = {
    Escape: 0x1B, Enter: 0x0D, NumpadEnter: 0x0D, Space: 0x20, Tab: 0x09, Backspace: 0x08,
    ShiftLeft: 0x10, ShiftRight: 0x10, ControlLeft: 0x11, ControlRight: 0x11, AltLeft: 0x12, AltRight: 0x12,
    PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27,
    ArrowDown: 0x28, Insert: 0x2D, Delete: 0x2E, Pause: 0x13, CapsLock: 0x14,
  };
  // The Windows virtual-key code of a key by its place on the keyboard; 0 for none.
  function virtualKey(code) {
    if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
    if (/^Numpad[0-9]$/.test(code)) return 0x60 + Number(code.slice(6));
    const f = /^F([0-9]+)$/.exec(code);
    if (f && Number(f[1]) >= 1 && Number(f[1]) <= 24) return 0x6F + Number(f[1]);
    return kNamedKeys[code] || 0;
  }
  // Keys whose browser action the show replaces (help, scrolling the page).
  const kKeptFromBrowser = new Set([0x70, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28]);

  function onKey(event) {
    if (!running || boxOpen) return;
    const vk = virtualKey(event.code);
    if (!vk) return;
    // In full screen the browser takes Escape for itself: it leaves full screen.
    if (vk === 0x1B && document.fullscreenElement) return;
    if (kKeptFromBrowser.has(vk) && !(event.target instanceof HTMLButtonElement && (vk === 0x20))) event.preventDefault();
    const down = event.type === 'keydown';
    push(kEvent.key, vk, down ? 1 : 0, event.altKey || vk === 0x12 ? 1 : 0, down && event.repeat ? 1 : 0);
  }

  // Pointer positions in the window's client area, in the buttons' CSS pixels.
  function clientPoint(event) {
    const box = stage.getBoundingClientRect();
    const scale = modeChanged && windowSize.width ? box.width / windowSize.width : 1;
    return [Math.round((event.clientX - box.left) / scale), Math.round((event.clientY - box.top) / scale)];
  }
  function onPointer(event) {
    if (!running || boxOpen || event.pointerType === 'touch' && event.type === 'pointermove') return;
    const [x, y] = clientPoint(event);
    // Presses on the page's own buttons reach the program as their click.
    const onButton = event.target instanceof HTMLButtonElement;
    const changed = event.type !== 'pointermove' && !onButton && event.button === 0;
    if (event.type !== 'pointermove' && !changed) return;
    push(kEvent.pointer, x, y, (event.buttons & 1) ? 1 : 0, changed ? 1 : 0);
  }

  function listen() {
    addEventListener('keydown', onKey);
    addEventListener('keyup', onKey);
    addEventListener('pointermove', onPointer);
    addEventListener('pointerdown', onPointer);
    addEventListener('pointerup', onPointer);
    addEventListener('resize', () => { const v = viewport(); push(kEvent.resize, v.width, v.height, 0, 0); });
    addEventListener('focus', () => push(kEvent.focus, 1, 0, 0, 0));
    addEventListener('blur', () => push(kEvent.focus, 0, 0, 0, 0));
    document.addEventListener('visibilitychange', () => {
      push(document.visibilityState === 'hidden' ? kEvent.hidden : kEvent.shown, 0, 0, 0, 0);
      if (document.visibilityState === 'visible' && wakeLock) { wakeLock = null; keepScreenOn(true); }
    });
    document.addEventListener('fullscreenchange', () => {
      if (!document.fullscreenElement) push(kEvent.leftFullScreen, 0, 0, 0, 0);
      const v = viewport();
      push(kEvent.resize, v.width, v.height, 0, 0);
    });
  }

  // ---- Start: inflate what the page carries, then run the program ----

  function bytesOf(base64) {
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64.trim());
    const text = atob(base64.trim());
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  }
  async function inflate(element) {
    const stream = new Blob([bytesOf(element.textContent)]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  }

  async function start() {
    if (options.problem) {
      showNotice(box => paragraph(box, options.problem));
      document.documentElement.dataset.state = 'ended';
      return;
    }
    const pictureElements = [...document.querySelectorAll('script[data-picture]')];
    const [wasm, ...pictures] = await Promise.all(
      [inflate(document.getElementById('wasm')), ...pictureElements.map(inflate)]);
    figures.inflated = performance.now();
    running = true;
    listen();
    await createShowcase({
      wasmBinary: wasm,
      noExitRuntime: false,
      print: line => output.push(line),
      printErr: line => { errors.push(line); console.warn(line); },
      onExit: status => ended(status),
      onAbort: what => stopped(String(what)),
      preRun: [module => {
        // The pictures as the files the program's decoder reads: picture/ in its current folder.
        module.FS.mkdir('/picture');
        pictureElements.forEach((element, i) =>
          module.FS.writeFile('/picture/' + element.dataset.picture, pictures[i]));
      }],
    }).then(module => {
      program = module;
      setState('starting');
      figures.started = performance.now();
      try {
        module.callMain(options.args);
        if (module.watchMain) module.watchMain();
      } catch (e) {
        if (!(e && e.name === 'ExitStatus')) stopped(String(e));
      }
    });
  }

  // The page's memory: the program's heap, what its allocator has in use, and the script heap
  // where the engine tells it (null elsewhere).
  function memory() {
    return { wasmBytes: program ? program._web_heap_bytes() : 0,
             wasmInUse: program ? program._web_heap_in_use() : 0,
             jsHeap: performance.memory ? performance.memory.usedJSHeapSize : null };
  }

  return { viewport, createCanvas, replaceCanvas, contextBack, glFailed, memory,
           nextContextEvent: () => contextEvents.shift(), retireCanvas, layout, setButtons, setCursorVisible, keepScreenOn,
           requestFullScreen, leaveFullScreen, frameShown, holdFrame, frameHeld, advance, heldPicture,
           messageBox, nextEvent: () => events.shift(), figures, start, ended, stopped };
})();

showcasePage.start().catch(e => {
  const notice = document.getElementById('notice');
  const p = document.createElement('p');
  p.textContent = 'The show could not start: ' + e;
  notice.replaceChildren(p);
  notice.classList.add('shown');
});
