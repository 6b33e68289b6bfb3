// LineMesh: the placed draw shared by every wireframe object. Depends on OpenGL 1.1.
#include "Effects/LineMesh.h"

#include <GL/glew.h>

namespace {

const unsigned LINE_WIDTH = 4;  // pixels

}  // namespace

void drawPlacedLines(const LineRenderer& lines, const Vector3& position, const Vector3& rotation,
                     const DrawContext& context)
{
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    // Separate turns in the order X, Y, Z: the object is turned about Z first in
    // its own frame, as the matrices multiply on the right.
    glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
    lines.draw(LINE_WIDTH, context);
    glPopMatrix();
}
