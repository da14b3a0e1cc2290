#include "tests/scene4/draws.h"

std::vector<Draw> draws(const glrec::State& start) {
    glrec::State s = start;
    std::vector<Draw> out;
    std::vector<float> open;
    const auto& calls = glrec::calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        const glrec::Call& c = calls[i];
        const auto a = [&](size_t k) { return k < c.args.size() ? c.args[k] : 0.0; };
        if (c.name == "glEnable" || c.name == "glDisable")
            s.enabled[GLenum(a(0))] = c.name == "glEnable";
        else if (c.name == "glBindTexture")
            s.boundTexture = GLuint(a(1));
        else if (c.name == "glBlendFunc")
            s.blendSrc = GLenum(a(0)), s.blendDst = GLenum(a(1));
        else if (c.name == "glViewport")
            for (int k = 0; k < 4; ++k) s.viewport[k] = int(a(k));
        else if (c.name == "glColor3f" || c.name == "glColor4f")
            for (int k = 0; k < 4; ++k) s.color[k] = k < int(c.args.size()) ? float(a(k)) : 1;
        else if (c.name == "glBegin")
            open.clear();
        else if (c.name == "glVertex3f" || c.name == "glVertex2f")
            for (size_t k = 0; k < 3; ++k) open.push_back(float(a(k)));
        else if (c.name == "glEnd")
            out.push_back({i, open, c.modelview, s});
        else if (c.name == "glDrawArrays") {
            std::vector<float> xyz;
            for (size_t v = 0; v + c.stride <= c.vertices.size(); v += c.stride)
                xyz.insert(xyz.end(), c.vertices.begin() + v + 5, c.vertices.begin() + v + 8);
            out.push_back({i, xyz, c.modelview, s});
        }
    }
    return out;
}
