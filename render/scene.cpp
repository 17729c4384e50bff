// scene.cpp: the OpenGL state of the game and the drawing of border, apples and snake.
#include "render/render.h"

#include "game/game_state.h"
#include "game/snake.h"

const GLfloat lightPosition[4] = {0.0f, 1.0f, 2.0f, 1.0f};

namespace {

const GLfloat lightAmbient[4] = {0.3f, 0.3f, 0.3f, 0.3f};
const GLfloat lightDiffuse[4] = {0.7f, 0.7f, 0.7f, 0.7f};
const GLfloat lightSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat materialSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// Both apples share one radius and tessellation, whatever the snake's radius.
const GLdouble appleRadius = 0.25;
const GLint appleDetail = 8;
const GLint snakeDetail = 16;

// One apple sphere at (x, y, 0) in the given colour; the colour goes back to white.
void drawAppleAt(float x, float y, GLfloat red, GLfloat green, GLfloat blue)
{
    glColor3f(red, green, blue);
    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    if (gameState.appleSphere) {
        gluSphere(gameState.appleSphere, appleRadius, appleDetail, appleDetail);
    }
    glPopMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
}

}  // namespace

// Light 0, colour material, line and point sizes, clear values, depth test and shading.
void setUpScene()
{
    glEnable(GL_LIGHTING);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glMateriali(GL_FRONT, GL_SHININESS, 8);
    // Lighting is switched on only around the spheres of each frame.
    glDisable(GL_LIGHTING);

    glLineWidth(2.0f);
    glPointSize(12.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

// Clears, draws the scene additively and lit, then the text overlay in front of it.
void drawFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -16.0f);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    drawBorder();

    glEnable(GL_LIGHTING);
    drawApples();
    snake.draw();
    // Given after the spheres, so they are lit from the previous frame's position.
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 1.0f);
    drawTextOverlay();
    glPopMatrix();

    glFlush();
}

// The playfield outline in the current colour: top, bottom, right, left.
void drawBorder()
{
    glBegin(GL_LINES);
    glVertex3f(-7.0f, 6.0f, 0.0f);
    glVertex3f(5.0f, 6.0f, 0.0f);
    glVertex3f(-7.0f, -6.0f, 0.0f);
    glVertex3f(5.0f, -6.0f, 0.0f);
    glVertex3f(5.0f, 6.0f, 0.0f);
    glVertex3f(5.0f, -6.0f, 0.0f);
    glVertex3f(-7.0f, 6.0f, 0.0f);
    glVertex3f(-7.0f, -6.0f, 0.0f);
    glEnd();
}

// The green apple, then the yellow bonus apple while it shows.
void drawApples()
{
    drawAppleAt(gameState.appleX, gameState.appleY, 0.0f, 1.0f, 0.0f);
    if (gameState.bonusVisible == 1) {
        drawAppleAt(gameState.bonusX, gameState.bonusY, 1.0f, 1.0f, 0.0f);
    }
}

// The white head, then the red segments under one pushed matrix; ends on white.
void Snake::draw()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(head.x, head.y, head.z);
    if (sphere) {
        gluSphere(sphere, radius, snakeDetail, snakeDetail);
    }
    glPopMatrix();

    // Never read past the body table, whatever length holds.
    int segments = length;
    if (segments > SNAKE_MAX_SEGMENTS) {
        segments = SNAKE_MAX_SEGMENTS;
    }
    glPushMatrix();
    for (int i = 0; i < segments; ++i) {
        const Vec3& segment = body[i];
        glColor3f(1.0f, 0.0f, 0.0f);
        glTranslatef(segment.x, segment.y, segment.z);
        if (sphere) {
            gluSphere(sphere, radius, snakeDetail, snakeDetail);
        }
        glTranslatef(-segment.x, -segment.y, -segment.z);
    }
    glPopMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
}
