// The WebGL 2 side: one context on the page's canvas, a program that draws clip-space
// vertices with an optional texture modulating their colour, one that draws lines pixel-exact,
// and a cache of the state last handed to the browser.
#pragma once

#include "platform/webgl/fixed_function.h"

namespace webgl {

class WebGLDevice final : public DrawSink {
  public:
    // Creates the context on the canvas found by the CSS selector and makes it current;
    // false, with the reason printed, if the browser has no WebGL 2 to give.
    bool open(const char* canvasSelector);

    void draw(const Batch& batch) override;

    // Binds a texture for its image or parameters to be changed outside a draw.
    void bindTexture(GLuint name);

  private:
    enum {
        kQuadPrograms,
        kTestedQuadPrograms,
        kLinePrograms,
        kUntestedLinePrograms,
        kProgramCount
    };
    void apply(const RasterState& state);
    void useProgram(int which);
    void setTextured(int program, bool on);
    void setViewport(int program, const float viewport[4]);
    void bindArrayBuffer(unsigned name);
    // WebGL 2 has no base instance: each run of lines goes up on its own, from the buffer's
    // start, where the attributes point for good. Moving them costs seven calls, an upload one.
    void pointLineAttributes();

    unsigned programs_[kProgramCount] = {};
    int currentProgram_ = kQuadPrograms;
    unsigned buffer_ = 0, planeBuffer_ = 0, indexBuffer_ = 0, vertexArray_ = 0, lineBuffer_ = 0;
    unsigned arrayBuffer_ = 0; // bound to GL_ARRAY_BUFFER
    int texturedUniform_[kProgramCount] = {}, viewportUniform_[kProgramCount] = {};
    bool textured_[kProgramCount] = {}, texturedSet_[kProgramCount] = {};
    float viewport_[kProgramCount][4] = {};
    bool viewportSet_[kProgramCount] = {};
    bool haveApplied_ = false;
    RasterState applied_;
    GLuint boundTexture_ = 0;
};

} // namespace webgl
