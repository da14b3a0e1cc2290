#pragma once

void drawSceneTwo(float t);
