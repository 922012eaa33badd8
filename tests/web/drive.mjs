// Opens pages in one headless Chromium through the DevTools protocol, waits
// until the game in each has ended or the page has shown its notice, and
// prints what the page kept (Module.quorvane: its output lines, exit status,
// notice and recording, plus the canvas's and the screen's size and the
// WebGL renderer) as one JSON line a page. ACTIONS (or -) is a file of lines `key C` (a key press),
// `move DX DY` (a Pointer Lock movement), `save` (the Save button) and `drop
// FILE` (a file dropped on the page), played into each page once the game
// runs. With SHOTS_DIR set, the frames the game saved (?shots=) are copied
// there. Every wait has a deadline (PAGE_SECONDS for a page to end, 600 by
// default) and fails with what the page showed.
// With GL=mesa the page draws WebGL through Mesa (on the X display in
// DISPLAY) instead of Chromium's SwiftShader.
//   node --experimental-websocket drive.mjs BROWSER PROFILE_DIR ACTIONS URL...
import { spawn } from 'node:child_process';
import { readFileSync, existsSync, writeFileSync } from 'node:fs';
import { setTimeout as pause } from 'node:timers/promises';

const [browserPath, profile, actionsFile, ...urls] = process.argv.slice(2);
const pageSeconds = Number(process.env.PAGE_SECONDS || 600);
const renderer = process.env.GL === 'mesa' ? ['--use-gl=angle', '--use-angle=gl', '--ignore-gpu-blocklist']
                                           : ['--disable-gpu', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'];
const browser = spawn(browserPath, [
    '--headless', '--no-sandbox', '--disable-quic', '--no-first-run', ...renderer,
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
// The command is a wrapper script: end the browser's whole process group.
const stopBrowser = () => { try { process.kill(-browser.pid); } catch (e) { /* already gone */ } };
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
socket.onmessage = event => {
    const message = JSON.parse(event.data);
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

async function act(line) {
    const [verb, ...args] = line.split(' ');
    if (verb === 'key')
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
const actions = actionsFile === '-' ? [] : readFileSync(actionsFile, 'utf8').split('\n').filter(Boolean);
for (const url of urls) {
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
        for (const line of page.error === null ? actions : [])
            await act(line);
    }
    const page = await waitFor('end of the game', pageSeconds, ended, shown);
    for (const name of process.env.SHOTS_DIR ? await evaluate("FS.readdir('/').filter(n => /^shot-.*png$/.test(n))") : []) {
        const base64 = await evaluate(`(() => { const b = FS.readFile('/${name}'); let s = '';
            for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
            return btoa(s); })()`);
        writeFileSync(`${process.env.SHOTS_DIR}/${name}`, Buffer.from(base64, 'base64'));
    }
    page.renderer = await evaluate(`(() => { const gl = document.createElement('canvas').getContext('webgl');
        return gl ? gl.getParameter(gl.getExtension('WEBGL_debug_renderer_info').UNMASKED_RENDERER_WEBGL) : null; })()`);
    console.log(JSON.stringify(page));
}
stopBrowser();
process.exit(0);
