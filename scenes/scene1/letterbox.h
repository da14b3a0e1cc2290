// Two 80 percent black bars over the top and bottom sixth of the screen.
#pragma once

void drawLetterbox();
