#include "scenes/scene2/cross_shell.h"

#include "gfx/textures.h"
#include "tests/scene2/disc_probe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Stamp k turns three times: about X, about Y, then in its own plane.
std::vector<double> anglesOf(int k) {
    const auto turns = glrec::named("glRotatef");
    return {turns.at(3 * k).arg(0), turns.at(3 * k + 1).arg(0), turns.at(3 * k + 2).arg(0)};
}

TEST(CrossShell, AnglesAtPointOne) {
    glrec::reset();
    drawCrossShell(0.1f);
    EXPECT_EQ(anglesOf(0), (std::vector<double>{-100, -100, 1000}));
    const auto one = anglesOf(1);
    EXPECT_FLOAT_EQ(one[0], -129);
    EXPECT_FLOAT_EQ(one[1], -132);
    EXPECT_NEAR(one[2], 1033.3, 0.001);
    const auto moves = glrec::named("glTranslatef");
    EXPECT_EQ(moves.at(2).args, (std::vector<double>{0, 0, 0}));
    EXPECT_NEAR(moves.at(3 + 2).arg(1), -31.101, 0.001);
}

TEST(CrossShell, AnglesAtPointTwo) {
    glrec::reset();
    drawCrossShell(0.2f);
    const auto last = anglesOf(199);
    EXPECT_FLOAT_EQ(last[0], -5971);
    EXPECT_FLOAT_EQ(last[1], -6568);
    EXPECT_NEAR(last[2], 8626.7, 0.01);
}

// Every stamp lies on the shell, printed by multiplication, with culling off meanwhile.
TEST(CrossShell, StampsOnTheShellMultipliedIn) {
    glrec::reset();
    tex::crossShellSkin = 6;
    drawCrossShell(0.17f);
    const auto squares = glrec::named("glDrawArrays");
    ASSERT_EQ(squares.size(), 200u);
    for (const glrec::Call& s : squares) {
        const auto p = glrec::apply(s.modelview, 0, 0, 0);
        const double d = std::hypot(p[0] - 275, p[1] + 400, p[2] - 275);
        EXPECT_GE(d, 2000 - 1e-3);
        EXPECT_LE(d, std::hypot(2000, 150) + 1e-3);
    }
    for (const glrec::Call& c : glrec::named("glBlendFunc"))
        EXPECT_EQ(c.args, (std::vector<double>{GL_ZERO, GL_SRC_COLOR}));
    EXPECT_EQ(glrec::named("glBindTexture").at(0).arg(1), 6);
    EXPECT_EQ(glrec::calls().front().name, "glDisable");
    EXPECT_EQ(glrec::calls().front().arg(0), GL_CULL_FACE);
    EXPECT_TRUE(glrec::state().isEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glrec::state().isEnabled(GL_BLEND));
    EXPECT_FALSE(glrec::state().isEnabled(GL_TEXTURE_2D));
}

} // namespace
