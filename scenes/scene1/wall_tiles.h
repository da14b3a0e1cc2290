// The room: six walls of 5 x 5 tiles, each tile facing inwards and showing the wall picture.
#pragma once

// Tile centres, entry 25 w + 5 r + k for wall w, row r, column k; filled on the first call.
extern float wallTilePositions[150][3];
extern bool wallTilesBuilt;

struct TileColour {
    float red, green, blue;
};
TileColour wallTileColour(int wall, int row, int column);

// Translucency of a row in the main pass: rows waver in turn, never below 0.5.
float wallTileAlpha(int row, float t);

// Textured: target8 on translucent tiles (main pass). Otherwise flat, opaque tiles.
void drawWallTiles(float t, bool textured);
