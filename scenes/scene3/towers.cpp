#include "scenes/scene3/towers.h"

#include "gfx/gl.h"
#include "gfx/rounded_pi.h"
#include "gfx/textures.h"
#include "gfx/timeline.h"
#include "scenes/scene3/boxes.h"

#include <cmath>

// Rows 53 to 56 repeat rows 36 to 39: those towers stand twice in the same place, which makes
// their glass look denser.
const Tower towerTable[70] = {
    // width, height, depth, x, y, z
    {50, 700, 50, 0, -400, -400},    // 0
    {25, 610, 25, -40, -400, -430},  // 1
    {20, 580, 20, 30, -400, -410},   // 2
    {30, 550, 30, 50, -400, -370},   // 3
    {20, 500, 20, -60, -400, -370},  // 4
    {40, 560, 40, 0, -400, -350},    // 5
    {25, 520, 30, 20, -400, -380},   // 6
    {20, 580, 20, 10, -400, -450},   // 7
    {30, 470, 30, -20, -400, -330},  // 8
    {25, 480, 20, 80, -400, -430},   // 9
    {20, 410, 40, -10, -400, -280},  // 10
    {20, 380, 25, 30, -400, -310},   // 11
    {20, 280, 20, -30, -400, -300},  // 12
    {20, 290, 20, 30, -400, -310},   // 13
    {20, 210, 20, -90, -400, -270},  // 14
    {20, 230, 20, 30, -400, -250},   // 15
    {20, 260, 20, 50, -400, -260},   // 16
    {20, 210, 20, -40, -400, -300},  // 17
    {20, 230, 20, -95, -400, -350},  // 18
    {20, 290, 20, 70, -400, -330},   // 19
    {25, 170, 50, 0, -400, -220},    // 20
    {20, 150, 30, -30, -400, -240},  // 21
    {30, 470, 30, 20, -400, -470},   // 22
    {25, 480, 20, -80, -400, -370},  // 23
    {20, 410, 40, 10, -400, -520},   // 24
    {20, 380, 25, -30, -400, -490},  // 25
    {20, 280, 20, 30, -400, -500},   // 26
    {20, 290, 20, -30, -400, -490},  // 27
    {20, 210, 20, 90, -400, -530},   // 28
    {20, 230, 20, -30, -400, -550},  // 29
    {20, 260, 20, -50, -400, -540},  // 30
    {20, 210, 20, 40, -400, -500},   // 31
    {20, 230, 20, 95, -400, -450},   // 32
    {20, 290, 20, -70, -400, -470},  // 33
    {25, 170, 50, 0, -400, -580},    // 34
    {20, 150, 30, 30, -400, -560},   // 35
    {30, 550, 30, -50, -400, -400},  // 36
    {20, 510, 30, -40, -400, -420},  // 37
    {30, 480, 30, -80, -400, -460},  // 38
    {30, 450, 20, -100, -400, -370}, // 39
    {30, 420, 30, -140, -400, -400}, // 40
    {30, 400, 25, -120, -400, -440}, // 41
    {25, 390, 25, -130, -400, -380}, // 42
    {20, 440, 25, -110, -400, -420}, // 43
    {30, 370, 35, -160, -400, -410}, // 44
    {25, 350, 20, -170, -400, -390}, // 45
    {20, 300, 25, -150, -400, -370}, // 46
    {25, 220, 25, -180, -400, -450}, // 47
    {20, 200, 25, -200, -400, -380}, // 48
    {20, 250, 25, -210, -400, -430}, // 49
    {15, 290, 15, -190, -400, -410}, // 50
    {20, 160, 25, -170, -400, -470}, // 51
    {20, 140, 25, -150, -400, -450}, // 52
    {30, 550, 30, -50, -400, -400},  // 53
    {20, 510, 30, -40, -400, -420},  // 54
    {30, 480, 30, -80, -400, -460},  // 55
    {30, 450, 20, -100, -400, -370}, // 56
    {30, 420, 30, 140, -400, -400},  // 57
    {30, 400, 25, 120, -400, -360},  // 58
    {25, 390, 25, 130, -400, -420},  // 59
    {20, 440, 25, 110, -400, -380},  // 60
    {30, 370, 35, 160, -400, -390},  // 61
    {25, 350, 20, 170, -400, -410},  // 62
    {20, 300, 25, 150, -400, -430},  // 63
    {25, 220, 25, 180, -400, -350},  // 64
    {20, 200, 25, 200, -400, -420},  // 65
    {20, 250, 25, 210, -400, -370},  // 66
    {15, 270, 15, 190, -400, -390},  // 67
    {20, 160, 25, 170, -400, -330},  // 68
    {20, 140, 25, 150, -400, -350},  // 69
};

namespace {
constexpr double kGrowStart = kSceneThreeStart;
constexpr double kLiftFrom = kSecondHalf;
// Not the lift threshold: the lift comes in first, the swing an instant later.
constexpr double kSwingFrom = kSecondHalfFromStart;
} // namespace

TowerPose towerPose(float t, int copy, int i) {
    const Tower& tw = towerTable[i];
    TowerPose p;
    p.e = static_cast<float>(((t - kGrowStart) - 0.0002 * i - 0.05 - 0.06 * copy) * 100);
    p.width = tw.width, p.height = tw.height, p.depth = tw.depth;
    if (p.e <= 0) {
        p.width = p.height = p.depth = 0;
    } else if (p.e < 1) {
        const float dh = static_cast<float>(-tw.height * std::cos(kHalfPi * p.e));
        p.height = tw.height + dh;
    }
    p.lift = t >= kLiftFrom ? (700 - tw.height) / 2 : 0;
    const double m = 0.002 * i + kSwingFrom;
    p.swing = t >= m ? static_cast<float>((m - t) * 2500) : 0;
    return p;
}

void drawTowers(float t) {
    for (int copy = 0; copy < 2; ++copy)
        for (int i = 0; i < 70; ++i) {
            const TowerPose p = towerPose(t, copy, i);
            if (p.e < 0) continue;
            const Tower& tw = towerTable[i];
            glPushMatrix();
            if (copy == 0) glRotatef(180, 0, 1, 0);
            // Rotating before translating makes a swinging tower orbit the x axis.
            glRotatef(p.swing, 1, 0, 0);
            glTranslatef(tw.x, tw.y + p.lift, tw.z);
            glBindTexture(GL_TEXTURE_2D, tex::structureSkin);
            glEnable(GL_TEXTURE_2D);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_BLEND);
            glColor4f(0.9f, 0.9f, 0.9f, 0.5f);
            drawBox(p.width, p.height, p.depth);
            glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
            glColor3f(0.5f, 0.5f, 0.5f);
            drawBoxWire(p.width, p.height, p.depth);
            glPopMatrix();
        }
}
