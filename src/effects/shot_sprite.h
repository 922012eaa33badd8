// The shot sprite: a glowing additive square facing along the shot.
#pragma once

struct Shot;

// ---- functions -------------------------------------------------------------

void drawShot(const Shot& shot);
