// GLUT's idle and redisplay calls without garbage. emscripten's own make new
// closures for every idle call and every frame, and the page's JavaScript
// heap then fills and is collected while the game plays; these make theirs
// once and hand the same functions to the browser each time.
mergeInto(LibraryManager.library, {
  glutIdleFunc__proxy: 'sync',
  glutIdleFunc__deps: ['$callUserCallback', '$runtimeKeepalivePush', '$runtimeKeepalivePop'],
  glutIdleFunc__sig: 'vi',
  glutIdleFunc: function(func) {
    if (!GLUT.idleTimer) {
      var idle = function() {
        if (!GLUT.idleFunc)
          return;
        {{{ makeDynCall('v', 'GLUT.idleFunc') }}}();
        GLUT.scheduleIdle(4);  // the least delay a page's timer has
      };
      var fire = function() {
        runtimeKeepalivePop();
        callUserCallback(idle);
      };
      GLUT.scheduleIdle = function(delay) {
        runtimeKeepalivePush();
        setTimeout(fire, delay);
      };
      GLUT.idleTimer = true;
    }
    if (!GLUT.idleFunc)
      GLUT.scheduleIdle(0);
    GLUT.idleFunc = func;
  },

  glutPostRedisplay__proxy: 'sync',
  glutPostRedisplay__sig: 'v',
  glutPostRedisplay: function() {
    if (!GLUT.displayFunc || GLUT.requestedAnimationFrame)
      return;
    if (!GLUT.drawFrame) {
      var display = function() {
        {{{ makeDynCall('v', 'GLUT.displayFunc') }}}();
      };
      GLUT.drawFrame = function() {
        GLUT.requestedAnimationFrame = false;
        Browser.mainLoop.runIter(display);
      };
    }
    GLUT.requestedAnimationFrame = true;
    Browser.requestAnimationFrame(GLUT.drawFrame);
  },
});
