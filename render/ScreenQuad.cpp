#include "render/ScreenQuad.h"

namespace Skyhog {

ScreenQuad::ScreenQuad(const QuadVertices& quad)
    : vertexArray_(GlVertexArray::generate()), vertexBuffer_(GlBuffer::generate())
{
    glBindVertexArray(vertexArray_.get());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_.get());
    glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad.data(), GL_STATIC_DRAW);
    constexpr GLsizei stride = 4 * sizeof(float);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ScreenQuad::draw(GLuint texture) const
{
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray_.get());
    glBindTexture(GL_TEXTURE_2D, texture);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace Skyhog
