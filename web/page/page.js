// The page around the game: arguments from the address, the canvas, the
// loading bar, the game's output, and what happens when the game ends. All
// of it in one scope: the only global is emscripten's Module.
(() => {
'use strict';

// What a test (or a curious player) can read back as Module.quorvane: every
// line the game printed, its exit status once it has ended, and the notice's
// text (`error`, with a status) when something went wrong.
const quorvane = { stdout: [], stderr: [], exitStatus: null, error: null, recording: null, started: false };

const params = new URLSearchParams(location.search);
const canvas = document.getElementById('canvas');
const output = document.getElementById('output');
const RECORDING = '/page.qvr';   // where the game writes what the player did
const REPLAY = '/replay.qvr';    // a recording fetched from ?replay=URL

const PANEL_LINES = 500;          // the output panel keeps the last lines only

function show(line, stream) {
    stream.push(line);
    output.append(line + '\n');
    while (output.childNodes.length > PANEL_LINES)
        output.firstChild.remove();
}

function notice(text) {
    document.getElementById('message').textContent = text;
    document.getElementById('notice').style.display = 'flex';
}

// Something kept the game from playing: the player reads why, and so does a
// test, at once.
function fail(text, status = 1) {
    notice(text);
    quorvane.error = text;
    if (quorvane.exitStatus === null)
        quorvane.exitStatus = status;
}

function hasWebGL() {
    try {
        return !!document.createElement('canvas').getContext('webgl');
    } catch (e) {
        return false;
    }
}

// ?replay and ?timedemo with no value play the demo that ships in the data;
// ?dropped the recording last dropped on the page.
function replayArguments() {
    if (params.has('dropped'))
        return { mode: '--replay', url: null, dropped: true };
    for (const mode of ['replay', 'timedemo']) {
        if (!params.has(mode))
            continue;
        const url = params.get(mode);
        return { mode: '--' + mode, url: url || null };
    }
    return null;
}

const replay = replayArguments();

// Play fills the window, one canvas pixel to a CSS pixel; the game's reshape
// hears of every new size (and the recording keeps it).
function fillWindow() {
    Module.resizeCanvas(window.innerWidth, window.innerHeight);
}

// A replay's canvas takes the size its recording's header names, up to the
// screen's, as the desktop asks for its window.
function sizeForRecording(path) {
    const text = new TextDecoder().decode(FS.readFile(path).subarray(0, 256));
    const header = /^quorvane-recording \S+ game \S+ window (\d+) (\d+)/.exec(text);
    if (header) {
        canvas.width = Math.min(Number(header[1]), screen.width);
        canvas.height = Math.min(Number(header[2]), screen.height);
    }
}

// Everything since the page loaded, as a download: once the game has ended
// its finished file, before that a complete copy while the game plays on.
// The keys go back to the game, not to the button.
function saveRecording() {
    const text = quorvane.exitStatus !== null ? quorvane.recording : Module.recordingSoFar();
    canvas.focus();
    if (!text)
        return;
    quorvane.saved = text;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
    link.download = 'quorvane.qvr';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);  // once the download has surely begun
}

// A recording dropped on the page plays: the page keeps the file for this
// browser (a recording may pass what sessionStorage holds) and reloads into
// ?dropped, which replays it.
function droppedFile(mode, work) {
    return new Promise((resolve, reject) => {
        const open = indexedDB.open('quorvane', 1);
        open.onupgradeneeded = () => open.result.createObjectStore('dropped');
        open.onerror = () => reject(open.error);
        open.onsuccess = () => {
            const transaction = open.result.transaction('dropped', mode);
            const request = work(transaction.objectStore('dropped'));
            transaction.oncomplete = () => resolve(request.result);
            transaction.onerror = () => reject(transaction.error);
        };
    });
}

function acceptDrops() {
    const over = document.getElementById('drop');
    const files = event => event.dataTransfer && [...event.dataTransfer.types].includes('Files');
    window.addEventListener('dragover', event => {
        if (!files(event))
            return;
        event.preventDefault();
        over.style.display = 'flex';
    });
    window.addEventListener('dragleave', () => { over.style.display = 'none'; });
    window.addEventListener('drop', event => {
        over.style.display = 'none';
        const file = event.dataTransfer && event.dataTransfer.files[0];
        if (!file)
            return;
        event.preventDefault();
        file.arrayBuffer()
            .then(data => droppedFile('readwrite', store => store.put(data, 'file')))
            .then(() => { location.search = '?dropped'; })
            .catch(error => fail('Cannot play ' + file.name + ': ' + error.message));
    });
}

// Mouse look through Pointer Lock. A page cannot move the pointer, so the
// game sees a virtual one that moves by each event's movement, clamped to the
// canvas. The game's own warp puts it back in the middle and, as X does,
// delivers the motion of that warp as an event of its own. GLUT's handler
// never sees the events: it would report the pointer's previous position.
const pointer = { x: 0, y: 0 };

let turned = false;  // the view has turned since the page loaded

function movePointer(dx, dy) {
    pointer.x = Math.min(Math.max(pointer.x + dx, 0), canvas.width - 1);
    pointer.y = Math.min(Math.max(pointer.y + dy, 0), canvas.height - 1);
    turned = true;
    document.getElementById('turn-first').hidden = true;
    Module.deliverMotion(pointer.x, pointer.y);
}

function lookWithPointer() {
    pointer.x = canvas.width >> 1;
    pointer.y = canvas.height >> 1;
    canvas.addEventListener('click', () => canvas.requestPointerLock && canvas.requestPointerLock());
    window.addEventListener('mousemove', event => {
        event.stopImmediatePropagation();
        if (document.pointerLockElement === canvas)
            movePointer(event.movementX, event.movementY);
    }, true);
    // The warp's echo arrives as one event of its own, after this one: at the
    // middle, far from every edge, so it never warps again.
    Module.warpPointer = (x, y) => {
        pointer.x = x;
        pointer.y = y;
        setTimeout(() => Module.deliverMotion(x, y), 0);
    };
}

// What the controls do and why `w` seems dead at first: the view must have
// turned once before the game flies.
function showHints() {
    const look = document.getElementById('look'), first = document.getElementById('turn-first');
    const update = () => {
        const playing = quorvane.exitStatus === null && !document.body.classList.contains('touch');
        look.hidden = !playing || document.pointerLockElement === canvas;
    };
    document.addEventListener('pointerlockchange', update);
    update();
    window.addEventListener('keydown', event => {
        if (event.key === 'w' || event.key === '=')
            first.hidden = turned;
    }, true);
}

// Touch: the page's own controls, each sending the desktop's key with the
// virtual pointer's position, so a game played by touch records what a
// keyboard would. A drag anywhere else moves the virtual pointer as Pointer
// Lock does. Fire, faster and slower repeat while held, as a held key does.
const KEY_DELAY_MS = 400, KEY_REPEAT_MS = 60;

function holdKey(button) {
    const key = button.dataset.key.charCodeAt(0);
    const repeats = button.dataset.key !== 'l' && button.dataset.key !== 'r';
    let timer = null;
    const release = () => { clearTimeout(timer); timer = null; };
    const repeat = delay => { timer = setTimeout(() => { Module.pressKey(key); repeat(KEY_REPEAT_MS); }, delay); };
    button.addEventListener('pointerdown', event => {
        event.preventDefault();
        button.setPointerCapture(event.pointerId);
        Module.resumeSound();
        Module.pressKey(key);
        if (key === 119)
            document.getElementById('turn-first').hidden = turned;
        if (repeats)
            repeat(KEY_DELAY_MS);
    });
    for (const end of ['pointerup', 'pointercancel', 'lostpointercapture'])
        button.addEventListener(end, release);
}

function touchControls() {
    const useTouch = () => {
        document.body.classList.add('touch');
        document.getElementById('look').hidden = true;
    };
    if (matchMedia('(pointer: coarse)').matches)
        useTouch();
    window.addEventListener('touchstart', useTouch, { capture: true, passive: true });
    // No scrolling, no pinching, no double-tap zoom while the game plays.
    for (const type of ['touchmove', 'touchstart', 'gesturestart'])
        document.addEventListener(type, event => { if (event.cancelable && event.target === canvas) event.preventDefault(); },
                                  { passive: false });
    for (const button of document.querySelectorAll('#touch button'))
        holdKey(button);
    const drags = new Map();
    canvas.addEventListener('pointerdown', event => {
        if (event.pointerType === 'mouse')
            return;
        event.preventDefault();
        Module.resumeSound();
        drags.set(event.pointerId, { x: event.clientX, y: event.clientY });
    });
    canvas.addEventListener('pointermove', event => {
        const last = drags.get(event.pointerId);
        if (!last)
            return;
        event.preventDefault();
        movePointer(Math.round(event.clientX - last.x), Math.round(event.clientY - last.y));
        last.x = event.clientX;
        last.y = event.clientY;
    });
    for (const end of ['pointerup', 'pointercancel'])
        canvas.addEventListener(end, event => drags.delete(event.pointerId));
}

function fullScreen() {
    const button = document.getElementById('full');
    if (!document.fullscreenEnabled && !document.webkitFullscreenEnabled) {
        button.hidden = true;
        return;
    }
    button.addEventListener('click', () => {
        const root = document.documentElement;
        if (document.fullscreenElement)
            document.exitFullscreen();
        else
            (root.requestFullscreen || root.webkitRequestFullscreen).call(root, { navigationUI: 'hide' });
        canvas.focus();
    });
}
quorvane.movePointer = movePointer;  // what Pointer Lock feeds, for tests

function start() {
    let args;
    if (replay) {
        const path = replay.url || replay.dropped ? REPLAY : '/textures/demo.qvr';
        args = [replay.mode, path];
        if (params.get('shots'))  // frames saved as /shot-N.png, for comparing with the desktop's
            args.push('--shots', params.get('shots'));
        if (params.has('mute'))  // a timedemo timed without the sound's work
            args.push('--mute');
        sizeForRecording(path);
    } else {
        args = ['--record', RECORDING];
        lookWithPointer();
        touchControls();
    }
    document.getElementById('save').hidden = !!replay;
    document.getElementById('loading').style.display = 'none';
    canvas.focus();
    Module.callMain(args);
    quorvane.started = true;
    keepForOffline();
    if (replay || quorvane.exitStatus !== null)
        return;
    fillWindow();
    window.addEventListener('resize', fillWindow);
    showHints();
}

function ended(status) {
    quorvane.exitStatus = status;
    if (!replay) {
        try {
            quorvane.recording = FS.readFile(RECORDING, { encoding: 'utf8' });
        } catch (e) {
            quorvane.recording = null;
        }
    }
    document.getElementById('save-end').hidden = !quorvane.recording;
    document.getElementById('save').hidden = true;
    for (const id of ['look', 'turn-first'])
        document.getElementById(id).hidden = true;
    document.body.classList.remove('touch');
    const text = 'The game has ended (status ' + status + '). Reload the page to play again.';
    if (status === 0)
        return notice(text);
    const reason = quorvane.stderr.filter(line => /^(quorvane: |replay diverged)/.test(line)).pop();
    fail(reason ? reason + '\n' + text : text, status);
}

const Module = window.Module = {
    quorvane: quorvane,
    canvas: canvas,
    print: line => show(line, quorvane.stdout),
    printErr: line => show(line, quorvane.stderr),
    onGameEnd: ended,
    preRun: [],
    setStatus: text => {
        const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
        if (progress)
            document.querySelector('#bar div').style.width = (100 * progress[1] / progress[2]) + '%';
    },
    onRuntimeInitialized: start,
    getPreloadedPackage: () => data,
    onAbort: what => fail('The game stopped: ' + what),
};

function fetchRecording(url) {
    return fetch(url).then(response => {
        if (!response.ok)
            throw new Error(response.status + ' ' + response.statusText);
        return response.arrayBuffer();
    });
}

// A recording from a URL, or the one dropped, is at hand before main runs.
if (replay && (replay.url || replay.dropped)) {
    Module.preRun.push(() => {
        Module.addRunDependency('replay');
        const what = replay.dropped ? 'the dropped recording' : replay.url;
        (replay.dropped ? droppedFile('readonly', store => store.get('file')) : fetchRecording(replay.url))
            .then(data => {
                if (!data)
                    throw new Error('it is no longer kept');
                FS.writeFile(REPLAY, new Uint8Array(data));
                Module.removeRunDependency('replay');
            })
            .catch(error => fail('Cannot load ' + what + ': ' + error.message));
    });
}

// The images, the demo and the sounds travel gzipped whatever the host does,
// and the browser unpacks them; the bar follows the bytes that arrive. Only
// then does the game's script load, and it takes them from here.
let data = null;
const DATA = 'quorvane.data.gz';

function progress(response) {
    const total = Number(response.headers.get('Content-Length')) || 0;
    let received = 0;
    const bar = document.querySelector('#bar div');
    return response.body.pipeThrough(new TransformStream({
        transform(chunk, stream) {
            received += chunk.length;
            if (total)
                bar.style.width = Math.min(100, 100 * received / total) + '%';
            stream.enqueue(chunk);
        },
    }));
}

function loadGame() {
    fetch(DATA)
        .then(response => {
            if (!response.ok)
                throw new Error(response.status + ' ' + response.statusText);
            // A host that labels .gz files as gzip-encoded has the browser unpack them.
            const packed = !/gzip/.test(response.headers.get('Content-Encoding') || '');
            const body = progress(response);
            return new Response(packed ? body.pipeThrough(new DecompressionStream('gzip')) : body).arrayBuffer();
        })
        .then(unpacked => {
            data = unpacked;
            const script = document.createElement('script');
            script.src = 'quorvane.js';
            script.onerror = () => fail('Cannot load quorvane.js.');
            document.body.append(script);
        })
        .catch(error => fail('Cannot load the game\'s data (' + DATA + '): ' + error.message));
}

// Installed, the page plays offline: the service worker keeps its files. It
// starts once the game has, so that it finds them in the browser's cache
// rather than downloading them a second time beside the game.
function keepForOffline() {
    if ('serviceWorker' in navigator && location.protocol !== 'file:')
        navigator.serviceWorker.register('sw.js').catch(() => {});
}

// Audio may start only after a gesture: each click, key or touch resumes it.
for (const gesture of ['keydown', 'mousedown', 'pointerdown'])
    window.addEventListener(gesture, () => Module.resumeSound && Module.resumeSound(), true);
// Sounds heard so far, by the game's sound number, for tests.
Object.defineProperty(quorvane, 'soundsStarted', { enumerable: true, get: () => Module.soundsStarted || [] });

acceptDrops();
document.getElementById('save').addEventListener('click', saveRecording);
document.getElementById('save-end').addEventListener('click', saveRecording);
fullScreen();
if (!hasWebGL()) {
    document.getElementById('loading').style.display = 'none';
    fail('This browser has no WebGL, which Quorvane needs to draw.');
} else if (typeof DecompressionStream !== 'function') {
    document.getElementById('loading').style.display = 'none';
    fail('This browser is too old to unpack the game\'s data: any current browser plays it.');
} else {
    loadGame();
}
})();
