#include "scenes/scene3/cube_field_picture.h"

#include "gfx/gl.h"
#include "gfx/textures.h"
#include "scenes/scene2/cube_field.h"

#include <cmath>

void renderCubeFieldPicture(float t) {
    // The eye circles at radius 500, a hundred units above the floor it looks down on.
    const double w = 25.0 * t;
    gluLookAt(500 * std::sin(w), -400, 500 * std::cos(w), 275, -500, 275, 0, 1, 0);

    glDisable(GL_LIGHTING);
    drawCubeField(t);
    glEnable(GL_LIGHTING);

    // Drawn at full size with the 4:3 projection; only the lower-left corner is kept.
    glBindTexture(GL_TEXTURE_2D, tex::target6);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 512, 512, 0);

    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 800, 600);
    glLoadIdentity();
}
