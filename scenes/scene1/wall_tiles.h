// The room: six walls of 5 x 5 tiles, each tile facing inwards and showing the wall picture.
#pragma once

// The centre (x, y, z) of one tile, from a table made at compile time.
const float* wallTilePosition(int wall, int row, int column);

struct TileColour {
    float red, green, blue;
};
TileColour wallTileColour(int wall, int row, int column);

// Translucency of a row in the main pass: rows waver in turn, never below 0.5.
float wallTileAlpha(int row, float t);

// Textured: wallPicture on translucent tiles (main pass). Otherwise flat, opaque tiles.
void drawWallTiles(float t, bool textured);
