// The frame: the scene from the camera, then the flat overlay.
#pragma once

// GLUT display callback: draws and presents one frame.
void displayFrame();
