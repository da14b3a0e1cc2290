#include "tests/scene4/draws.h"

#include <cmath>
#include <cstring>

double Draw::radius() const {
    return std::hypot(xyz.at(3) - xyz.at(0), xyz.at(4) - xyz.at(1));
}

std::vector<Draw> draws(const glrec::State& start) {
    glrec::State s = start;
    std::vector<Draw> out;
    Draw open{};
    const auto& calls = glrec::calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        const glrec::Call& c = calls[i];
        const auto cap = GLenum(c.args.empty() ? 0 : c.arg(0));
        auto stamp = [&](Draw& d) {
            d.at = i;
            d.modelview = c.modelview;
            d.textured = s.isEnabled(GL_TEXTURE_2D);
            d.blended = s.isEnabled(GL_BLEND);
            d.lit = s.isEnabled(GL_LIGHTING);
            d.texture = s.boundTexture;
            d.blendSrc = s.blendSrc, d.blendDst = s.blendDst;
            std::memcpy(d.colour, s.color, sizeof d.colour);
            std::memcpy(d.viewport, s.viewport, sizeof d.viewport);
        };
        if (c.name == "glEnable" || c.name == "glDisable")
            s.enabled[cap] = c.name == "glEnable";
        else if (c.name == "glBindTexture")
            s.boundTexture = GLuint(c.arg(1));
        else if (c.name == "glBlendFunc")
            s.blendSrc = cap, s.blendDst = GLenum(c.arg(1));
        else if (c.name == "glViewport")
            for (int k = 0; k < 4; ++k) s.viewport[k] = int(c.arg(k));
        else if (c.name == "glColor3f" || c.name == "glColor4f")
            for (int k = 0; k < 4; ++k) s.color[k] = k < int(c.args.size()) ? float(c.arg(k)) : 1;
        else if (c.name == "glBegin")
            open = Draw{}, open.mode = cap;
        else if (c.name == "glVertex3f" || c.name == "glVertex2f")
            for (size_t k = 0; k < 3; ++k) open.xyz.push_back(k < c.args.size() ? c.arg(k) : 0);
        else if (c.name == "glEnd")
            stamp(open), out.push_back(open);
        else if (c.name == "glDrawArrays") {
            Draw d{};
            d.mode = cap;
            for (size_t v = 0; v + c.stride <= c.vertices.size(); v += c.stride)
                d.xyz.insert(d.xyz.end(), c.vertices.begin() + v + 5, c.vertices.begin() + v + 8);
            stamp(d);
            out.push_back(d);
        }
    }
    return out;
}
