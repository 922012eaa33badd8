// The frame benchmark's switch between real OpenGL and none at all.
#pragma once

// While set, every stubbed GL, GLU and GLUT call of the game returns at once,
// so that what remains of a frame's time is the game's own work. The stubs
// take effect through the linker's --wrap option (see bench/CMakeLists.txt).
extern bool nullGl;

// The stubs' own cost in a stubbed frame is the cost of calling OpenGL, not
// the game's. While countStubs is set they count themselves in stubbedCalls;
// while doubleStubs is set each makes one more empty call, about as dear as
// itself, so that the difference it makes to a frame measures what the
// stubs cost there.
extern bool          countStubs;
extern bool          doubleStubs;
extern unsigned long stubbedCalls;
