#include "gfx/textures.h"
#include "scenes/scene3/cube_field_picture.h"
#include "scenes/scene3/smoke_picture.h"
#include "tests/support/offscreen_fixture.h"

#include <algorithm>

namespace {

using PrepassPicturesRender = OffscreenTest;

TEST_F(PrepassPicturesRender, GoOnlyIntoTheirTargetsAndLeaveTheFrameWhite) {
    glClearColor(1, 0, 0, 1); // whatever the previous frame left
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    renderCubeFieldPicture(0.95f);
    const Pixels afterField = frame();
    EXPECT_TRUE(std::all_of(afterField.begin(), afterField.end(), [](int c) { return c == 255; }));
    renderSmokePicture(0.95f);
    const Pixels afterSmoke = frame();
    EXPECT_TRUE(std::all_of(afterSmoke.begin(), afterSmoke.end(), [](int c) { return c == 255; }));

    // The field stands on the ground the caller cleared with: red above the horizon.
    const Pixels field = texture(tex::cubeFieldPicture, 512);
    const unsigned char* sky = &field[(511 * 512 + 256) * 3];
    EXPECT_EQ(sky[0] * 65536 + sky[1] * 256 + sky[2], 0xff0000);
    EXPECT_GT(std::count(field.begin(), field.end(), 0), 1000) << "black outlines";

    // Smoke drawn on white becomes a dim cyan glow on black: v (1 - v) never passes 0.25.
    const Pixels smoke = texture(tex::smokePicture, 512);
    int most[3] = {0, 0, 0};
    for (size_t i = 0; i < smoke.size(); ++i) most[i % 3] = std::max<int>(most[i % 3], smoke[i]);
    EXPECT_EQ(most[0], 0);
    EXPECT_GT(most[1], 40);
    EXPECT_LE(most[1], 65);
    EXPECT_EQ(smoke[0] + smoke[1] + smoke[2], 0) << "corner is background";
}

} // namespace
