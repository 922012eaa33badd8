// Runs inside the module before main. The game asks for an X display before
// it opens a window; in a page the canvas is the display.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
    ENV.DISPLAY = 'canvas';
});

// Hands pointer motion to the game's passive motion callback, as GLUT does.
Module.deliverMotion = function (x, y) {
    if (GLUT.passiveMotionFunc)
        getWasmTableEntry(GLUT.passiveMotionFunc)(x, y);
};
