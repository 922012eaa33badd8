// Runs inside the module before main: what the page's platform and the page
// itself reach inside emscripten's runtime.

// Hands pointer motion to the game's passive motion callback, as GLUT does;
// keys then carry the same pointer position, as on the desktop.
Module.deliverMotion = function (x, y) {
    Browser.mouseX = x;
    Browser.mouseY = y;
    if (GLUT.passiveMotionFunc)
        getWasmTableEntry(GLUT.passiveMotionFunc)(x, y);
};

// The game's exit. When it comes from a key handler, GLUT's pending idle
// timer keeps emscripten's runtime alive, which would skip the game's atexit
// work (the recording's last checksum and `end`), neither report the exit
// nor stop the game: do that work, stop every callback, tell the page once.
var gameEnded = false;
Module.quit = function (status, toThrow) {
    if (!runtimeExited)
        exitRuntime();
    ABORT = true;
    if (!gameEnded) {
        gameEnded = true;
        if (Module.onGameEnd)
            Module.onGameEnd(status);
    }
    throw toThrow;
};

// A complete copy of the recording so far, for the page's Save button.
Module.recordingSoFar = function () {
    return UTF8ToString(_quorvaneRecordingSoFar());
};

// Browsers hold audio back until the player clicks or presses a key: every
// such gesture resumes it, should the first not have been enough.
Module.resumeSound = function () {
    if (typeof AL != 'undefined' && AL.currentCtx && AL.currentCtx.audioCtx.state === 'suspended')
        AL.currentCtx.audioCtx.resume();
};

// The canvas at a new size, and the game's reshape told of it.
Module.resizeCanvas = function (width, height) {
    if (!gameEnded && (Module.canvas.width !== width || Module.canvas.height !== height))
        Browser.setCanvasSize(width, height);
};

// A key from the page's own controls: what GLUT passes for a key press,
// with the pointer where the game last saw it.
Module.pressKey = function (key) {
    if (!gameEnded && GLUT.keyboardFunc)
        endsTheGame(function () { getWasmTableEntry(GLUT.keyboardFunc)(key, Browser.mouseX, Browser.mouseY); });
};

// A key that ends the game (`q`) ends it inside a browser event: the exit
// has done its work, so it is no error for the console.
function endsTheGame(handler) {
    try {
        handler();
    } catch (e) {
        if (!(e instanceof ExitStatus))
            throw e;
    }
}

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
    ['onKeydown', 'onKeyup'].forEach(function (name) {
        var handler = GLUT[name];
        GLUT[name] = function (event) { endsTheGame(function () { handler(event); }); };
    });
    // The page reads touches itself; GLUT's translation into mouse events
    // would also call preventDefault inside a passive listener.
    GLUT.touchHandler = function () {};
});
