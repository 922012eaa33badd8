#include "effects/shot_sprite.h"

#include "assets/textures.h"
#include "effects/missile_model.h"
#include "game/shots.h"

#include <GL/gl.h>

// The unit square in z = 0, s = 1 on its right edge and t = 1 on its top.
static void drawSquare()
{
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1, 1);
    glVertex2f(0.5f, 0.5f);
    glTexCoord2f(0, 1);
    glVertex2f(-0.5f, 0.5f);
    glTexCoord2f(1, 0);
    glVertex2f(0.5f, -0.5f);
    glTexCoord2f(0, 0);
    glVertex2f(-0.5f, -0.5f);
    glEnd();
}

// Unlit and additive, but depth-tested: the planet and nearer missiles hide
// it, and its whole square writes depth, black corners included.
void drawShot(const Shot& shot)
{
    glPushMatrix();
    setMaterial(kNoseAndFinsMaterial);  // lights nothing here, but stays current
    glTranslatef(shot.position.x, shot.position.y, shot.position.z);
    // The direction is taken as a point, minus the position. Without a
    // direction there is no sprite, but the state is left as for one.
    const bool facing = faceToward(shot.direction - shot.position);
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, TEX_BLAST_0);
    if (facing)
        drawSquare();
    glPopAttrib();
    glPopMatrix();
}
