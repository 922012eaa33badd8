// The frame benchmark's switch between real OpenGL and none at all.
#pragma once

// While set, every stubbed GL, GLU and GLUT call of the game returns at once,
// so that what remains of a frame's time is the game's own work. The stubs
// take effect through the linker's --wrap option (see bench/CMakeLists.txt).
extern bool nullGl;

// While also set, the stubs count themselves in stubbedCalls: the stubs' own
// cost in a stubbed frame belongs to OpenGL rather than to the game. Timed
// frames leave it off, so that counting adds nothing to them.
extern bool          countStubs;
extern unsigned long stubbedCalls;
