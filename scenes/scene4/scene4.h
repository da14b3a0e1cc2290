#pragma once

void drawSceneFour(float t);
