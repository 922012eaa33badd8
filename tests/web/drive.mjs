// Opens pages in one headless Chromium through the DevTools protocol, waits
// until the game in each has ended or the page has shown its notice, and
// prints what the page kept (Module.quorvane: its output lines, exit status,
// notice and recording, plus the canvas's and the screen's size and the
// WebGL renderer) as one JSON line a page. ACTIONS (or -) is a file of lines `key C` (a key press),
// `move DX DY` (a Pointer Lock movement), `save` (the Save button) and `drop
// FILE` (a file dropped on the page), played into each page once the game
// runs; and for the player's own devices: `click X Y` and `mouse DX DY` (real
// mouse events), `size W H [mobile]` (the window's size, or a phone's with
// touch), `touch start|move|end POINT...` (POINT is X,Y or a CSS selector,
// each finger in order), `wait EXPRESSION` (until true in the page), `shot
// NAME` (the window as SHOTS_DIR/NAME.png) and `offline`. WINDOW=WxH sets
// the window's size before the first page. A line `next`
// starts the actions of the next page. Each page's JSON also carries its
// uncaught exceptions, console errors, requested URLs and bytes received. With SHOTS_DIR set, the frames the game saved (?shots=) are copied
// there. Every wait has a deadline (PAGE_SECONDS for a page to end, 600 by
// default) and fails with what the page showed.
// With GL=mesa the page draws WebGL through Mesa (on the X display in
// DISPLAY) instead of Chromium's SwiftShader.
//   node --experimental-websocket drive.mjs BROWSER PROFILE_DIR ACTIONS URL...
import { spawn } from 'node:child_process';
import { readFileSync, readdirSync, existsSync, writeFileSync } from 'node:fs';
import { setTimeout as pause } from 'node:timers/promises';

const [browserPath, profile, actionsFile, ...urls] = process.argv.slice(2);
const pageSeconds = Number(process.env.PAGE_SECONDS || 600);
const renderer = process.env.GL === 'mesa' ? ['--use-gl=angle', '--use-angle=gl', '--ignore-gpu-blocklist']
                                           : ['--disable-gpu', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'];
const browser = spawn(browserPath, [
    ...(process.env.BROWSER_ARGS || '').split(' ').filter(Boolean), '--headless', '--no-sandbox', '--disable-quic', '--no-first-run', ...renderer,
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
// The command is a wrapper script: end the browser's whole process group,
// and wait until it is gone, since its processes go on writing to the
// profile for a moment and the next browser or the cleanup would race them.
const groupAlive = group => readdirSync('/proc').filter(name => /^\d+$/.test(name)).some(pid => {
    try {
        const [state, , pgrp] = readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ').pop().split(' ');
        return Number(pgrp) === group && state !== 'Z';
    } catch (e) { return false; }  // ended while we looked
});
function stopBrowser() {
    try { process.kill(-browser.pid); } catch (e) { return; }  // already gone
    const nap = new Int32Array(new SharedArrayBuffer(4));
    for (let i = 0; i < 200 && groupAlive(browser.pid); i++)
        Atomics.wait(nap, 0, 0, 50);
    try { process.kill(-browser.pid, 'SIGKILL'); } catch (e) { /* gone */ }
}
for (const signal of ['SIGTERM', 'SIGINT'])
    process.on(signal, () => { stopBrowser(); process.exit(1); });
let browserLog = '';
browser.stderr.on('data', chunk => { browserLog += chunk; });
const fail = message => {
    console.error(message);
    stopBrowser();
    process.exit(1);
};

// Polls `check` until it returns something other than undefined, or fails
// after `seconds` with what `seen` says was there.
async function waitFor(what, seconds, check, seen = async () => '') {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
        const value = await check();
        if (value !== undefined)
            return value;
        if (Date.now() > deadline)
            fail(`no ${what} within ${seconds} s; ${await seen()}`);
        await pause(100);
    }
}

// Chromium writes the port it chose into the profile.
const portFile = `${profile}/DevToolsActivePort`;
await waitFor('browser', 30, () => {
    if (browser.exitCode !== null)
        fail(`chromium ended at start:\n${browserLog}`);
    return existsSync(portFile) && readFileSync(portFile, 'utf8').split('\n').length > 1 ? true : undefined;
}, () => browserLog);
const port = readFileSync(portFile, 'utf8').split('\n')[0];
const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`, { signal: AbortSignal.timeout(30000) })).json();
const socket = new WebSocket(targets.find(target => target.type === 'page').webSocketDebuggerUrl);
await new Promise((resolve, reject) => {
    const timer = setTimeout(() => fail('the DevTools socket did not open in 30 s'), 30000);
    socket.onopen = () => { clearTimeout(timer); resolve(); };
    socket.onerror = reject;
});

let nextId = 0;
const pending = new Map();
// What each page let slip: exceptions, console errors, the network's traffic.
let log = { exceptions: [], consoleErrors: [], requests: [], bytes: 0, received: {} };
const requestUrls = new Map();
const listeners = {
    'Runtime.exceptionThrown': p => log.exceptions.push(p.exceptionDetails.exception?.description ?? p.exceptionDetails.text),
    'Runtime.consoleAPICalled': p => p.type === 'error' && log.consoleErrors.push(p.args.map(a => a.value ?? a.description).join(' ')),
    'Log.entryAdded': p => p.entry.level === 'error' && log.consoleErrors.push(p.entry.text),
    'Network.requestWillBeSent': p => { log.requests.push(p.request.url); requestUrls.set(p.requestId, p.request.url); },
    'Network.loadingFinished': p => {
        log.bytes += p.encodedDataLength;
        const url = requestUrls.get(p.requestId) ?? '?';
        log.received[url] = (log.received[url] ?? 0) + p.encodedDataLength;
    },
};
socket.onmessage = event => {
    const message = JSON.parse(event.data);
    if (listeners[message.method])
        listeners[message.method](message.params);
    if (pending.has(message.id)) {
        pending.get(message.id)(message);
        pending.delete(message.id);
    }
};
const send = (method, params = {}) => new Promise(resolve => {
    const timer = setTimeout(() => fail(`${method} got no answer in 60 s`), 60000);
    pending.set(++nextId, answer => { clearTimeout(timer); resolve(answer); });
    socket.send(JSON.stringify({ id: nextId, method, params }));
});
const evaluate = async expression =>
    (await send('Runtime.evaluate', { expression, returnByValue: true })).result?.result?.value;

// What the page holds, and what a player sees of it.
const kept = async () => JSON.parse(await evaluate(`JSON.stringify(window.Module && Module.quorvane ? {
    ...Module.quorvane, stale: !!window.driveLeft, canvas: [Module.canvas.width, Module.canvas.height], screen: [screen.width, screen.height],
    notice: document.getElementById('notice').style.display === 'flex' ? document.getElementById('message').textContent : null,
} : null)`) ?? 'null');
const shown = async () => {
    const page = await kept();
    if (!page)
        return 'the page never loaded its script';
    return `the page showed: ${page.notice ?? (page.started ? 'the game' : 'the loading bar')}; ` +
           `${page.stdout.length} lines of output; last errors: ${page.stderr.slice(-3).join(' | ')}`;
};

async function press(text) {
    const key = { key: text, text, code: text === ' ' ? 'Space' : `Key${text.toUpperCase()}`,
                  windowsVirtualKeyCode: text.toUpperCase().charCodeAt(0) };
    await send('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
    await send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
}

// A phone's screen is its window; a desktop's is larger than any window here.
async function resize(width, height, mobile) {
    await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile,
        screenWidth: mobile ? width : 1920, screenHeight: mobile ? height : 1080 });
    await send('Emulation.setTouchEmulationEnabled', { enabled: mobile, maxTouchPoints: 5 });
}

const mouse = { x: 400, y: 300 };
async function touch(type, points) {
    const touchPoints = [];
    for (const [id, point] of points.entries()) {
        const [x, y] = /^\d+,\d+$/.test(point) ? point.split(',').map(Number) : JSON.parse(await evaluate(
            `JSON.stringify((r => [r.x + r.width / 2, r.y + r.height / 2])(document.querySelector(${JSON.stringify(point)}).getBoundingClientRect()))`));
        touchPoints.push({ x, y, id });
    }
    await send('Input.dispatchTouchEvent', { type: 'touch' + type[0].toUpperCase() + type.slice(1), touchPoints: type === 'end' ? [] : touchPoints });
}

async function act(line) {
    const [verb, ...args] = line.split(' ');
    if (verb === 'click') {
        Object.assign(mouse, { x: Number(args[0]), y: Number(args[1]) });
        for (const type of ['mouseMoved', 'mousePressed', 'mouseReleased'])
            await send('Input.dispatchMouseEvent', { type, ...mouse, button: type === 'mouseMoved' ? 'none' : 'left', clickCount: 1 });
    } else if (verb === 'mouse') {
        mouse.x += Number(args[0]);
        mouse.y += Number(args[1]);
        await send('Input.dispatchMouseEvent', { type: 'mouseMoved', ...mouse });
    } else if (verb === 'size') {
        await resize(Number(args[0]), Number(args[1]), args[2] === 'mobile');
    } else if (verb === 'touch') {
        await touch(args[0], args.slice(1));
    } else if (verb === 'wait') {
        const expression = args.join(' ');
        await waitFor(`\`${expression}\``, 120, async () => (await evaluate(`!!(${expression})`)) || undefined, shown);
    } else if (verb === 'shot') {
        const picture = await send('Page.captureScreenshot', { format: 'png' });
        writeFileSync(`${process.env.SHOTS_DIR}/${args[0]}.png`, Buffer.from(picture.result.data, 'base64'));
    } else if (verb === 'offline') {
        await send('Network.emulateNetworkConditions', { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
        await send('Network.setCacheDisabled', { cacheDisabled: true });  // only the service worker's cache
    }
    else if (verb === 'key')
        await press(args[0] === 'space' ? ' ' : args[0]);
    else if (verb === 'move')
        await evaluate(`Module.quorvane.movePointer(${Number(args[0])}, ${Number(args[1])})`);
    else if (verb === 'save')
        await evaluate(`document.getElementById('save').click()`);
    else if (verb === 'drop')
        await evaluate(`{ const files = new DataTransfer();
            files.items.add(new File([${JSON.stringify(readFileSync(args[0], 'utf8'))}], 'dropped.qvr'));
            window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true })); }`);
}

await send('Page.setDownloadBehavior', { behavior: 'deny' });
for (const domain of ['Runtime', 'Log', 'Network'])
    await send(`${domain}.enable`);
if (process.env.WINDOW)  // WxH: the window's size from the first page on
    await resize(...process.env.WINDOW.split('x').map(Number), false);
const script = actionsFile === '-' ? [] : readFileSync(actionsFile, 'utf8').split('\n').filter(Boolean);
const perPage = script.join('\n').split(/^next$/m).map(part => part.split('\n').filter(Boolean));
for (const [index, url] of urls.entries()) {
    const actions = perPage.length > 1 ? perPage[index] ?? [] : perPage[0];
    log = { exceptions: [], consoleErrors: [], requests: [], bytes: 0, received: {} };
    await evaluate('window.driveLeft = true');  // the page left behind, until the next one replaces it
    await send('Page.navigate', { url });
    // A notice ends the wait as the game's end does: the page has failed.
    const ended = async () => {
        const page = await kept();
        return page && !page.stale && (page.exitStatus !== null || page.error !== null) ? page : undefined;
    };
    if (actions.length) {
        const page = await waitFor('game', 300, async () => {
            const now = await kept();
            return now && !now.stale && (now.started || now.error !== null) ? now : undefined;
        }, shown);
        for (const line of page.error === null ? actions : []) {
            const start = Date.now();
            await act(line);
            if (Date.now() - start > 5000)  // for whoever wonders where a slow run went
                console.error(`${(Date.now() - start) / 1000} s: ${line.slice(0, 100)}`);
        }
    }
    const page = await waitFor('end of the game', pageSeconds, ended, shown);
    for (const name of process.env.SHOTS_DIR ? await evaluate("typeof FS == 'object' ? FS.readdir('/').filter(n => /^shot-.*png$/.test(n)) : []") : []) {
        const base64 = await evaluate(`(() => { const b = FS.readFile('/${name}'); let s = '';
            for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
            return btoa(s); })()`);
        writeFileSync(`${process.env.SHOTS_DIR}/${name}`, Buffer.from(base64, 'base64'));
    }
    page.renderer = await evaluate(`(() => { const gl = document.createElement('canvas').getContext('webgl');
        return gl ? gl.getParameter(gl.getExtension('WEBGL_debug_renderer_info').UNMASKED_RENDERER_WEBGL) : null; })()`);
    console.log(JSON.stringify({ ...page, ...log }));
}
stopBrowser();
process.exit(0);
