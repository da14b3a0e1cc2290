#pragma once

// Fifty pulsing bullseyes in five groups: one below the floor, four around it.
void drawBullseyeGroups(float t);
