// Opens a page in headless Chromium through the DevTools protocol, waits
// until the game in it has ended, and prints what the page kept
// (window.quorvane: its output lines, exit status and recording) as JSON.
// With ACTIONS, a file of lines `key C` (a key press), `move DX DY` (a
// Pointer Lock movement), `save` (the Save button) and `drop FILE` (a file
// dropped on the page), those are played into the page once the game runs.
// With SHOTS_DIR set, the frames the game saved (?shots=) are copied there.
//   node --experimental-websocket drive.mjs BROWSER URL PROFILE_DIR [ACTIONS]
import { spawn } from 'node:child_process';
import { readFileSync, existsSync, writeFileSync } from 'node:fs';
import { setTimeout as pause } from 'node:timers/promises';

const [browserPath, url, profile, actionsFile] = process.argv.slice(2);
const browser = spawn(browserPath, [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
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

// Chromium writes the port it chose into the profile.
const portFile = `${profile}/DevToolsActivePort`;
for (let i = 0; !existsSync(portFile) || readFileSync(portFile, 'utf8').split('\n').length < 2; ++i) {
    if (i > 600 || browser.exitCode !== null)
        fail(`chromium did not start:\n${browserLog}`);
    await pause(50);
}
const port = readFileSync(portFile, 'utf8').split('\n')[0];
const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
const page = targets.find(target => target.type === 'page');
const socket = new WebSocket(page.webSocketDebuggerUrl);
await new Promise((resolve, reject) => { socket.onopen = resolve; socket.onerror = reject; });

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
    pending.set(++nextId, resolve);
    socket.send(JSON.stringify({ id: nextId, method, params }));
});
const evaluate = async expression =>
    (await send('Runtime.evaluate', { expression, returnByValue: true })).result?.result?.value;

await send('Page.setDownloadBehavior', { behavior: 'deny' });
await send('Page.navigate', { url });

async function press(text) {
    const key = { key: text, text, code: text === ' ' ? 'Space' : `Key${text.toUpperCase()}`,
                  windowsVirtualKeyCode: text.toUpperCase().charCodeAt(0) };
    await send('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
    await send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
}

if (actionsFile) {
    while (!await evaluate('!!(window.quorvane && window.quorvane.started)'))
        await pause(100);
    for (const line of readFileSync(actionsFile, 'utf8').split('\n').filter(Boolean)) {
        const [verb, ...args] = line.split(' ');
        if (verb === 'key')
            await press(args[0] === 'space' ? ' ' : args[0]);
        else if (verb === 'move')
            await evaluate(`quorvane.movePointer(${Number(args[0])}, ${Number(args[1])})`);
        else if (verb === 'save')
            await evaluate(`document.getElementById('save').click()`);
        else if (verb === 'drop')
            await evaluate(`{ const files = new DataTransfer();
                files.items.add(new File([${JSON.stringify(readFileSync(args[0], 'utf8'))}], 'dropped.qvr'));
                window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true })); }`);
    }
}
// The game ends by itself; ctest's timeout ends a page that hangs.
let state;
for (let polls = 1; ; ++polls) {
    state = await evaluate('window.quorvane ? JSON.stringify(window.quorvane) : null');
    const kept = state ? JSON.parse(state) : null;
    if (kept && kept.exitStatus !== null)
        break;
    if (polls % 50 === 0)
        console.error(kept ? `${kept.stdout.length} lines so far; ${kept.stderr.slice(-3).join(' | ')}` : 'no page yet');
    await pause(200);
}
for (const name of process.env.SHOTS_DIR ? await evaluate("FS.readdir('/').filter(n => /^shot-.*png$/.test(n))") : []) {
    const base64 = await evaluate(`(() => { const b = FS.readFile('/${name}'); let s = '';
        for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
        return btoa(s); })()`);
    writeFileSync(`${process.env.SHOTS_DIR}/${name}`, Buffer.from(base64, 'base64'));
}
console.log(state);
stopBrowser();
process.exit(0);
