// Opens a page in headless Chromium through the DevTools protocol, waits
// until the game in it has ended, and prints what the page kept
// (window.quorvane: its output lines and exit status) as JSON.
//   node --experimental-websocket drive.mjs BROWSER URL PROFILE_DIR
import { spawn } from 'node:child_process';
import { readFileSync, existsSync } from 'node:fs';
import { setTimeout as pause } from 'node:timers/promises';

const [browserPath, url, profile] = process.argv.slice(2);
const browser = spawn(browserPath, [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
    `--user-data-dir=${profile}`, '--remote-debugging-port=0', 'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe'] });
let browserLog = '';
browser.stderr.on('data', chunk => { browserLog += chunk; });
const fail = message => {
    console.error(message);
    browser.kill();
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

await send('Page.navigate', { url });
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
console.log(state);
socket.close();
browser.kill();
