#pragma once

// The lettering printed into the world: one banner before the first cut, two sliding after it.
void drawLetterBanners(float t);
