// Scene three's camera: four windows of the show clock, each with its own flight.
#pragma once

struct SceneThreeCamera {
    float eye[3];
    float centre[3]; // the up vector is always +y
};
SceneThreeCamera sceneThreeCamera(float t);
