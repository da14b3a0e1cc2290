#include "tests/support/draws.h"

std::vector<Draw> draws() {
    std::vector<Draw> out;
    std::vector<float> open;
    const auto& calls = glrec::calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        const glrec::Call& c = calls[i];
        if (c.name == "glBegin")
            open.clear();
        else if (c.name == "glVertex3f" || c.name == "glVertex2f")
            for (size_t k = 0; k < 3; ++k) open.push_back(k < c.args.size() ? float(c.args[k]) : 0);
        else if (c.name == "glEnd")
            out.push_back({i, open, c.modelview, c.state});
        else if (c.name == "glDrawArrays") {
            std::vector<float> xyz;
            for (size_t v = 0; v + c.stride <= c.vertices.size(); v += c.stride)
                xyz.insert(xyz.end(), c.vertices.begin() + v + 5, c.vertices.begin() + v + 8);
            out.push_back({i, xyz, c.modelview, c.state});
        }
    }
    return out;
}
