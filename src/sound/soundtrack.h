// The soundtrack: what the game's events and state sound like. It listens to
// the game (gameEvents) and reads its state once a frame; it never changes
// either and draws nothing from the game's generator.
#pragma once

// ---- functions -------------------------------------------------------------

// Hooks the soundtrack to the game's events, through whatever `audio` holds.
// Muted, it plays nothing, but a loopback still renders (silence).
void startSoundtrack(bool muted);

// Once a frame, after the frame's rules: renders up to the clock, then plays
// what happened since the last frame and moves the listener and the engines.
void soundtrackFrame();

// Stops every sound and lets the game's events fall silent again.
void stopSoundtrack();
