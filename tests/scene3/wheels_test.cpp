#include "scenes/scene3/wheels.h"
#include "structures_test_support.h"

#include <gtest/gtest.h>

using namespace structures_test;

namespace {

// The frame of each wheel's face (the first disc after wheelFace is bound), in drawing order, with
// the colours of its face and of its first hub.
struct DrawnWheel {
    glrec::Matrix frame;
    float face, hub;
};

std::vector<DrawnWheel> drawWheelsAt(float t) {
    nameTextures();
    glrec::reset();
    drawWheels(t);
    std::vector<DrawnWheel> out;
    GLuint bound = 0;
    float grey = -1;
    int discsInWheel = 0;
    for (const glrec::Call& c : glrec::calls()) {
        if (c.name == "glBindTexture") bound = static_cast<GLuint>(c.arg(1));
        if (c.name == "glColor3f") grey = static_cast<float>(c.arg(0));
        if (c.name != "glBegin") continue;
        if (bound == tex::wheelFace && discsInWheel != 1) {
            out.push_back({c.modelview, grey, -1});
            discsInWheel = 1;
        } else if (++discsInWheel == 3) {
            out.back().hub = grey; // face, picture disc, then the first hub
        }
    }
    return out;
}

// sin(20000 t) = +1 and -1 near t = 0.62.
const float kBright = static_cast<float>((M_PI / 2 + 2 * M_PI * 1973) / 20000);
const float kDim = static_cast<float>((3 * M_PI / 2 + 2 * M_PI * 1973) / 20000);

} // namespace

TEST(Wheels, FlickerBetweenTwoLevels) {
    auto wheels = drawWheelsAt(kBright);
    ASSERT_EQ(wheels.size(), 12u);
    for (const DrawnWheel& w : wheels) {
        EXPECT_EQ(w.face, 1);
        EXPECT_EQ(w.hub, 0.5f);
    }
    wheels = drawWheelsAt(kDim);
    ASSERT_EQ(wheels.size(), 12u);
    for (const DrawnWheel& w : wheels) {
        EXPECT_EQ(w.face, 0.5f);
        EXPECT_EQ(w.hub, 0);
    }
}

TEST(Wheels, TwoOrbitsTiltInOppositeSensesAndFaceTheOrigin) {
    const float t = 0.62f;
    const auto wheels = drawWheelsAt(t);
    ASSERT_EQ(wheels.size(), 12u);
    const double tilt = 1200.0 * t * M_PI / 180;
    for (int n = 0; n < 6; ++n) {
        const auto a = glrec::apply(wheels[n].frame, 0, 0, 0);
        const auto b = glrec::apply(wheels[6 + n].frame, 0, 0, 0);
        // Same yaw: the orbits meet in x and z and mirror each other in y.
        EXPECT_NEAR(a[1], -550 * std::sin(tilt), 1e-2) << "orbit 0, wheel " << n;
        EXPECT_NEAR(b[1], 550 * std::sin(tilt), 1e-2) << "orbit 1, wheel " << n;
        EXPECT_NEAR(a[0], b[0], 1e-2);
        EXPECT_NEAR(a[2], b[2], 1e-2);
        // The face's +z points at the origin, 550 away.
        const auto front = glrec::apply(wheels[n].frame, 0, 0, 550);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(front[k], 0, 1e-2);
    }
}
