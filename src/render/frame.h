// The frame: the scene from the camera, then the flat overlay; the lights
// and the view it is drawn with.
#pragma once

// GLUT display callback: draws and presents one frame.
void displayFrame();

// The two lights' colours, once at start-up (their places are set per frame).
void setupLighting();

// The perspective and viewport for a window of width x height pixels; a
// minimised window keeps the ones it had.
void setViewport(int width, int height);
