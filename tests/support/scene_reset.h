#pragma once

#include "scene.h"

// The scene is global; each test and each fuzz input starts from the state
// the program starts in (which also keeps a long fuzzing run's memory bounded).
inline void resetScene() {
    sceneMin = Point(640.0f, 480.0f);
    sceneMax = Point(0.0f, 0.0f);
    scenePoints.clear();
    sceneSegments.clear();
    sceneLines.clear();
    sceneCircles.clear();
}
