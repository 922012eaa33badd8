// Plays a page's timedemo in headless Chromium and prints, as one JSON
// line, the game's frame line, the console's warnings and errors, and the
// page's JavaScript heap over the run's last 20 seconds (sampled each
// quarter second through Performance.getMetrics: a fall is a collection),
// and the functions that allocated most after the first 15 seconds
// (sampled; the demo's timedemo runs far longer). NO_HEAP_SAMPLES=1 leaves
// the sampler off.
//   node --experimental-websocket web_timedemo.mjs BROWSER URL PROFILE_DIR GL
// GL is `mesa` (WebGL through ANGLE on the desktop's GL, which needs an X
// display) or `swiftshader` (Chromium's own software WebGL).
import { spawn } from 'node:child_process';
import { readFileSync, existsSync } from 'node:fs';
import { setTimeout as pause } from 'node:timers/promises';

const [browserPath, url, profile, gl] = process.argv.slice(2);
const glFlags = gl === 'mesa' ? ['--use-angle=gl', '--use-gl=angle', '--ignore-gpu-blocklist']
                              : ['--disable-gpu', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'];
const browser = spawn(browserPath, [
    '--headless', '--no-sandbox', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-background-timer-throttling',
    '--disable-renderer-backgrounding', ...glFlags, `--user-data-dir=${profile}`, '--remote-debugging-port=0',
    'about:blank',
], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
const stopBrowser = () => { try { process.kill(-browser.pid); } catch (e) { /* already gone */ } };
let browserLog = '';
browser.stderr.on('data', chunk => { browserLog += chunk; });
const fail = message => { console.error(message); stopBrowser(); process.exit(1); };

const portFile = `${profile}/DevToolsActivePort`;
for (let i = 0; !existsSync(portFile) || readFileSync(portFile, 'utf8').split('\n').length < 2; ++i) {
    if (i > 600 || browser.exitCode !== null)
        fail(`chromium did not start:\n${browserLog}`);
    await pause(50);
}
const port = readFileSync(portFile, 'utf8').split('\n')[0];
const page = (await (await fetch(`http://127.0.0.1:${port}/json/list`)).json()).find(t => t.type === 'page');
const socket = new WebSocket(page.webSocketDebuggerUrl);
await new Promise((resolve, reject) => { socket.onopen = resolve; socket.onerror = reject; });

let nextId = 0;
const pending = new Map();
const console_ = [];
socket.onmessage = event => {
    const message = JSON.parse(event.data);
    if (pending.has(message.id)) {
        pending.get(message.id)(message);
        pending.delete(message.id);
    } else if (message.method === 'Runtime.consoleAPICalled' && /warn|error/.test(message.params.type)) {
        console_.push(`${message.params.type}: ${message.params.args.map(a => a.value ?? a.description).join(' ')}`);
    } else if (message.method === 'Runtime.exceptionThrown') {
        console_.push(`exception: ${message.params.exceptionDetails.exception?.description}`);
    } else if (message.method === 'Log.entryAdded' && /warning|error/.test(message.params.entry.level)) {
        console_.push(`${message.params.entry.level}: ${message.params.entry.text}`);
    }
};
const send = (method, params = {}) => new Promise(resolve => {
    pending.set(++nextId, resolve);
    socket.send(JSON.stringify({ id: nextId, method, params }));
});
const evaluate = async expression =>
    (await send('Runtime.evaluate', { expression, returnByValue: true })).result?.result?.value;

for (const domain of ['Runtime', 'Log', 'Performance', 'HeapProfiler'])
    await send(`${domain}.enable`);
await send('Page.navigate', { url });

// The heap is sampled often and cheaply; the game's status only each second.
const samples = [];
const sampling = !process.env.NO_HEAP_SAMPLES;  // a page that allocates much can stall the sampler
const deadline = Date.now() + 30 * 60 * 1000;
for (let tick = 0; ; ++tick) {
    if (Date.now() > deadline)
        fail(`no end within 30 minutes; console: ${console_.join(' | ')}`);
    const metrics = Object.fromEntries((await send('Performance.getMetrics')).result.metrics.map(m => [m.name, m.value]));
    samples.push({ at: Date.now(), heap: metrics.JSHeapUsedSize });
    if (tick === 60 && sampling)  // past the start-up
        await send('HeapProfiler.startSampling', { samplingInterval: 4096,
            includeObjectsCollectedByMajorGC: true, includeObjectsCollectedByMinorGC: true });
    if (tick % 4 === 0 && await evaluate('window.Module && Module.quorvane ? Module.quorvane.exitStatus !== null : false'))
        break;
    await pause(250);
}
const end = samples[samples.length - 1].at;
const last = samples.filter(s => s.at >= end - 20000);
const falls = last.slice(1).filter((s, i) => s.heap < last[i].heap).length;
// Where the run's JavaScript allocated most, by function.
const sampled = sampling ? (await send('HeapProfiler.stopSampling')).result.profile
                         : { head: { callFrame: {}, selfSize: 0, children: [] } };
const bytes = new Map();
const name = node => node.callFrame.functionName || '(anonymous)';
const walk = (node, caller) => {
    const where = `${name(node)} (from ${caller})`;
    bytes.set(where, (bytes.get(where) ?? 0) + node.selfSize);
    node.children.forEach(child => walk(child, name(node)));
};
walk(sampled.head, '');
const allocators = [...bytes].sort((a, b) => b[1] - a[1]).slice(0, 8).map(([where, size]) => `${size} ${where}`);
const state = JSON.parse(await evaluate('JSON.stringify(Module.quorvane)'));
console.log(JSON.stringify({
    frameLine: state.stderr.find(line => line.includes('frames in')) ?? null,
    exitStatus: state.exitStatus,
    console: console_,
    heapFirst: last[0].heap, heapLast: last[last.length - 1].heap, heapMax: Math.max(...last.map(s => s.heap)),
    heapFalls: falls, heapSamples: last.length, allocators,
}));
stopBrowser();
process.exit(0);
