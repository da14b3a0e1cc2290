// The WebGL 2 side: one context on the page's canvas, one shader that draws clip-space
// vertices with an optional texture modulating their colour, and a cache of the raster
// state last handed to the browser.
#pragma once

#include "platform/webgl/fixed_function.h"

namespace webgl {

class WebGLDevice final : public DrawSink {
  public:
    // Creates the context on the canvas found by the CSS selector and makes it current;
    // false, with the reason printed, if the browser has no WebGL 2 to give.
    bool open(const char* canvasSelector);

    void draw(const RasterState& state, const OutVertex* vertices, size_t count) override;

    // Binds a texture for its image or parameters to be changed outside a draw.
    void bindTexture(GLuint name);

  private:
    void apply(const RasterState& state);

    unsigned program_ = 0, buffer_ = 0, vertexArray_ = 0;
    int texturedUniform_ = -1;
    bool haveApplied_ = false;
    RasterState applied_;
    GLuint boundTexture_ = 0;
};

} // namespace webgl
