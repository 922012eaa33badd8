// The page around the game: arguments from the address, the canvas, the
// loading bar, the game's output, and what happens when the game ends.
'use strict';

// What a test (or a curious player) can read back: every line the game
// printed, and its exit status once it has ended.
const quorvane = window.quorvane = { stdout: [], stderr: [], exitStatus: null, recording: null, started: false };

const params = new URLSearchParams(location.search);
const canvas = document.getElementById('canvas');
const output = document.getElementById('output');
const RECORDING = '/page.qvr';   // where the game writes what the player did
const REPLAY = '/replay.qvr';    // a recording fetched from ?replay=URL

function show(line, stream) {
    stream.push(line);
    output.textContent += line + '\n';
}

function notice(text) {
    document.getElementById('message').textContent = text;
    document.getElementById('notice').style.display = 'flex';
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

function fillWindow() {
    canvas.width = window.innerWidth;
    canvas.height = window.innerHeight;
}

// A replay's canvas takes the size its recording's header names.
function sizeForRecording(path) {
    const text = new TextDecoder().decode(FS.readFile(path).subarray(0, 256));
    const header = /^quorvane-recording \S+ game \S+ window (\d+) (\d+)/.exec(text);
    if (header) {
        canvas.width = Number(header[1]);
        canvas.height = Number(header[2]);
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
            .catch(error => notice('Cannot play ' + file.name + ': ' + error.message));
    });
}

// Mouse look through Pointer Lock. A page cannot move the pointer, so the
// game sees a virtual one that moves by each event's movement, clamped to the
// canvas. The game's own warp puts it back in the middle and, as X does,
// delivers the motion of that warp as an event of its own. GLUT's handler
// never sees the events: it would report the pointer's previous position.
const pointer = { x: 0, y: 0 };

function movePointer(dx, dy) {
    pointer.x = Math.min(Math.max(pointer.x + dx, 0), canvas.width - 1);
    pointer.y = Math.min(Math.max(pointer.y + dy, 0), canvas.height - 1);
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
    Module.warpPointer = (x, y) => {
        pointer.x = x;
        pointer.y = y;
        setTimeout(() => Module.deliverMotion(x, y), 0);
    };
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
        fillWindow();
        lookWithPointer();
        window.addEventListener('resize', () => {
            fillWindow();
            Module._glutReshapeWindow(canvas.width, canvas.height);
        });
    }
    document.getElementById('save').hidden = !!replay;
    document.getElementById('loading').style.display = 'none';
    canvas.focus();
    Module.callMain(args);
    quorvane.started = true;
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
    notice('The game has ended (status ' + status + '). Reload the page to play again.');
}

var Module = {
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
            .catch(error => notice('Cannot load ' + what + ': ' + error.message));
    });
}

// Audio may start only after a gesture: each click or key resumes it.
for (const gesture of ['keydown', 'mousedown'])
    window.addEventListener(gesture, () => Module.resumeSound && Module.resumeSound(), true);
// Sounds heard so far, by the game's sound number, for tests.
Object.defineProperty(quorvane, 'soundsStarted', { enumerable: true, get: () => Module.soundsStarted || [] });

acceptDrops();
document.getElementById('save').addEventListener('click', saveRecording);
document.getElementById('save-end').addEventListener('click', saveRecording);
if (!hasWebGL())
    notice('This browser has no WebGL, which Quorvane needs to draw.');
