#include "effects/missile_model.h"

#include "core/quadrics.h"
#include "effects/particles.h"
#include "game/missiles.h"
#include "game/state.h"

#include <GL/glut.h>

#include <cmath>

// ---- orientation -------------------------------------------------------------

void normalize(Vec3& v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0)
        return;
    v.x /= length;
    v.y /= length;
    v.z /= length;
}

static Vec3 cross(const Vec3& u, const Vec3& v)
{
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

bool faceToward(Vec3 d)
{
    normalize(d);
    if (d == Vec3{})
        return false;
    // a is deliberately left unnormalised: a climbing or diving model shrinks,
    // a vertical one collapses (GL_NORMALIZE keeps its lighting right).
    const Vec3 a = cross(Vec3{0, 1, 0}, d);
    const Vec3 b = cross(d, a);
    const Vec3 c = cross(a, b);
    const GLfloat m[16] = {
        -a.x, -a.y, -a.z, 0,
        -b.x, -b.y, -b.z, 0,
        -c.x, -c.y, -c.z, 0,
        0,    0,    0,    1,
    };
    glMultMatrixf(m);
    return true;
}

// ---- model -------------------------------------------------------------------

void setMaterial(const Material& material)
{
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &material.shininess);
}

// Only lighting goes off: the line takes the current colour and whatever
// texture and coordinate earlier drawing left.
static void drawAimLine(const Missile& missile)
{
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    glVertex3f(missile.position.x, missile.position.y, missile.position.z);
    glVertex3f(missile.target.x, missile.target.y, missile.target.z);
    glEnd();
    glPopAttrib();
}

static void drawFin()
{
    glTranslatef(0, 0, -4);
    glScalef(1, 0.01f, 1);
    glutSolidCube(2.0);
}

// Model space: nose toward -z, body from z = 0 to 5, fins at the tail.
static void drawModel()
{
    glPushMatrix();
    glScalef(1.5f, 1.5f, 1.5f);

    glPushMatrix();
    setMaterial(kNoseAndFinsMaterial);
    glRotatef(180, 0, 1, 0);
    gluCylinder(missileQuadric, 0.5, 0.0, 1.0, 10, 10);
    glPushMatrix();
    glRotatef(90, 0, 0, 1);
    drawFin();
    glPopMatrix();
    glPushMatrix();
    drawFin();
    glPopMatrix();
    glPopMatrix();

    setMaterial(kBodyMaterial);
    gluCylinder(missileQuadric, 0.5, 0.5, 5.0, 10, 10);
    glPopMatrix();
}

void drawMissile(Missile& missile)
{
    if (game.showAimLines)
        drawAimLine(missile);
    if (missile.trail)
        drawTrail(*missile.trail, missile.position);

    glPushAttrib(GL_ENABLE_BIT);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(missile.position.x, missile.position.y, missile.position.z);
    if (faceToward(missile.target - missile.position))
        drawModel();
    else
        setMaterial(kBodyMaterial);  // the material the model would have left
    glPopMatrix();
    glPopAttrib();
}
