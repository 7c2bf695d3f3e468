#pragma once

#include <cstdint>

// Float to int by truncation toward zero; NaN gives 0 and values beyond the
// int range saturate, so no conversion is ever undefined.
int32_t truncToInt(float v);

// Position, heading and step length of the turtle, in single precision.
// A forward move goes by (sin heading, cos heading) times the step length:
// heading 0 points down the window, pi up.
struct TurtleState {
    float x = 0.0f;
    float y = 0.0f;
    float heading = 0.0f;
    float stepLength = 0.0f;

    // Stands at (x, y) with heading 3.1416 and step length 20.
    void reset(int x, int y);

    // Takes other's position and step length truncated to whole pixels,
    // its heading exactly.
    void copyFrom(const TurtleState& other);

    // x truncated toward zero.
    int32_t getX() const;

    // y truncated toward zero.
    int32_t getY() const;

    // The heading in radians, unchanged.
    float getHeading() const;

    // Step length truncated toward zero.
    int32_t getStepLength() const;

    // heading += delta (radians).
    void turn(float delta);

    // stepLength += delta (pixels); may become zero or negative.
    void changeStepLength(float delta);

    // Moves one step along the heading.
    void forward();
};
