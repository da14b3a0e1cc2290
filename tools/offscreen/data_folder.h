#pragma once

// Moves into the folder that holds Data/: the working directory if it has one, else the
// folder of this program (the build tree keeps Data/ beside its programs).
void enterDataFolder();
