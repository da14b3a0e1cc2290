#pragma once

void drawSceneOne(float t);
