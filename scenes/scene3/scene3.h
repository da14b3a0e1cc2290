#pragma once

void drawSceneThree(float t);
