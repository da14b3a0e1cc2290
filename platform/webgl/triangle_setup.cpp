#include "platform/webgl/triangle_setup.h"

#include <utility>

namespace webgl {

namespace {

// The draw module's view-volume planes, in the order it clips against them.
constexpr float kPlanes[6][4] = {{-1, 0, 0, 1}, {1, 0, 0, 1}, {0, -1, 0, 1},
                                 {0, 1, 0, 1},  {0, 0, 1, 1}, {0, 0, -1, 1}};

float distance(const float clip[4], int plane) {
    const float* p = kPlanes[plane];
    return clip[0] * p[0] + clip[1] * p[1] + clip[2] * p[2] + clip[3] * p[3];
}

unsigned clipMask(const float clip[4]) {
    unsigned mask = 0;
    for (int p = 0; p < 6; ++p)
        if (distance(clip, p) < 0) mask |= 1u << p;
    return mask;
}

float lerp(float t, float out, float in) {
    return out + t * (in - out);
}

// A new vertex between `out` and `in`, `t` of the way from `out`.
SetupVertex between(float t, const SetupVertex& out, const SetupVertex& in,
                    const ViewportMap& map) {
    SetupVertex v;
    const OutVertex &o = out.vertex, &i = in.vertex;
    for (int k = 0; k < 4; ++k) v.vertex.clip[k] = lerp(t, o.clip[k], i.clip[k]);
    for (int k = 0; k < 4; ++k) v.vertex.color[k] = lerp(t, o.color[k], i.color[k]);
    for (int k = 0; k < 2; ++k) v.vertex.uv[k] = lerp(t, o.uv[k], i.uv[k]);
    const float oneOverW = 1.0f / v.vertex.clip[3];
    for (int k = 0; k < 3; ++k) {
        const float projected = v.vertex.clip[k] * oneOverW * map.scale[k];
        v.window[k] = projected + map.translate[k];
    }
    return v;
}

} // namespace

bool outsideView(const float clip[4]) {
    return clipMask(clip) != 0;
}

size_t clipTriangle(const SetupVertex (&triangle)[3], const ViewportMap& map,
                    SetupVertex (&out)[kMaxClipped]) {
    SetupVertex lists[2][kMaxClipped + 1];
    SetupVertex* in = lists[0];
    SetupVertex* next = lists[1];
    unsigned mask = 0;
    for (int i = 0; i < 3; ++i) {
        in[i] = triangle[i];
        mask |= clipMask(triangle[i].vertex.clip);
    }
    size_t n = 3;
    for (int plane = 0; plane < 6 && n >= 3; ++plane) {
        if (!(mask >> plane & 1)) continue;
        in[n] = in[0];
        size_t count = 0;
        const SetupVertex* prev = &in[0];
        float dPrev = distance(prev->vertex.clip, plane);
        for (size_t i = 1; i <= n && count + 2 <= kMaxClipped; ++i) {
            const SetupVertex* v = &in[i];
            const float d = distance(v->vertex.clip, plane);
            bool crosses;
            if (dPrev >= 0.0f) {
                next[count++] = *prev;
                crosses = d < 0.0f;
            } else {
                crosses = !(d < 0.0f);
            }
            if (crosses) {
                // Interpolated from whichever end lies nearer the plane.
                const float denominator = d - dPrev;
                if (d < 0.0f)
                    next[count++] = -d < dPrev ? between(d / denominator, *v, *prev, map)
                                               : between(-dPrev / denominator, *prev, *v, map);
                else
                    next[count++] = -dPrev < d ? between(-dPrev / denominator, *prev, *v, map)
                                               : between(d / denominator, *v, *prev, map);
            }
            prev = v;
            dPrev = d;
        }
        std::swap(in, next);
        n = count;
    }
    if (n < 3) return 0;
    for (size_t i = 0; i < n; ++i) out[i] = in[i];
    return n;
}

DepthPlane depthPlane(const float a[3], const float b[3], const float c[3]) {
    const float* p0 = a;
    const float* p1 = b;
    float dx01 = p0[0] - p1[0], dy01 = p0[1] - p1[1];
    float dx20 = c[0] - p0[0], dy20 = c[1] - p0[1];
    if (dx01 * dy20 - dy01 * dx20 < 0) {
        std::swap(p0, p1);
        dx01 = p0[0] - p1[0];
        dy01 = p0[1] - p1[1];
        dx20 = c[0] - p0[0];
        dy20 = c[1] - p0[1];
    }
    const float ooa = 1.0f / (dx01 * dy20 - dy01 * dx20);
    const float dx20o = dx20 * ooa, dy20o = dy20 * ooa, dx01o = dx01 * ooa, dy01o = dy01 * ooa;
    const float da01 = p0[2] - p1[2], da20 = c[2] - p0[2];
    const float dadx = da01 * dy20o - da20 * dy01o;
    const float dady = da20 * dx01o - da01 * dx20o;
    const float a0 = p0[2] - (dadx * (p0[0] - 0.5f) + dady * (p0[1] - 0.5f));
    return {a0, dadx, dady, 1};
}

} // namespace webgl
