#pragma once

// Eight spinning towers of ring fins that build up one ring at a time.
void drawRingTowers(float t);
