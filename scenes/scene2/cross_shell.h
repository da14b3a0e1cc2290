#pragma once

// Two hundred spinning cross stamps on a turning sphere about the scene.
void drawCrossShell(float t);
