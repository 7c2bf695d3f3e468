#include "turtle_state.h"

#include "turtle/direction.h"

#include <cfloat>
#include <cmath>
#include <limits>

static_assert(FLT_EVAL_METHOD == 0, "float sums must round to float, as on SSE maths (use -mfpmath=sse)");

int32_t truncToInt(float v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (v < -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void TurtleState::reset(int x0, int y0)
{
    x = static_cast<float>(x0);
    y = static_cast<float>(y0);
    heading = 3.1416f;
    stepLength = 20.0f;
}

void TurtleState::copyFrom(const TurtleState& other)
{
    x = static_cast<float>(other.getX());
    y = static_cast<float>(other.getY());
    heading = other.heading;
    stepLength = static_cast<float>(other.getStepLength());
}

int32_t TurtleState::getX() const { return truncToInt(x); }
int32_t TurtleState::getY() const { return truncToInt(y); }
float TurtleState::getHeading() const { return heading; }
int32_t TurtleState::getStepLength() const { return truncToInt(stepLength); }

void TurtleState::turn(float delta) { heading += delta; }
void TurtleState::changeStepLength(float delta) { stepLength += delta; }

// Sine and cosine in double, rounded to float; product and sum in double,
// rounded once when stored.
void TurtleState::forward()
{
    const Direction d = directionOf(heading);
    const double s = d.sine;
    const double c = d.cosine;
    x = static_cast<float>(s * stepLength + x);
    y = static_cast<float>(c * stepLength + y);
}
